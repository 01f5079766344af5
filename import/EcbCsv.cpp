#include "import/EcbCsv.h"
#include "import/ImportError.h"
#include "store/MessageText.h"

#include <array>
#include <string>

namespace zentaro {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The next line without its LF or CR LF; the bytes shrink past it.
std::string_view TakeLine(std::string_view& bytes)
{
    const auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// The fields of a line one by one, each trimmed of spaces; a separator at
// the very end of the line ends it rather than opening an empty field. A
// line is taken field by field, so that a huge one costs no list of fields.
class Fields {
public:
    explicit Fields(std::string_view line) : rest_(Trim(line))
    {
        if (!rest_.empty() && rest_.back() == ',')
            rest_.remove_suffix(1);
    }

    bool Next(std::string_view& field)
    {
        if (done_)
            return false;
        const auto comma = rest_.find(',');
        field = Trim(rest_.substr(0, comma));
        if (comma == std::string_view::npos)
            done_ = true;
        else
            rest_.remove_prefix(comma + 1);
        return true;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

bool IsCurrencyCode(std::string_view text)
{
    if (text.size() != 3)
        return false;
    for (char c : text)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

// "2024-10-11" as it is, "11 October 2024" turned into it; empty when neither.
std::string IsoDate(std::string_view text)
{
    if (IsIsoDate(text))
        return std::string(text);
    const auto space = text.find(' ');
    const auto lastSpace = text.rfind(' ');
    if (space == std::string_view::npos || space == lastSpace)
        return {};
    const std::string_view day = text.substr(0, space);
    const std::string_view month = text.substr(space + 1, lastSpace - space - 1);
    const std::string_view year = text.substr(lastSpace + 1);
    for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
        if (kMonthNames[m] != month)
            continue;
        const std::string date =
            Joined({year, m < 9 ? "-0" : "-", std::to_string(m + 1), day.size() == 1 ? "-0" : "-", day});
        return IsIsoDate(date) ? date : std::string();
    }
    return {};
}

ImportError Malformed(std::size_t lineNumber, const std::string& reason)
{
    return ImportError(std::string(kMalformedRatesText) + "line " + std::to_string(lineNumber) + " " + reason);
}

constexpr std::size_t kLetters = 26;

std::size_t CodeIndex(std::string_view code)
{
    return (static_cast<std::size_t>(code[0] - 'A') * kLetters + static_cast<std::size_t>(code[1] - 'A')) * kLetters +
           static_cast<std::size_t>(code[2] - 'A');
}

// The header's fields, "Date" first. Reading stops at the first code met
// again or at EUR: the file is refused then, and no longer list is needed.
struct Header {
    std::vector<std::string_view> fields;
    std::string_view repeated; // the first code met twice, empty when none
};

Header ReadHeader(std::string_view line)
{
    Fields fields(line);
    Header header;
    std::string_view field;
    if (!fields.Next(field) || field != "Date")
        throw Malformed(1, "is not a header \"Date\" followed by currency codes");
    header.fields.push_back(field);
    std::vector<bool> seen(kLetters * kLetters * kLetters);
    while (fields.Next(field)) {
        if (!IsCurrencyCode(field))
            throw Malformed(1, "is not a header \"Date\" followed by currency codes");
        if (field == "EUR")
            throw EuroListedError("line 1");
        if (seen[CodeIndex(field)]) {
            header.repeated = field;
            return header;
        }
        seen[CodeIndex(field)] = true;
        header.fields.push_back(field);
    }
    if (header.fields.size() < 2)
        throw Malformed(1, "is not a header \"Date\" followed by currency codes");
    return header;
}

// Counts the days and rows of the lines after the header before any day is
// built: a file beyond what one import takes costs no more than its bytes.
void CountDays(std::string_view bytes, std::size_t columns)
{
    ImportCount count;
    while (!bytes.empty()) {
        const std::string_view line = TakeLine(bytes);
        if (Trim(line).empty())
            continue;
        count.AddDay();
        Fields fields(line);
        std::string_view field;
        fields.Next(field);
        for (std::size_t i = 1; i < columns && fields.Next(field); ++i)
            count.AddRate(field);
    }
}

} // namespace

bool IsEcbCsv(std::string_view bytes)
{
    bytes = WithoutByteOrderMark(bytes);
    Fields fields(TakeLine(bytes));
    std::string_view field;
    if (!fields.Next(field) || field != "Date")
        return false;
    std::size_t codes = 0;
    for (; fields.Next(field); ++codes)
        if (!IsCurrencyCode(field))
            return false;
    return codes > 0;
}

std::vector<RatesDay> ReadEcbCsv(std::string_view bytes)
{
    bytes = WithoutByteOrderMark(bytes);
    const Header header = ReadHeader(TakeLine(bytes));
    const std::vector<std::string_view>& codes = header.fields;

    if (header.repeated.empty())
        CountDays(bytes, codes.size());
    std::vector<RatesDay> days;
    for (std::size_t lineNumber = 2; !bytes.empty(); ++lineNumber) {
        const std::string_view line = TakeLine(bytes);
        if (Trim(line).empty())
            continue;
        Fields fields(line);
        std::string_view dateText;
        fields.Next(dateText);
        if (!header.repeated.empty()) {
            const std::string date = IsoDate(dateText);
            if (date.empty())
                throw Malformed(lineNumber, "does not start with a date: " + SingleQuoted(dateText));
            throw RepeatedCodeError(date, header.repeated, " (line " + std::to_string(lineNumber) + ")");
        }
        RatesDay day{{}, {}, lineNumber};
        std::size_t fieldCount = 1;
        // Missing rates are left out here: they never become rows.
        for (std::string_view field; fields.Next(field); ++fieldCount) {
            if (fieldCount >= codes.size() || IsMissingRate(field))
                continue;
            day.rates.push_back({std::string(codes[fieldCount]), std::string(field)});
        }
        if (fieldCount != codes.size())
            throw Malformed(lineNumber, "has " + std::to_string(fieldCount) + " fields, the header has " +
                                            std::to_string(codes.size()));
        day.date = IsoDate(dateText);
        if (day.date.empty())
            throw Malformed(lineNumber, "does not start with a date: " + SingleQuoted(dateText));
        days.push_back(std::move(day));
    }
    if (days.empty())
        throw ImportError(std::string(kMalformedRatesText) + "no day of rates");
    return days;
}

} // namespace zentaro
