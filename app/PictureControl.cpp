#include "app/PictureControl.h"
#include "controls/ColorKey.h"

#include <QMouseEvent>
#include <QPainter>

namespace zentaro {

PictureControl::PictureControl(QWidget* parent) : PaintedControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void PictureControl::SetPicture(const QImage& picture)
{
    picture_ = picture;
    Prepare();
}

void PictureControl::SetStretch(bool on)
{
    if (stretch_ == on)
        return;
    stretch_ = on;
    update();
}

void PictureControl::SetTransparent(bool on)
{
    transparent_ = on;
    Prepare();
}

void PictureControl::Prepare()
{
    shown_ = transparent_ ? WithoutKeyColor(picture_, BottomLeftPixel(picture_))
                          : picture_.convertToFormat(QImage::Format_ARGB32);
    update();
}

QImage PictureControl::RenderImage() const
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (shown_.isNull())
        return image;
    QPainter painter(&image);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), shown_);
    } else {
        const QPoint at = center_ ? QPoint((width() - shown_.width()) / 2, (height() - shown_.height()) / 2)
                                  : QPoint(0, 0);
        painter.drawImage(at, shown_);
    }
    return image;
}

QSize PictureControl::sizeHint() const { return picture_.isNull() ? QSize(0, 0) : picture_.size(); }

void PictureControl::mousePressEvent(QMouseEvent* event)
{
    ArmClick(*event);
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void PictureControl::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->modifiers(), event->position().toPoint());
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event)
{
    // The click comes before the release, as with the toolkit's controls.
    if (ReleaseClicks(*event) && !Survives([this] { emit clicked(); }))
        return;
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

} // namespace zentaro
