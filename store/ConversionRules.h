#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

class RateTable;

// Each rule below answers as a walk of the cursor from the first row to the
// last, examining each row once, would answer, and leaves the cursor where
// that walk stops; on an empty table the walk examines the empty texts that
// the views show when no row is current. None walks the rows: they read the
// upload-time runs and the rows of the runs they need. All fail on a closed table.

// The upload-time list: one entry per run of consecutive rows with the same
// tgl, in table order; its text is the tgl of the last row.
struct UploadTimeList {
    std::vector<std::string> entries;
    std::string text;
};
UploadTimeList BuildUploadTimeList(RateTable& table);
// That list's text alone, without building the list: the tgl of the table's
// last row, or the empty text on an empty table.
std::string CurrentUploadTime(RateTable& table);

// Whether the walk meets this upload time: some visible row shows it, or, on
// an empty table, it is the empty text the views show there. Leaves the
// cursor where that walk stops: on the first row that shows it, else on the
// last row.
bool HoldsUploadTime(RateTable& table, std::string_view uploadTime);

// One currency list as a pass over the rows of uploadTime builds it: the cur
// of every matching row in the order met, except that a code equal to the
// previous match's is not added again. text is the last match's cur, and
// lastRateText the nilai text of the table's last row, whatever its tgl.
struct CurrencyPass {
    std::vector<std::string> entries;
    std::string text;
    std::string lastRateText;
};
CurrencyPass BuildCurrencyList(RateTable& table, std::string_view uploadTime);

// The order of a sorted currency list: bytes compared with ASCII letters
// folded to lower case; < 0, 0 or > 0 like strcmp.
int CompareCurrencyEntries(std::string_view a, std::string_view b);
// Where entry goes in a list already in that order: after all entries that
// compare equal to it, so entries that differ only in case keep their order.
std::size_t SortedInsertPosition(const std::vector<std::string>& sorted, std::string_view entry);
std::vector<std::string> SortCurrencyEntries(std::vector<std::string> entries);

// The nilai text of the last row with this tgl and cur, or nullopt when no
// row matches (the caller then keeps whatever rate text it had).
std::optional<std::string> LookUpRate(RateTable& table, std::string_view uploadTime,
                                      std::string_view currency);

// How an empty amount text reads: the from-currency change takes it as 0, the
// to-currency change reads it like any other text (and so fails on it).
enum class EmptyAmount { IsZero, IsText };

// amount * target rate / source rate in the result format. The texts are read
// in this order (amount, source, target), so the first bad one names the error.
std::string ConvertAmount(std::string_view amountText, std::string_view sourceRateText,
                          std::string_view targetRateText, char decimalSeparator,
                          EmptyAmount emptyAmount);

// LookUpRate over the stored rows only: an empty table has none, so nothing
// matches there (LookUpRate finds the empty texts of its empty views).
std::optional<std::string> LookUpStoredRate(RateTable& table, std::string_view uploadTime,
                                            std::string_view currency);

// ConvertAmount when both rates were found, nullopt when either was not: a
// missing rate never borrows one from elsewhere. The amount is read even
// then, so an amount that is not a number fails whatever the rates.
std::optional<std::string> ConvertWithRates(std::string_view amountText,
                                            const std::optional<std::string>& sourceRateText,
                                            const std::optional<std::string>& targetRateText,
                                            char decimalSeparator, EmptyAmount emptyAmount);

// The text a currency list keeps when it is rebuilt for another upload time:
// the chosen code when the new entries hold it exactly, else the pass's text.
std::string KeptCurrency(const CurrencyPass& pass, std::string_view chosen);

} // namespace zentaro
