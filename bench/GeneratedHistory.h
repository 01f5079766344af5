#pragma once

// A reference-rates history of the ECB's full size: 6,700 working days of 32
// currencies, newest first, as the history CSV writes it. Rates come from a
// fixed seed, so every run measures the same file.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace zentaro::bench {

inline constexpr int kHistoryDays = 6700;
inline constexpr int kHistoryCurrencies = 32;

// The first count working days from 1999-01-04 as "YYYY-MM-DD", oldest first.
inline std::vector<std::string> HistoryDates(int count)
{
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<std::string> dates;
    int year = 1999, month = 0, day = 4, weekday = 0; // 1999-01-04 was a Monday
    while (static_cast<int>(dates.size()) < count) {
        if (weekday < 5) {
            char text[48];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month + 1, day);
            dates.emplace_back(text);
        }
        ++day;
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (day > kMonthDays[month] + (month == 1 && leap ? 1 : 0)) {
            day = 1;
            if (++month == 12) {
                month = 0;
                ++year;
            }
        }
        weekday = (weekday + 1) % 7;
    }
    return dates;
}

// Day n (from 0) of that list.
inline std::string HistoryDate(int n) { return HistoryDates(n + 1).back(); }

inline std::string CurrencyCode(int i)
{
    return {static_cast<char>('A' + i / 26 % 26), static_cast<char>('A' + i % 26), 'X'};
}

inline std::string HistoryCsv(int days = kHistoryDays)
{
    std::mt19937 random(1999);
    std::string csv = "Date,";
    for (int c = 0; c < kHistoryCurrencies; ++c)
        csv += CurrencyCode(c) + ",";
    csv += "\n";
    const std::vector<std::string> dates = HistoryDates(days);
    char rate[32];
    for (int d = days - 1; d >= 0; --d) {
        csv += dates[static_cast<std::size_t>(d)] + ",";
        for (int c = 0; c < kHistoryCurrencies; ++c) {
            std::snprintf(rate, sizeof rate, "%.4f,", 0.5 + static_cast<double>(random() % 2000000) / 1000.0);
            csv += rate;
        }
        csv += "\n";
    }
    return csv;
}

// One day's daily XML, as eurofxref-daily.xml writes it.
inline std::string DailyXml(const std::string& date)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
                      "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
                      "\t<Cube>\n\t\t<Cube time='" + date + "'>\n";
    for (int c = 0; c < kHistoryCurrencies; ++c)
        xml += "\t\t\t<Cube currency='" + CurrencyCode(c) + "' rate='" + std::to_string(c + 1) + ".2345'/>\n";
    return xml + "\t\t</Cube>\n\t</Cube>\n</gesmes:Envelope>\n";
}

} // namespace zentaro::bench
