#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace zentaro {

// One command of the window: its text as the menu shows it, its shortcut,
// and what it runs.
struct WindowCommand {
    QString text;
    QKeySequence shortcut;
    std::function<void()> run;
};

// The window's commands, each a shortcut anywhere in the window and an entry
// with that shortcut in the background menu; the menu's check items follow
// the commands. The menu opens on a context request that reaches the window
// (the right button on the background, the pictures and the labels; the
// Menu key on the window system's side) and on the Menu key and Shift+F10
// from anywhere in the window.
class WindowCommands : public QObject {
    Q_OBJECT

public:
    explicit WindowCommands(QWidget* window);

    QAction* Add(const WindowCommand& command);
    QAction* AddCheck(const QString& text, bool checked, std::function<void(bool)> toggled);

    QMenu* Menu() const { return menu_; }
    // Opens the menu at a point on the screen without waiting for it.
    void PopUp(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint KeyboardPosition() const;

    QWidget* window_;
    QMenu* menu_;
    QAction* checksSeparator_ = nullptr;
};

} // namespace zentaro
