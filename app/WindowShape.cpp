#include "app/WindowShape.h"

#include "app/PictureControl.h"

#include <QBitmap>
#include <QEvent>
#include <QWidget>

QRegion OpaqueRegion(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QRgb key = picture.pixel(0, picture.height() - 1);
    // The mask image has its bits set on the key colour, and a bitmap's
    // region is made of its cleared bits.
    return QRegion(QBitmap::fromImage(picture.createMaskFromColor(key, Qt::MaskInColor)));
}

WindowShape::WindowShape(QWidget* window, const PictureControl* background)
    : window_(window), background_(background), backgroundRegion_(OpaqueRegion(background->Picture()))
{
    for (QWidget* control : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control != background_)
            control->installEventFilter(this);
    Update();
}

QRegion WindowShape::Region() const
{
    QRegion region = backgroundRegion_.translated(background_->pos());
    for (const QWidget* control : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control != background_ && !control->isWindow() && control->isVisibleTo(window_))
            region += control->geometry();
    return region;
}

void WindowShape::Update()
{
    const QRegion region = Region();
    if (region != window_->mask())
        window_->setMask(region);
}

bool WindowShape::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
        Update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
