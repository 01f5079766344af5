#pragma once

#include "app/CurrencyNames.h"

#include <QString>

namespace zentaro {

class TextComboBox;

// Shows each currency's name beside its code in a list's drop-down entries
// and in its hint ("USD - US Dollar" under the list's own hint), while the
// entries' and the list's texts stay the codes that typing and lookups use.
// names must outlive the list.
void ShowCurrencyNames(TextComboBox& list, CurrencyNames& names, const QString& hint);

} // namespace zentaro
