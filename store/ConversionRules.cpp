#include "store/ConversionRules.h"
#include "store/NumberText.h"
#include "store/RateTable.h"
#include "store/Scan.h"

#include <algorithm>

namespace zentaro {
namespace {

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

} // namespace

UploadTimeList BuildUploadTimeList(RateTable& table)
{
    UploadTimeList list;
    bool first = true;
    ScanRows(table, [&] {
        const std::string_view tgl = table.DBEdit1().Text();
        if (first || tgl != list.text) {
            list.text.assign(tgl);
            list.entries.push_back(list.text);
            first = false;
        }
    });
    return list;
}

CurrencyPass BuildCurrencyList(RateTable& table, std::string_view uploadTime)
{
    CurrencyPass pass;
    bool first = true;
    ScanRows(table, [&] {
        if (table.DBEdit1().Text() == uploadTime) {
            const std::string_view cur = table.DBEdit2().Text();
            // The first row is added without comparing: the list starts empty,
            // and an empty code is still an entry.
            if (first || cur != pass.text) {
                pass.text.assign(cur);
                pass.entries.push_back(pass.text);
            }
        }
        first = false;
    });
    pass.lastRateText.assign(table.DBEdit3().Text());
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
    std::optional<std::string> rate;
    ScanRows(table, [&] {
        if (table.DBEdit1().Text() == uploadTime && table.DBEdit2().Text() == currency)
            rate.emplace(table.DBEdit3().Text());
    });
    return rate;
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
