#include "app/KeyCharacter.h"

namespace zentaro {

bool IsAltCombination(const QKeyEvent& event)
{
    return (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier;
}

std::optional<char32_t> KeyCharacter(const QKeyEvent& event)
{
    const int key = event.key();
    const bool control = (event.modifiers() & Qt::ControlModifier) != 0;
    const bool alt = (event.modifiers() & Qt::AltModifier) != 0;
    if (IsAltCombination(event))
        return std::nullopt;
    switch (key) {
    case Qt::Key_Backspace: return control ? kDeleteCharacter : kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kReturn;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return std::nullopt;
    default: break;
    }
    if (control && !alt) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<char32_t>(key - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty() || text.front() == kDeleteCharacter)
        return std::nullopt;
    return static_cast<char32_t>(text.front());
}

} // namespace zentaro
