#include "app/RatesKeeper.h"
#include "tests/app/WindowFixture.h"
#include "tests/common/RunProcess.h"
#include "tests/common/ShownRows.h"
#include "tests/common/TestHttpServer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTimeZone>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// Tuesday 9 Dec 2025, 11:00 in Frankfurt: Monday's rates are the latest published.
const QDateTime kTuesdayMorning(QDate(2025, 12, 9), QTime(10, 0), QTimeZone::utc());

// The window over ECB days, with a fixed clock and the age line in English.
class RatesWindow : public ::testing::Test, public WindowFixture {
protected:
    RatesWindow()
    {
        QLocale::setDefault(QLocale::c());
        adjustSettings = [this](TForm1::Settings& settings) {
            settings.now = [this] { return now; };
            settings.followSettle = 50ms;
            settings.autoUpdateInterval = autoUpdateInterval;
            settings.configFile = preferencesFile;
        };
    }
    ~RatesWindow() override { QLocale::setDefault(QLocale::system()); }

    std::filesystem::path DataPath() const { return folder / kDataFileName; }

    void WriteDays(const std::vector<std::string>& days)
    {
        std::vector<Row> rows;
        for (const auto& day : days)
            for (const char* row : {"USD=1.25", "JPY=160", "GBP=0.8"}) {
                const std::string line = row;
                rows.push_back({day, line.substr(0, 3), line.substr(4)});
            }
        WriteTable(rows);
    }

    void CliImport(const std::string& text)
    {
        WriteFile(folder / "cli.txt", text);
        const auto cli = RunProcess(ZENTARO_CLI, {"import", DataPath().string(), (folder / "cli.txt").string()});
        ASSERT_EQ(cli.status, 0) << cli.err;
    }

    // Lets the event loop run until the condition holds or time is up.
    static bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    bool ShowsTime(const std::string& time) const { return form->ComboBox3->Text() == time; }
    bool Lists(const std::string& time) const
    {
        const auto& entries = form->ComboBox3->Entries();
        return std::find(entries.begin(), entries.end(), time) != entries.end();
    }
    QLabel* AgeLine() const { return form->Rates().AgeLine(); }
    bool Stale() const { return AgeLine()->property("stale").toBool(); }

    // The user's view: from USD to GBP, 100, the focus in the amount.
    void ChooseUsdToGbp()
    {
        Pick(form->ComboBox1, "USD");
        Pick(form->ComboBox2, "GBP");
        form->Edit8->setFocus();
        form->Edit8->clear();
        Type("100");
    }

    QDateTime now = kTuesdayMorning;
    std::chrono::milliseconds autoUpdateInterval{0};
    QString preferencesFile;
};

TEST_F(RatesWindow, ANewerDayFromTheCliBecomesCurrentWithTheUsersChoicesKept)
{
    WriteDays({"2025-12-04", "2025-12-05"});
    ASSERT_NO_FATAL_FAILURE(Open());
    ChooseUsdToGbp();
    ASSERT_EQ(Result(), "64");

    ASSERT_NO_FATAL_FAILURE(CliImport("2025-12-08\nUSD=1.6\nJPY=170\nGBP=0.8\n"));
    ASSERT_TRUE(Eventually([&] { return ShowsTime("2025-12-08"); }));
    EXPECT_EQ(Amount(), "100");
    EXPECT_EQ(form->ComboBox1->Text(), "USD");
    EXPECT_EQ(form->ComboBox2->Text(), "GBP");
    EXPECT_EQ(Result(), "50");
    EXPECT_EQ(form->focusWidget(), form->Edit8);
    EXPECT_EQ(AgeLine()->text(), QStringLiteral("Rates of yesterday"));
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(RatesWindow, AnOlderDayFromTheCliLeavesTheCurrentDay)
{
    WriteDays({"2025-12-04", "2025-12-05"});
    ASSERT_NO_FATAL_FAILURE(Open());
    ChooseUsdToGbp();

    ASSERT_NO_FATAL_FAILURE(CliImport("2025-11-28\nUSD=2\nJPY=170\nGBP=0.8\n"));
    ASSERT_TRUE(Eventually([&] { return Lists("2025-11-28"); }));
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2025-11-28", "2025-12-04", "2025-12-05"));
    EXPECT_EQ(form->ComboBox3->Text(), "2025-12-05");
    EXPECT_EQ(form->ComboBox1->Text(), "USD");
    EXPECT_EQ(Result(), "64");
}

TEST_F(RatesWindow, APickedDayStaysPickedWhenANewerOneArrives)
{
    WriteDays({"2025-12-04", "2025-12-05"});
    ASSERT_NO_FATAL_FAILURE(Open());
    Pick(form->ComboBox3, "2025-12-04");
    ChooseUsdToGbp();

    // A second writer through the store's own API.
    RateTable other('.', ByteCollation());
    other.LoadFromFile(DataPath());
    AddRow(other, "2025-12-08", "USD", "1.6");
    other.SaveToFile(DataPath());
    ASSERT_TRUE(Eventually([&] { return Lists("2025-12-08"); }));
    EXPECT_EQ(form->ComboBox3->Text(), "2025-12-04");
    EXPECT_EQ(form->ComboBox2->Text(), "GBP");
    EXPECT_EQ(Result(), "64");
}

TEST_F(RatesWindow, ItsOwnSaveIsNotShownTwice)
{
    WriteDays({"2025-12-05"});
    ASSERT_NO_FATAL_FAILURE(Open());
    ChooseUsdToGbp();
    WriteFile(folder / "own.txt", "2025-12-08\nUSD=1.6\nGBP=0.8\n");
    dialogs->openFile = QFile::decodeName((folder / "own.txt").c_str());
    form->Guard([this] { form->UpdateFromFile1Click(form.get()); });
    ASSERT_TRUE(ShowsTime("2025-12-08"));

    QSignalSpy refreshes(form->Edit9, &QLineEdit::textChanged);
    QTest::qWait(400);
    EXPECT_EQ(refreshes.count(), 0) << "a refresh clears and refills the result";
}

TEST_F(RatesWindow, ARemovedDataFileIsFollowedOnceItIsBack)
{
    WriteDays({"2025-12-05"});
    ASSERT_NO_FATAL_FAILURE(Open());
    std::filesystem::remove(DataPath());
    WriteFile(folder / "other.txt", "x");
    QTest::qWait(300);
    EXPECT_THAT(boxes, ::testing::IsEmpty());
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2025-12-05"));

    WriteDays({"2025-12-08"});
    ASSERT_TRUE(Eventually([&] { return ShowsTime("2025-12-08"); }));
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(RatesWindow, TheAgeLineWarnsOnlyAboutTheNewestDay)
{
    WriteDays({"2024-10-10", "2024-10-11"});
    now = QDateTime(QDate(2025, 12, 9), QTime(16, 0), QTimeZone::utc());
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(AgeLine()->text(), QStringLiteral("Rates of Fri 11 Oct 2024 \u00B7 424 days old"));
    EXPECT_TRUE(Stale());
    EXPECT_TRUE(AgeLine()->toolTip().contains(QStringLiteral("Update From URL"))) << AgeLine()->toolTip().toStdString();
    const QColor warning = AgeLine()->palette().color(QPalette::WindowText);

    Pick(form->ComboBox3, "2024-10-10");
    EXPECT_EQ(AgeLine()->text(), QStringLiteral("Rates of Thu 10 Oct 2024 \u00B7 425 days old"));
    EXPECT_FALSE(Stale());
    EXPECT_TRUE(AgeLine()->toolTip().isEmpty());
    EXPECT_NE(AgeLine()->palette().color(QPalette::WindowText), warning);
}

// The update address of a loopback server, and a window that updates by
// itself every 50 ms but at most once an hour.
class AutomaticUpdate : public RatesWindow {
protected:
    AutomaticUpdate()
    {
        autoUpdateInterval = 50ms;
        updateUrl = server.Address("/update/Last Update.txt");
        preferencesFile = QFile::decodeName((folder / "zentaro.conf").c_str());
    }
    void ServeDay(const std::string& day)
    {
        server.Serve("/update/Last%20Update.txt", HttpAnswer(200, "OK", day + "\nUSD=1.6\nJPY=170\nGBP=0.8\n"));
    }
    std::size_t Fetches() const { return server.Requests().size(); }
    QAction* CheckItem() const { return form->Rates().CheckItem(); }

    TestHttpServer server;
};

TEST_F(AutomaticUpdate, StaleRatesAreFetchedOnceAndTheNewDayBecomesCurrent)
{
    // Tuesday 17:00 in Frankfurt: Tuesday's rates are out, but the address
    // still serves Monday's.
    now = QDateTime(QDate(2025, 12, 9), QTime(16, 0), QTimeZone::utc());
    WriteDays({"2025-12-04", "2025-12-05"});
    ServeDay("2025-12-08");
    ASSERT_NO_FATAL_FAILURE(Open());
    ChooseUsdToGbp();
    ASSERT_TRUE(Eventually([&] { return ShowsTime("2025-12-08"); }));
    EXPECT_EQ(Amount(), "100");
    EXPECT_EQ(Result(), "50");
    EXPECT_EQ(AgeLine()->text(), QStringLiteral("Rates of yesterday"));
    EXPECT_EQ(ReadFile(folder / "Last Update.txt"), "2025-12-08\nUSD=1.6\nJPY=170\nGBP=0.8\n");
    // The connection check and the download.
    EXPECT_EQ(Fetches(), 2u);

    // Still older than the latest publication, but tried within the hour.
    now = now.addSecs(59 * 60);
    QTest::qWait(300);
    EXPECT_EQ(Fetches(), 2u);
    EXPECT_THAT(boxes, ::testing::IsEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // An hour later it tries again; the day being there already is no failure.
    now = now.addSecs(60);
    ASSERT_TRUE(Eventually([&] { return Fetches() == 4u && !form->Rates().Updating(); }));
    EXPECT_FALSE(AgeLine()->toolTip().contains(QStringLiteral("Could not update"))) << AgeLine()->toolTip().toStdString();
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2025-12-04", "2025-12-05", "2025-12-08"));
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(AutomaticUpdate, CurrentRatesFetchNothing)
{
    WriteDays({"2025-12-05", "2025-12-08"});
    ServeDay("2025-12-09");
    ASSERT_NO_FATAL_FAILURE(Open());
    QTest::qWait(300);
    EXPECT_EQ(Fetches(), 0u);
    EXPECT_EQ(form->ComboBox3->Text(), "2025-12-08");
}

TEST_F(AutomaticUpdate, AFailingServerLeavesTheDataAndSaysSo)
{
    WriteDays({"2025-12-05"});
    server.Serve("/update/Last%20Update.txt", HttpAnswer(200, "OK", "2025-12-08\nUSD=x\n"));
    const std::string saved = ReadFile(DataPath());
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(Eventually([&] { return AgeLine()->toolTip().startsWith(QStringLiteral("Could not update: ")); }));
    EXPECT_EQ(AgeLine()->toolTip().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("Could not update: 'x' is not a valid floating point value for field 'nilai'"));
    EXPECT_TRUE(Stale());
    EXPECT_EQ(ReadFile(DataPath()), saved);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("2025-12-05"));
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(AutomaticUpdate, AnUnreachableAddressSaysSoInTheHint)
{
    WriteDays({"2025-12-05"});
    updateUrl = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/update/Last Update.txt";
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(Eventually([&] { return AgeLine()->toolTip().startsWith(QStringLiteral("Could not update: ")); }));
    EXPECT_TRUE(AgeLine()->toolTip().startsWith(QStringLiteral("Could not update: Cannot open URL ")))
        << AgeLine()->toolTip().toStdString();
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(AutomaticUpdate, EscapeCancelsARunningUpdate)
{
    WriteDays({"2025-12-05"});
    const std::string saved = ReadFile(DataPath());
    SilentServer silent;
    updateUrl = silent.Address("/update/Last Update.txt");
    adjustSettings = [this, base = adjustSettings](TForm1::Settings& settings) {
        base(settings);
        // Uncancelled, the update would wait for this deadline.
        settings.fetchLimits.connectTimeout = 20s;
        settings.fetchLimits.deadline = 20s;
    };
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(Eventually([&] { return form->Rates().Updating(); }));
    QTest::qWait(200);
    const auto cancelledAt = std::chrono::steady_clock::now();
    QTest::keyClick(form->Edit8, Qt::Key_Escape);
    // The transfer notices the cancel at its next progress call, about once a second.
    ASSERT_TRUE(Eventually([&] { return !form->Rates().Updating(); }, 1500ms));
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, 1500ms);
    EXPECT_TRUE(AgeLine()->toolTip().contains(QStringLiteral("cancelled"))) << AgeLine()->toolTip().toStdString();
    EXPECT_EQ(ReadFile(DataPath()), saved);
    EXPECT_THAT(boxes, ::testing::IsEmpty());
}

TEST_F(AutomaticUpdate, SwitchedOffItFetchesNothingAndStaysOff)
{
    WriteDays({"2025-12-05", "2025-12-08"});
    ServeDay("2025-12-09");
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(CheckItem()->isChecked()) << "on by default";
    CheckItem()->trigger();
    EXPECT_FALSE(CheckItem()->isChecked());
    // Tuesday's rates come out; the age line sees it at its next tick.
    now = now.addSecs(6 * 3600);
    QTest::qWait(300);
    EXPECT_EQ(Fetches(), 0u);
    form->Rates().ShowAge();
    EXPECT_TRUE(Stale());

    form.reset();
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_FALSE(CheckItem()->isChecked());
    QTest::qWait(300);
    EXPECT_EQ(Fetches(), 0u);
    EXPECT_EQ(form->ComboBox3->Text(), "2025-12-08");

    // Switched on again, it fetches at once.
    CheckItem()->trigger();
    ASSERT_TRUE(Eventually([&] { return ShowsTime("2025-12-09"); }));
    EXPECT_EQ(AgeLine()->text(), QStringLiteral("Rates of today"));
}

} // namespace
} // namespace zentaro::test
