#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace zentaro {

// A key that does one thing wherever the focus is in a window, but only
// while that thing applies: Escape hides the keypad while it is shown, and
// cancels a download while one runs. Otherwise the key reaches the focused
// control as before (Escape typed into the amount field is refused there).
// The key is taken before any control or shortcut sees it, without Shift,
// Ctrl or Alt; of several on the same key, the one made last is asked first.
class WindowKey : public QObject {
    Q_OBJECT

public:
    WindowKey(QWidget* window, int key, std::function<bool()> applies, std::function<void()> run);
    ~WindowKey() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    int key_;
    std::function<bool()> applies_;
    std::function<void()> run_;
};

} // namespace zentaro
