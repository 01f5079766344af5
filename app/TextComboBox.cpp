#include "app/TextComboBox.h"
#include "app/ShownText.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace zentaro {

TextComboBox::TextComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // Connected before any handler of the window, so a handler of the pick
    // already reads the picked entry's bytes.
    connect(this, &QComboBox::activated, this, &TextComboBox::Remember);
    // When the edit part loses the focus, QComboBox picks the entry that
    // matches the typed text and reports it as activated; leaving a list of
    // this program changes nothing.
    disconnect(lineEdit(), SIGNAL(editingFinished()), this, nullptr);
    lineEdit()->installEventFilter(this);
}

void TextComboBox::ClearAll()
{
    clear();
    entries_.clear();
    SetText({});
}

void TextComboBox::AddEntry(const std::string& text) { InsertEntry(entries_.size(), text); }

void TextComboBox::SetEntries(const std::vector<std::string>& entries, const std::string& text)
{
    ClearAll();
    for (const auto& entry : entries)
        AddEntry(entry);
    SetText(text);
}

void TextComboBox::InsertEntry(std::size_t index, const std::string& text)
{
    // Adding to an empty list selects the new entry and so replaces the text;
    // the text set from code must survive that.
    const QString shown = currentText();
    insertItem(static_cast<int>(index), Shown(text), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), text);
    if (currentText() != shown)
        setEditText(shown);
}

void TextComboBox::SetText(const std::string& text)
{
    bytes_ = text;
    shown_ = Shown(text);
    setEditText(shown_);
}

std::string TextComboBox::Text() const
{
    const QString shown = currentText();
    if (shown == shown_)
        return bytes_;
    return shown.toUtf8().toStdString();
}

void TextComboBox::Remember(int index)
{
    if (index < 0)
        return;
    const QByteArray bytes = itemData(index).toByteArray();
    bytes_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    shown_ = itemText(index);
}

bool TextComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the edit part would pick the entry that matches the typed text;
    // a drop-down list of this program does nothing on Enter.
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit returnPressed();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

// The list, not its edit part, holds the focus: the edit part only mirrors it.
void TextComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
}

} // namespace zentaro
