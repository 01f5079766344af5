#pragma once

#include "import/ImportError.h"
#include "store/MessageText.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

struct DayRate {
    std::string code;
    std::string rateText; // as the file writes it: "." decimal point, maybe "N/A" or empty
    bool operator==(const DayRate&) const = default;
};

// One working day of a reference-rates file: the date as "YYYY-MM-DD" and
// the day's rates in the file's order, the euro itself never among them.
struct RatesDay {
    std::string date;
    std::vector<DayRate> rates;
    std::size_t line = 0; // the day's line in a CSV; 0 in the XML, whose days have none of their own
    bool operator==(const RatesDay&) const = default;
};

// The start of every message about a reference-rates file that cannot be read.
inline constexpr std::string_view kMalformedRatesText = "Malformed ECB rates file: ";
inline constexpr std::string_view kNoRateText = "N/A";

// The ECB's whole history is about 6,700 days and 215,000 rates; one import
// takes a good deal more, but not without bound.
inline constexpr std::size_t kMaxImportDays = 50'000;
inline constexpr std::size_t kMaxImportRows = 400'000;

// A rate text that stands for no rate: the day's row is left out.
inline bool IsMissingRate(std::string_view rateText) { return rateText.empty() || rateText == kNoRateText; }

// "YYYY-MM-DD" naming a day of the calendar, from 0001-01-01 to 9999-12-31.
inline bool IsIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kMonthDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// The bytes after a UTF-8 byte-order mark, when they start with one.
inline std::string_view WithoutByteOrderMark(std::string_view bytes)
{
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return bytes.starts_with(kMark) ? bytes.substr(kMark.size()) : bytes;
}

// Where a day stands, as messages about it say: "2024-10-11", with ", line 5" in a CSV.
inline std::string DayPlace(std::string_view date, std::size_t line)
{
    std::string place(QuotedInput(date));
    if (line != 0)
        place += ", line " + std::to_string(line);
    return place;
}

// "<where> lists EUR, whose rate is always 1": the table gives the euro its row itself.
inline ImportError EuroListedError(std::string_view where)
{
    return ImportError(std::string(kMalformedRatesText) + std::string(where) + " lists EUR, whose rate is always 1");
}

inline ImportError RepeatedCodeError(std::string_view date, std::string_view code, std::string_view suffix)
{
    return ImportError(std::string(kMalformedRatesText) + QuotedInput(date) + " lists " + QuotedInput(code) +
                       " twice" + std::string(suffix));
}

// Counts the days and rows a reader has taken, refusing a file beyond what
// one import may add as soon as it gets there, before it is read further.
class ImportCount {
public:
    void AddDay()
    {
        if (++days_ > kMaxImportDays)
            throw ImportError("The rates file holds more than 50,000 days; one import takes at most 50,000");
        AddRow();
    }
    void AddRate(std::string_view rateText)
    {
        if (!IsMissingRate(rateText))
            AddRow();
    }

private:
    void AddRow()
    {
        if (++rows_ > kMaxImportRows)
            throw ImportError("The rates file holds more than 400,000 rates; one import takes at most 400,000 rows");
    }

    std::size_t days_ = 0;
    std::size_t rows_ = 0;
};

} // namespace zentaro
