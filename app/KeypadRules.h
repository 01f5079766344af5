#pragma once

#include <optional>
#include <string>

// What the calculator keys make of the amount text. The operands stay texts
// until OK reads them, so every rule works on texts.
namespace zentaro {

// A digit key: "0" gives way to the digit, any other text (also an empty
// one) gets it appended.
std::string DigitKeyText(const std::string& amount, char digit);

// The sign key: the negated value as general number text, or nullopt when
// the value is zero and the text stays as it is ("0.0", "-0"). Fails with
// the number text rule's error when the amount is not a number.
std::optional<std::string> SignKeyText(const std::string& amount, char decimalSeparator);

// OK: first <op> second in the result format. The second operand (the
// amount) is read before the first, so its error wins when both are bad.
std::string KeypadResultText(const std::string& first, char op, const std::string& second,
                             char decimalSeparator);

} // namespace zentaro
