#include "tests/app/WindowFixture.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestHttpServer.h"

#include "app/PictureControl.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QTimer>

#include <gmock/gmock.h>

#include <chrono>
#include <optional>

namespace zentaro::test {
namespace {

using namespace std::chrono_literals;

const QString kCancelled = QStringLiteral("The download was cancelled.");

// "Update From URL" against a server that stalls, cancelled by the user
// while it waits. Uncancelled, the command would wait for its 20 s deadline.
class CancelDownload : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable({{"A", "USD", "1"}, {"A", "EUR", "2"}});
        WriteFile(folder / "Last Update.txt", "older copy\n");
    }

    void OpenWithLongDeadline()
    {
        TForm1::Settings settings;
        settings.programFolder = folder.Path();
        settings.updateUrl = updateUrl;
        settings.fetchLimits.connectTimeout = 20s;
        settings.fetchLimits.deadline = 20s;
        settings.openDocument = [](const QUrl&) {};
        settings.quit = [] {};
        form = std::make_unique<TForm1>(settings, std::make_unique<RecordingDialogs>(boxes, [this] {
                                            return form ? form->Edit8->text() : QString();
                                        }));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Runs the command as its button does and, 200 ms into it, cancel;
    // returns how long the command took after the cancel.
    std::chrono::milliseconds RunAndCancel(const std::function<void()>& cancel)
    {
        std::optional<std::chrono::steady_clock::time_point> cancelledAt;
        QTimer::singleShot(200, form.get(), [&] {
            EXPECT_TRUE(form->Transferring());
            cancel();
            cancelledAt = std::chrono::steady_clock::now();
        });
        QTest::mouseClick(form->Update1, Qt::LeftButton, {}, form->Update1->rect().center());
        EXPECT_FALSE(form->Transferring());
        if (!cancelledAt) {
            ADD_FAILURE() << "the command ended before the cancel";
            return {};
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - *cancelledAt);
    }

    void ExpectNothingImported(const std::string& before)
    {
        EXPECT_EQ(ReadFile(folder / kDataFileName), before);
        EXPECT_EQ(ReadFile(folder / "Last Update.txt"), "older copy\n");
        EXPECT_THAT(Entries(form->ComboBox3), ::testing::ElementsAre("A"));
    }
};

TEST_F(CancelDownload, EscapeOrASecondPressEndsAStalledDownloadAtOnce)
{
    SilentServer silent;
    TestHttpServer slow;
    const std::string update = "B\nUSD=1\nEUR=3\n";
    const std::string answer = HttpAnswer(200, "OK", update);
    // The headers at once, then a byte every two seconds: the body alone
    // would take longer than the deadline.
    slow.ServeSlowly("/update/Last%20Update.txt", answer, answer.size() - update.size(), 2s);

    struct Case {
        const char* name;
        std::string url;
        bool byEscape; // else by a second press of the button
    };
    const Case cases[] = {
        {"no answer at all, Escape", silent.Address("/update/Last Update.txt"), true},
        {"no answer at all, second press", silent.Address("/update/Last Update.txt"), false},
        {"an answer that trickles, Escape", slow.Address("/update/Last Update.txt"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        updateUrl = c.url;
        boxes.clear();
        OpenWithLongDeadline();
        const std::string before = ReadFile(folder / kDataFileName);
        const auto took = RunAndCancel([&] {
            if (c.byEscape)
                QTest::keyClick(form->Edit8, Qt::Key_Escape);
            else
                QTest::mouseClick(form->Update1, Qt::LeftButton, {}, form->Update1->rect().center());
        });
        // The transfer notices the cancel at its next progress call, which
        // comes about once a second while nothing arrives.
        EXPECT_LT(took, 1500ms);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, Box::Message);
        EXPECT_EQ(boxes[0].text, kCancelled);
        ExpectNothingImported(before);
    }
}

// With the keypad shown too, Escape goes to the download first; the keypad
// stays as it is.
TEST_F(CancelDownload, EscapeCancelsTheDownloadBeforeItHidesTheKeypad)
{
    SilentServer silent;
    updateUrl = silent.Address("/update/Last Update.txt");
    OpenWithLongDeadline();
    QTest::mouseClick(form->Bitbtn2, Qt::LeftButton, {}, form->Bitbtn2->rect().center());
    ASSERT_TRUE(form->XiPanel1->isVisible());
    const std::string before = ReadFile(folder / kDataFileName);
    RunAndCancel([&] { QTest::keyClick(form->Bitbtn3, Qt::Key_Escape); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kCancelled);
    EXPECT_TRUE(form->XiPanel1->isVisible());
    ExpectNothingImported(before);
}

} // namespace
} // namespace zentaro::test
