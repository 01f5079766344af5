#include "app/KeypadNavigation.h"
#include "app/WindowKey.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <vector>

namespace zentaro {

namespace {

// Twice a centre, so that it stays whole.
int DoubleCentre(int start, int length) { return 2 * start + length; }

bool Overlap(int start1, int length1, int start2, int length2)
{
    return start1 < start2 + length2 && start2 < start1 + length1;
}

} // namespace

int KeyInDirection(std::span<const QRect> boxes, int from, int arrowKey)
{
    if (from < 0 || from >= static_cast<int>(boxes.size()))
        return -1;
    const QRect origin = boxes[from];
    const bool horizontal = arrowKey == Qt::Key_Left || arrowKey == Qt::Key_Right;
    if (!horizontal && arrowKey != Qt::Key_Up && arrowKey != Qt::Key_Down)
        return -1;
    int best = -1;
    int bestGap = 0;
    int bestOffset = 0;
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
        const QRect box = boxes[i];
        if (i == from || box.isEmpty())
            continue;
        int gap = 0;
        switch (arrowKey) {
        case Qt::Key_Left: gap = origin.x() - (box.x() + box.width()); break;
        case Qt::Key_Right: gap = box.x() - (origin.x() + origin.width()); break;
        case Qt::Key_Up: gap = origin.y() - (box.y() + box.height()); break;
        default: gap = box.y() - (origin.y() + origin.height()); break;
        }
        const bool level = horizontal ? Overlap(origin.y(), origin.height(), box.y(), box.height())
                                      : Overlap(origin.x(), origin.width(), box.x(), box.width());
        if (gap < 0 || !level)
            continue;
        const int offset = horizontal
                               ? std::abs(DoubleCentre(box.y(), box.height()) - DoubleCentre(origin.y(), origin.height()))
                               : std::abs(DoubleCentre(box.x(), box.width()) - DoubleCentre(origin.x(), origin.width()));
        if (best < 0 || gap < bestGap || (gap == bestGap && offset < bestOffset)) {
            best = i;
            bestGap = gap;
            bestOffset = offset;
        }
    }
    return best;
}

KeypadNavigation::KeypadNavigation(QWidget* panel, std::function<void()> hide)
    : QObject(panel), keys_(panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
{
    new WindowKey(panel->window(), Qt::Key_Escape,
                  [panel = QPointer<QWidget>(panel)] { return panel && !panel->isHidden(); }, std::move(hide));
    for (QWidget* key : keys_)
        key->installEventFilter(this);
}

bool KeypadNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* press = static_cast<QKeyEvent*>(event);
    if ((press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (press->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return MoveFocus(static_cast<QWidget*>(watched), press->key());
    default: return false;
    }
}

// An arrow with no key that way stays on the key: it is taken all the same,
// so that it never reaches the key as a press of its own.
bool KeypadNavigation::MoveFocus(QWidget* key, int arrowKey)
{
    std::vector<QRect> boxes;
    boxes.reserve(keys_.size());
    for (const QWidget* each : keys_)
        boxes.push_back(each == key || (each->isEnabled() && !each->isHidden()) ? each->geometry() : QRect());
    const int to = KeyInDirection(boxes, static_cast<int>(keys_.indexOf(key)), arrowKey);
    if (to >= 0)
        keys_[to]->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace zentaro
