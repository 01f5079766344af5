#include "app/WindowKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace zentaro {

WindowKey::WindowKey(QWidget* window, int key, std::function<bool()> applies, std::function<void()> run)
    : QObject(window), window_(window), key_(key), applies_(std::move(applies)), run_(std::move(run))
{
    // On the application, so that the key is seen before the focused
    // control's own filters and before the shortcuts.
    qApp->installEventFilter(this);
}

WindowKey::~WindowKey() { qApp->removeEventFilter(this); }

bool WindowKey::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !watched->isWidgetType())
        return false;
    const auto* press = static_cast<QKeyEvent*>(event);
    if (press->key() != key_ || (press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_ || !applies_())
        return false;
    // The probe for shortcuts is only claimed; the press itself runs.
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    run_();
    return true;
}

} // namespace zentaro
