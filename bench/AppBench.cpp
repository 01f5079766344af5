// The window's costs on large tables: one keystroke in the amount field (the
// conversion of the old text and that of the new one), choosing an upload
// time, the start-up routine that loads the data file and builds the three
// lists, and a data command against one save. 221,100 rows is the ECB's full
// history: 6,700 days of 33 rates.
#include "app/FollowDataFile.h"
#include "app/TextComboBox.h"
#include "app/Unit1.h"
#include "bench/OffscreenMain.h"
#include "store/DataLocation.h"
#include "store/RateTable.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using zentaro::kDataFileName;
using zentaro::TForm1;

constexpr int kCurrenciesPerBatch = 33;

class SilentDialogs : public TForm1::Dialogs {
public:
    void ShowMessage(const QString& text) override { throw std::logic_error(text.toStdString()); }
    void ShowError(const QString& text) override { throw std::logic_error(text.toStdString()); }
    bool Confirm(const QString&) override { return false; }
    std::optional<QString> OpenFile(const QString&) override { return std::nullopt; }
};

std::string Prefixed(char prefix, int number)
{
    std::string text(1, prefix);
    text.append(std::to_string(number));
    return text;
}

// A program folder with a data file of `rows` rows: batches of 33 currencies
// under daily upload times, as imports of the reference rates would leave them.
class ProgramFolder {
public:
    explicit ProgramFolder(int rows)
    {
        zentaro::RateTable table('.', zentaro::ByteCollation());
        for (int row = 0; row < rows; ++row) {
            const int batch = row / kCurrenciesPerBatch;
            const int currency = row % kCurrenciesPerBatch;
            table.Insert();
            table.DBEdit1().SetText(Prefixed('T', 100000 + batch));
            table.DBEdit2().SetText(Prefixed('C', 10 + currency));
            table.DBEdit3().SetText(std::to_string(1 + currency).append(".25"));
            table.Post();
        }
        table.SaveToFile(dir_ / kDataFileName);
    }

    std::unique_ptr<TForm1> Open() const
    {
        TForm1::Settings settings;
        settings.programFolder = dir_.Path();
        settings.decimalSeparator = '.';
        return std::make_unique<TForm1>(settings, std::make_unique<SilentDialogs>());
    }

private:
    zentaro::test::TempDir dir_;
};

const ProgramFolder& FolderOf(int rows)
{
    static std::map<int, std::unique_ptr<ProgramFolder>> folders;
    auto& folder = folders[rows];
    if (!folder)
        folder = std::make_unique<ProgramFolder>(rows);
    return *folder;
}

void SendKey(QWidget* widget, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

void BM_Keystroke(benchmark::State& state)
{
    const auto form = FolderOf(static_cast<int>(state.range(0))).Open();
    SendKey(form->Edit8, Qt::Key_1, QStringLiteral("1"));
    bool type = true;
    for (auto _ : state) {
        // Alternating a digit and backspace keeps the amount short.
        if (type)
            SendKey(form->Edit8, Qt::Key_2, QStringLiteral("2"));
        else
            SendKey(form->Edit8, Qt::Key_Backspace, QStringLiteral("\b"));
        type = !type;
    }
    if (form->Edit9->text().isEmpty())
        state.SkipWithError("no result");
}
BENCHMARK(BM_Keystroke)->Arg(5000)->Arg(221100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// As at start-up, the file is read every time: touching it makes the window
// take it for another program's change.
void BM_FormCreate(benchmark::State& state)
{
    const auto form = FolderOf(static_cast<int>(state.range(0))).Open();
    const std::string path = form->DataFilePath().string();
    for (auto _ : state) {
        state.PauseTiming();
        ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
        state.ResumeTiming();
        form->FormCreate(nullptr);
    }
    state.counters["uploadTimes"] = form->ComboBox3->count();
}
BENCHMARK(BM_FormCreate)->Arg(221100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What the window does when another program changed the data file under
// it: the file read, the lists rebuilt with the user's choices kept, the
// amount converted.
void BM_FollowDataFile(benchmark::State& state)
{
    const auto form = FolderOf(static_cast<int>(state.range(0))).Open();
    SendKey(form->Edit8, Qt::Key_1, QStringLiteral("1"));
    const std::string path = form->DataFilePath().string();
    for (auto _ : state) {
        state.PauseTiming();
        ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
        state.ResumeTiming();
        zentaro::FollowDataFile(*form);
    }
    if (form->Edit9->text().isEmpty())
        state.SkipWithError("no result");
}
BENCHMARK(BM_FollowDataFile)->Arg(221100)->Unit(benchmark::kMillisecond);

// Choosing an upload time: both currency lists rebuilt for it, both rates
// looked up, the amount converted. Alternates between the first upload time
// and the last full one, near the two ends of the scans.
void BM_ChooseUploadTime(benchmark::State& state)
{
    const auto form = FolderOf(static_cast<int>(state.range(0))).Open();
    SendKey(form->Edit8, Qt::Key_1, QStringLiteral("1"));
    const std::vector<std::string>& entries = form->ComboBox3->Entries();
    const std::vector<std::string> times = {entries.front(), entries[entries.size() - 2]};
    std::size_t next = 0;
    for (auto _ : state) {
        form->ComboBox3->SetText(times[next]);
        form->ComboBox3Click(form->ComboBox3);
        next = 1 - next;
    }
    if (form->Edit9->text().isEmpty() || form->ComboBox1->count() != kCurrenciesPerBatch)
        state.SkipWithError("no result");
}
BENCHMARK(BM_ChooseUploadTime)->Arg(5000)->Arg(221100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The data command that changes least, "Delete Current Time" answered No,
// still takes the data file's lock, brings the table up to the file (a
// reload when another program changed it: fileChanged), saves and
// refreshes. Next to it one save of the same table, the yardstick.
void BM_DataCommand(benchmark::State& state)
{
    const auto form = FolderOf(1000000).Open();
    const bool fileChanged = state.range(0) != 0;
    const std::string path = form->DataFilePath().string();
    for (auto _ : state) {
        if (fileChanged) {
            state.PauseTiming();
            ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
            state.ResumeTiming();
        }
        form->Removecurrentdata1Click(nullptr);
    }
}
BENCHMARK(BM_DataCommand)->ArgName("fileChanged")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    const auto form = FolderOf(1000000).Open();
    for (auto _ : state)
        form->Table().SaveToFile(form->DataFilePath());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return zentaro::bench::RunOffscreen(argc, argv); }
