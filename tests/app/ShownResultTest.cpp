// Whatever the user does, a number in the result field is the amount converted
// between the two shown currencies with the rates of the shown upload time.
#include "tests/app/WindowFixture.h"

#include "app/MessageBoxDialogs.h"
#include "app/PictureControl.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
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

class ShownResult : public WindowFixture {
protected:
    void OpenActive()
    {
        WriteTable(kBatches);
        Open();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // 250 EUR in ZAR at the newest upload time.
    void ConvertEurToZar()
    {
        Pick(form->ComboBox1, "EUR");
        Pick(form->ComboBox2, "ZAR");
        RetypeAmount("250");
        ASSERT_EQ(Result(), "4298.05"); // 250 * 17.1922
    }
    void RetypeAmount(const QString& keys)
    {
        form->Edit8->selectAll();
        Type(keys);
    }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }
    // Keys go where the keyboard focus is, as the user's typing does.
    void TypeAtFocus(const QString& keys)
    {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClicks(QApplication::focusWidget(), keys);
    }
};

// --- choosing an upload time -------------------------------------------------

enum class ChooseWay { Pick, TypeAndEnter, TypeAndLeave };

std::string WayName(ChooseWay way)
{
    static const char* const kNames[] = {"Pick", "TypeAndEnter", "TypeAndLeave"};
    return kNames[static_cast<int>(way)];
}
void PrintTo(ChooseWay way, std::ostream* out) { *out << WayName(way); }

class ChoosingAnUploadTime : public ShownResult, public ::testing::TestWithParam<ChooseWay> {
protected:
    void SetUp() override { OpenActive(); }
    void Choose(const QString& time)
    {
        TextComboBox* list = form->ComboBox3;
        if (GetParam() == ChooseWay::Pick) {
            Pick(list, time);
            return;
        }
        list->setFocus();
        RetypeList(list, time);
        // Typed but not yet chosen: the old result belongs to another time.
        EXPECT_EQ(Result(), "");
        if (GetParam() == ChooseWay::TypeAndEnter) {
            QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        } else {
            QTest::keyClick(list->lineEdit(), Qt::Key_Tab);
            EXPECT_NE(QApplication::focusWidget(), list);
        }
    }
};

TEST_P(ChoosingAnUploadTime, ConvertsWithTheRatesOfThatTime)
{
    ConvertEurToZar();
    Choose("2013-01-28");
    EXPECT_EQ(form->ComboBox3->currentText(), "2013-01-28");
    for (auto* list : {form->ComboBox1, form->ComboBox2})
        EXPECT_THAT(Entries(list), ElementsAre("BRL", "EUR", "USD", "ZAR"));
    EXPECT_EQ(form->ComboBox1->currentText(), "EUR");
    EXPECT_EQ(form->ComboBox2->currentText(), "ZAR");
    EXPECT_EQ(form->Edit4, "12.0906");
    EXPECT_EQ(Result(), "3022.65"); // 250 * 12.0906
    RetypeAmount("250");
    EXPECT_EQ(Result(), "3022.65");
    EXPECT_THAT(boxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Ways, ChoosingAnUploadTime,
                         ::testing::Values(ChooseWay::Pick, ChooseWay::TypeAndEnter, ChooseWay::TypeAndLeave),
                         [](const auto& info) { return WayName(info.param); });

class UploadTime : public ShownResult, public ::testing::Test {
protected:
    void SetUp() override { OpenActive(); }
};

TEST_F(UploadTime, ACurrencyTheTimeLacksGivesWayToTheTimesLastCode)
{
    Pick(form->ComboBox1, "EUR");
    Pick(form->ComboBox2, "JPY");
    RetypeAmount("250");
    ASSERT_EQ(Result(), "34512.5"); // 250 * 138.05
    Pick(form->ComboBox3, "2013-01-28");
    EXPECT_EQ(form->ComboBox1->currentText(), "EUR");
    EXPECT_EQ(form->ComboBox2->currentText(), "BRL");
    EXPECT_EQ(Result(), "674.25"); // 250 * 2.697
    // And back: JPY is offered again.
    Pick(form->ComboBox2, "USD");
    Pick(form->ComboBox3, "2022-07-08");
    EXPECT_THAT(Entries(form->ComboBox2), ElementsAre("BRL", "EUR", "JPY", "USD", "ZAR"));
    EXPECT_EQ(Result(), "254.075"); // 250 * 1.0163
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(UploadTime, TypedTimeThatDoesNotExistEmptiesListsAndResult)
{
    ConvertEurToZar();
    form->ComboBox3->setFocus();
    RetypeList(form->ComboBox3, "2022-07-087");
    EXPECT_EQ(Result(), "");
    QTest::keyClick(form->ComboBox3->lineEdit(), Qt::Key_Return);
    EXPECT_THAT(Entries(form->ComboBox1), IsEmpty());
    EXPECT_EQ(form->ComboBox2->currentText(), "");
    RetypeAmount("12");
    EXPECT_EQ(Amount(), "12");
    EXPECT_EQ(Result(), "");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(UploadTime, LeavingTheListWithoutTypingKeepsTheResult)
{
    ConvertEurToZar();
    form->ComboBox3->setFocus();
    QTest::keyClick(form->ComboBox3->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(Result(), "4298.05");
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("BRL", "EUR", "JPY", "USD", "ZAR"));
}

// --- codes that the upload time lacks -----------------------------------------

TEST_F(UploadTime, CodeNotFoundEmptiesTheResultInsteadOfReusingARate)
{
    Pick(form->ComboBox1, "EUR");
    Pick(form->ComboBox2, "BRL");
    RetypeAmount("100");
    ASSERT_EQ(Result(), "549.33");
    struct Case {
        TextComboBox* list;
        const char* typed;
    };
    const Case cases[] = {
        {form->ComboBox2, "usd"}, // lookups stay case-sensitive
        {form->ComboBox2, "US"},  // a code half typed
        {form->ComboBox1, "usd"},
        {form->ComboBox1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        RetypeList(c.list, c.typed);
        if (*c.typed == '\0')
            QTest::keyClick(c.list->lineEdit(), Qt::Key_Backspace);
        EXPECT_EQ(Result(), "");
        Type("0"); // the amount's own conversions find no rate either
        EXPECT_EQ(Result(), "");
        Key(Qt::Key_Backspace);
        RetypeList(c.list, c.list == form->ComboBox1 ? "EUR" : "BRL");
        EXPECT_EQ(Result(), "549.33");
    }
    RetypeList(form->ComboBox2, "USD");
    EXPECT_EQ(Result(), "101.63");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(UploadTime, CodeOfAnotherUploadTimeFindsNoRate)
{
    Pick(form->ComboBox3, "2013-01-28");
    Pick(form->ComboBox1, "USD");
    RetypeAmount("10");
    RetypeList(form->ComboBox2, "JPY"); // 2022-07-08 has it, 2013-01-28 does not
    EXPECT_EQ(Result(), "");
    RetypeList(form->ComboBox2, "ZAR");
    EXPECT_EQ(Result(), "89.933056"); // 10 * 12.0906 / 1.3444
}

TEST_F(UploadTime, AnAmountThatIsNoNumberIsReportedEvenWithoutRates)
{
    RetypeList(form->ComboBox1, "XXX");
    Type("5-");
    EXPECT_THAT(boxes, ElementsAre(Box{Box::Error, "'5-' is not a valid floating point value.", "5-"}));
    EXPECT_EQ(Result(), "");
}

// --- the refresh --------------------------------------------------------------

class Refresh : public ShownResult, public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenActive();
        ConvertEurToZar();
        RetypeAmount("1050");
        ASSERT_EQ(Result(), "18051.81"); // 1050 * 17.1922
    }
};

TEST_F(Refresh, AfterAnImportTheAmountConvertsInTheNewLists)
{
    WriteFile(folder / "new.txt", "2023-01-02\nZAR=20\nUSD=1.0\nEUR=1\n");
    dialogs->openFile = QFile::decodeName((folder / "new.txt").c_str());
    Click(form->Updatefromfile1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Message);
    EXPECT_EQ(form->ComboBox3->currentText(), "2023-01-02");
    EXPECT_EQ(form->ComboBox1->currentText(), "EUR");
    EXPECT_EQ(form->ComboBox2->currentText(), "EUR");
    EXPECT_EQ(Result(), "1050");
    // The lists' rates are the new batch's.
    Pick(form->ComboBox2, "ZAR");
    EXPECT_EQ(Result(), "21000");
}

TEST_F(Refresh, AfterRemovingTheCurrentTimeTheAmountConvertsAtTheRemainingOne)
{
    dialogs->confirm = true;
    Click(form->Removecurrentdata1);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2013-01-28"));
    EXPECT_EQ(form->ComboBox2->currentText(), "BRL");
    EXPECT_EQ(Result(), "1050");
    Pick(form->ComboBox1, "ZAR");
    EXPECT_EQ(Result(), "234.219145"); // 1050 * 2.697 / 12.0906
}

TEST_F(Refresh, AfterDeletingAllDataNoNumberIsLeft)
{
    dialogs->confirm = true;
    Click(form->Clear1);
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre(""));
    EXPECT_EQ(Amount(), "1050");
    EXPECT_EQ(Result(), "");
    Type("5");
    EXPECT_EQ(Result(), "");
    ASSERT_EQ(boxes.size(), 1u); // the question only
    EXPECT_EQ(boxes[0].kind, Box::Question);
}

TEST_F(Refresh, AnEmptyAmountLeavesTheResultEmpty)
{
    form->Edit8->clear();
    ASSERT_EQ(Result(), "0");
    dialogs->confirm = false;
    Click(form->Removecurrentdata1); // refreshed whatever the answer
    EXPECT_EQ(form->ComboBox3->currentText(), "2022-07-08");
    EXPECT_EQ(Result(), "");
}

// --- keyboard focus -----------------------------------------------------------

class Focus : public ShownResult, public ::testing::Test {
protected:
    void SetUp() override { OpenActive(); }
};

TEST_F(Focus, DigitsTypedAtStartGoIntoTheAmount)
{
    EXPECT_EQ(QApplication::focusWidget(), form->Edit8);
    TypeAtFocus("25");
    EXPECT_EQ(Amount(), "25");
    EXPECT_EQ(form->ComboBox3->currentText(), "2022-07-08");
    EXPECT_EQ(Result(), "25"); // BRL in BRL
}

TEST_F(Focus, DigitsTypedAfterTheKeypadHidesGoIntoTheAmount)
{
    Pick(form->ComboBox2, "USD");
    Click(form->Bitbtn2);
    ASSERT_TRUE(form->XiPanel1->isVisible());
    for (TXiButton* key : {form->Bitbtn9, form->Bitbtn18, form->Bitbtn10, form->Bitbtn21}) // 1 + 2 OK
        Click(key);
    EXPECT_FALSE(form->XiPanel1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), form->Edit8);
    TypeAtFocus("0");
    EXPECT_EQ(Amount(), "30");
    EXPECT_EQ(form->ComboBox3->currentText(), "2022-07-08");

    // Hidden by its own button after a key had the focus.
    Click(form->Bitbtn2);
    Click(form->Bitbtn19);
    ASSERT_EQ(QApplication::focusWidget(), form->Bitbtn19);
    Click(form->Bitbtn2);
    EXPECT_EQ(QApplication::focusWidget(), form->Edit8);
    TypeAtFocus("7");
    EXPECT_EQ(Amount(), "07");
    EXPECT_EQ(Result(), "1.29505"); // 7 * 1.0163 / 5.4933
    EXPECT_THAT(boxes, IsEmpty());
}

// --- Alt combinations ---------------------------------------------------------

TEST_F(Focus, AltCombinationsTypeNothing)
{
    Type("12");
    const QString result = Result();
    for (Qt::Key key : {Qt::Key_7, Qt::Key_X, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Backspace, Qt::Key_Return}) {
        Key(key, Qt::AltModifier);
        EXPECT_EQ(Amount(), "12") << QKeySequence(key).toString().toStdString();
    }
    EXPECT_EQ(Result(), result);
    EXPECT_THAT(boxes, IsEmpty());
}

// --- the question box ---------------------------------------------------------

TEST(ConfirmBox, IsTitledConfirmAloneAndLeavesTheOtherBoxesTitled)
{
    ASSERT_EQ(QGuiApplication::applicationDisplayName(), "Zentaro");
    MessageBoxDialogs dialogs;
    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "&No")
                button->click();
    });
    EXPECT_FALSE(dialogs.Confirm("Remove it ?\rWarning"));
    EXPECT_EQ(title, "Confirm");
    EXPECT_EQ(text, "Remove it ?\nWarning");
    // The message boxes are still captioned with the application's name.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Zentaro");

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        box->accept();
    });
    dialogs.ShowMessage("done");
    EXPECT_EQ(title, "Zentaro");
}

} // namespace
} // namespace zentaro::test
