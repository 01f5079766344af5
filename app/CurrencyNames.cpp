#include "app/CurrencyNames.h"

#include <unicode/ucurr.h>
#include <unicode/unistr.h>

namespace zentaro {

namespace {

bool IsIsoCode(std::string_view code)
{
    if (code.size() != 3)
        return false;
    for (const char c : code)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

std::string LookUp(std::string_view code, const std::string& locale)
{
    if (!IsIsoCode(code))
        return {};
    const UChar iso[4] = {static_cast<UChar>(code[0]), static_cast<UChar>(code[1]), static_cast<UChar>(code[2]), 0};
    UErrorCode status = U_ZERO_ERROR;
    UBool isChoiceFormat = false;
    int32_t length = 0;
    const UChar* name = ucurr_getName(iso, locale.c_str(), UCURR_LONG_NAME, &isChoiceFormat, &length, &status);
    // For a code it has no name of, ICU gives the code back.
    if (U_FAILURE(status) || name == nullptr || status == U_USING_DEFAULT_WARNING)
        return {};
    std::string text;
    icu::UnicodeString(name, length).toUTF8String(text);
    if (text == code)
        return {};
    return text;
}

} // namespace

CurrencyNames::CurrencyNames(std::string locale) : locale_(std::move(locale)) {}

const std::string& CurrencyNames::Name(std::string_view code)
{
    auto found = names_.find(code);
    if (found == names_.end()) {
        // English where the user's language has no name for it.
        std::string name = LookUp(code, locale_);
        if (name.empty())
            name = LookUp(code, "en");
        found = names_.emplace(std::string(code), std::move(name)).first;
    }
    return found->second;
}

std::string CurrencyNames::EntryText(std::string_view code)
{
    const std::string& name = Name(code);
    if (name.empty())
        return std::string(code);
    return std::string(code) + " - " + name;
}

} // namespace zentaro
