#include "cli/UploadTimeChoice.h"
#include "cli/CliCommand.h"
#include "store/ConversionRules.h"
#include "store/MessageText.h"
#include "store/RateTable.h"

namespace zentaro::cli {

void RequireUploadTime(RateTable& table, std::string_view uploadTime)
{
    if (HoldsUploadTime(table, uploadTime))
        return;
    std::string text = "No rates at upload time " + QuotedInput(uploadTime);
    const DateChoice earlier = ChooseUploadTimeOn(UploadTimeDates::Of(table), uploadTime);
    if (earlier.outcome == DateOutcome::Picked)
        text += " (the nearest earlier day is " + earlier.uploadTime + ")";
    throw CliError(text);
}

std::optional<DayNumber> DateOption(const Options& options, std::string_view name)
{
    const auto value = options.Value(name);
    if (!value)
        return std::nullopt;
    const auto day = CalendarDay(*value);
    if (!day)
        throw UsageError(std::string(name) + " takes a date YYYY-MM-DD");
    return day;
}

std::string ChosenUploadTime(RateTable& table, const Options& options)
{
    const auto time = options.Value(kTimeOption);
    const auto on = options.Value(kOnOption);
    if (time && on)
        throw UsageError(std::string(kTimeOption) + " and " + std::string(kOnOption) + " exclude each other");
    if (time) {
        RequireUploadTime(table, *time);
        return *time;
    }
    if (!on)
        return CurrentUploadTime(table);
    DateOption(options, kOnOption); // a DATE that is no date is a usage error, before any lookup
    const DateChoice choice = ChooseUploadTimeOn(UploadTimeDates::Of(table), *on);
    if (choice.outcome == DateOutcome::Picked)
        return choice.uploadTime;
    if (choice.outcome == DateOutcome::BeforeFirstDay)
        throw CliError("No rates on or before " + *on + " (the first day is " + choice.firstDay + ")");
    throw CliError("No rates on or before " + *on + " (no upload time is a date)");
}

std::string UnknownCurrencyText(std::string_view currency, std::string_view uploadTime)
{
    return "Unknown currency " + QuotedInput(currency) + " at upload time " + QuotedInput(uploadTime);
}

} // namespace zentaro::cli
