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

// The fields of a line, each trimmed of spaces; a separator at the very end
// of the line ends it rather than opening an empty field.
std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    line = Trim(line);
    if (!line.empty() && line.back() == ',')
        line.remove_suffix(1);
    for (;;) {
        const auto comma = line.find(',');
        fields.push_back(Trim(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

bool IsCurrencyCode(std::string_view text)
{
    if (text.size() != 3)
        return false;
    for (char c : text)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

bool IsHeader(const std::vector<std::string_view>& fields)
{
    if (fields.size() < 2 || fields[0] != "Date")
        return false;
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (!IsCurrencyCode(fields[i]))
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
        // Appended piece by piece: GCC 12 takes '"0" + std::string' for an overlapping copy (-Wrestrict).
        std::string date(year);
        date += m < 9 ? "-0" : "-";
        date += std::to_string(m + 1);
        date += day.size() == 1 ? "-0" : "-";
        date += day;
        return IsIsoDate(date) ? date : std::string();
    }
    return {};
}

ImportError Malformed(std::size_t lineNumber, const std::string& reason)
{
    return ImportError(std::string(kMalformedRatesText) + "line " + std::to_string(lineNumber) + " " + reason);
}

} // namespace

bool IsEcbCsv(std::string_view bytes)
{
    return IsHeader(SplitFields(TakeLine(bytes)));
}

std::vector<RatesDay> ReadEcbCsv(std::string_view bytes)
{
    const std::vector<std::string_view> header = SplitFields(TakeLine(bytes));
    if (!IsHeader(header))
        throw Malformed(1, "is not a header \"Date\" followed by currency codes");

    std::vector<RatesDay> days;
    for (std::size_t lineNumber = 2; !bytes.empty(); ++lineNumber) {
        const std::string_view line = TakeLine(bytes);
        if (Trim(line).empty())
            continue;
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() != header.size())
            throw Malformed(lineNumber, "has " + std::to_string(fields.size()) + " fields, the header has " +
                                            std::to_string(header.size()));
        RatesDay day{IsoDate(fields[0]), {}};
        if (day.date.empty())
            throw Malformed(lineNumber, "does not start with a date: " + SingleQuoted(fields[0]));
        day.rates.reserve(fields.size() - 1);
        for (std::size_t i = 1; i < fields.size(); ++i)
            day.rates.push_back({std::string(header[i]), std::string(fields[i])});
        days.push_back(std::move(day));
    }
    if (days.empty())
        throw ImportError(std::string(kMalformedRatesText) + "no day of rates");
    return days;
}

} // namespace zentaro
