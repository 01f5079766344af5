#pragma once

#include "controls/ColorSchemes.h"
#include "controls/ControlTypes.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

namespace zentaro {

// A container whose whole client area is a two-colour gradient, with a
// caption and raised, lowered or no bevels in colours of its own. Child
// widgets are drawn over it as usual.
class TXiPanel : public QWidget {
    Q_OBJECT

public:
    using TColorScheme = xipanel::TColorScheme;
    using enum xipanel::TColorScheme;

    explicit TXiPanel(QWidget* parent = nullptr);

    // ColorFace = 0, ColorGrad = 1, ColorLight = 2, ColorDark = 3. Setting
    // one records csCustom without applying it.
    TColor Color(int index) const;
    void SetColor(int index, TColor color);

    TColor ColorFace() const { return Color(kPanelColorFace); }
    TColor ColorGrad() const { return Color(kPanelColorGrad); }
    TColor ColorLight() const { return Color(kPanelColorLight); }
    TColor ColorDark() const { return Color(kPanelColorDark); }
    void SetColorFace(TColor c) { SetColor(kPanelColorFace, c); }
    void SetColorGrad(TColor c) { SetColor(kPanelColorGrad, c); }
    void SetColorLight(TColor c) { SetColor(kPanelColorLight, c); }
    void SetColorDark(TColor c) { SetColor(kPanelColorDark, c); }

    TColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TColorScheme scheme);
    TFillDirection FillDirection() const { return fillDirection_; }
    void SetFillDirection(TFillDirection direction);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);

    // The image one paint copies to the screen, exactly width() x height().
    QImage RenderImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::array<TColor, kPanelColorCount> colors_{};
    TColorScheme colorScheme_ = csDesert;
    TFillDirection fillDirection_ = TFillDirection::fdVertical;
    QString caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    int bevelWidth_ = 1;
};

} // namespace zentaro
