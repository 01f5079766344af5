#include "app/CurrencyListNames.h"

#include "app/TextComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace zentaro {

namespace {

class CurrencyEntryDelegate : public QStyledItemDelegate {
public:
    CurrencyEntryDelegate(CurrencyNames& names, QObject* parent) : QStyledItemDelegate(parent), names_(names) {}

    QString displayText(const QVariant& value, const QLocale&) const override
    {
        return QString::fromStdString(names_.EntryText(value.toString().toStdString()));
    }

private:
    CurrencyNames& names_;
};

} // namespace

void ShowCurrencyNames(TextComboBox& list, CurrencyNames& names, const QString& hint)
{
    QAbstractItemView* view = list.view();
    view->setItemDelegate(new CurrencyEntryDelegate(names, view));
    // The drop-down is as wide as its widest entry with its name.
    const auto fitWidth = [&list, view] { view->setMinimumWidth(std::max(list.width(), view->sizeHintForColumn(0) + 24)); };
    QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, view, fitWidth);
    QObject::connect(list.model(), &QAbstractItemModel::modelReset, view, fitWidth);
    const auto showHint = [&list, &names, hint](const QString& text) {
        const std::string code = text.toStdString();
        list.setToolTip(code.empty() ? hint : hint + QLatin1Char('\n') + QString::fromStdString(names.EntryText(code)));
    };
    QObject::connect(&list, &QComboBox::editTextChanged, &list, showHint);
    showHint(list.currentText());
}

} // namespace zentaro
