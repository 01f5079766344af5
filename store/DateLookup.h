#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

class RateTable;

// A calendar day as a number: days since 1970-01-01 (negative before), so
// that days compare, subtract and plot as plain integers.
using DayNumber = std::int32_t;

// The day of a text written exactly "YYYY-MM-DD" that names a real day of
// the (proleptic Gregorian) calendar: "2008-02-30", "2008-9-1" or
// "2008-09-01 " are not dates.
std::optional<DayNumber> CalendarDay(std::string_view text);
// The "YYYY-MM-DD" text of a day (years 0 to 9999).
std::string CalendarDayText(DayNumber day);

// The upload times that are dates, one entry per day, oldest first: the
// index the date rule searches. Built once per load of the table; every
// lookup is then a binary search.
class UploadTimeDates {
public:
    struct Entry {
        DayNumber day = 0;
        std::string uploadTime;
    };

    UploadTimeDates() = default;
    // From upload times in any order; those that are not dates are left out.
    explicit UploadTimeDates(const std::vector<std::string>& uploadTimes);
    // From the table's runs of one upload time.
    static UploadTimeDates Of(const RateTable& table);

    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }
    // The oldest day, which a date before it can name in its message.
    const Entry* FirstDay() const { return entries_.empty() ? nullptr : &entries_.front(); }
    // The newest entry on or before day; nullptr when every entry is later.
    const Entry* OnOrBefore(DayNumber day) const;

private:
    std::vector<Entry> entries_;
};

// The date rule for a typed date: the newest upload time that is a date on
// or before it (a weekend or holiday gives the working day before; a date
// that is an upload time gives itself).
enum class DateOutcome {
    Picked,          // uploadTime is the pick
    BeforeFirstDay,  // firstDay is the oldest day there is
    NoDays,          // no upload time is a date
    NotADate,        // the typed text is not "YYYY-MM-DD" of a real day
};
struct DateChoice {
    DateOutcome outcome = DateOutcome::NotADate;
    std::string uploadTime;
    std::string firstDay;
};
DateChoice ChooseUploadTimeOn(const UploadTimeDates& dates, std::string_view typedDate);

} // namespace zentaro
