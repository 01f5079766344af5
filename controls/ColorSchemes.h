#pragma once

#include "controls/ControlTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zentaro {

constexpr int kButtonColorCount = 25;
constexpr int kPanelColorCount = 4;

// The button and the panel each have their own scheme enumeration; the same
// name (csDesert) stands for different colours in the two.
namespace xibutton {
enum class TColorScheme : std::uint8_t {
    csNeoDesert, csNeoSky, csNeoGrass, csNeoSilver, csNeoRose, csNeoSun,
    csDesert, csGrass, csSky, csSun, csRose, csSilver,
    csCustom,
};
} // namespace xibutton

namespace xipanel {
enum class TColorScheme : std::uint8_t { csCustom, csDesert, csGrass, csSilver, csSky, csRose, csSun };
} // namespace xipanel

// Colour indices of the button; each state set is six colours from its base.
enum ButtonColorIndex : int {
    kColorFace, kColorGrad, kColorDark, kColorLight, kColorBorder, kColorText,
    kOverColorSet = 6, kDownColorSet = 12, kDisabledColorSet = 18,
    kColorFocusRect = 24,
};
enum PanelColorIndex : int { kPanelColorFace, kPanelColorGrad, kPanelColorLight, kPanelColorDark };

// Property names in colour-index order.
extern const std::array<std::string_view, kButtonColorCount> kButtonColorNames;
extern const std::array<std::string_view, kPanelColorCount> kPanelColorNames;

// A button scheme's colours by index; nullopt where the scheme keeps the
// colour it finds. csCustom yields nullopt: it changes nothing.
std::optional<std::array<std::optional<TColor>, kButtonColorCount>> ButtonSchemeColors(xibutton::TColorScheme scheme);
// The Gradient value a button scheme sets, if it sets one.
std::optional<bool> ButtonSchemeGradient(xibutton::TColorScheme scheme);
std::optional<std::array<TColor, kPanelColorCount>> PanelSchemeColors(xipanel::TColorScheme scheme);

// Literal names ("csNeoDesert") and their inverse, for tools that read names.
std::string_view SchemeName(xibutton::TColorScheme scheme);
std::string_view SchemeName(xipanel::TColorScheme scheme);
std::optional<xibutton::TColorScheme> ButtonSchemeFromName(std::string_view name);
std::optional<xipanel::TColorScheme> PanelSchemeFromName(std::string_view name);

} // namespace zentaro
