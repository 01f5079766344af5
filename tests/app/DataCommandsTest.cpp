#include "tests/app/WindowFixture.h"
#include "tests/common/TestHttpServer.h"
#include "app/PictureControl.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;

const QString kFromFileSuccess = QStringLiteral("Succesfully Upload new conversion data!");
const QString kFromUrlSuccess = QStringLiteral("Succesfully Uploaded new conversion data !");

class DataCommands : public ::testing::Test, public WindowFixture {
protected:
    std::string DataFile() const { return ReadFile(folder / kDataFileName); }

    QString WriteUpdate(const std::string& name, const std::string& text)
    {
        WriteFile(folder / name, text);
        return QFile::decodeName((folder / name).c_str());
    }

    // A window over rows whose update address is path on server.
    template <typename Server>
    void OpenUpdatingFrom(const Server& server, const std::string& path, const std::vector<Row>& rows)
    {
        updateUrl = server.Address(path);
        WriteTable(rows);
        Open();
    }

    // The commands as the picture buttons raise them.
    void FromFile() { form->Guard([this] { form->UpdateFromFile1Click(form.get()); }); }
    void FromUrl() { form->Guard([this] { form->Update1Click(form.get()); }); }
    void RemoveCurrent() { form->Guard([this] { form->Removecurrentdata1Click(form.get()); }); }
    void ClearAllData() { form->Guard([this] { form->Clear1Click(form.get()); }); }
};

TEST_F(DataCommands, CancelledFilePickChangesNothing)
{
    WriteTable({{"A", "USD", "1"}});
    Open();
    const std::string before = DataFile();
    FromFile();
    EXPECT_TRUE(boxes.empty());
    EXPECT_THAT(dialogs->filters, ElementsAre(QStringLiteral("currency data (*.txt)|*.txt|ECB reference rates (*.xml *.csv *.zip)|*.xml;*.csv;*.zip")));
    EXPECT_EQ(DataFile(), before);
    EXPECT_EQ(form->ComboBox3->Text(), "A");
}

TEST_F(DataCommands, PickedFileIsImportedOnceAndRefreshesTheLists)
{
    WriteTable({{"A", "USD", "1"}});
    Open();
    Type("10");
    dialogs->openFile = WriteUpdate("rates.txt", "B\nUSD=1\nEUR=0.9\n");
    FromFile();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{Box::Message, kFromFileSuccess, "10"}));
    EXPECT_EQ(form->ComboBox3->Text(), "B");
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("EUR", "USD"));
    EXPECT_EQ(form->Edito4, "B");
    EXPECT_EQ(Amount(), "10"); // the refresh leaves the amount alone

    const std::string after = DataFile();
    FromFile();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Upload Time : B is already exist"));
    EXPECT_EQ(DataFile(), after);
}

TEST_F(DataCommands, ImportErrorsAreShownAndAddNothing)
{
    WriteTable({{"A", "USD", "1"}});
    Open();
    const std::string before = DataFile();
    const struct {
        QString file;
        QString error;
    } cases[] = {
        {QFile::decodeName((folder / "absent.txt").c_str()), QStringLiteral("File not found.")},
        {WriteUpdate("bad.txt", "B\nUSD=1\nEUR=0,9x\n"),
         QStringLiteral("'0.9x' is not a valid floating point value for field 'nilai'")},
    };
    for (const auto& c : cases) {
        boxes.clear();
        dialogs->openFile = c.file;
        FromFile();
        ASSERT_EQ(boxes.size(), 1u) << c.file.toStdString();
        EXPECT_EQ(boxes[0].kind, Box::Error);
        EXPECT_EQ(boxes[0].text, c.error);
        EXPECT_EQ(DataFile(), before);
        EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A"));
    }
}

TEST_F(DataCommands, UpdateFromTheAddressDownloadsAndImports)
{
    TestHttpServer server;
    server.Serve("/update/Last%20Update.txt", HttpAnswer(200, "OK", "B\nUSD=1\nJPY=150\n"));
    OpenUpdatingFrom(server, "/update/Last Update.txt", {{"A", "USD", "1"}});
    FromUrl();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kFromUrlSuccess);
    EXPECT_EQ(form->Memo1, "B\nUSD=1\nJPY=150\n");
    EXPECT_EQ(ReadFile(folder / "Last Update.txt"), "B\nUSD=1\nJPY=150\n");
    EXPECT_EQ(form->ComboBox3->Text(), "B");

    FromUrl();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Upload Time : B is already exist"));
}

TEST_F(DataCommands, UpdateFromUrlKeepsTheWindowAliveAndTakesNoOtherCommand)
{
    SilentServer server;
    OpenUpdatingFrom(server, "/update/Last Update.txt", {{"A", "USD", "1"}});
    dialogs->confirm = true;
    const std::string before = DataFile();

    PaintCounter counter;
    form->installEventFilter(&counter);
    bool transferring = false;
    bool waitCursor = false;
    int paintsBefore = -1;
    int paintsAfter = -1;
    std::size_t boxesDuring = 99;
    const auto click = [](QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); };
    QTimer::singleShot(200, form.get(), [&] {
        transferring = form->Transferring();
        waitCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        paintsBefore = counter.paints;
        form->update();
        click(form->Clear1);
        click(form->Removecurrentdata1);
        click(form->Image2);
        QTimer::singleShot(100, form.get(), [&] {
            paintsAfter = counter.paints;
            boxesDuring = boxes.size();
        });
    });
    click(form->Update1);

    EXPECT_TRUE(transferring);
    EXPECT_TRUE(waitCursor);
    EXPECT_GT(paintsAfter, paintsBefore);
    EXPECT_EQ(boxesDuring, 0u);
    // Only the first click's own error: no question, no exit.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Error);
    EXPECT_EQ(quitRequests, 0);
    EXPECT_EQ(DataFile(), before);
    EXPECT_FALSE(form->Transferring());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    click(form->Clear1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kClearQuestion);
}

TEST_F(DataCommands, EcbRatesComeFromTheAddressAndFromAPickedFile)
{
    const std::string xml = ReadFile(std::filesystem::path(ZENTARO_ECB_DATA) / "ecb-eurofxref-2017-03-08.xml");
    TestHttpServer server;
    server.Serve("/stats/eurofxref/eurofxref-daily.xml", HttpAnswer(200, "OK", xml, "text/xml"));
    OpenUpdatingFrom(server, "/stats/eurofxref/eurofxref-daily.xml", {{"2000-01-03", "USD", "1"}});

    FromUrl();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kFromUrlSuccess);
    EXPECT_THAT(Entries(form->ComboBox3), testing::UnorderedElementsAre("2017-03-08", "2000-01-03"));
    EXPECT_EQ(form->ComboBox3->Text(), "2017-03-08");
    EXPECT_THAT(Entries(form->ComboBox1), testing::AllOf(testing::Contains("EUR"), testing::Contains("ZAR")));

    FromUrl();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Upload Time : 2017-03-08 is already exist"));

    dialogs->openFile = WriteUpdate("eurofxref.csv", "Date, USD, JPY, \n11 October 2024, 1.0938, 162.94, \n");
    FromFile();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, kFromFileSuccess);
    EXPECT_THAT(Entries(form->ComboBox3), testing::UnorderedElementsAre("2017-03-08", "2024-10-11", "2000-01-03"));
    EXPECT_EQ(form->ComboBox3->Text(), "2024-10-11");
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("EUR", "JPY", "USD"));
}

TEST_F(DataCommands, NetworkFailuresImportNothing)
{
    TestHttpServer server;
    server.Serve("/update/Last%20Update.txt",
                 HttpAnswer(404, "Not Found", "<html>gone</html>", "text/html"));
    WriteTable({{"A", "USD", "1"}});
    WriteFile(folder / "Last Update.txt", "older copy\n");
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/update/Last Update.txt";
    const struct {
        std::string url;
        Box::Kind kind;
        std::string text;
    } cases[] = {
        {server.Address("/update/Last Update.txt"), Box::Message,
         "Error while downloading " + server.Address("/update/Last Update.txt") +
             ": the server answered with status 404"},
        {closed, Box::Error, "Cannot open URL " + closed + ": could not connect to the server."},
    };
    for (const auto& c : cases) {
        updateUrl = c.url;
        boxes.clear();
        Open();
        const std::string before = DataFile();
        FromUrl();
        ASSERT_EQ(boxes.size(), 1u) << c.url;
        EXPECT_EQ(boxes[0].kind, c.kind);
        EXPECT_EQ(boxes[0].text.toStdString(), c.text);
        EXPECT_EQ(DataFile(), before);
        EXPECT_EQ(ReadFile(folder / "Last Update.txt"), "older copy\n");
        EXPECT_EQ(form->ComboBox3->Text(), "A");
    }
}

TEST_F(DataCommands, RemovingTheCurrentTimeKeepsTheOthersInOrder)
{
    WriteTable({{"B", "USD", "1"}, {"B", "EUR", "2"}, {"C", "USD", "3"}, {"A", "USD", "4"}, {"b", "USD", "5"}});
    Open();
    EXPECT_EQ(form->ComboBox3->Text(), "b");
    Pick(form->ComboBox3, "B");
    dialogs->confirm = true;
    RemoveCurrent();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{Box::Question, kRemoveQuestion, ""}));
    EXPECT_EQ(form->Edit2, "B");
    // Letter case makes another time; the list is now in upload-time order.
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "C", "b"));
    EXPECT_EQ(form->ComboBox3->Text(), "b");

    RateTable stored('.', ByteCollation());
    stored.LoadFromFile(folder / kDataFileName);
    EXPECT_EQ(stored.RecordCount(), 3u);
}

TEST_F(DataCommands, RemoveAnsweredNoStillSavesAndRefreshes)
{
    WriteTable({{"A", "USD", "1"}, {"B", "USD", "2"}});
    Open();
    Pick(form->ComboBox3, "A");
    const std::string before = DataFile();
    RemoveCurrent();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box::Question);
    EXPECT_EQ(DataFile(), before);
    EXPECT_EQ(form->ComboBox3->Text(), "B"); // the refresh chose the current time again
}

TEST_F(DataCommands, RemoveOnAnEmptyTableReportsTheEmptyDataset)
{
    WriteTable({});
    Open();
    dialogs->confirm = true;
    RemoveCurrent();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], (Box{Box::Error,
                             QStringLiteral("ClientDataSet1: Cannot perform this operation on an empty dataset."),
                             ""}));
}

TEST_F(DataCommands, ClearAsksAndOnlyYesEmptiesTheFile)
{
    WriteTable({{"A", "USD", "1"}, {"B", "USD", "2"}});
    Open();
    const std::string before = DataFile();
    ClearAllData();
    EXPECT_EQ(boxes, (std::vector<Box>{{Box::Question, kClearQuestion, ""}}));
    EXPECT_EQ(DataFile(), before);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));

    dialogs->confirm = true;
    ClearAllData();
    EXPECT_EQ(DataFile().size(), 88u);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre(""));
    EXPECT_EQ(form->ComboBox3->Text(), "");
}

} // namespace
} // namespace zentaro::test
