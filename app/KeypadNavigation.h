#pragma once

#include <QObject>
#include <QRect>

#include <functional>
#include <span>

class QWidget;

namespace zentaro {

// The key that an arrow key moves the focus to from key `from`: the nearest
// key lying wholly that way and level with it (sharing rows for Left and
// Right, columns for Up and Down); the closer centre breaks a tie, then the
// earlier key. Keys with an empty box (disabled ones) are passed over.
// -1 when there is none, and for any other key.
int KeyInDirection(std::span<const QRect> boxes, int from, int arrowKey);

// While the keypad is shown, the arrow keys walk its keys in their grid and
// Escape, wherever the focus is in the window, runs hide.
class KeypadNavigation : public QObject {
    Q_OBJECT

public:
    // The panel's keys are its child widgets as they are now.
    KeypadNavigation(QWidget* panel, std::function<void()> hide);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool MoveFocus(QWidget* key, int arrowKey);

    QList<QWidget*> keys_;
};

} // namespace zentaro
