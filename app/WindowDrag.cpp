#include "app/WindowDrag.h"
#include "app/WindowSettings.h"

#include <QWidget>

namespace zentaro {

void WindowDrag::Press(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    if (enabled_ && settings_.startSystemMove(window_.windowHandle()))
        return;
    dragging_ = true;
    offset_ = settings_.cursorPos() - window_.frameGeometry().topLeft();
}

void WindowDrag::Move()
{
    if (dragging_ && enabled_)
        window_.move(settings_.cursorPos() - offset_);
}

void WindowDrag::Release(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        dragging_ = false;
}

} // namespace zentaro
