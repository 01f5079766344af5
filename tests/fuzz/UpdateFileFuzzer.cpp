// Reads arbitrary bytes as an update file and splits every rate line,
// checking what the line and split rules promise about their results.
#include "import/UpdateFile.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto reader = zentaro::UpdateFileReader::FromBytes(bytes);
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
    auto again = zentaro::UpdateFileReader::FromBytes(bytes);
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
