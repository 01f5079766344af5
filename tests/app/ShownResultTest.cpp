// Whatever the user does, a number in the result field is the amount converted
// between the two shown currencies with the rates of the shown upload time.
#include "tests/app/WindowFixture.h"

#include "app/MessageBoxDialogs.h"
#include "app/PictureControl.h"
#include "controls/XiButton.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Two batches of reference rates; the newer one ends with BRL.
const std::vector<Row> kBatches = {
    {"2013-01-28", "EUR", "1"},      {"2013-01-28", "USD", "1.3444"}, {"2013-01-28", "ZAR", "12.0906"},
    {"2013-01-28", "BRL", "2.697"},  {"2022-07-08", "EUR", "1"},      {"2022-07-08", "USD", "1.0163"},
    {"2022-07-08", "JPY", "138.05"}, {"2022-07-08", "ZAR", "17.1922"}, {"2022-07-08", "BRL", "5.4933"},
};

class ShownResult : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTable(kBatches);
        Open();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Convert(const QString& from, const QString& to, const QString& amount)
    {
        Pick(form->ComboBox1, from);
        Pick(form->ComboBox2, to);
        form->Edit8->selectAll();
        Type(amount);
    }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }
    // Keys go where the keyboard focus is, as the user's typing does.
    void TypeAtFocus(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
};

enum class ChooseWay { Pick, TypeAndEnter, TypeAndLeave };

class ChoosingAnUploadTime : public ShownResult, public ::testing::WithParamInterface<ChooseWay> {
protected:
    void Choose(const QString& time)
    {
        if (GetParam() == ChooseWay::Pick)
            return Pick(form->ComboBox3, time);
        form->ComboBox3->setFocus();
        RetypeList(form->ComboBox3, time);
        EXPECT_EQ(Result(), ""); // typed, not yet chosen
        QTest::keyClick(form->ComboBox3->lineEdit(),
                        GetParam() == ChooseWay::TypeAndEnter ? Qt::Key_Return : Qt::Key_Tab);
    }
};

TEST_P(ChoosingAnUploadTime, ConvertsWithItsRates)
{
    Convert("EUR", "ZAR", "250");
    ASSERT_EQ(Result(), "4298.05"); // 250 * 17.1922
    Choose("2013-01-28");
    EXPECT_THAT(Entries(form->ComboBox2), ElementsAre("BRL", "EUR", "USD", "ZAR"));
    EXPECT_EQ(form->ComboBox1->currentText(), "EUR");
    EXPECT_EQ(form->ComboBox2->currentText(), "ZAR");
    EXPECT_EQ(Result(), "3022.65"); // 250 * 12.0906
    Type("0");
    EXPECT_EQ(Result(), "30226.5");
    EXPECT_THAT(boxes, IsEmpty());
}

std::string WayName(const ::testing::TestParamInfo<ChooseWay>& info)
{
    static const char* const kNames[] = {"Pick", "TypeAndEnter", "TypeAndLeave"};
    return kNames[static_cast<int>(info.param)];
}
INSTANTIATE_TEST_SUITE_P(Ways, ChoosingAnUploadTime,
                         ::testing::Values(ChooseWay::Pick, ChooseWay::TypeAndEnter, ChooseWay::TypeAndLeave),
                         WayName);

TEST_F(ShownResult, ACurrencyTheUploadTimeLacksGivesWayToItsLastCode)
{
    Convert("EUR", "JPY", "250");
    Pick(form->ComboBox3, "2013-01-28");
    EXPECT_EQ(form->ComboBox2->currentText(), "BRL");
    EXPECT_EQ(Result(), "674.25"); // 250 * 2.697
}

TEST_F(ShownResult, ACodeWithoutARowEmptiesTheResult)
{
    Convert("EUR", "BRL", "100");
    ASSERT_EQ(Result(), "549.33");
    const std::pair<TextComboBox*, const char*> typed[] = {
        {form->ComboBox2, "usd"}, {form->ComboBox2, "US"}, {form->ComboBox1, "JPY"}};
    for (const auto& [list, code] : typed) {
        Pick(form->ComboBox3, list == form->ComboBox1 ? "2013-01-28" : "2022-07-08");
        RetypeList(list, code);
        EXPECT_EQ(Result(), "") << code;
        Type("0"); // the amount's own conversions find no rate either
        EXPECT_EQ(Result(), "") << code;
        Key(Qt::Key_Backspace);
        RetypeList(list, list == form->ComboBox1 ? "EUR" : "BRL");
    }
    RetypeList(form->ComboBox2, "USD");
    EXPECT_EQ(Result(), "134.44"); // at 2013-01-28
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(ShownResult, AfterAnImportTheAmountConvertsInTheRefreshedLists)
{
    Convert("EUR", "ZAR", "1050");
    WriteFile(folder / "new.txt", "2023-01-02\nZAR=20\nEUR=1\n");
    dialogs->openFile = QFile::decodeName((folder / "new.txt").c_str());
    Click(form->Updatefromfile1);
    EXPECT_EQ(form->ComboBox2->currentText(), "EUR"); // the refresh shows the batch's last code
    EXPECT_EQ(Result(), "1050");
    Pick(form->ComboBox2, "ZAR");
    EXPECT_EQ(Result(), "21000");
}

TEST_F(ShownResult, AfterARemovalTheAmountConvertsAgainAndAfterDeletingAllNoNumberIsLeft)
{
    Convert("EUR", "ZAR", "1050");
    dialogs->confirm = true;
    Click(form->Removecurrentdata1);
    EXPECT_EQ(form->ComboBox2->currentText(), "BRL"); // the remaining batch's last code
    EXPECT_EQ(Result(), "1050");
    Pick(form->ComboBox1, "ZAR");
    EXPECT_EQ(Result(), "234.219145"); // 1050 * 2.697 / 12.0906
    Click(form->Clear1);
    EXPECT_EQ(Result(), "");
    Type("5");
    EXPECT_EQ(Amount(), "10505");
    EXPECT_EQ(Result(), "");
    ASSERT_EQ(boxes.size(), 2u); // the two questions only
}

TEST_F(ShownResult, DigitsTypedAtStartAndAfterTheKeypadHidesGoIntoTheAmount)
{
    TypeAtFocus("25");
    EXPECT_EQ(Amount(), "25");
    Pick(form->ComboBox2, "USD");
    Click(form->Bitbtn2);
    for (TXiButton* key : {form->Bitbtn19, form->Bitbtn9, form->Bitbtn18, form->Bitbtn10, form->Bitbtn21})
        Click(key); // C 1 + 2 OK
    TypeAtFocus("0");
    EXPECT_EQ(Amount(), "30");
    Click(form->Bitbtn2);
    Click(form->Bitbtn19);
    Click(form->Bitbtn2); // hidden by its own button
    TypeAtFocus("7");
    EXPECT_EQ(Amount(), "07");
    EXPECT_EQ(form->ComboBox3->currentText(), "2022-07-08");
    EXPECT_EQ(Result(), "1.29505"); // 7 * 1.0163 / 5.4933
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(ShownResult, AltCombinationsTypeNothing)
{
    Type("12");
    for (Qt::Key key : {Qt::Key_7, Qt::Key_X, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_Return})
        Key(key, Qt::AltModifier);
    EXPECT_EQ(Amount(), "12");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST(ConfirmBox, IsTitledConfirmAndLeavesTheApplicationTitle)
{
    MessageBoxDialogs dialogs;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        box->reject();
    });
    EXPECT_FALSE(dialogs.Confirm("Sure ?"));
    EXPECT_EQ(title, "Confirm");
    // The message and error boxes take their title from here.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Zentaro");
}

} // namespace
} // namespace zentaro::test
