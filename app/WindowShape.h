#pragma once

#include <QImage>
#include <QObject>
#include <QRegion>

class QWidget;

namespace zentaro {

class PictureControl;

// The pixels of a picture that are not of its bottom-left colour.
QRegion OpaqueRegion(const QImage& picture);

// Keeps a window's mask equal to its visible shape: the opaque pixels of its
// transparent background picture together with the boxes of the controls
// shown on it; the picture's see-through pixels and whatever it leaves
// uncovered are cut away. Qt has no colour-keyed windows; the mask stands in
// for the colour key, so that the see-through parts are neither drawn nor
// take the mouse. It follows the controls as they are shown, hidden, moved or
// resized.
class WindowShape : public QObject {
    Q_OBJECT

public:
    // The window's controls are those it holds when the shape is made.
    WindowShape(QWidget* window, const PictureControl* background);

    void Update();
    QRegion Region() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    const PictureControl* background_;
    QRegion backgroundRegion_;
};

} // namespace zentaro
