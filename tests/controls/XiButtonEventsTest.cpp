#include "controls/XiButton.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace zentaro {
namespace {

using DS = TDrawState;

// A shown, active window holding a button at (20, 20), a line edit and a
// multi-line text field.
class XiButtonEventsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 200);
        button_ = new TXiButton(window_.get());
        button_->move(20, 20);
        button_->SetCaption(QStringLiteral("&Convert"));
        edit_ = new QLineEdit(window_.get());
        edit_->move(20, 80);
        memo_ = new QPlainTextEdit(window_.get());
        memo_->setGeometry(150, 80, 100, 60);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        clicks_ = std::make_unique<QSignalSpy>(button_, &TXiButton::clicked);
    }

    void Focus(QWidget* widget)
    {
        widget->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }

    int Clicks() const { return static_cast<int>(clicks_->count()); }

    std::unique_ptr<QWidget> window_;
    TXiButton* button_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    std::unique_ptr<QSignalSpy> clicks_;
};

TEST_F(XiButtonEventsTest, PointerOverAndAway)
{
    QTest::mouseMove(button_, QPoint(10, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsOver);
    QTest::mouseMove(window_.get(), QPoint(200, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);

    button_->SetHotTrack(false);
    QTest::mouseMove(button_, QPoint(10, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
}

TEST_F(XiButtonEventsTest, ClickEndsOverAndTakesFocus)
{
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsDown);
    EXPECT_TRUE(button_->Pressed());
    EXPECT_TRUE(button_->Focused());
    EXPECT_EQ(Clicks(), 0);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(button_->DrawState(), DS::dsOver);
    EXPECT_FALSE(button_->Pressed());
}

TEST_F(XiButtonEventsTest, WithoutHotTrackAClickEndsNormal)
{
    button_->SetHotTrack(false);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
}

TEST_F(XiButtonEventsTest, WithoutTabStopAPressLeavesTheFocus)
{
    button_->SetTabStop(false);
    Focus(edit_);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(button_->Focused());
    EXPECT_EQ(QApplication::focusWidget(), edit_);
}

TEST_F(XiButtonEventsTest, PressMoveOffAndBackThenReleaseOutside)
{
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsDown);
    QTest::mouseMove(button_, QPoint(150, 10));
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
    QTest::mouseMove(button_, QPoint(12, 12));
    EXPECT_EQ(button_->DrawState(), DS::dsDown);
    QTest::mouseMove(button_, QPoint(150, 10));
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
    EXPECT_FALSE(button_->Pressed());
}

TEST_F(XiButtonEventsTest, ReleaseOnTopRowOrLeftColumnClicksAndStaysNormal)
{
    // QTest takes (0, 0) for "the centre", so the corner itself is left out.
    const QPoint edges[] = {{0, 10}, {10, 0}, {0, 24}, {74, 0}};
    for (const QPoint& at : edges) {
        clicks_->clear();
        QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(button_, Qt::LeftButton, {}, at);
        EXPECT_EQ(Clicks(), 1) << at.x() << "," << at.y();
        EXPECT_EQ(button_->DrawState(), DS::dsNormal) << at.x() << "," << at.y();
        EXPECT_FALSE(button_->Pressed());
    }
}

TEST_F(XiButtonEventsTest, RightButtonDoesNotClick)
{
    QTest::mouseClick(button_, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(Clicks(), 0);
    EXPECT_FALSE(button_->Pressed());
}

TEST_F(XiButtonEventsTest, SpaceShowsDownAndClicksOnRelease)
{
    Focus(button_);
    EXPECT_TRUE(button_->Focused());
    QTest::keyPress(button_, Qt::Key_Space);
    EXPECT_EQ(button_->DrawState(), DS::dsDown);
    EXPECT_EQ(Clicks(), 0);
    QTest::keyRelease(button_, Qt::Key_Space);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
}

TEST_F(XiButtonEventsTest, EnterClicksOnceWithOrWithoutModifiers)
{
    Focus(button_);
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
    for (const auto m : modifiers) {
        clicks_->clear();
        QTest::keyClick(button_, Qt::Key_Return, m);
        EXPECT_EQ(Clicks(), 1) << m;
    }
    clicks_->clear();
    QTest::keyClick(button_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(XiButtonEventsTest, FocusLostResetsTheState)
{
    Focus(button_);
    QTest::keyPress(button_, Qt::Key_Space);
    Focus(edit_);
    EXPECT_FALSE(button_->Focused());
    EXPECT_EQ(button_->DrawState(), DS::dsNormal);
    QTest::keyRelease(edit_, Qt::Key_Space);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(XiButtonEventsTest, EscapeClicksTheCancelButtonWherePossible)
{
    Focus(edit_);
    QTest::keyClick(edit_, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), 0) << "Cancel is off";

    button_->SetCancel(true);
    QTest::keyClick(edit_, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), 1);
    QTest::keyClick(edit_, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(Clicks(), 1) << "a modifier is held";

    button_->setEnabled(false);
    QTest::keyClick(edit_, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), 1) << "a disabled button cannot take the focus";
    button_->setEnabled(true);
    button_->hide();
    QTest::keyClick(edit_, Qt::Key_Escape);
    EXPECT_EQ(Clicks(), 1) << "a hidden button cannot take the focus";
}

TEST_F(XiButtonEventsTest, EnterClicksTheDefaultButtonUnlessTheControlTakesIt)
{
    Focus(edit_);
    QTest::keyClick(edit_, Qt::Key_Return);
    EXPECT_EQ(Clicks(), 0) << "Default is off";

    button_->SetDefault(true);
    QTest::keyClick(edit_, Qt::Key_Return);
    EXPECT_EQ(Clicks(), 1);
    QTest::keyClick(edit_, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Clicks(), 2) << "Default does not look at modifiers";

    Focus(memo_);
    QTest::keyClick(memo_, Qt::Key_Return);
    EXPECT_EQ(Clicks(), 2);
    EXPECT_EQ(memo_->toPlainText(), QStringLiteral("\n"));
}

TEST_F(XiButtonEventsTest, TheFocusedButtonTakesEnterBeforeTheDefaultOne)
{
    auto* other = new TXiButton(window_.get());
    other->move(120, 20);
    other->show();
    QSignalSpy otherClicks(other, &TXiButton::clicked);
    button_->SetDefault(true);
    Focus(other);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherClicks.count(), 1);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(XiButtonEventsTest, AcceleratorClicks)
{
    Focus(edit_);
    QTest::keyClick(edit_, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 1);

    QTest::keyClick(edit_, Qt::Key_C);
    EXPECT_EQ(Clicks(), 1) << "the line edit types the character";
    EXPECT_EQ(edit_->text(), QStringLiteral("c"));

    auto* other = new TXiButton(window_.get());
    other->show();
    Focus(other);
    QTest::keyClick(other, Qt::Key_C);
    EXPECT_EQ(Clicks(), 2) << "a focused button does not type, so a plain c is the accelerator";
    QTest::keyClick(other, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 2);

    button_->setEnabled(false);
    QTest::keyClick(other, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(XiButtonEventsTest, ModalResultGoesToTheWindow)
{
    button_->SetModalResult(0);
    window_->setProperty("ModalResult", 5);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(window_->property("ModalResult").toInt(), 0) << "also 0 is copied";
    button_->SetModalResult(7);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(window_->property("ModalResult").toInt(), 7);
}

TEST(XiButtonDialogTest, ModalResultEndsADialog)
{
    QDialog dialog;
    auto* ok = new TXiButton(&dialog);
    ok->SetModalResult(QDialog::Accepted + 5);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(dialog.result(), QDialog::Accepted + 5);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(XiButtonDialogTest, ClickHandlerMayDeleteTheButton)
{
    QWidget window;
    auto* button = new TXiButton(&window);
    QObject::connect(button, &TXiButton::clicked, button, [button] { delete button; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QPointer<TXiButton> watch(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(watch.isNull());
}

} // namespace
} // namespace zentaro
