#include "app/KeypadRules.h"

#include "store/NumberText.h"

namespace zentaro {

std::string DigitKeyText(const std::string& amount, char digit)
{
    if (amount == "0")
        return std::string(1, digit);
    return amount + digit;
}

std::optional<std::string> SignKeyText(const std::string& amount, char decimalSeparator)
{
    const double value = TextToDouble(amount, decimalSeparator);
    if (value == 0)
        return std::nullopt;
    return GeneralNumberText(-value, decimalSeparator);
}

std::string KeypadResultText(const std::string& first, char op, const std::string& second,
                             char decimalSeparator)
{
    const double secondValue = TextToDouble(second, decimalSeparator);
    const double firstValue = TextToDouble(first, decimalSeparator);
    return ResultText(Calculate(firstValue, op, secondValue), decimalSeparator);
}

} // namespace zentaro
