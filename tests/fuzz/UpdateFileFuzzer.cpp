// Reads arbitrary bytes as an update file and splits every rate line,
// checking what the line and split rules promise about their results, and
// imports them from a file into a table through the import every command runs.
#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "import/UpdateFile.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"

#include <optional>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

std::string WithoutEquals(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != '=')
            out += c;
    return out;
}

void CheckLine(std::string_view line, std::size_t inputSize)
{
    Check(line.size() <= inputSize);
    for (char c : line)
        Check(c != '\n' && c != '\r' && c != '\0' && c != zentaro::kEndOfFileByte);
}

// The bytes as a file: an anonymous one in memory, reached through its path.
std::string AsFile(std::string_view bytes)
{
    static const int fd = ::memfd_create("update", 0);
    Check(fd >= 0);
    Check(::ftruncate(fd, 0) == 0);
    Check(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    return "/proc/self/fd/" + std::to_string(fd);
}

// A folder for one run's data file, removed after the run. Saves flush to
// disk; in memory (/dev/shm) that costs little and the fuzzer's runs stay many.
class RunFolder {
public:
    RunFolder()
    {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "zentaro-fuzz-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        path_ = pattern;
    }
    ~RunFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path DataFile() const { return path_ / "conversion data.kvx"; }

private:
    std::filesystem::path path_;
};

// An import adds every rate line of a new batch or nothing at all.
void CheckImport(std::string_view bytes)
{
    zentaro::RateTable table('.', zentaro::ByteCollation());
    table.Insert();
    table.DBEdit1().SetText("2026-12-08 ECB");
    table.DBEdit2().SetText("EUR");
    table.DBEdit3().SetText("1");
    table.Post();
    const bool update = zentaro::DetectRatesLayout(bytes) == zentaro::RatesLayout::UpdateFile;
    zentaro::UpdateFileReader again(bytes);
    again.ReadLine();
    const std::size_t rateLines = zentaro::ReadRateLines(again).lines.size();
    try {
        // Only a batch with rate lines (or the ECB's rates) comes to a save.
        const std::optional<RunFolder> folder =
            rateLines > 0 || !update ? std::make_optional<RunFolder>() : std::nullopt;
        const std::filesystem::path dataFile = folder ? folder->DataFile() : std::filesystem::path("/nonexistent/d");
        const auto result = zentaro::ImportRatesFile(table, AsFile(bytes), dataFile, zentaro::kFileUpdateSuccessText);
        if (!update) {
            Check(table.RecordCount() == 1 + result.rowsAdded);
        } else if (result.outcome == zentaro::ImportOutcome::Added) {
            Check(rateLines > 0 && result.rowsAdded == rateLines);
            Check(table.RecordCount() == 1 + rateLines);
        } else {
            Check(table.RecordCount() == 1);
        }
    } catch (const zentaro::ImportError&) {
        Check(table.RecordCount() == 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckImport(bytes);
    zentaro::UpdateFileReader reader(bytes);
    CheckLine(reader.ReadLine(), size);

    const zentaro::RateLines batch = zentaro::ReadRateLines(reader);
    Check(batch.lines.size() <= zentaro::kMaxRateLines);
    Check(batch.linesRead == batch.lines.size() + (batch.lastRead.empty() ? 1 : 0));
    for (const auto& line : batch.lines) {
        CheckLine(line, size);
        Check(!line.empty());
        const zentaro::SplitLine split = zentaro::SplitRateLine(line);
        Check(!split.code.empty() && split.code[0] == line[0]);
        Check(split.code.find('=', 1) == std::string::npos);
        Check(split.valueText.find('=') == std::string::npos);
        // Nothing but the "=" signs after the first character is lost.
        Check(WithoutEquals(line.substr(1)) == WithoutEquals(split.code.substr(1)) + split.valueText);
        for (const char separator : {'.', ','}) {
            const std::string rate = zentaro::RateText(split.valueText, separator);
            Check(rate.size() == split.valueText.size());
            Check(rate.empty() || rate[0] == split.valueText[0]);
            Check(rate.find(separator == '.' ? ',' : '.', 1) == std::string::npos);
        }
    }

    // Every read that is not past the end takes at least one byte, so after
    // size reads only empty lines remain.
    zentaro::UpdateFileReader again(bytes);
    std::size_t total = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::string line = again.ReadLine();
        CheckLine(line, size);
        total += line.size();
    }
    Check(total <= size);
    Check(again.ReadLine().empty() && again.ReadLine().empty());
    return 0;
}
