#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

inline constexpr std::size_t kMaxRateLines = 200;
inline constexpr char kEndOfFileByte = 26;

// Reads an update file's bytes as single-byte text, line by line.
//
// A line ends at LF or CR LF; a CR not followed by LF is dropped. A line is
// cut at its first NUL. Byte 26 ends its line: the reader skips to the next
// line end and reads on (it is not taken as the end of the file). Lines have
// no length limit, and after the last line every read gives an empty line.
class UpdateFileReader {
public:
    // The caller keeps the bytes alive while the reader reads them.
    explicit UpdateFileReader(std::string_view bytes) : bytes_(bytes) {}

    std::string ReadLine();

private:
    int Peek() const;
    int Take();
    void SkipToLineEnd();

    std::string_view bytes_;
    std::size_t pos_ = 0;
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
std::string RateText(std::string valueText, char decimalSeparator);

} // namespace zentaro
