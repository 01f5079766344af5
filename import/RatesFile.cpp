#include "import/RatesFile.h"
#include "import/EcbCsv.h"
#include "import/EcbXml.h"
#include "import/EcbZip.h"
#include "import/ImportError.h"
#include "import/InputFile.h"
#include "store/RateTable.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace zentaro {
namespace {

constexpr std::string_view kEuroCode = "EUR";
constexpr std::string_view kEuroRateText = "1";

bool IsPlainDecimal(std::string_view text)
{
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || !digits(whole) || !digits(fraction))
        return false;
    return point == std::string_view::npos || !fraction.empty();
}

// The file's rate written with the table's decimal separator, checked the way
// a post would check it. The file always writes "."; a rate in any other
// shape fails with the text as the file has it.
std::string TableRateText(const std::string& fileText, char separator)
{
    if (!IsPlainDecimal(fileText))
        throw ImportError(NotAFloatText(fileText, kRateViewFields[2]));
    std::string text = fileText;
    std::replace(text.begin(), text.end(), '.', separator);
    try {
        CheckRateText(text, separator);
    } catch (const ImportError&) {
        throw ImportError(NotAFloatText(fileText, kRateViewFields[2]));
    }
    return text;
}

// The dates among days that some visible row of the table shows as its upload time.
std::unordered_set<std::string> PresentDates(const RateTable& table, const std::vector<RatesDay>& days)
{
    std::unordered_set<std::string_view> wanted;
    for (const auto& day : days)
        wanted.insert(day.date);
    std::unordered_set<std::string> present;
    for (const auto& run : table.UploadTimeRuns())
        if (wanted.contains(run.tgl))
            present.insert(run.tgl);
    return present;
}

} // namespace

RatesLayout DetectRatesLayout(std::string_view bytes)
{
    if (IsZip(bytes))
        return RatesLayout::EcbZip;
    if (IsEcbCsv(bytes))
        return RatesLayout::EcbCsv;
    if (IsEcbXml(bytes))
        return RatesLayout::EcbXml;
    return RatesLayout::UpdateFile;
}

ImportResult ImportRateDays(RateTable& table, std::vector<RatesDay> days,
                            const std::filesystem::path& dataFile, std::string_view successText)
{
    table.First(); // fails on a closed table before anything else
    const char separator = table.DecimalSeparator();
    for (auto& day : days) {
        std::erase_if(day.rates, [](const DayRate& rate) { return IsMissingRate(rate.rateText); });
        for (auto& rate : day.rates) {
            try {
                rate.rateText = TableRateText(rate.rateText, separator);
            } catch (const ImportError& error) {
                throw ImportError(error.what() + (" (day " + DayPlace(day.date, day.line) + ")"));
            }
        }
    }
    // Dates sort as text; a date the file lists twice counts once, first as met.
    std::stable_sort(days.begin(), days.end(), [](const RatesDay& a, const RatesDay& b) { return a.date < b.date; });
    days.erase(std::unique(days.begin(), days.end(), [](const RatesDay& a, const RatesDay& b) { return a.date == b.date; }),
               days.end());

    ImportResult result;
    if (days.empty())
        throw ImportError(std::string(kMalformedRatesText) + "no day of rates");
    result.uploadTime = days.back().date;
    const auto present = PresentDates(table, days);
    std::erase_if(days, [&](const RatesDay& day) { return present.contains(day.date); });
    if (days.empty()) {
        result.outcome = ImportOutcome::Duplicate;
        result.message = DuplicateUploadTimeMessage(result.uploadTime);
        result.scratch.edito4 = result.uploadTime;
        return result;
    }

    for (const auto& day : days) {
        PostRateRow(table, day.date, kEuroCode, kEuroRateText);
        for (const auto& rate : day.rates)
            PostRateRow(table, day.date, rate.code, rate.rateText);
        result.rowsAdded += day.rates.size() + 1;
    }
    table.SaveToFile(dataFile);

    const RatesDay& last = days.back();
    result.message = std::string(successText);
    result.scratch.edito4 = last.date;
    result.scratch.edito2 = last.rates.empty() ? std::string(kEuroCode) : last.rates.back().code;
    result.scratch.edito3 = last.rates.empty() ? std::string(kEuroRateText) : last.rates.back().rateText;
    result.scratch.lineCounter = last.rates.size() + 1;
    return result;
}

ImportResult ImportRatesFile(RateTable& table, const std::filesystem::path& path,
                             const std::filesystem::path& dataFile, std::string_view successText)
{
    const std::string bytes = ReadInputFile(path);
    switch (DetectRatesLayout(bytes)) {
    case RatesLayout::EcbXml:
        return ImportRateDays(table, ReadEcbXml(bytes), dataFile, successText);
    case RatesLayout::EcbCsv:
        return ImportRateDays(table, ReadEcbCsv(bytes), dataFile, successText);
    case RatesLayout::EcbZip:
        return ImportRateDays(table, ReadEcbZip(bytes), dataFile, successText);
    case RatesLayout::UpdateFile:
        break;
    }
    return ImportUpdate(table, bytes, dataFile, successText);
}

} // namespace zentaro
