#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

inline constexpr std::size_t kMaxRateLines = 200;
inline constexpr char kEndOfFileByte = 26;
inline constexpr std::size_t kUpdateReadBlock = 64 * 1024;

// Reads an update file as single-byte text, line by line.
//
// A line ends at LF or CR LF; a CR not followed by LF is dropped. A line is
// cut at its first NUL. Byte 26 ends its line: the reader skips to the next
// line end and reads on (it is not taken as the end of the file). Lines have
// no length limit, and after the last line every read gives an empty line.
class UpdateFileReader {
public:
    // Opens a file through OpenInputFile: "File not found" when it does not
    // exist; a FIFO, a device, a folder or a file over 16 MiB is refused at
    // once. Reads it in blocks of blockSize bytes and never more than the
    // size limit, even when the file grows meanwhile.
    explicit UpdateFileReader(const std::filesystem::path& path, std::size_t blockSize = kUpdateReadBlock);
    // Reads bytes held by the caller, who keeps them alive.
    static UpdateFileReader FromBytes(std::string_view bytes);

    std::string ReadLine();

private:
    UpdateFileReader() = default;

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    int Peek();
    int Take();
    bool Refill();
    void SkipToLineEnd();

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    std::vector<char> buffer_;
    std::string_view chunk_;
    std::size_t pos_ = 0;
    std::size_t bytesRead_ = 0;
};

// The lines of one batch: rate lines up to the first empty line, at most 200.
struct RateLines {
    std::vector<std::string> lines;
    std::string lastRead;    // the empty line that ended the batch, or the 200th line
    std::size_t linesRead = 0; // the ending empty line included
};

RateLines ReadRateLines(UpdateFileReader& reader);

struct SplitLine {
    std::string code;
    std::string valueText;
    bool operator==(const SplitLine&) const = default;
};

// The first character always belongs to the code; the code runs on up to the
// first "=" after it, and the rest, with every further "=" removed, is the
// value text. Nothing is trimmed.
SplitLine SplitRateLine(std::string_view line);

// The value text with every "." and "," from the second character on turned
// into the decimal separator; the first character is kept as it is.
std::string RateText(std::string_view valueText, char decimalSeparator);

} // namespace zentaro
