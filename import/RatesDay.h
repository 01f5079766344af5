#pragma once

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
    bool operator==(const RatesDay&) const = default;
};

// The start of every message about a reference-rates file that cannot be read.
inline constexpr std::string_view kMalformedRatesText = "Malformed ECB rates file: ";

// "YYYY-MM-DD" with a month from 01 to 12 and a day from 01 to 31.
inline bool IsIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    const int day = (text[8] - '0') * 10 + (text[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

} // namespace zentaro
