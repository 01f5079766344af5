#include "app/WindowShape.h"

#include "app/PictureControl.h"
#include "controls/ColorKey.h"

#include <QBitmap>
#include <QEvent>
#include <QWidget>

namespace zentaro {

QRegion OpaqueRegion(const QImage& picture)
{
    const QImage drawn = WithoutKeyColor(picture, BottomLeftPixel(picture));
    if (drawn.isNull())
        return {};
    return QRegion(QBitmap::fromImage(drawn.createAlphaMask()));
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

} // namespace zentaro
