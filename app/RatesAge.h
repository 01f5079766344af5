#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

// The day an ECB upload time names ("YYYY-MM-DD", a real date); nullopt for
// any other upload time.
std::optional<QDate> EcbDay(std::string_view uploadTime);

// The newest ECB day among the upload times, if any is one.
std::optional<QDate> NewestEcbDay(const std::vector<std::string>& uploadTimes);

// The newest day whose reference rates the ECB has published at now: it
// publishes on working days, Monday to Friday, at about 16:00 Frankfurt time.
QDate LatestEcbPublication(const QDateTime& now);

// Whether data whose newest ECB day is newest lacks a published day; no ECB
// day at all lacks every one.
bool NewerRatesPublished(const std::optional<QDate>& newest, const QDateTime& now);

// The line that says how old the shown rates are.
struct RatesAge {
    QString text;       // empty when no upload time is current
    bool stale = false; // shown in the warning colour
    QString hint;
};

inline constexpr std::string_view kUpdateHowToText =
    "The ECB has published newer rates: click \"Update From URL\" or press F5 to update.";

// The age line for the current upload time, with the upload-time list's
// newest entry beside it: only the newest can be stale, a day picked on
// purpose is old by choice. failure, when set, is why the last automatic
// update failed. Days are named in locale's words; today is now's date.
RatesAge DescribeRatesAge(std::string_view currentUploadTime, std::string_view newestUploadTime,
                          const QDateTime& now, const QLocale& locale,
                          const std::optional<std::string>& failure = std::nullopt);

// "Could not update: <what>"
QString CouldNotUpdateText(std::string_view what);

// Whether the automatic update should fetch now: switched on, not running
// already, newer rates published than the data's newest ECB day, and the
// last attempt at least gap ago.
struct AutoUpdateState {
    bool enabled = true;
    bool running = false;
    std::optional<QDate> newestDay;
    std::optional<QDateTime> lastAttempt;
};
bool AutoUpdateDue(const AutoUpdateState& state, const QDateTime& now, std::chrono::milliseconds gap);

} // namespace zentaro
