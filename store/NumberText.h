#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentaro {

// Reads a text by the number text rule: leading and trailing spaces, one sign,
// digits with at most one decimal separator, an optional exponent below 500.
// The value is formed in 80-bit extended precision. nullopt: not a number.
std::optional<long double> ParseNumberText(std::string_view text, char decimalSeparator);

// Narrows an extended value to a double; fails with "Floating point overflow"
// when it does not fit.
double StoreAsDouble(long double value);

// ParseNumberText then StoreAsDouble; a text that is not a number fails with
// "'<text>' is not a valid floating point value".
double TextToDouble(std::string_view text, char decimalSeparator);

// Double to text with 15 significant digits ("0.1", "1E-5", "1.23456789012346E17").
std::string GeneralNumberText(double value, char decimalSeparator);

// The result format "0.######"; magnitudes from 1E18 on fall back to GeneralNumberText.
std::string ResultText(double value, char decimalSeparator);

// dividend / divisor in extended precision, stored as a double, with the
// program's errors instead of infinities: "Floating point division by zero",
// "Invalid floating point operation" (0 / 0), "Floating point overflow".
double DivideToDouble(long double dividend, long double divisor);

// first <op> second for op in "+-*/", in extended precision, stored as a double.
double Calculate(double first, char op, double second);

// The decimal separator of the user's locale (LC_NUMERIC from the environment),
// read without changing the process's locale.
char LocaleDecimalSeparator();

} // namespace zentaro
