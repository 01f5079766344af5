#include "store/DateLookup.h"
#include "store/RateTable.h"

#include <algorithm>

namespace zentaro {
namespace {

constexpr std::size_t kDateLength = 10; // "YYYY-MM-DD"

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Digits(std::string_view text, std::size_t from, std::size_t count)
{
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

// Days from 1970-01-01 by eras of 400 years (146,097 days), with the year
// starting in March so that the leap day comes last.
DayNumber DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::optional<DayNumber> CalendarDay(std::string_view text)
{
    if (text.size() != kDateLength || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    static constexpr std::size_t kDigitsAt[] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (const std::size_t i : kDigitsAt)
        if (!IsDigit(text[i]))
            return std::nullopt;
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, 8, 2);
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return DaysFromCivil(year, month, day);
}

std::string CalendarDayText(DayNumber day)
{
    const int z = day + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int dayOfEra = z - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int dayOfMonth = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const int month = shiftedMonth + (shiftedMonth < 10 ? 3 : -9);
    const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    std::string text(kDateLength, '-');
    const auto put = [&text](std::size_t at, std::size_t count, int value) {
        for (std::size_t i = at + count; i-- > at; value /= 10)
            text[i] = static_cast<char>('0' + value % 10);
    };
    put(0, 4, year);
    put(5, 2, month);
    put(8, 2, dayOfMonth);
    return text;
}

UploadTimeDates::UploadTimeDates(const std::vector<std::string>& uploadTimes)
{
    entries_.reserve(uploadTimes.size());
    for (const auto& uploadTime : uploadTimes)
        if (const auto day = CalendarDay(uploadTime))
            entries_.push_back({*day, uploadTime});
    // Imported days usually come in order, newest first or last; a sort of
    // sorted input is cheap either way.
    if (!std::is_sorted(entries_.begin(), entries_.end(),
                        [](const Entry& a, const Entry& b) { return a.day < b.day; }))
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.day < b.day; });
    // A day listed twice (two runs of one upload time) is one upload time.
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const Entry& a, const Entry& b) { return a.day == b.day; }),
                   entries_.end());
}

UploadTimeDates UploadTimeDates::Of(const RateTable& table)
{
    std::vector<std::string> uploadTimes;
    const auto& runs = table.UploadTimeRuns();
    uploadTimes.reserve(runs.size());
    for (const auto& run : runs)
        uploadTimes.push_back(run.tgl);
    return UploadTimeDates(uploadTimes);
}

const UploadTimeDates::Entry* UploadTimeDates::OnOrBefore(DayNumber day) const
{
    const auto later = std::upper_bound(entries_.begin(), entries_.end(), day,
                                        [](DayNumber value, const Entry& entry) { return value < entry.day; });
    return later == entries_.begin() ? nullptr : &*(later - 1);
}

DateChoice ChooseUploadTimeOn(const UploadTimeDates& dates, std::string_view typedDate)
{
    DateChoice choice;
    const auto day = CalendarDay(typedDate);
    if (!day) {
        choice.outcome = DateOutcome::NotADate;
    } else if (const auto* picked = dates.OnOrBefore(*day)) {
        choice.outcome = DateOutcome::Picked;
        choice.uploadTime = picked->uploadTime;
    } else if (const auto* first = dates.FirstDay()) {
        choice.outcome = DateOutcome::BeforeFirstDay;
        choice.firstDay = first->uploadTime;
    } else {
        choice.outcome = DateOutcome::NoDays;
    }
    return choice;
}

} // namespace zentaro
