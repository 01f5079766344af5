#include "app/KeypadNavigation.h"
#include "tests/app/WindowFixture.h"

#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <vector>

namespace zentaro::test {
namespace {

using ::testing::IsEmpty;

// A made-up layout, not the keypad's: a row of three with a narrow middle
// key, a wide key under the first two, a key under the third that starts
// lower, and one far right on no row of the others.
//   0: (0,0 20x10)  1: (20,0 10x10)  2: (30,0 20x10)
//   3: (0,10 30x10)                  4: (30,14 20x10)
//                                              5: (80,40 10x10)
const std::vector<QRect> kBoxes = {{0, 0, 20, 10},  {20, 0, 10, 10},  {30, 0, 20, 10},
                                   {0, 10, 30, 10}, {30, 14, 20, 10}, {80, 40, 10, 10}};

TEST(KeyInDirection, FindsTheNearestLevelKeyThatWay)
{
    struct Case {
        const char* name;
        int from;
        int arrow;
        int expected;
    };
    const Case cases[] = {
        {"right to the neighbour", 0, Qt::Key_Right, 1},
        {"left to the neighbour", 2, Qt::Key_Left, 1},
        {"nothing left of the first", 0, Qt::Key_Left, -1},
        {"nothing right of the last in its row", 2, Qt::Key_Right, -1},
        {"down from a key over a wide one", 1, Qt::Key_Down, 3},
        {"up from a wide key: the closer centre", 3, Qt::Key_Up, 0},
        {"down skips a gap to the lower key", 2, Qt::Key_Down, 4},
        {"right reaches a key that overlaps the row only in part", 3, Qt::Key_Right, 4},
        {"a key on no row or column is reached by no arrow", 4, Qt::Key_Right, -1},
        {"and leads nowhere", 5, Qt::Key_Up, -1},
        {"not an arrow", 0, Qt::Key_Tab, -1},
        {"no such key", 6, Qt::Key_Left, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyInDirection(kBoxes, c.from, c.arrow), c.expected) << c.name;
}

TEST(KeyInDirection, PassesOverKeysWithoutABox)
{
    std::vector<QRect> boxes = kBoxes;
    boxes[1] = QRect();
    EXPECT_EQ(KeyInDirection(boxes, 0, Qt::Key_Right), 2);
    boxes[2] = QRect();
    EXPECT_EQ(KeyInDirection(boxes, 0, Qt::Key_Right), -1);
}

TEST(KeyInDirection, ATieGoesToTheEarlierKey)
{
    // A wide key under two equal ones, its centre on their border.
    const std::vector<QRect> boxes = {{0, 0, 10, 10}, {10, 0, 10, 10}, {0, 10, 20, 10}};
    EXPECT_EQ(KeyInDirection(boxes, 2, Qt::Key_Up), 0);
}

const std::vector<Row> kRates = {{"T", "USD", "2"}, {"T", "EUR", "1"}};

class KeypadKeyboard : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable(kRates);
        Open();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::mouseClick(form->Bitbtn2, Qt::LeftButton, {}, form->Bitbtn2->rect().center());
        ASSERT_TRUE(form->XiPanel1->isVisible());
    }

    QWidget* Focused() const { return QApplication::focusWidget(); }
    void KeyAtFocus(Qt::Key key) { QTest::keyClick(Focused(), key); }
};

TEST_F(KeypadKeyboard, ArrowKeysWalkTheKeysInTheirGrid)
{
    const QString amount = Amount();
    form->Bitbtn3->setFocus(); // 7
    struct Step {
        Qt::Key arrow;
        TXiButton* TForm1::*lands;
    };
    const Step steps[] = {
        {Qt::Key_Left, &TForm1::Bitbtn3},   // nothing left of 7
        {Qt::Key_Right, &TForm1::Bitbtn4},  // 8
        {Qt::Key_Right, &TForm1::Bitbtn5},  // 9
        {Qt::Key_Right, &TForm1::Bitbtn15}, // /
        {Qt::Key_Right, &TForm1::Bitbtn15}, // the edge: it stays
        {Qt::Key_Down, &TForm1::Bitbtn16},  // *
        {Qt::Key_Down, &TForm1::Bitbtn17},  // -
        {Qt::Key_Down, &TForm1::Bitbtn18},  // +
        {Qt::Key_Down, &TForm1::Bitbtn21},  // OK, under the two right columns
        {Qt::Key_Down, &TForm1::Bitbtn21},
        {Qt::Key_Left, &TForm1::Bitbtn19},  // C
        {Qt::Key_Up, &TForm1::Bitbtn12},    // 0, the left one of the two above C
        {Qt::Key_Up, &TForm1::Bitbtn9},     // 1
        {Qt::Key_Right, &TForm1::Bitbtn10}, // 2
        {Qt::Key_Up, &TForm1::Bitbtn7},     // 5
    };
    int index = 0;
    for (const Step& step : steps) {
        KeyAtFocus(step.arrow);
        EXPECT_EQ(Focused(), form.get()->*step.lands) << "step " << index;
        ++index;
    }
    // The arrows moved the focus only: no key was pressed.
    EXPECT_EQ(Amount(), amount);
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(KeypadKeyboard, ArrowKeysPassOverTheDisabledPointKey)
{
    QTest::mouseClick(form->Bitbtn13, Qt::LeftButton, {}, form->Bitbtn13->rect().center());
    ASSERT_FALSE(form->Bitbtn13->isEnabled());
    form->Bitbtn12->setFocus(); // 0
    KeyAtFocus(Qt::Key_Right);
    EXPECT_EQ(Focused(), form->Bitbtn14); // +/-
    KeyAtFocus(Qt::Key_Left);
    EXPECT_EQ(Focused(), form->Bitbtn12);
}

TEST_F(KeypadKeyboard, EscapeOnAKeyHidesTheKeypadAndKeepsThePendingOperation)
{
    form->Bitbtn10->setFocus();
    KeyAtFocus(Qt::Key_Space); // "2"
    form->Bitbtn18->setFocus();
    KeyAtFocus(Qt::Key_Space); // "+"
    ASSERT_EQ(form->Edit6, "+");
    KeyAtFocus(Qt::Key_Escape);
    EXPECT_FALSE(form->XiPanel1->isVisible());
    EXPECT_EQ(Focused(), form->Edit8);
    EXPECT_EQ(form->Edit5, "2");
    EXPECT_EQ(form->Edit6, "+");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(KeypadKeyboard, EscapeElsewhereInTheWindowHidesTheShownKeypad)
{
    form->ComboBox3->setFocus();
    KeyAtFocus(Qt::Key_Escape);
    EXPECT_FALSE(form->XiPanel1->isVisible());
    EXPECT_EQ(Focused(), form->Edit8);
    EXPECT_THAT(boxes, IsEmpty());
}

// With the keypad hidden, Escape typed into the amount is the typed
// character it always was.
TEST_F(KeypadKeyboard, EscapeWithTheKeypadHiddenReachesTheAmountField)
{
    KeyAtFocus(Qt::Key_Escape);
    ASSERT_FALSE(form->XiPanel1->isVisible());
    ASSERT_EQ(Focused(), form->Edit8);
    KeyAtFocus(Qt::Key_Escape);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Message);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("Invalid numeric format : "))) << boxes[0].text.toStdString();
    EXPECT_FALSE(form->XiPanel1->isVisible());
}

} // namespace
} // namespace zentaro::test
