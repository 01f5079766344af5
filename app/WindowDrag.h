#pragma once

#include <QPoint>

class QWidget;

namespace zentaro {

struct WindowSettings;

// A frameless window moved by a drag on its background, the way Qt's
// shapedclock example moves one: the offset between the pointer and the
// window's top-left is kept from the press, and each move while the left
// button is down places the window by the pointer's screen position, so the
// grabbed point stays under the pointer however fast it moves. A Wayland
// client cannot place its own window: there the drag goes to the window
// system.
class WindowDrag {
public:
    // The pointer's position and the window system's move come from settings.
    WindowDrag(QWidget& window, const WindowSettings& settings) : window_(window), settings_(settings) {}

    // Until enabled, a press starts no drag that moves the window.
    bool Enabled() const { return enabled_; }
    void Enable() { enabled_ = true; }
    bool Dragging() const { return dragging_; }

    void Press(Qt::MouseButton button);
    void Move();
    void Release(Qt::MouseButton button);

private:
    QWidget& window_;
    const WindowSettings& settings_;
    bool enabled_ = false;
    bool dragging_ = false;
    QPoint offset_; // pointer minus window position, in screen pixels
};

} // namespace zentaro
