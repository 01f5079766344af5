#include "app/AmountKeys.h"
#include "app/KeyCharacter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace zentaro {

AmountKeys::AmountKeys(QLineEdit* field, Handlers handlers)
    : QObject(field), field_(field), handlers_(std::move(handlers))
{
    // Every typed character must pass the handler, so none may arrive
    // composed by an input method instead of as a key press.
    field_->setAttribute(Qt::WA_InputMethodEnabled, false);
    field_->installEventFilter(this);
}

bool AmountKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_ && event->type() == QEvent::ContextMenu) {
        handlers_.menu(static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    if (watched != field_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto& press = *static_cast<QKeyEvent*>(event);
    if (press.matches(QKeySequence::Paste)) {
        handlers_.paste();
        return true;
    }
    const std::optional<char32_t> typed = KeyCharacter(press);
    // The field itself would insert an Alt combination's text.
    if (!typed)
        return IsAltCombination(press);
    // The handler runs before the character reaches the field; an error in it
    // discards the character like a refusal does.
    char32_t key = *typed;
    if (!handlers_.keyPress(key) || key == 0)
        return true;
    if (key == kBackspace)
        field_->backspace();
    else
        field_->insert(QString::fromUcs4(&key, 1));
    return true;
}

} // namespace zentaro
