#include "import/UpdateFile.h"
#include "import/ImportError.h"
#include "import/InputFile.h"
#include "store/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace zentaro {
namespace {

constexpr int kEnd = -1;

} // namespace

UpdateFileReader UpdateFileReader::FromBytes(std::string_view bytes)
{
    UpdateFileReader reader;
    reader.chunk_ = bytes;
    return reader;
}

UpdateFileReader::UpdateFileReader(const std::filesystem::path& path, std::size_t blockSize) : path_(path.string())
{
    UniqueFd fd = OpenInputFile(path);
    file_.reset(::fdopen(fd.Get(), "rb"));
    if (!file_)
        throw ImportError(FileErrorText("Cannot open file", path, errno));
    fd.Release();
    buffer_.resize(std::max<std::size_t>(blockSize, 1));
}

bool UpdateFileReader::Refill()
{
    if (!file_)
        return false;
    const std::size_t count = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    if (count == 0) {
        if (std::ferror(file_.get()))
            throw ImportError(FileErrorText("Cannot read file", path_, errno));
        return false;
    }
    bytesRead_ += count;
    CheckInputSize(bytesRead_, path_, "Cannot read file");
    chunk_ = std::string_view(buffer_.data(), count);
    pos_ = 0;
    return true;
}

int UpdateFileReader::Peek()
{
    if (pos_ >= chunk_.size() && !Refill())
        return kEnd;
    return static_cast<unsigned char>(chunk_[pos_]);
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
        batch.lastRead = reader.ReadLine();
        if (batch.lastRead.empty())
            break;
        batch.lines.push_back(batch.lastRead);
    }
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
    for (char c : line.substr(equals + 1))
        if (c != '=')
            split.valueText += c;
    return split;
}

std::string RateText(std::string_view valueText, char decimalSeparator)
{
    std::string text(valueText);
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == '.' || text[i] == ',')
            text[i] = decimalSeparator;
    return text;
}

} // namespace zentaro
