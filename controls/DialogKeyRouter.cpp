#include "controls/DialogKeyRouter.h"

#include "controls/XiButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace zentaro {

namespace {

QPointer<DialogKeyRouter>& Instance()
{
    static QPointer<DialogKeyRouter> router;
    return router;
}

// The focused button first, so that Enter on it is never taken by a default
// button; then the others in child order.
QList<TXiButton*> ButtonsOf(QWidget* window, QWidget* focus)
{
    QList<TXiButton*> buttons = window->findChildren<TXiButton*>();
    buttons.removeIf([window](TXiButton* b) { return b->window() != window; });
    if (auto* focused = qobject_cast<TXiButton*>(focus); focused && buttons.removeOne(focused))
        buttons.prepend(focused);
    return buttons;
}

// The character a key stands for as an accelerator; letters and digits by
// their key so that Alt does not hide them.
QChar AcceleratorChar(const QKeyEvent& key)
{
    const int k = key.key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return QChar(k);
    const QString text = key.text();
    if (text.size() == 1 && text[0].isPrint())
        return text[0];
    return {};
}

} // namespace

void DialogKeyRouter::Install()
{
    auto& router = Instance();
    if (router || !qApp)
        return;
    router = new DialogKeyRouter(qApp);
    qApp->installEventFilter(router);
}

bool DialogKeyRouter::FocusedControlWantsKey(QWidget* target, const QKeyEvent& key)
{
    QKeyEvent probe(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text(), key.isAutoRepeat(),
                    static_cast<quint16>(key.count()));
    probe.setAccepted(false);
    QCoreApplication::sendEvent(target, &probe);
    return probe.isAccepted();
}

bool DialogKeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    // A key press travels up the parents when ignored; offer it only once,
    // on its first delivery.
    QWidget* focus = QApplication::focusWidget();
    if (focus ? target != focus : !target->isWindow())
        return false;

    const QList<TXiButton*> buttons = ButtonsOf(target->window(), focus);
    if (buttons.isEmpty())
        return false;

    const auto& key = static_cast<const QKeyEvent&>(*event);
    const int k = key.key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
        if (FocusedControlWantsKey(target, key))
            return false;
        for (TXiButton* button : buttons)
            if (button->DialogKey(k, key.modifiers()))
                return true;
        return false;
    }

    const QChar ch = AcceleratorChar(key);
    if (ch.isNull() || (key.modifiers() & Qt::ControlModifier))
        return false;
    if (!(key.modifiers() & Qt::AltModifier) && FocusedControlWantsKey(target, key))
        return false;
    for (TXiButton* button : buttons)
        if (button->DialogChar(ch))
            return true;
    return false;
}

} // namespace zentaro
