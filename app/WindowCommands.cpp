#include "app/WindowCommands.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QWidget>

namespace zentaro {

WindowCommands::WindowCommands(QWidget* window) : QObject(window), window_(window), menu_(new QMenu(window))
{
    menu_->setObjectName(QStringLiteral("backgroundMenu"));
    auto* open = new QAction(this);
    open->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    open->setShortcutContext(Qt::WindowShortcut);
    connect(open, &QAction::triggered, this, [this] { PopUp(KeyboardPosition()); });
    window_->addAction(open);
    window_->installEventFilter(this);
}

QAction* WindowCommands::Add(const WindowCommand& command)
{
    auto* action = new QAction(command.text, this);
    action->setShortcut(command.shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, [run = command.run] { run(); });
    window_->addAction(action);
    if (checksSeparator_)
        menu_->insertAction(checksSeparator_, action);
    else
        menu_->addAction(action);
    return action;
}

QAction* WindowCommands::AddCheck(const QString& text, bool checked, std::function<void(bool)> toggled)
{
    if (!checksSeparator_)
        checksSeparator_ = menu_->addSeparator();
    auto* action = menu_->addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    connect(action, &QAction::toggled, this, [toggled = std::move(toggled)](bool on) { toggled(on); });
    return action;
}

void WindowCommands::PopUp(const QPoint& globalPosition) { menu_->popup(globalPosition); }

// Below the focused control, as a keyboard user expects, else at the
// window's middle.
QPoint WindowCommands::KeyboardPosition() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == window_)
        return focus->mapToGlobal(QPoint(0, focus->height()));
    return window_->mapToGlobal(window_->rect().center());
}

bool WindowCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::ContextMenu) {
        const auto& request = *static_cast<QContextMenuEvent*>(event);
        // A right press while the left button drags the window is part of the drag.
        if (request.reason() == QContextMenuEvent::Mouse && (QApplication::mouseButtons() & Qt::LeftButton))
            return true;
        PopUp(request.reason() == QContextMenuEvent::Mouse ? request.globalPos() : KeyboardPosition());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zentaro
