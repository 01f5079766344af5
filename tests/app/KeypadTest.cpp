#include "tests/app/WindowFixture.h"

#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <gmock/gmock.h>

#include <initializer_list>
#include <set>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Both lists start on EUR; the to-currency USD doubles the amount.
const std::vector<Row> kRates = {{"T", "USD", "2"}, {"T", "EUR", "1"}};

class Keypad : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable(kRates);
        Open();
        Pick(form->ComboBox2, "USD");
        ASSERT_EQ(Amount(), "0");
        Press(form->Bitbtn2);
        ASSERT_TRUE(form->XiPanel1->isVisible());
        ASSERT_THAT(boxes, IsEmpty());
    }

    void Press(TXiButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }
    void Press(std::initializer_list<TXiButton*> keys)
    {
        for (TXiButton* key : keys)
            Press(key);
    }
    bool Shown() const { return form->XiPanel1->isVisible(); }
};

std::vector<TXiButton*> KeysOf(const TXiPanel* panel)
{
    const QList<TXiButton*> keys = panel->findChildren<TXiButton*>(Qt::FindDirectChildrenOnly);
    return {keys.begin(), keys.end()};
}

TEST_F(Keypad, EveryKeyLiesInsideThePanelAndNoneOverlapsAnother)
{
    const std::vector<TXiButton*> keys = KeysOf(form->XiPanel1);
    ASSERT_EQ(keys.size(), 18u);
    const QRect panel = form->XiPanel1->rect();
    std::set<QString> captions;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString caption = keys[i]->Caption();
        EXPECT_FALSE(caption.isEmpty());
        EXPECT_TRUE(captions.insert(caption).second) << caption.toStdString() << " twice";
        EXPECT_TRUE(panel.contains(keys[i]->geometry())) << caption.toStdString();
        EXPECT_FALSE(keys[i]->geometry().isEmpty()) << caption.toStdString();
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(keys[i]->geometry().intersects(keys[j]->geometry()))
                << caption.toStdString() << " over " << keys[j]->Caption().toStdString();
        EXPECT_EQ(keys[i]->ColorScheme(), TXiButton::csCustom) << caption.toStdString();
        EXPECT_TRUE(keys[i]->Gradient() && keys[i]->HotTrack()) << caption.toStdString();
    }
    // The panel sits on the window, beside the amount it edits, and takes
    // its part of the window's shape while shown.
    EXPECT_TRUE(form->rect().contains(form->XiPanel1->geometry()));
    EXPECT_TRUE(form->mask().contains(form->XiPanel1->geometry()));
    EXPECT_EQ(form->XiPanel1->ColorScheme(), TXiPanel::csDesert);
    EXPECT_EQ(form->XiPanel1->FillDirection(), TFillDirection::fdVertical);
}

TEST_F(Keypad, TabGoesRowByRowLeftToRight)
{
    // The keys come right after the toggle.
    std::vector<TXiButton*> keys;
    for (QWidget* next = form->Bitbtn2->nextInFocusChain(); next != form->Bitbtn2 && keys.size() < 18;
         next = next->nextInFocusChain())
        if (auto* key = qobject_cast<TXiButton*>(next); key && key->parentWidget() == form->XiPanel1)
            keys.push_back(key);
    ASSERT_EQ(keys.size(), 18u);
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const QRect before = keys[i - 1]->geometry();
        const QRect at = keys[i]->geometry();
        const bool sameRow = at.top() == before.top();
        EXPECT_TRUE(sameRow ? at.left() > before.left() : at.top() > before.top())
            << keys[i - 1]->Caption().toStdString() << " then " << keys[i]->Caption().toStdString();
    }
}

TEST_F(Keypad, EveryOperatorKeyMakesItsCaptionThePendingOperator)
{
    for (TXiButton* key : {form->Bitbtn15, form->Bitbtn16, form->Bitbtn17, form->Bitbtn18}) {
        Press({form->Bitbtn19, key});
        EXPECT_EQ(QString::fromStdString(form->Edit6), key->Caption());
    }
}

TEST_F(Keypad, ToggleShowsAndHidesAndKeepsThePendingOperation)
{
    Press({form->Bitbtn10, form->Bitbtn18});
    Press(form->Bitbtn2);
    EXPECT_FALSE(Shown());
    Press(form->Bitbtn2);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(form->Edit5, "2");
    EXPECT_EQ(form->Edit6, "+");
}

TEST_F(Keypad, EveryDigitKeyTypesItsCaption)
{
    for (TXiButton* key : {form->Bitbtn3, form->Bitbtn4, form->Bitbtn5, form->Bitbtn6, form->Bitbtn7,
                           form->Bitbtn8, form->Bitbtn9, form->Bitbtn10, form->Bitbtn11, form->Bitbtn12}) {
        Press(form->Bitbtn19);
        Press(key);
        EXPECT_EQ(Amount(), key->Caption());
    }
}

TEST_F(Keypad, DigitsReplaceTheZeroAndConvertAtEveryKey)
{
    Press(form->Bitbtn9);
    EXPECT_EQ(Amount(), "1");
    EXPECT_EQ(Result(), "2");
    Press(form->Bitbtn10);
    EXPECT_EQ(Amount(), "12");
    EXPECT_EQ(Result(), "24");
}

TEST_F(Keypad, SumShowsTheResultAndHidesTheKeypad)
{
    Press({form->Bitbtn9, form->Bitbtn10, form->Bitbtn18});
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(Result(), "0");
    Press({form->Bitbtn11, form->Bitbtn21});
    EXPECT_EQ(Amount(), "15");
    EXPECT_EQ(Result(), "30");
    EXPECT_FALSE(Shown());
    EXPECT_EQ(form->Edit5, "");
    EXPECT_EQ(form->Edit6, "");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Keypad, DivisionByZeroIsReportedAndLeavesTheOperationPending)
{
    Press({form->Bitbtn9, form->Bitbtn15, form->Bitbtn12, form->Bitbtn21});
    EXPECT_THAT(boxes, ElementsAre(Box{Box::Error, "Floating point division by zero.", "0"}));
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Amount(), "0");
    EXPECT_EQ(form->Edit5, "1");
    EXPECT_EQ(form->Edit6, "/");
}

TEST_F(Keypad, ASecondOperatorReplacesTheFirstWithoutComputing)
{
    Press({form->Bitbtn10, form->Bitbtn18, form->Bitbtn11, form->Bitbtn16});
    EXPECT_EQ(form->Edit5, "3");
    EXPECT_EQ(form->Edit6, "*");
    Press({form->Bitbtn6, form->Bitbtn21});
    EXPECT_EQ(Amount(), "12");
}

TEST_F(Keypad, DifferenceThenSignChange)
{
    Press({form->Bitbtn3, form->Bitbtn17, form->Bitbtn5, form->Bitbtn21});
    EXPECT_EQ(Amount(), "-2");
    EXPECT_EQ(Result(), "-4");
    Press({form->Bitbtn2, form->Bitbtn14});
    EXPECT_EQ(Amount(), "2");
    EXPECT_EQ(Result(), "4");
}

TEST_F(Keypad, SignOfAnEmptyAmountIsAnErrorAndOfZeroChangesNothing)
{
    Press({form->Bitbtn12, form->Bitbtn13, form->Bitbtn12, form->Bitbtn14});
    EXPECT_EQ(Amount(), "0.0");
    EXPECT_THAT(boxes, IsEmpty());
    Press(form->Bitbtn18);
    Press(form->Bitbtn14);
    EXPECT_THAT(boxes, ElementsAre(Box{Box::Error, "'' is not a valid floating point value.", ""}));
    EXPECT_EQ(form->Edit6, "+");
}

TEST_F(Keypad, OperatorOnAnEmptyAmountStoresZero)
{
    form->Edit8->clear();
    Press(form->Bitbtn15);
    EXPECT_EQ(form->Edit5, "0");
    EXPECT_EQ(form->Edit6, "/");
    EXPECT_EQ(Amount(), "");
}

TEST_F(Keypad, PointKeyWorksOnceUntilAnOperatorClearOrOk)
{
    struct Case {
        const char* name;
        TXiButton* TForm1::*enabler;
    };
    const Case cases[] = {{"operator", &TForm1::Bitbtn16}, {"C", &TForm1::Bitbtn19}, {"OK", &TForm1::Bitbtn21}};
    for (const Case& c : cases) {
        if (!Shown())
            Press(form->Bitbtn2);
        Press({form->Bitbtn19, form->Bitbtn9, form->Bitbtn13});
        EXPECT_EQ(Amount(), "1.") << c.name;
        EXPECT_FALSE(form->Bitbtn13->isEnabled()) << c.name;
        Press(form->Bitbtn13);
        EXPECT_EQ(Amount(), "1.") << c.name << ": the disabled key typed";
        Press(form.get()->*c.enabler);
        EXPECT_TRUE(form->Bitbtn13->isEnabled()) << c.name;
    }
    // A separator typed on the keyboard leaves the key alone.
    Press({form->Bitbtn2, form->Bitbtn19});
    Type(".");
    EXPECT_EQ(Amount(), "0.");
    EXPECT_TRUE(form->Bitbtn13->isEnabled());
}

TEST_F(Keypad, ClearResetsEverythingButKeepsTheKeypadShown)
{
    Press({form->Bitbtn9, form->Bitbtn13, form->Bitbtn17, form->Bitbtn11});
    Press(form->Bitbtn19);
    EXPECT_EQ(Amount(), "0");
    EXPECT_EQ(form->Edit5, "");
    EXPECT_EQ(form->Edit6, "");
    EXPECT_TRUE(form->Bitbtn13->isEnabled());
    EXPECT_TRUE(Shown());
}

TEST_F(Keypad, OkWithoutAPendingOperatorOnlyHides)
{
    Press({form->Bitbtn9, form->Bitbtn21});
    EXPECT_EQ(Amount(), "1");
    EXPECT_FALSE(Shown());
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Keypad, OkWithAnEmptyAmountResetsTheOperation)
{
    Press({form->Bitbtn9, form->Bitbtn18, form->Bitbtn21});
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(form->Edit6, "");
    EXPECT_FALSE(Shown());
}

TEST_F(Keypad, TabOrderRunsThroughTheKeysToTheLists)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Bitbtn2->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 25; ++i) {
        visited.push_back(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QWidget*> expected = {
        form->Bitbtn2,  form->Bitbtn3,  form->Bitbtn4,  form->Bitbtn5,  form->Bitbtn15, form->Bitbtn6,
        form->Bitbtn7,  form->Bitbtn8,  form->Bitbtn16, form->Bitbtn9,  form->Bitbtn10, form->Bitbtn11,
        form->Bitbtn17, form->Bitbtn12, form->Bitbtn13, form->Bitbtn14, form->Bitbtn18, form->Bitbtn19,
        form->Bitbtn21, form->ComboBox3, form->ComboBox2, form->ComboBox1, form->Edit9,  form->Edit8,
        form->Bitbtn2,
    };
    EXPECT_EQ(visited, expected);
}

TEST(KeypadSeparator, PointKeyTypesTheDecimalSeparatorInForce)
{
    struct Fixture : WindowFixture {
        void Run()
        {
            WriteTable(kRates);
            Open(',');
            QTest::mouseClick(form->Bitbtn2, Qt::LeftButton);
            for (TXiButton* key : {form->Bitbtn9, form->Bitbtn13, form->Bitbtn11, form->Bitbtn18, form->Bitbtn9,
                                   form->Bitbtn21})
                QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
            EXPECT_EQ(Amount(), "2,3");
            EXPECT_THAT(boxes, IsEmpty());
        }
    } fixture;
    fixture.Run();
}

} // namespace
} // namespace zentaro::test
