#include "tests/app/WindowFixture.h"

#include "controls/XiButton.h"
#include "store/ConversionRules.h"

#include "store/DataLocation.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QLabel>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<Row> kTwoBatches = {
    {"2013-01-28", "USD", "1.3444"}, {"2013-01-28", "GBP", "0.8545"},
    {"2022-07-08", "usd", "1.0163"}, {"2022-07-08", "JPY", "138.05"},
    {"2022-07-08", "EUR", "1"},      {"2022-07-08", "CHF", "0.9914"},
};

class StartupTest : public WindowFixture, public ::testing::Test {};

TEST_F(StartupTest, ListsTheBatchesAndTheNewestBatchCurrenciesSorted)
{
    WriteTable(kTwoBatches);
    Open();
    EXPECT_THAT(boxes, IsEmpty());
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2013-01-28", "2022-07-08"));
    EXPECT_EQ(form->ComboBox3->currentText(), "2022-07-08");
    for (auto* list : {form->ComboBox1, form->ComboBox2}) {
        EXPECT_THAT(Entries(list), ElementsAre("CHF", "EUR", "JPY", "usd"));
        std::vector<QString> shown;
        for (int i = 0; i < list->count(); ++i)
            shown.push_back(list->itemText(i));
        EXPECT_THAT(shown, ElementsAre("CHF", "EUR", "JPY", "usd"));
        // The pass's text survives the switch to sorted order.
        EXPECT_EQ(list->currentText(), "CHF");
    }
    EXPECT_EQ(form->Edit1, "0.9914");
    EXPECT_EQ(form->Edit4, "0.9914");
    // Start-up converts nothing.
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(Result(), "");
    EXPECT_TRUE(form->DragEnabled());
}

TEST_F(StartupTest, RateTextsFollowTheWindowDecimalSeparator)
{
    WriteTable(kTwoBatches);
    Open(',');
    EXPECT_EQ(form->Edit1, "0,9914");
    EXPECT_EQ(form->Edit4, "0,9914");
}

TEST_F(StartupTest, EmptyTableGivesOneEmptyEntryPerList)
{
    WriteTable({});
    Open();
    EXPECT_THAT(boxes, IsEmpty());
    for (auto* list : {form->ComboBox3, form->ComboBox1, form->ComboBox2}) {
        EXPECT_THAT(Entries(list), ElementsAre(""));
        EXPECT_EQ(list->currentText(), "");
    }
    EXPECT_EQ(form->Edit1, "");
    // No row holds a rate: the amount takes the digit and no result is shown.
    Type("1");
    EXPECT_THAT(boxes, IsEmpty());
    EXPECT_EQ(Amount(), "1");
    EXPECT_EQ(Result(), "");
}

TEST_F(StartupTest, MissingDataFileIsReportedAndLeavesAnEmptyOpenTable)
{
    Open();
    const std::string path = (folder / kDataFileName).string();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Error);
    EXPECT_TRUE(boxes[0].text.startsWith(QString::fromStdString("Cannot open file \"" + path + "\". ")))
        << boxes[0];
    EXPECT_TRUE(boxes[0].text.endsWith('.'));
    EXPECT_FALSE(boxes[0].text.endsWith(".."));
    // Steps after the load did not run: the lists are as the window started.
    for (auto* list : {form->ComboBox3, form->ComboBox1, form->ComboBox2}) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentText(), "");
    }
    EXPECT_TRUE(form->Table().Active());
    EXPECT_EQ(form->Table().RecordCount(), 0u);
    EXPECT_TRUE(form->DragEnabled());
}

TEST_F(StartupTest, DamagedDataFileClosesTheTable)
{
    WriteFile(folder / kDataFileName, "this is not a data packet");
    Open();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Error);
    EXPECT_FALSE(form->Table().Active());

    boxes.clear();
    Type("1");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "ClientDataSet1: Cannot perform this operation on a closed dataset.");
    EXPECT_EQ(Amount(), ""); // the failed key filter discarded the digit
    // The damaged file is still there, untouched.
    EXPECT_EQ(ReadFile(folder / kDataFileName), "this is not a data packet");
}

TEST_F(StartupTest, DataFileThatIsThereButUnreadableIsNamedWithItsFullPath)
{
    WriteFile(folder / kDataFileName, "this is not a data packet");
    Open();
    const QString path = QFile::decodeName(std::filesystem::absolute(folder / kDataFileName).c_str());
    ASSERT_EQ(boxes.size(), 1u);
    const qsizetype split = boxes[0].text.indexOf(QStringLiteral("\n\n"));
    ASSERT_GT(split, 0) << boxes[0];
    EXPECT_TRUE(boxes[0].text.left(split).endsWith('.')) << boxes[0];
    EXPECT_EQ(boxes[0].text.mid(split + 2), path);

    // A missing file's text names it already, once.
    std::filesystem::remove(folder / kDataFileName);
    boxes.clear();
    Open();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.count(path), 1) << boxes[0];
    EXPECT_FALSE(boxes[0].text.contains(QStringLiteral("\n\n"))) << boxes[0];
}

TEST(DataFolderTest, WindowAndCliFindTheSameUserDataFolder)
{
    const TempDir home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    TForm1::Settings::NameApplication();
    const auto windowFolder = [] {
        return std::filesystem::path(
            QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString());
    };
    qputenv("HOME", QFile::encodeName(QString::fromStdString(home.Path().string())));
    qputenv("XDG_DATA_HOME", QFile::encodeName(QString::fromStdString((home / "data").string())));
    EXPECT_EQ(windowFolder(), home / "data" / "zentaro");
    EXPECT_EQ(windowFolder(), UserDataFolder());
    qputenv("XDG_DATA_HOME", "relative");
    EXPECT_EQ(windowFolder(), UserDataFolder());
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(windowFolder(), home / ".local" / "share" / "zentaro");
    EXPECT_EQ(windowFolder(), UserDataFolder());
    qputenv("HOME", savedHome);
    if (savedDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedDataHome);

    // The test program is no installed program: its data stays beside it.
    const TForm1::Settings settings = TForm1::Settings::Installed();
    EXPECT_EQ(settings.dataFolder, settings.programFolder);
    EXPECT_TRUE(settings.shareFolder.empty());
}

TEST_F(StartupTest, RefreshRebuildsTheListsAndConvertsTheAmountAgain)
{
    WriteTable(kTwoBatches);
    Open();
    Pick(form->ComboBox1, "EUR");
    Type("10");
    ASSERT_EQ(Result(), "9.914");

    std::vector<Row> rows = kTwoBatches;
    for (const char* code : {"NZD", "aud", "EUR", "Zar", "AUD"})
        rows.push_back({"2023-05-01", code, "2"});
    WriteTable(rows);
    form->FormCreate(nullptr);

    EXPECT_THAT(boxes, IsEmpty());
    EXPECT_EQ(Amount(), "10");
    EXPECT_EQ(Result(), "10"); // both lists now show AUD
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2013-01-28", "2022-07-08", "2023-05-01"));
    EXPECT_EQ(form->ComboBox3->currentText(), "2023-05-01");
    // Entries of a later refresh take their sorted places as they are added.
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("aud", "AUD", "EUR", "NZD", "Zar"));
    EXPECT_EQ(form->ComboBox1->currentText(), "AUD");
    EXPECT_EQ(form->Edit1, "2");
}

TEST_F(StartupTest, PickingAnUploadTimeRebuildsTheCurrencyLists)
{
    WriteTable(kTwoBatches);
    Open();
    Pick(form->ComboBox2, "JPY");
    Type("2");
    ASSERT_EQ(Result(), "278.495057"); // 2 * 138.05 / 0.9914
    Pick(form->ComboBox3, "2013-01-28");
    for (auto* list : {form->ComboBox1, form->ComboBox2}) {
        EXPECT_THAT(Entries(list), ElementsAre("GBP", "USD"));
        // Neither CHF nor JPY is there: the list shows what a refresh would.
        EXPECT_EQ(list->currentText(), "GBP");
    }
    EXPECT_EQ(form->Edit1, "0.8545");
    EXPECT_EQ(Result(), "2");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(StartupTest, TablesBeyondFiveThousandRowsAreScannedToTheEnd)
{
    std::vector<Row> rows;
    for (int i = 0; i < 6000; ++i)
        rows.push_back({"EARLY", std::string("C").append(std::to_string(i)), "1"});
    rows.push_back({"LATE", "USD", "1"});
    rows.push_back({"LATE", "EUR", "0.9"});
    WriteTable(rows);
    Open();
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("EARLY", "LATE"));
    EXPECT_EQ(form->ComboBox3->currentText(), "LATE");
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("EUR", "USD"));
    EXPECT_EQ(form->Edit1, "0.9");

    Pick(form->ComboBox1, "USD");
    Type("10");
    EXPECT_EQ(Result(), "9");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(StartupTest, TextsThatAreNotUtf8KeepTheirBytes)
{
    // Two codes that both show as the replacement character.
    WriteTable({{"T", "\xa3", "4"}, {"T", "EUR", "2"}, {"T", "\xa5", "8"}});
    Open();
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("EUR", "\xa3", "\xa5"));
    EXPECT_EQ(form->ComboBox1->Text(), "\xa5");
    PickIndex(form->ComboBox1, 1);
    EXPECT_EQ(form->ComboBox1->Text(), "\xa3");
    EXPECT_EQ(form->Edit1, "4");
    Type("1");
    EXPECT_EQ(Result(), "2"); // 1 * 8 / 4
}

// --- the window's layout ----------------------------------------------------

TEST_F(StartupTest, ControlsSitWhereTheLayoutPutsThem)
{
    WriteTable(kTwoBatches);
    Open();
    EXPECT_EQ(form->size(), QSize(625, 297));
    EXPECT_EQ(form->windowTitle(), "Zentaro");
    struct Placed {
        QWidget* widget;
        QRect box;
        const char* hint;
    };
    const Placed placed[] = {
        {form->Label1, {233, 86, 89, 16}, ""},
        {form->Label2, {225, 125, 39, 16}, ""},
        {form->Label3, {225, 158, 24, 16}, ""},
        {form->ComboBox3, {327, 84, 263, 24}, "Click to Select Time"},
        {form->Edit8, {279, 122, 122, 24}, "Type a Numeric Format Here"},
        {form->ComboBox1, {432, 122, 159, 24}, "Click to Select Unit Currency\nCHF - Swiss Franc"},
        {form->Edit9, {279, 154, 146, 24}, "Result"},
        {form->ComboBox2, {432, 154, 159, 24}, "Click to Select Unit Currency\nCHF - Swiss Franc"},
    };
    for (const auto& control : placed) {
        SCOPED_TRACE(control.widget->metaObject()->className());
        EXPECT_EQ(control.widget->geometry(), control.box);
        EXPECT_EQ(control.widget->toolTip(), control.hint);
        EXPECT_EQ(control.widget->font().pixelSize(), 13);
    }
    EXPECT_EQ(form->Label1->text(), "Current Time : ");
    EXPECT_EQ(form->Label2->text(), "From :");
    EXPECT_EQ(form->Label3->text(), "To :");
    EXPECT_TRUE(form->Edit9->isReadOnly());
    EXPECT_FALSE(form->Edit8->isReadOnly());
    EXPECT_EQ(form->font().pixelSize(), 11);
}

TEST_F(StartupTest, TabVisitsTheControlsInTheirOrder)
{
    WriteTable(kTwoBatches);
    Open();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->ComboBox3->setFocus();
    // The hidden keypad's keys are left out.
    const std::vector<QWidget*> order = {form->ComboBox2, form->ComboBox1, form->Edit9, form->Edit8,
                                         form->Bitbtn2,   form->ComboBox3};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // A list takes the focus through its edit part.
        if (focused && focused->parentWidget() && qobject_cast<TextComboBox*>(focused->parentWidget()))
            focused = focused->parentWidget();
        EXPECT_EQ(focused, expected);
    }
}

// --- the error message box --------------------------------------------------

TEST(ErrorBoxTextTest, FullStopOnlyAfterATextEndingAboveIt)
{
    struct Case {
        std::string error;
        QString shown;
    };
    const Case cases[] = {
        {"Floating point division by zero", "Floating point division by zero."},
        {"'5-' is not a valid floating point value", "'5-' is not a valid floating point value."},
        {"ends with a stop.", "ends with a stop."},
        {"ends with a comma,", "ends with a comma,"},
        {"ends with a bang!", "ends with a bang!"},
        {"ends with a slash/", "ends with a slash/."},
        {"ends with a digit 0", "ends with a digit 0."},
        {"ends in UTF-8 \xc3\xa9", QString::fromUtf8("ends in UTF-8 \xc3\xa9.")},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorBoxText(c.error), c.shown) << c.error;
}

} // namespace
} // namespace zentaro::test
