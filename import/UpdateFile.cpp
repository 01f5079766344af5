#include "import/UpdateFile.h"

#include <algorithm>
#include <utility>

namespace zentaro {
namespace {

constexpr int kEnd = -1;

} // namespace

int UpdateFileReader::Peek() const
{
    return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_]) : kEnd;
}

int UpdateFileReader::Take()
{
    const int c = Peek();
    if (c != kEnd)
        ++pos_;
    return c;
}

void UpdateFileReader::SkipToLineEnd()
{
    for (int c = Take(); c != kEnd && c != '\n'; c = Take()) {
    }
}

std::string UpdateFileReader::ReadLine()
{
    std::string line;
    // The line is at most the bytes up to the next LF: one allocation, never a doubling.
    line.reserve(std::min(bytes_.find('\n', pos_), bytes_.size()) - std::min(pos_, bytes_.size()));
    bool cut = false;
    for (;;) {
        const int c = Take();
        if (c == kEnd || c == '\n')
            break;
        if (c == '\r') {
            if (Peek() == '\n') {
                Take();
                break;
            }
            continue;
        }
        if (c == kEndOfFileByte) {
            SkipToLineEnd();
            break;
        }
        if (c == '\0')
            cut = true;
        if (!cut)
            line += static_cast<char>(c);
    }
    return line;
}

RateLines ReadRateLines(UpdateFileReader& reader)
{
    RateLines batch;
    while (batch.linesRead < kMaxRateLines) {
        ++batch.linesRead;
        std::string line = reader.ReadLine();
        if (line.empty())
            return batch; // lastRead is that empty line
        batch.lines.push_back(std::move(line));
    }
    batch.lastRead = batch.lines.back();
    return batch;
}

SplitLine SplitRateLine(std::string_view line)
{
    if (line.empty())
        return {};
    const auto equals = line.find('=', 1);
    if (equals == std::string_view::npos)
        return {std::string(line), {}};
    SplitLine split{std::string(line.substr(0, equals)), {}};
    split.valueText.reserve(line.size() - equals - 1);
    for (char c : line.substr(equals + 1))
        if (c != '=')
            split.valueText += c;
    return split;
}

std::string RateText(std::string valueText, char decimalSeparator)
{
    std::string text = std::move(valueText);
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == '.' || text[i] == ',')
            text[i] = decimalSeparator;
    return text;
}

} // namespace zentaro
