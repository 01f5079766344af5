#include "app/RatesAge.h"

#include <QTimeZone>

#include <algorithm>

namespace zentaro {
namespace {

constexpr int kPublicationHour = 16;
constexpr int kFriday = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

QString Shown(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Frankfurt's zone; where the system lacks the zone database, Central
// European Time without its summer hour, an hour off for half the year.
QTimeZone Frankfurt()
{
    static const QTimeZone zone = [] {
        QTimeZone berlin("Europe/Berlin");
        return berlin.isValid() ? berlin : QTimeZone(3600);
    }();
    return zone;
}

} // namespace

std::optional<QDate> EcbDay(std::string_view uploadTime)
{
    if (uploadTime.size() != 10 || uploadTime[4] != '-' || uploadTime[7] != '-')
        return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!IsDigit(uploadTime[i]))
            return std::nullopt;
    const QDate day(Number(uploadTime.substr(0, 4)), Number(uploadTime.substr(5, 2)),
                    Number(uploadTime.substr(8, 2)));
    if (!day.isValid())
        return std::nullopt;
    return day;
}

std::optional<QDate> NewestEcbDay(const std::vector<std::string>& uploadTimes)
{
    std::optional<QDate> newest;
    for (const auto& time : uploadTimes)
        if (const auto day = EcbDay(time); day && (!newest || *day > *newest))
            newest = day;
    return newest;
}

QDate LatestEcbPublication(const QDateTime& now)
{
    const QDateTime there = now.toTimeZone(Frankfurt());
    QDate day = there.date();
    if (there.time().hour() < kPublicationHour)
        day = day.addDays(-1);
    while (day.dayOfWeek() > kFriday)
        day = day.addDays(-1);
    return day;
}

bool NewerRatesPublished(const std::optional<QDate>& newest, const QDateTime& now)
{
    return !newest || *newest < LatestEcbPublication(now);
}

QString CouldNotUpdateText(std::string_view what) { return QStringLiteral("Could not update: ") + Shown(what); }

RatesAge DescribeRatesAge(std::string_view currentUploadTime, std::string_view newestUploadTime,
                          const QDateTime& now, const QLocale& locale, const std::optional<std::string>& failure)
{
    RatesAge age;
    QStringList hint;
    if (failure)
        hint << CouldNotUpdateText(*failure);
    if (currentUploadTime.empty()) {
        age.hint = hint.join(QLatin1Char('\n'));
        return age;
    }
    const std::optional<QDate> day = EcbDay(currentUploadTime);
    if (!day) {
        age.text = QStringLiteral("Rates of ") + Shown(currentUploadTime);
        age.hint = hint.join(QLatin1Char('\n'));
        return age;
    }
    const qint64 days = day->daysTo(now.date());
    if (days == 0)
        age.text = QStringLiteral("Rates of today");
    else if (days == 1)
        age.text = QStringLiteral("Rates of yesterday");
    else {
        age.text = QStringLiteral("Rates of ") + locale.toString(*day, QStringLiteral("ddd d MMM yyyy"));
        if (days > 1)
            age.text += QStringLiteral(" \u00B7 %1 days old").arg(days);
    }
    age.stale = currentUploadTime == newestUploadTime && NewerRatesPublished(day, now);
    if (age.stale)
        hint << Shown(kUpdateHowToText);
    age.hint = hint.join(QLatin1Char('\n'));
    return age;
}

bool AutoUpdateDue(const AutoUpdateState& state, const QDateTime& now, std::chrono::milliseconds gap)
{
    if (!state.enabled || state.running || !NewerRatesPublished(state.newestDay, now))
        return false;
    return !state.lastAttempt || state.lastAttempt->msecsTo(now) >= gap.count() ||
           state.lastAttempt->msecsTo(now) < 0;
}

} // namespace zentaro
