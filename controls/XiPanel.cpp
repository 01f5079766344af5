#include "controls/XiPanel.h"

#include "controls/GradientPainting.h"
#include "controls/PanelPainting.h"
#include "controls/PixelImage.h"

#include <QFontMetrics>
#include <QPainter>

namespace zentaro {

namespace {

// The caption is centred on the line height of this sample, not of its own
// text, so every caption of a font sits at the same height.
const QString kHeightSample = QStringLiteral("AaBbCcDd");

} // namespace

TXiPanel::TXiPanel(QWidget* parent) : PaintedControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    fillDirection_ = TFillDirection::fdVertical;
    SetColorScheme(csDesert);
}

TColor TXiPanel::Color(int index) const
{
    return ColorAt(colors_, index);
}

void TXiPanel::SetColor(int index, TColor color)
{
    if (!StoreColorAt(colors_, index, color))
        return;
    colorScheme_ = csCustom;
    update();
}

void TXiPanel::SetColorScheme(TColorScheme scheme)
{
    colorScheme_ = scheme;
    if (const auto colors = PanelSchemeColors(scheme))
        colors_ = *colors;
    update();
}

QImage TXiPanel::RenderImage() const
{
    if (width() <= 0 || height() <= 0)
        return {};
    // Where no gradient line falls (column 0 of a diagonal fill) the face shows.
    PixelBuffer buffer(width(), height(), colors_[kPanelColorFace]);
    PaintGradient(buffer, colors_[kPanelColorFace], colors_[kPanelColorGrad], fillDirection_);

    if (!caption_.isEmpty()) {
        QImage image = ToQImage(buffer);
        {
            QPainter painter(&image);
            painter.setFont(font());
            painter.setPen(palette().color(QPalette::WindowText));
            const QFontMetrics metrics = painter.fontMetrics();
            const int x = PanelCaptionX(buffer.width, metrics.horizontalAdvance(caption_), alignment_, bevelWidth_,
                                        bevelOuter_, bevelInner_);
            const int y = (buffer.height - metrics.size(Qt::TextSingleLine, kHeightSample).height()) / 2;
            painter.drawText(x, y + metrics.ascent(), caption_);
        }
        buffer = FromQImage(image);
    }

    PaintPanelBevels(buffer, bevelOuter_, bevelInner_, bevelWidth_, colors_[kPanelColorLight],
                     colors_[kPanelColorDark]);
    return ToQImage(buffer);
}

} // namespace zentaro
