#include "app/UploadTimeList.h"

#include "app/TextComboBox.h"

#include <QCompleter>
#include <QLineEdit>

#include <algorithm>

namespace zentaro {

void OfferMatchingDays(TextComboBox& list)
{
    auto* completer = new QCompleter(list.model(), &list);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->setMaxVisibleItems(12);
    list.setCompleter(completer);
}

void SelectEntryOfText(TextComboBox& list)
{
    const std::vector<std::string>& entries = list.Entries();
    const std::string text = list.Text();
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found == entries.end())
        return;
    const int index = static_cast<int>(found - entries.begin());
    if (index == list.currentIndex())
        return;
    // Selecting shows the entry's text, which is the text already shown; the
    // exact bytes behind it are set again.
    list.setCurrentIndex(index);
    list.SetText(text);
}

TypedTime ChooseTypedTime(const UploadTimeDates& dates, const std::vector<std::string>& entries,
                          const std::string& typed)
{
    if (std::find(entries.begin(), entries.end(), typed) != entries.end())
        return {typed, {}};
    const DateChoice choice = ChooseUploadTimeOn(dates, typed);
    switch (choice.outcome) {
    case DateOutcome::Picked: return {choice.uploadTime, {}};
    case DateOutcome::BeforeFirstDay:
        return {std::nullopt, QStringLiteral("No rates on or before %1 (the first day is %2)")
                                  .arg(QString::fromStdString(typed), QString::fromStdString(choice.firstDay))};
    case DateOutcome::NoDays:
    case DateOutcome::NotADate: break;
    }
    // Any other text stays what was typed, as before.
    return {typed, {}};
}

} // namespace zentaro
