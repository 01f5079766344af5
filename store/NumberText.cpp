#include "store/NumberText.h"
#include "store/StoreError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <langinfo.h>
#include <limits>
#include <locale.h>
#include <utility>

namespace zentaro {
namespace {

constexpr int kExponentLimit = 500;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits the output of std::to_chars in scientific form ("d.dddde+XX") into
// its significant digits and decimal exponent.
void ScientificDigits(double magnitude, int precision, std::string& digits, int& exponent)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, precision);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (IsDigit(c))
            digits += c;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
}

std::string SpecialText(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// A number text taken apart: its sign, digits before and after the decimal
// separator, and its exponent.
struct NumberParts {
    bool negative = false;
    std::string integer;
    std::string fraction;
    int exponent = 0;
};

// Reads an exponent's sign and digits from text at i, after its 'E'. Digits
// are taken while the exponent stays below the limit; a digit left over
// after that makes the text invalid, as its caller finds.
bool TakeExponent(std::string_view text, std::size_t& i, int& exponent)
{
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= n || !IsDigit(text[i]))
        return false;
    exponent = 0;
    while (i < n && IsDigit(text[i]) && exponent < kExponentLimit)
        exponent = exponent * 10 + (text[i++] - '0');
    if (negative)
        exponent = -exponent;
    return true;
}

// The parts of a number text, or nullopt when the text is not one.
std::optional<NumberParts> SplitNumberText(std::string_view text, char decimalSeparator)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    NumberParts parts;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    bool taken = false;
    while (i < n && IsDigit(text[i])) {
        parts.integer += text[i++];
        taken = true;
    }
    if (i < n && text[i] == decimalSeparator) {
        ++i;
        taken = true;
        while (i < n && IsDigit(text[i]))
            parts.fraction += text[i++];
    }
    if (!taken)
        return std::nullopt;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (!TakeExponent(text, i, parts.exponent))
            return std::nullopt;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return std::nullopt;
    return parts;
}

// The magnitude of the parts in extended precision; nullopt when it is too
// large for it, 0 when too small.
std::optional<long double> ValueOf(const NumberParts& parts)
{
    std::string normalized = parts.integer.empty() ? "0" : parts.integer;
    normalized += '.';
    normalized += parts.fraction.empty() ? "0" : parts.fraction;
    normalized += 'e';
    normalized += std::to_string(parts.exponent);

    long double value = 0;
    const auto result = std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range is either too large for extended (not a number) or too
        // small, which reads as zero.
        const auto firstNonZero = parts.integer.find_first_not_of('0');
        int magnitude = parts.exponent;
        if (firstNonZero != std::string::npos) {
            magnitude += static_cast<int>(parts.integer.size() - firstNonZero);
        } else {
            const auto fractionNonZero = parts.fraction.find_first_not_of('0');
            magnitude -= fractionNonZero == std::string::npos ? 0 : static_cast<int>(fractionNonZero);
        }
        if (magnitude > 0)
            return std::nullopt;
        return 0.0L;
    }
    if (result.ec != std::errc())
        return std::nullopt;
    return value;
}

constexpr int kResultDecimals = 6;

// The digits of a magnitude before and after the point, rounded half up to
// the result's decimals from its 18 significant digits (the value's decimal
// form before rounding); leading zeros of the integer and trailing ones of
// the fraction are still there.
std::pair<std::string, std::string> ResultDigits(double magnitude)
{
    std::string digits;
    int exponent = 0;
    ScientificDigits(magnitude, 17, digits, exponent);

    std::string integer;
    std::string fraction;
    const int integerLength = exponent + 1;
    if (integerLength > 0) {
        const auto length = static_cast<std::size_t>(integerLength);
        integer = digits.substr(0, std::min(length, digits.size()));
        if (length > digits.size())
            integer.append(length - digits.size(), '0');
        else
            fraction = digits.substr(length);
    } else {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-integerLength), '0') + digits;
    }

    const bool roundUp = fraction.size() > kResultDecimals && fraction[kResultDecimals] >= '5';
    fraction.resize(kResultDecimals, '0');
    if (roundUp) {
        std::string number = integer + fraction;
        int position = static_cast<int>(number.size()) - 1;
        while (position >= 0 && number[static_cast<std::size_t>(position)] == '9')
            number[static_cast<std::size_t>(position--)] = '0';
        if (position < 0)
            number.insert(number.begin(), '1');
        else
            ++number[static_cast<std::size_t>(position)];
        integer = number.substr(0, number.size() - kResultDecimals);
        fraction = number.substr(number.size() - kResultDecimals);
    }
    return {integer, fraction};
}

} // namespace

std::optional<long double> ParseNumberText(std::string_view text, char decimalSeparator)
{
    const auto parts = SplitNumberText(text, decimalSeparator);
    if (!parts)
        return std::nullopt;
    const auto value = ValueOf(*parts);
    if (!value)
        return std::nullopt;
    return parts->negative ? -*value : *value;
}

double StoreAsDouble(long double value)
{
    if (std::isnan(value))
        throw StoreError("Invalid floating point operation");
    const double stored = static_cast<double>(value);
    if (std::isinf(stored))
        throw StoreError("Floating point overflow");
    return stored;
}

double TextToDouble(std::string_view text, char decimalSeparator)
{
    const auto value = ParseNumberText(text, decimalSeparator);
    if (!value)
        throw StoreError("'" + std::string(text) + "' is not a valid floating point value");
    return StoreAsDouble(*value);
}

std::string GeneralNumberText(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    if (value == 0)
        return "0";

    std::string digits;
    int exponent = 0;
    ScientificDigits(std::fabs(value), 14, digits, exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        if (exponent >= 0) {
            const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits;
                text.append(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits);
                text += decimalSeparator;
                text += digits.substr(integerDigits);
            }
        } else {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        }
        return text;
    }

    text += digits[0];
    if (digits.size() > 1) {
        text += decimalSeparator;
        text += digits.substr(1);
    }
    text += 'E';
    if (exponent < 0)
        text += '-';
    text += std::to_string(std::abs(exponent));
    return text;
}

std::string ResultText(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    if (std::fabs(value) >= 1e18)
        return GeneralNumberText(value, decimalSeparator);
    if (value == 0)
        return "0";

    auto [integer, fraction] = ResultDigits(std::fabs(value));
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    const auto firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? "0" : integer.substr(firstNonZero);
    if (integer == "0" && fraction.empty())
        return "0";

    std::string text = value < 0 ? "-" : "";
    text += integer;
    if (!fraction.empty()) {
        text += decimalSeparator;
        text += fraction;
    }
    return text;
}

double DivideToDouble(long double dividend, long double divisor)
{
    if (std::isnan(dividend) || std::isnan(divisor))
        throw StoreError("Invalid floating point operation");
    if (divisor == 0) {
        if (dividend == 0)
            throw StoreError("Invalid floating point operation");
        throw StoreError("Floating point division by zero");
    }
    return StoreAsDouble(dividend / divisor);
}

double Calculate(double first, char op, double second)
{
    const long double a = first;
    const long double b = second;
    switch (op) {
    case '+': return StoreAsDouble(a + b);
    case '-': return StoreAsDouble(a - b);
    case '*': return StoreAsDouble(a * b);
    case '/': return DivideToDouble(a, b);
    default: throw StoreError(std::string("Invalid operator ") + op);
    }
}

char LocaleDecimalSeparator()
{
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    char separator = '.';
    // A separator of more than one byte cannot be typed as one character.
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0')
        separator = radix[0];
    freelocale(locale);
    return separator;
}

} // namespace zentaro
