#pragma once

#include "store/DateLookup.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

class RateTable;

// One day of a pair's history: the upload time (a date), its day number for
// a time axis, and the rate of one From in To.
struct HistoryPoint {
    DayNumber day = 0;
    std::string date;
    double rate = 0;
};

// The days to keep, both ends included; an end left out is open.
struct DayRange {
    std::optional<DayNumber> since;
    std::optional<DayNumber> until;
};

// A pair's history: every upload time that is a date and has rates of both
// currencies, oldest first, each rate exactly what the window converts 1
// From into at that upload time (ResultText of the rate is the window's
// result). As the window looks a rate up, the last matching row of the
// upload time counts. A day whose conversion has no value (a null rate, a
// source rate of 0) is left out. Codes compare exactly, as in every lookup.
std::vector<HistoryPoint> PairHistory(const RateTable& table, std::string_view from, std::string_view to,
                                      const DayRange& range = {});

} // namespace zentaro
