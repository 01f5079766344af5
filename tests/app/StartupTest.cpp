#include "tests/app/WindowFixture.h"

#include "app/PictureControl.h"

#include "controls/XiButton.h"
#include "store/ConversionRules.h"

#include "store/DataLocation.h"

#include <QApplication>
#include <QFile>
#include <QLabel>

#include <gmock/gmock.h>

#include <map>
#include <tuple>

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

// An installed program: prefix/bin beside prefix/share/zentaro with the
// sample data file, and a user's home of its own.
class InstalledWindowTest : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(root / "usr/bin");
        std::filesystem::create_directories(root / "usr/share/zentaro");
        RateTable sample('.', ByteCollation());
        AddRow(sample, "2013-01-28", "USD", "1.3444");
        sample.SaveToFile(root / "usr/share/zentaro" / kDataFileName);
    }

    TForm1::Settings Settings() const
    {
        return WindowSettings::ForProgram(root / "usr/bin", [this](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        });
    }

    TempDir root;
    std::map<std::string, std::string> environment = {{"HOME", (root / "home").string()}};
    std::filesystem::path user = root / "home/.local/share/zentaro";
};

TEST_F(InstalledWindowTest, FirstStartWorksOnACopyOfTheSampleInTheUsersFolder)
{
    const TForm1::Settings settings = Settings();
    EXPECT_EQ(settings.dataFolder, user);
    EXPECT_EQ(settings.dataFolderError, "");
    EXPECT_EQ(settings.shareFolder, (root / "usr/share/zentaro").lexically_normal());
    OpenWith(settings);
    EXPECT_THAT(boxes, IsEmpty());
    EXPECT_EQ(form->DataFilePath(), user / kDataFileName);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2013-01-28"));
}

TEST_F(InstalledWindowTest, RelativeXdgDataHomeIsIgnored)
{
    environment["XDG_DATA_HOME"] = "relative";
    EXPECT_EQ(Settings().dataFolder, user);
    environment["XDG_DATA_HOME"] = (root / "data").string();
    EXPECT_EQ(Settings().dataFolder, root / "data/zentaro");
}

TEST_F(InstalledWindowTest, FolderThatCannotBePreparedIsTheStartsOneErrorWithItsReason)
{
    WriteFile(root / "home", "a file where a folder belongs");
    const TForm1::Settings settings = Settings();
    EXPECT_EQ(settings.dataFolderError, "Cannot create folder \"" + user.string() + "\". Not a directory");
    OpenWith(settings);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{Box::Error, QString::fromStdString(settings.dataFolderError) + ".", ""}));
    EXPECT_TRUE(form->DragEnabled());
}

TEST_F(InstalledWindowTest, NoNameableFolderWritesNothingAnywhere)
{
    environment.clear();
    const TForm1::Settings settings = Settings();
    EXPECT_EQ(settings.dataFolderError, "Cannot find the user's data folder: neither XDG_DATA_HOME nor HOME is set");
    OpenWith(settings);
    ASSERT_EQ(boxes.size(), 1u);
    boxes.clear();
    dialogs->confirm = true;
    QTest::mouseClick(form->Clear1, Qt::LeftButton, {}, form->Clear1->rect().center());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].kind, Box::Error);
    EXPECT_TRUE(boxes[1].text.contains("Not a directory")) << boxes[1];
    std::vector<std::filesystem::path> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.Path()))
        tree.push_back(entry.path());
    EXPECT_EQ(tree.size(), 5u); // usr, usr/bin, usr/share, usr/share/zentaro and the sample
}

TEST(WindowSettingsTest, TheTestProgramIsNoInstalledProgramAndKeepsItsDataBesideIt)
{
    const TForm1::Settings settings = TForm1::Settings::Installed();
    EXPECT_EQ(settings.dataFolder, settings.programFolder);
    EXPECT_TRUE(settings.shareFolder.empty());
    EXPECT_EQ(settings.dataFolderError, "");
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

TEST_F(StartupTest, ControlsLieOnTheWindowEachLabelBeforeItsRow)
{
    WriteTable(kTwoBatches);
    Open();
    EXPECT_EQ(form->windowTitle(), "Zentaro");
    struct Placed {
        QWidget* widget;
        const char* hint;
    };
    const Placed placed[] = {
        {form->Label1, ""},
        {form->Label2, ""},
        {form->Label3, ""},
        {form->ComboBox3, "Click to Select Time"},
        {form->Edit8, "Type a Numeric Format Here"},
        {form->ComboBox1, "Click to Select Unit Currency"},
        {form->Edit9, "Result"},
        {form->ComboBox2, "Click to Select Unit Currency"},
    };
    for (std::size_t i = 0; i < std::size(placed); ++i) {
        const Placed& control = placed[i];
        SCOPED_TRACE(control.widget->metaObject()->className());
        EXPECT_TRUE(form->rect().contains(control.widget->geometry()));
        EXPECT_TRUE(form->mask().contains(control.widget->geometry()));
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(control.widget->geometry().intersects(placed[j].widget->geometry())) << j;
        EXPECT_EQ(control.widget->toolTip(), control.hint);
        EXPECT_EQ(control.widget->font().pixelSize(), 13);
    }
    // Each row: its label, then its field, then its list, one above the other.
    const auto sameRow = [](const QWidget* a, const QWidget* b) {
        return a->geometry().center().y() >= b->geometry().top() && a->geometry().center().y() <= b->geometry().bottom();
    };
    const std::tuple<QLabel*, QWidget*, QWidget*> rows[] = {
        {form->Label1, form->ComboBox3, form->ComboBox3},
        {form->Label2, form->Edit8, form->ComboBox1},
        {form->Label3, form->Edit9, form->ComboBox2},
    };
    for (const auto& [label, field, list] : rows) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_TRUE(sameRow(label, field) && sameRow(label, list));
        EXPECT_LT(label->geometry().right(), field->geometry().left());
        EXPECT_LE(field->geometry().right(), list->geometry().right());
    }
    EXPECT_LT(form->ComboBox3->geometry().bottom(), form->Edit8->geometry().top());
    EXPECT_LT(form->Edit8->geometry().bottom(), form->Edit9->geometry().top());
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
