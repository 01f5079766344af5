#pragma once

#include "controls/ColorSchemes.h"
#include "controls/ControlTypes.h"
#include "controls/PaintedControl.h"

#include <QString>

#include <array>
#include <cstdint>

namespace zentaro {

// A push button that paints itself: a gradient or flat face, a border,
// light and dark inner edges, a glyph beside the caption and a focus
// rectangle, in one of four colour sets (normal, over, down, disabled).
//
// It clicks by mouse, Space, Enter, its caption's accelerator, Escape when
// Cancel is set and Enter anywhere in its window when Default is set; see
// DialogKeyRouter for the last three. A click stores ModalResult in the
// "ModalResult" property of the button's window (and ends a QDialog with
// it when it is not 0), then emits clicked().
class TXiButton : public PaintedControl {
    Q_OBJECT

public:
    using TColorScheme = xibutton::TColorScheme;
    using enum xibutton::TColorScheme;

    explicit TXiButton(QWidget* parent = nullptr);
    ~TXiButton() override;

    // The 25 colours by index (ColorFace = 0 ... ColorFocusRect = 24).
    // Setting one makes the scheme csCustom.
    TColor Color(int index) const;
    void SetColor(int index, TColor color);

    TColor ColorFace() const { return Color(0); }
    TColor ColorGrad() const { return Color(1); }
    TColor ColorDark() const { return Color(2); }
    TColor ColorLight() const { return Color(3); }
    TColor ColorBorder() const { return Color(4); }
    TColor ColorText() const { return Color(5); }
    TColor OverColorFace() const { return Color(6); }
    TColor OverColorGrad() const { return Color(7); }
    TColor OverColorDark() const { return Color(8); }
    TColor OverColorLight() const { return Color(9); }
    TColor OverColorBorder() const { return Color(10); }
    TColor OverColorText() const { return Color(11); }
    TColor DownColorFace() const { return Color(12); }
    TColor DownColorGrad() const { return Color(13); }
    TColor DownColorDark() const { return Color(14); }
    TColor DownColorLight() const { return Color(15); }
    TColor DownColorBorder() const { return Color(16); }
    TColor DownColorText() const { return Color(17); }
    TColor DisabledColorFace() const { return Color(18); }
    TColor DisabledColorGrad() const { return Color(19); }
    TColor DisabledColorDark() const { return Color(20); }
    TColor DisabledColorLight() const { return Color(21); }
    TColor DisabledColorBorder() const { return Color(22); }
    TColor DisabledColorText() const { return Color(23); }
    TColor ColorFocusRect() const { return Color(24); }

    void SetColorFace(TColor c) { SetColor(0, c); }
    void SetColorGrad(TColor c) { SetColor(1, c); }
    void SetColorDark(TColor c) { SetColor(2, c); }
    void SetColorLight(TColor c) { SetColor(3, c); }
    void SetColorBorder(TColor c) { SetColor(4, c); }
    void SetColorText(TColor c) { SetColor(5, c); }
    void SetOverColorFace(TColor c) { SetColor(6, c); }
    void SetOverColorGrad(TColor c) { SetColor(7, c); }
    void SetOverColorDark(TColor c) { SetColor(8, c); }
    void SetOverColorLight(TColor c) { SetColor(9, c); }
    void SetOverColorBorder(TColor c) { SetColor(10, c); }
    void SetOverColorText(TColor c) { SetColor(11, c); }
    void SetDownColorFace(TColor c) { SetColor(12, c); }
    void SetDownColorGrad(TColor c) { SetColor(13, c); }
    void SetDownColorDark(TColor c) { SetColor(14, c); }
    void SetDownColorLight(TColor c) { SetColor(15, c); }
    void SetDownColorBorder(TColor c) { SetColor(16, c); }
    void SetDownColorText(TColor c) { SetColor(17, c); }
    void SetDisabledColorFace(TColor c) { SetColor(18, c); }
    void SetDisabledColorGrad(TColor c) { SetColor(19, c); }
    void SetDisabledColorDark(TColor c) { SetColor(20, c); }
    void SetDisabledColorLight(TColor c) { SetColor(21, c); }
    void SetDisabledColorBorder(TColor c) { SetColor(22, c); }
    void SetDisabledColorText(TColor c) { SetColor(23, c); }
    void SetColorFocusRect(TColor c) { SetColor(24, c); }

    TColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TColorScheme scheme);

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on) { Store(ctl3D_, on); }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout) { Store(layout_, layout); }
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& glyph) { Store(glyph_, glyph.copy()); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing) { Store(spacing_, spacing); }
    bool TransparentGlyph() const { return transparentGlyph_; }
    void SetTransparentGlyph(bool on) { Store(transparentGlyph_, on); }
    bool Gradient() const { return gradient_; }
    void SetGradient(bool on) { Store(gradient_, on); }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool on) { hotTrack_ = on; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    std::int32_t ModalResult() const { return modalResult_; }
    void SetModalResult(std::int32_t result) { modalResult_ = result; }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool TabStop() const;
    void SetTabStop(bool on);

    TDrawState DrawState() const { return drawState_; }
    bool Pressed() const { return pressed_; }
    bool Focused() const { return focused_; }
    // Shows a draw state and focused flag without the events that lead
    // there; for rendering the looks of the states off screen.
    void ShowDrawState(TDrawState state, bool focused);

    QImage RenderImage() const override;

    // The character after the first single '&' of a caption, or a null QChar.
    static QChar Accelerator(const QString& caption);

    // Raises the click: modal result, draw state normal, redraw, clicked().
    void Click();
    // The keys and characters a window offers its buttons before the
    // focused control; true when this button took it.
    bool DialogKey(int key, Qt::KeyboardModifiers modifiers);
    bool DialogChar(QChar ch);
    // Visible and enabled up to its window.
    bool CanFocus() const;

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void PointerEntered();
    void PointerLeft();

    std::array<TColor, kButtonColorCount> colors_{};
    TColorScheme colorScheme_ = csNeoDesert;
    bool ctl3D_ = true;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    QImage glyph_;
    int spacing_ = 4;
    bool transparentGlyph_ = true;
    bool gradient_ = true;
    bool hotTrack_ = true;
    bool cancel_ = false;
    bool default_ = false;
    std::int32_t modalResult_ = 0;
    QString caption_;

    TDrawState drawState_ = TDrawState::dsNormal;
    bool pressed_ = false;
    bool focused_ = false;
    // Whether the pointer was last seen over the button. While the mouse is
    // grabbed, moves stand in for enter and leave.
    bool pointerInside_ = false;
};

} // namespace zentaro
