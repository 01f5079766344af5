#pragma once

#include "controls/PaintedControl.h"

namespace zentaro {

// A picture on the window: drawn at its natural size at the top-left or
// centred, or stretched over the whole box, and without the pixels of its
// bottom-left colour when transparent. It takes no focus and reports the
// mouse as the window's handlers want it: press, move and release with the
// button, the modifiers and the position, and a click on a left release over
// it after a left press on it.
class PictureControl : public PaintedControl {
    Q_OBJECT

public:
    explicit PictureControl(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    bool Stretch() const { return stretch_; }
    // Repaints only when the value changes.
    void SetStretch(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on) { Store(center_, on); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // See-through where nothing is drawn.
    QImage RenderImage() const override;

    QSize sizeHint() const override;

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void mouseMove(Qt::KeyboardModifiers shift, QPoint position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Prepare();

    QImage picture_;
    QImage shown_; // the picture as drawn: transparency applied
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

} // namespace zentaro
