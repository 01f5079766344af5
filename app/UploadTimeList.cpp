#include "app/UploadTimeList.h"

#include "app/TextComboBox.h"

#include <QAbstractItemView>
#include <QSortFilterProxyModel>
#include <QCompleter>
#include <QLineEdit>

#include <algorithm>

namespace zentaro {

namespace {

// The list's entries without the one the list's text already is: a whole
// upload time typed leaves nothing to offer, so Enter or leaving the list
// chooses it.
class OtherEntries : public QSortFilterProxyModel {
public:
    OtherEntries(TextComboBox& list) : QSortFilterProxyModel(&list), list_(list)
    {
        setSourceModel(list.model());
        QObject::connect(list.lineEdit(), &QLineEdit::textEdited, this, [this] { invalidateFilter(); });
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return sourceModel()->index(row, 0, parent).data().toString() != list_.currentText();
    }

private:
    TextComboBox& list_;
};

} // namespace

void OfferMatchingDays(TextComboBox& list)
{
    auto* completer = new QCompleter(new OtherEntries(list), &list);
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
