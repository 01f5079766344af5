#include "controls/PaintedControl.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace zentaro {

void PaintedControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderImage());
}

void PaintedControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        update();
}

void PaintedControl::ArmClick(const QMouseEvent& press)
{
    if (press.button() == Qt::LeftButton)
        clickArmed_ = true;
}

bool PaintedControl::ReleaseClicks(const QMouseEvent& release)
{
    if (release.button() != Qt::LeftButton)
        return false;
    const bool click = clickArmed_ && rect().contains(release.position().toPoint());
    clickArmed_ = false;
    return click;
}

bool PaintedControl::Survives(const std::function<void()>& raise)
{
    const QPointer<PaintedControl> self(this);
    raise();
    return !self.isNull();
}

} // namespace zentaro
