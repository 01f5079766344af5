#pragma once

#include "store/DateLookup.h"

#include <QString>

#include <optional>
#include <string>

namespace zentaro {

class TextComboBox;

// Typing part of a date into the upload-time list ("2008-09") offers the
// days that begin with it; picking one chooses it as picking an entry does.
// A whole upload time typed is not offered again.
void OfferMatchingDays(TextComboBox& list);

// Makes the entry that shows the list's text the current one, so that the
// drop-down opens scrolled to it; the text itself stays.
void SelectEntryOfText(TextComboBox& list);

// What the upload-time list does with a typed text: an upload time stays
// itself; a date that is not one picks by the date rule; a date before the
// first day picks nothing and says why.
struct TypedTime {
    std::optional<std::string> pick; // the upload time to choose; nullopt: none
    QString note;                    // for the list's hint; empty: nothing to say
};
TypedTime ChooseTypedTime(const UploadTimeDates& dates, const std::vector<std::string>& entries,
                          const std::string& typed);

} // namespace zentaro
