#include "store/ConversionRules.h"
#include "store/NumberText.h"
#include "store/RateTable.h"

#include <algorithm>

namespace zentaro {
namespace {

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

} // namespace

// The rules below read the rows straight from the table's columns, one run
// of an upload time at a time, instead of stepping the cursor through them:
// only the runs' first rows and the rows of the runs they look into (a
// lookup from a run's end, up to its match). Then they leave the cursor
// where stepping would have. The results are those that stepping through
// every row would give, including the single visit of the empty texts that
// an empty table gets.

UploadTimeList BuildUploadTimeList(RateTable& table)
{
    table.MoveToLastRow();
    UploadTimeList list;
    const auto& runs = table.UploadTimeRuns();
    if (runs.empty()) {
        list.entries.emplace_back();
        return list;
    }
    list.entries.reserve(runs.size());
    for (const auto& run : runs)
        list.entries.push_back(run.tgl);
    list.text = CurrentUploadTime(table);
    return list;
}

std::string CurrentUploadTime(RateTable& table)
{
    table.MoveToLastRow();
    const std::size_t count = table.RecordCount();
    if (count == 0)
        return {};
    // Every row of a run shows the run's upload time, so the last run's is the last row's.
    std::string scratch;
    return std::string(table.ShownText(0, table.VisibleRow(count - 1), scratch));
}

bool HoldsUploadTime(RateTable& table, std::string_view uploadTime)
{
    table.MoveToLastRow();
    if (table.RecordCount() == 0)
        return uploadTime.empty();
    for (const auto& run : table.UploadTimeRuns()) {
        if (run.tgl == uploadTime) {
            table.MoveToRow(run.first);
            return true;
        }
    }
    return false;
}

CurrencyPass BuildCurrencyList(RateTable& table, std::string_view uploadTime)
{
    table.MoveToLastRow();
    CurrencyPass pass;
    const std::size_t count = table.RecordCount();
    if (count == 0) {
        if (uploadTime.empty())
            pass.entries.emplace_back();
        return pass;
    }
    std::string scratch;
    for (const auto& run : table.UploadTimeRuns()) {
        if (run.tgl != uploadTime)
            continue;
        for (std::size_t i = run.first; i < run.end; ++i) {
            const std::string_view cur = table.ShownText(1, table.VisibleRow(i), scratch);
            // The table's first row is added without comparing: the list
            // starts empty, and an empty code is still an entry.
            if (i == 0 || cur != pass.text) {
                pass.text.assign(cur);
                pass.entries.push_back(pass.text);
            }
        }
    }
    pass.lastRateText.assign(table.ShownText(2, table.VisibleRow(count - 1), scratch));
    return pass;
}

int CompareCurrencyEntries(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::size_t SortedInsertPosition(const std::vector<std::string>& sorted, std::string_view entry)
{
    const auto place = std::upper_bound(sorted.begin(), sorted.end(), entry,
                                        [](std::string_view value, const std::string& element) {
                                            return CompareCurrencyEntries(value, element) < 0;
                                        });
    return static_cast<std::size_t>(place - sorted.begin());
}

std::vector<std::string> SortCurrencyEntries(std::vector<std::string> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return CompareCurrencyEntries(a, b) < 0;
    });
    return entries;
}

std::optional<std::string> LookUpRate(RateTable& table, std::string_view uploadTime,
                                      std::string_view currency)
{
    table.MoveToLastRow();
    if (table.RecordCount() == 0) {
        if (uploadTime.empty() && currency.empty())
            return std::string();
        return std::nullopt;
    }
    // The last match wins, so the search runs from the end and stops there.
    std::string scratch;
    const auto& runs = table.UploadTimeRuns();
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        if (run->tgl != uploadTime)
            continue;
        for (std::size_t i = run->end; i-- > run->first;)
            if (table.ShownText(1, table.VisibleRow(i), scratch) == currency)
                return std::string(table.ShownText(2, table.VisibleRow(i), scratch));
    }
    return std::nullopt;
}

std::string ConvertAmount(std::string_view amountText, std::string_view sourceRateText,
                          std::string_view targetRateText, char decimalSeparator,
                          EmptyAmount emptyAmount)
{
    const double amount = amountText.empty() && emptyAmount == EmptyAmount::IsZero
                              ? 0.0
                              : TextToDouble(amountText, decimalSeparator);
    const double source = TextToDouble(sourceRateText, decimalSeparator);
    const double target = TextToDouble(targetRateText, decimalSeparator);
    const long double product = static_cast<long double>(target) * amount;
    return ResultText(DivideToDouble(product, source), decimalSeparator);
}

std::optional<std::string> LookUpStoredRate(RateTable& table, std::string_view uploadTime,
                                            std::string_view currency)
{
    // A closed table still fails in the scan, as every lookup does.
    if (table.Active() && table.RecordCount() == 0)
        return std::nullopt;
    return LookUpRate(table, uploadTime, currency);
}

std::optional<std::string> ConvertWithRates(std::string_view amountText,
                                            const std::optional<std::string>& sourceRateText,
                                            const std::optional<std::string>& targetRateText,
                                            char decimalSeparator, EmptyAmount emptyAmount)
{
    if (sourceRateText && targetRateText)
        return ConvertAmount(amountText, *sourceRateText, *targetRateText, decimalSeparator, emptyAmount);
    if (!amountText.empty() || emptyAmount == EmptyAmount::IsText)
        TextToDouble(amountText, decimalSeparator);
    return std::nullopt;
}

std::string KeptCurrency(const CurrencyPass& pass, std::string_view chosen)
{
    if (std::find(pass.entries.begin(), pass.entries.end(), chosen) != pass.entries.end())
        return std::string(chosen);
    return pass.text;
}

} // namespace zentaro
