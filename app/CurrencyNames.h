#pragma once

#include <map>
#include <string>
#include <string_view>

namespace zentaro {

// The names of currency codes, from ICU's data in one locale ("de_DE",
// "en"), else in English: what a list shows beside a code. Each code is
// asked of ICU once.
class CurrencyNames {
public:
    explicit CurrencyNames(std::string locale);

    // The code's name, or the empty text for a code ICU does not know.
    const std::string& Name(std::string_view code);
    // "USD - US Dollar", or the code alone when it has no name.
    std::string EntryText(std::string_view code);

    const std::string& Locale() const { return locale_; }

private:
    std::string locale_;
    std::map<std::string, std::string, std::less<>> names_;
};

} // namespace zentaro
