#include "import/RatesFile.h"
#include "import/EcbCsv.h"
#include "import/EcbXml.h"
#include "import/EcbZip.h"
#include "import/ImportError.h"
#include "import/InputFile.h"
#include "import/UpdateFile.h"
#include "store/FileReplacement.h"
#include "store/RateTable.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <unistd.h>
#include <unordered_set>

namespace zentaro {
namespace {

constexpr std::string_view kEuroCode = "EUR";
constexpr std::string_view kEuroRateText = "1";
constexpr std::string_view kNoRateText = "N/A";

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
    CheckRateText(text, separator);
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

// The input checks of every import (a regular file, not too large) apply
// before a byte is read; the cap holds again while reading, as a file may
// grow after the check.
std::string ReadWholeFile(const std::filesystem::path& path)
{
    const UniqueFd fd = OpenInputFile(path);
    std::string bytes;
    char block[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw ImportError(FileErrorText("Cannot read file", path, errno));
        if (got == 0)
            return bytes;
        bytes.append(block, static_cast<std::size_t>(got));
        CheckInputSize(bytes.size(), path, "Cannot read file");
    }
}

ImportResult ImportRateDays(RateTable& table, std::vector<RatesDay> days,
                            const std::filesystem::path& dataFile, std::string_view successText)
{
    table.First(); // fails on a closed table before anything else
    const char separator = table.DecimalSeparator();
    for (auto& day : days) {
        std::erase_if(day.rates, [](const DayRate& rate) { return rate.rateText.empty() || rate.rateText == kNoRateText; });
        for (auto& rate : day.rates)
            rate.rateText = TableRateText(rate.rateText, separator);
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
    const std::string bytes = ReadWholeFile(path);
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
    UpdateFileReader reader = UpdateFileReader::FromBytes(bytes);
    return ImportUpdate(table, reader, dataFile, successText);
}

} // namespace zentaro
