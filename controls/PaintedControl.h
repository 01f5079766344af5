#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <utility>

class QMouseEvent;

namespace zentaro {

// What the self-painted controls share: a paint copies the image
// RenderImage draws, which depends only on the properties and the draw
// state, so a test can read its pixels; a property's setter stores and
// repaints; a click is a left release over the control after a left press
// on it.
class PaintedControl : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // What one paint draws, exactly width() x height().
    virtual QImage RenderImage() const = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Captions follow the font, and the looks the enabled state.
    void changeEvent(QEvent* event) override;

    template <typename T, typename Value>
    void Store(T& property, Value&& value)
    {
        property = std::forward<Value>(value);
        update();
    }

    // A left press arms the click; the left release says whether it clicks.
    void ArmClick(const QMouseEvent& press);
    bool ReleaseClicks(const QMouseEvent& release);
    // Runs what a click or key raises, which may delete the control (a
    // click that closes its window); false when the control is gone.
    bool Survives(const std::function<void()>& raise);

private:
    bool clickArmed_ = false;
};

} // namespace zentaro
