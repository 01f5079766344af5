#include "app/PictureControl.h"
#include "app/RatesKeeper.h"
#include "app/WindowCommands.h"
#include "tests/app/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;

class WindowCommandsTest : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable({{"A", "USD", "1"}, {"B", "USD", "2"}});
        ASSERT_NO_FATAL_FAILURE(Open());
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    QMenu* Menu() const { return form->Commands().Menu(); }
    // Each entry of the background menu: its text and shortcut, or "--".
    std::vector<std::string> MenuEntries() const
    {
        std::vector<std::string> entries;
        for (const QAction* action : Menu()->actions()) {
            if (action->isSeparator()) {
                entries.push_back("--");
                continue;
            }
            std::string entry = action->text().toStdString();
            if (!action->shortcut().isEmpty())
                entry += " " + action->shortcut().toString().toStdString();
            if (action->isCheckable())
                entry += action->isChecked() ? " [x]" : " [ ]";
            entries.push_back(entry);
        }
        return entries;
    }
    // The last box's text, or what else the command did.
    std::string Outcome() const
    {
        if (!openedDocuments.empty())
            return "help " + openedDocuments.back().fileName().toStdString();
        if (quitRequests)
            return "quit";
        if (!dialogs->filters.empty())
            return "open-file dialog";
        return boxes.empty() ? std::string() : boxes.back().text.toStdString();
    }
};

TEST_F(WindowCommandsTest, EveryPictureCommandHasItsShortcut)
{
    struct Case {
        QKeySequence keys;
        std::string outcome;
    };
    const Case cases[] = {
        {QKeySequence(Qt::Key_F1), "help Zentaro Help.html"},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), "quit"},
        {QKeySequence(Qt::CTRL | Qt::Key_O), "open-file dialog"},
        {QKeySequence(Qt::Key_F5), "Cannot open URL " + updateUrl + ": could not connect to the server."},
        {QKeySequence(Qt::CTRL | Qt::Key_D), kRemoveQuestion.toStdString()},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), kClearQuestion.toStdString()},
    };
    // From the amount field, where the window opens, and from a list.
    for (QWidget* focus : std::initializer_list<QWidget*>{form->Edit8, form->ComboBox1->lineEdit()})
        for (const Case& c : cases) {
            boxes.clear();
            openedDocuments.clear();
            quitRequests = 0;
            dialogs->filters.clear();
            focus->setFocus();
            QTest::keySequence(focus, c.keys);
            EXPECT_EQ(Outcome(), c.outcome) << c.keys.toString().toStdString();
            EXPECT_EQ(Amount(), "") << "no key reached the amount";
        }
    // Both deletions asked, and the answer was No.
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));
}

TEST_F(WindowCommandsTest, TheBackgroundMenuListsEveryCommandWithItsShortcut)
{
    // A right press on the background, through the window system.
    const QPoint onBackground(300, 20);
    QTest::mousePress(form->windowHandle(), Qt::RightButton, {}, onBackground);
    ASSERT_TRUE(Menu()->isVisible());
    EXPECT_EQ(Menu()->pos(), form->mapToGlobal(onBackground));
    QTest::mouseRelease(form->windowHandle(), Qt::RightButton, {}, onBackground);
    EXPECT_THAT(MenuEntries(),
                ElementsAre("Delete All Data Ctrl+Shift+D", "Delete Current Time Ctrl+D", "Update From File Ctrl+O",
                            "Update From URL F5", "Exit Ctrl+Q", "Help F1", "History Ctrl+H",
                            "Swap Currencies Ctrl+S", "--", "Update Rates Automatically [x]"));
    for (const QAction* action : Menu()->actions())
        EXPECT_TRUE(action->isSeparator() || action->isCheckable() || action->isShortcutVisibleInContextMenu())
            << action->text().toStdString();

    // Chosen from the menu by the keyboard: the sixth entry, Help.
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(Menu(), Qt::Key_Down);
    QTest::keyClick(Menu(), Qt::Key_Return);
    EXPECT_FALSE(Menu()->isVisible());
    ASSERT_EQ(openedDocuments.size(), 1u);
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(WindowCommandsTest, TheMenuKeyAndShiftF10OpenTheMenu)
{
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        form->Edit8->setFocus();
        QTest::keySequence(form->Edit8, keys);
        ASSERT_TRUE(Menu()->isVisible()) << keys.toString().toStdString();
        EXPECT_EQ(Menu()->pos(), form->Edit8->mapToGlobal(QPoint(0, form->Edit8->height())))
            << "opens below the focused control";
        QTest::keyClick(Menu(), Qt::Key_Escape);
        EXPECT_FALSE(Menu()->isVisible());
    }
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(WindowCommandsTest, ThePicturesStayOutOfTheTabOrder)
{
    for (const PictureControl* picture : form->findChildren<PictureControl*>())
        EXPECT_EQ(picture->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form->Rates().AgeLine()->focusPolicy(), Qt::NoFocus);
    // Walking the whole tab order never lands on a picture or a label.
    form->Edit8->setFocus();
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(qobject_cast<PictureControl*>(QApplication::focusWidget()), nullptr);
        EXPECT_EQ(qobject_cast<QLabel*>(QApplication::focusWidget()), nullptr);
    }
}

} // namespace
} // namespace zentaro::test
