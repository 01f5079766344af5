#include "app/AmountPaste.h"

#include <algorithm>

namespace zentaro {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsMark(char c) { return c == ',' || c == '.'; }

} // namespace

std::optional<std::string> PastedAmount(std::string_view text, char decimalSeparator)
{
    const auto first = std::find_if(text.begin(), text.end(), IsDigit);
    if (first == text.end())
        return std::nullopt;
    // The number: digits with single marks between them; a mark directly
    // before the first digit starts a fraction (".5").
    auto begin = first;
    if (begin != text.begin() && IsMark(*(begin - 1)))
        --begin;
    auto end = first;
    while (end != text.end() && (IsDigit(*end) || (IsMark(*end) && end + 1 != text.end() && IsDigit(*(end + 1)))))
        ++end;
    const bool negative = begin != text.begin() && *(begin - 1) == '-';
    const std::string_view number(&*begin, static_cast<std::size_t>(end - begin));

    const auto commas = std::count(number.begin(), number.end(), ',');
    const auto points = std::count(number.begin(), number.end(), '.');
    std::size_t decimalAt = std::string_view::npos;
    if (commas > 0 && points > 0) {
        decimalAt = number.find_last_of(",.");
    } else if (commas + points == 1) {
        decimalAt = number.find_first_of(",.");
        const std::size_t digitsAfter = number.size() - decimalAt - 1;
        const bool looksGrouped = digitsAfter == 3 && decimalAt > 0 && decimalAt <= 3;
        if (looksGrouped && number[decimalAt] != decimalSeparator)
            decimalAt = std::string_view::npos;
    }
    // A mark that occurs more than once, alone, groups thousands.

    std::string amount = negative ? "-" : "";
    for (std::size_t i = 0; i < number.size(); ++i) {
        if (IsDigit(number[i]))
            amount += number[i];
        else if (i == decimalAt)
            amount += decimalSeparator;
    }
    if (!amount.empty() && amount.back() == decimalSeparator)
        amount.pop_back();
    return amount;
}

} // namespace zentaro
