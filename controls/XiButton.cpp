#include "controls/XiButton.h"

#include "controls/ButtonPainting.h"
#include "controls/ColorKey.h"
#include "controls/DialogKeyRouter.h"
#include "controls/PixelImage.h"

#include <QAccessible>
#include <QDialog>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zentaro {

namespace {

constexpr int kInitialWidth = 75;
constexpr int kInitialHeight = 25;
constexpr TColor kWhite = 0x00FFFFFF;

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TXiButton::TXiButton(QWidget* parent) : PaintedControl(parent)
{
    resize(kInitialWidth, kInitialHeight);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetColorScheme(csNeoDesert);
    // Straight into the store, so the scheme still reads csNeoDesert.
    colors_[kOverColorSet + kColorGrad] = kWhite;
    colors_[kDownColorSet + kColorGrad] = kWhite;
    colors_[kDisabledColorSet + kColorGrad] = kWhite;
    DialogKeyRouter::Install();
}

TXiButton::~TXiButton() = default;

TColor TXiButton::Color(int index) const
{
    return ColorAt(colors_, index);
}

void TXiButton::SetColor(int index, TColor color)
{
    if (!StoreColorAt(colors_, index, color))
        return;
    SetColorScheme(csCustom);
    update();
}

void TXiButton::SetColorScheme(TColorScheme scheme)
{
    colorScheme_ = scheme;
    if (const auto colors = ButtonSchemeColors(scheme)) {
        for (int i = 0; i < kButtonColorCount; ++i)
            if ((*colors)[i])
                SetColor(i, *(*colors)[i]);
    }
    if (const auto gradient = ButtonSchemeGradient(scheme))
        SetGradient(*gradient);
    update();
    // Each SetColor above recorded csCustom on the way.
    colorScheme_ = scheme;
}

void TXiButton::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
    // A screen reader names the button by its caption.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

bool TXiButton::TabStop() const
{
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void TXiButton::SetTabStop(bool on)
{
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TXiButton::ShowDrawState(TDrawState state, bool focused)
{
    drawState_ = state;
    focused_ = focused;
    repaint();
}

QSize TXiButton::sizeHint() const
{
    return {kInitialWidth, kInitialHeight};
}

QImage TXiButton::RenderImage() const
{
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return {};
    int base = 0;
    if (!isEnabled())
        base = kDisabledColorSet;
    else if (drawState_ == TDrawState::dsOver)
        base = kOverColorSet;
    else if (drawState_ == TDrawState::dsDown)
        base = kDownColorSet;
    const ButtonStateColors colors{colors_[base + kColorFace], colors_[base + kColorGrad],
                                   colors_[base + kColorDark], colors_[base + kColorLight],
                                   colors_[base + kColorBorder], colors_[base + kColorText]};

    PixelBuffer buffer(w, h);
    PaintButtonFace(buffer, colors, gradient_);

    QImage image = ToQImage(buffer);
    {
        QPainter painter(&image);
        painter.setFont(font());
        painter.setPen(ToQColor(colors.text));
        const QFontMetrics metrics = painter.fontMetrics();

        ButtonContentInput in;
        in.width = w;
        in.height = h;
        in.textWidth = metrics.horizontalAdvance(caption_);
        in.textHeight = metrics.height();
        in.hasCaption = !caption_.isEmpty();
        in.hasGlyph = !glyph_.isNull() && glyph_.width() > 0 && glyph_.height() > 0;
        in.glyphWidth = glyph_.width();
        in.glyphHeight = glyph_.height();
        in.spacing = spacing_;
        in.layout = layout_;
        in.down = drawState_ == TDrawState::dsDown;
        const ButtonContentLayout at = LayoutButtonContent(in);

        if (in.hasGlyph)
            painter.drawImage(at.glyphX, at.glyphY, transparentGlyph_ ? WithoutKeyColor(glyph_, TopLeftPixel(glyph_)) : glyph_);
        if (in.hasCaption) {
            const QRect textRect(at.textLeft, at.textTop, at.textRight - at.textLeft, at.textBottom - at.textTop);
            painter.drawText(textRect,
                             Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::TextDontClip,
                             caption_);
        }
    }

    buffer = FromQImage(image);
    PaintButtonFrame(buffer, colors, ctl3D_, focused_, colors_[kColorFocusRect]);
    return ToQImage(buffer);
}

QChar TXiButton::Accelerator(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return caption[i + 1];
    }
    return {};
}

void TXiButton::Click()
{
    if (parentWidget()) {
        QWidget* form = window();
        form->setProperty("ModalResult", modalResult_);
        if (auto* dialog = qobject_cast<QDialog*>(form); dialog && modalResult_ != 0)
            dialog->done(modalResult_);
    }
    drawState_ = TDrawState::dsNormal;
    repaint();
    emit clicked();
}

bool TXiButton::CanFocus() const
{
    return isVisible() && isEnabled();
}

bool TXiButton::DialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool noModifier = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (((IsEnter(key) && focused_) || (key == Qt::Key_Escape && cancel_)) && noModifier && CanFocus()) {
        Click();
        return true;
    }
    if (default_ && IsEnter(key) && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

bool TXiButton::DialogChar(QChar ch)
{
    const QChar accelerator = Accelerator(caption_);
    if (accelerator.isNull() || ch.toUpper() != accelerator.toUpper() || !isEnabled())
        return false;
    Click();
    return true;
}

void TXiButton::PointerEntered()
{
    pointerInside_ = true;
    if (!hotTrack_)
        return;
    drawState_ = pressed_ ? TDrawState::dsDown : TDrawState::dsOver;
    repaint();
}

void TXiButton::PointerLeft()
{
    pointerInside_ = false;
    drawState_ = TDrawState::dsNormal;
    repaint();
}

void TXiButton::enterEvent(QEnterEvent*)
{
    if (!pointerInside_)
        PointerEntered();
}

void TXiButton::leaveEvent(QEvent*)
{
    if (pointerInside_)
        PointerLeft();
}

void TXiButton::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !pointerInside_)
        PointerEntered();
    else if (!inside && pointerInside_)
        PointerLeft();
}

void TXiButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    ArmClick(*event);
    pressed_ = true;
    pointerInside_ = rect().contains(event->position().toPoint());
    drawState_ = TDrawState::dsDown;
    if (TabStop())
        setFocus(Qt::MouseFocusReason);
    repaint();
}

void TXiButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (ReleaseClicks(*event) && !Survives([this] { Click(); }))
        return;
    const QPoint at = event->position().toPoint();
    pressed_ = false;
    // The top row and left column do not count as inside here, although a
    // release there did click.
    if (at.x() > 0 && at.x() < width() && at.y() > 0 && at.y() < height())
        drawState_ = hotTrack_ ? TDrawState::dsOver : TDrawState::dsNormal;
    repaint();
}

void TXiButton::focusInEvent(QFocusEvent*)
{
    focused_ = true;
    repaint();
}

void TXiButton::focusOutEvent(QFocusEvent*)
{
    focused_ = false;
    drawState_ = TDrawState::dsNormal;
    repaint();
}

void TXiButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space)
        drawState_ = TDrawState::dsDown;
    if (IsEnter(event->key()) && !Survives([this] { Click(); }))
        return;
    repaint();
}

void TXiButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat())
        return;
    drawState_ = TDrawState::dsNormal;
    repaint();
    Click();
}

} // namespace zentaro
