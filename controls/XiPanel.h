#pragma once

#include "controls/ColorSchemes.h"
#include "controls/ControlTypes.h"
#include "controls/PaintedControl.h"

#include <QString>

#include <array>

namespace zentaro {

// A container whose whole client area is a two-colour gradient, with a
// caption and raised, lowered or no bevels in colours of its own. Child
// widgets are drawn over it as usual.
class TXiPanel : public PaintedControl {
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
    void SetFillDirection(TFillDirection direction) { Store(fillDirection_, direction); }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { Store(caption_, caption); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { Store(alignment_, alignment); }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut) { Store(bevelInner_, cut); }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut) { Store(bevelOuter_, cut); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width) { Store(bevelWidth_, width); }

    QImage RenderImage() const override;

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
