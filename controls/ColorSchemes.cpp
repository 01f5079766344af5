#include "controls/ColorSchemes.h"

namespace zentaro {

const std::array<std::string_view, kButtonColorCount> kButtonColorNames = {
    "ColorFace", "ColorGrad", "ColorDark", "ColorLight", "ColorBorder", "ColorText",
    "OverColorFace", "OverColorGrad", "OverColorDark", "OverColorLight", "OverColorBorder", "OverColorText",
    "DownColorFace", "DownColorGrad", "DownColorDark", "DownColorLight", "DownColorBorder", "DownColorText",
    "DisabledColorFace", "DisabledColorGrad", "DisabledColorDark", "DisabledColorLight", "DisabledColorBorder",
    "DisabledColorText",
    "ColorFocusRect",
};

const std::array<std::string_view, kPanelColorCount> kPanelColorNames = {
    "ColorFace", "ColorGrad", "ColorLight", "ColorDark",
};

namespace {

constexpr int kNeoCount = 6;
constexpr int kClassicEnd = 12;

// The face, dark edge, light edge and border of one state set. Every scheme
// draws the normal, over and pressed captions black.
struct SetColors {
    TColor face, dark, light, border;
};
struct ButtonScheme {
    SetColors normal, over, down;
    TColor focusRect;
};

// The twelve button schemes in the order of their ordinals: six neo, then six classic.
constexpr std::array<ButtonScheme, kClassicEnd> kButtonSchemes = {{
    {{0x00C6ECFF, 0x00009CE8, 0x00B9E7FF, 0x00005680}, // csNeoDesert
     {0x00B3E7FF, 0x00008ED2, 0x0095DAFF, 0x00005680},
     {0x002BBAFF, 0x008AD9FF, 0x000077B7, 0x000070A6}, 0x004080FF},
    {{0x00FFEEDD, 0x00FFA851, 0x00FFECD9, 0x00B35900}, // csNeoSky
     {0x00FFEBD7, 0x00FF9E3E, 0x00FFE4CA, 0x00B35900},
     {0x00FFB366, 0x00FFD3A8, 0x00FF9E3E, 0x00B35900}, 0x00FFA953},
    {{0x00DDF9E8, 0x0024B95C, 0x00CBF5DB, 0x00156F37}, // csNeoGrass
     {0x00BFF2D2, 0x0023B459, 0x00B5F0CB, 0x0017793D},
     {0x004EDC83, 0x0089E7AC, 0x00177D3E, 0x00167439}, 0x0024B95C},
    {{0x00F3F3F3, 0x00A7A7A7, 0x00F7F7F7, 0x00626262}, // csNeoSilver
     {0x00F0F0F0, 0x00A2A2A2, 0x00EEEEEE, 0x00757575},
     {0x00CACACA, 0x00E9E9E9, 0x007C7C7C, 0x004E4E4E}, 0x00ADADAD},
    {{0x00E8E8FF, 0x008282FF, 0x00DDDDFF, 0x0000009D}, // csNeoRose
     {0x00DFDFFF, 0x006A6AFF, 0x00D7D7FF, 0x0000009D},
     {0x00A6A6FF, 0x00CECEFF, 0x005E5EFF, 0x0000009D}, 0x005E5EFF},
    {{0x00F0FFFF, 0x0000BBBB, 0x00F2FFFF, 0x00006464}, // csNeoSun
     {0x00D5FCFF, 0x0000A6A6, 0x00CCFFFF, 0x00006464},
     {0x0005D1F5, 0x0066F3FF, 0x00008484, 0x00006464}, 0x0000BBBB},
    {{0x0095DDFF, 0x00009CE8, 0x00B9E7FF, 0x00005680}, // csDesert
     {0x006FD0FF, 0x00008ED2, 0x0095DAFF, 0x00005680},
     {0x006FD0FF, 0x008AD9FF, 0x000077B7, 0x000070A6}, 0x004080FF},
    {{0x0098EBB7, 0x0024B95C, 0x00CBF5DB, 0x00156F37}, // csGrass
     {0x0068E196, 0x0023B459, 0x00B5F0CB, 0x0017793D},
     {0x004EDC83, 0x0089E7AC, 0x00177D3E, 0x00167439}, 0x0000A421},
    {{0x00FFE0C1, 0x00FFA953, 0x00FFECD9, 0x00B35900}, // csSky
     {0x00FFCD9B, 0x00FFB164, 0x00FFE4CA, 0x00B35900},
     {0x00FFC082, 0x00FFD3A8, 0x00FF9122, 0x00B35900}, 0x00DC9B14},
    {{0x00A8FFFF, 0x0000BBBB, 0x00F2FFFF, 0x00006464}, // csSun
     {0x0066F3FF, 0x0000A6A6, 0x00CCFFFF, 0x00006464},
     {0x0022EEFF, 0x0066F3FF, 0x00008484, 0x00006464}, 0x00008CF4},
    {{0x00C6C6FF, 0x008282FF, 0x00DDDDFF, 0x0000009D}, // csRose
     {0x00B0B0FF, 0x006A6AFF, 0x00D7D7FF, 0x0000009D},
     {0x009F9FFF, 0x008888FF, 0x005E5EFF, 0x0000009D}, 0x005E5EFF},
    {{0x00E0E0E0, 0x00AEAEAE, 0x00F7F7F7, 0x00626262}, // csSilver
     {0x00CFCFCF, 0x00797979, 0x00EEEEEE, 0x00757575},
     {0x00D3D3D3, 0x00E9E9E9, 0x007C7C7C, 0x004E4E4E}, 0x008A8A8A},
}};

// Only the neo schemes have gradient ends (normal, over, pressed); a classic
// scheme keeps the four it finds.
constexpr std::array<std::array<TColor, 3>, kNeoCount> kNeoGradientEnds = {{
    {0x0037BEFF, 0x0000A3F0, 0x0077D2FF}, // csNeoDesert
    {0x00FFB66C, 0x00FFA346, 0x00FFCE9D}, // csNeoSky
    {0x005EDF8E, 0x003DD877, 0x0080E6A6}, // csNeoGrass
    {0x00BCBCBC, 0x00A6A6A6, 0x00DADADA}, // csNeoSilver
    {0x009595FF, 0x007777FF, 0x00B9B9FF}, // csNeoRose
    {0x0020D8F9, 0x0005BCDC, 0x0066F0FB}, // csNeoSun
}};

// The disabled set is one per family; its caption is grey in both.
constexpr SetColors kNeoDisabled = {0x00EEEEEE, 0x00D2D2D2, 0x00FFFFFF, 0x00808080};
constexpr TColor kNeoDisabledGrad = 0x00FFFFFF;
constexpr SetColors kClassicDisabled = {0x00E2E2E2, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4};
constexpr TColor kCaptionColor = 0x00000000;
constexpr TColor kDisabledCaptionColor = 0x00808080;

// Panel schemes csDesert to csSun: gradient end, light bevel, dark bevel. The
// gradient always starts from a white face.
struct PanelScheme {
    TColor grad, light, dark;
};
constexpr TColor kPanelFace = 0x00FFFFFF;
constexpr std::array<PanelScheme, 6> kPanelSchemes = {{
    {0x00A4E1FF, 0x00008FD5, 0x0000699B}, // csDesert
    {0x00B0F2CB, 0x003EB56A, 0x00156F37}, // csGrass
    {0x00DAE0DE, 0x007D7D7D, 0x00626262}, // csSilver
    {0x00FFE0C1, 0x00F0964D, 0x00B35900}, // csSky
    {0x00CCCCFF, 0x000651CC, 0x0000009D}, // csRose
    {0x00BFFFFF, 0x00009595, 0x00006464}, // csSun
}};

constexpr std::array<std::string_view, 13> kButtonSchemeNames = {
    "csNeoDesert", "csNeoSky", "csNeoGrass", "csNeoSilver", "csNeoRose", "csNeoSun",
    "csDesert", "csGrass", "csSky", "csSun", "csRose", "csSilver", "csCustom",
};
constexpr std::array<std::string_view, 7> kPanelSchemeNames = {
    "csCustom", "csDesert", "csGrass", "csSilver", "csSky", "csRose", "csSun",
};

} // namespace

std::optional<std::array<std::optional<TColor>, kButtonColorCount>> ButtonSchemeColors(xibutton::TColorScheme scheme)
{
    const int k = static_cast<int>(scheme);
    if (k >= kClassicEnd)
        return std::nullopt;
    const bool neo = k < kNeoCount;
    std::array<std::optional<TColor>, kButtonColorCount> colors;
    const auto fill = [&colors](int base, const SetColors& set, std::optional<TColor> grad, TColor caption) {
        colors[base + kColorFace] = set.face;
        colors[base + kColorGrad] = grad;
        colors[base + kColorDark] = set.dark;
        colors[base + kColorLight] = set.light;
        colors[base + kColorBorder] = set.border;
        colors[base + kColorText] = caption;
    };
    const auto& row = kButtonSchemes[k];
    const auto gradEnd = [&](int set) -> std::optional<TColor> {
        if (!neo)
            return std::nullopt;
        return set < 3 ? kNeoGradientEnds[k][set] : kNeoDisabledGrad;
    };
    fill(0, row.normal, gradEnd(0), kCaptionColor);
    fill(kOverColorSet, row.over, gradEnd(1), kCaptionColor);
    fill(kDownColorSet, row.down, gradEnd(2), kCaptionColor);
    fill(kDisabledColorSet, neo ? kNeoDisabled : kClassicDisabled, gradEnd(3), kDisabledCaptionColor);
    colors[kColorFocusRect] = row.focusRect;
    return colors;
}

std::optional<bool> ButtonSchemeGradient(xibutton::TColorScheme scheme)
{
    const int k = static_cast<int>(scheme);
    if (k < kNeoCount)
        return true;
    if (k < kClassicEnd)
        return false;
    return std::nullopt;
}

std::optional<std::array<TColor, kPanelColorCount>> PanelSchemeColors(xipanel::TColorScheme scheme)
{
    const int k = static_cast<int>(scheme);
    if (k < 1 || k > static_cast<int>(kPanelSchemes.size()))
        return std::nullopt;
    const auto& row = kPanelSchemes[k - 1];
    return std::array<TColor, kPanelColorCount>{kPanelFace, row.grad, row.light, row.dark};
}

std::string_view SchemeName(xibutton::TColorScheme scheme)
{
    const auto k = static_cast<std::size_t>(scheme);
    return k < kButtonSchemeNames.size() ? kButtonSchemeNames[k] : std::string_view{};
}

std::string_view SchemeName(xipanel::TColorScheme scheme)
{
    const auto k = static_cast<std::size_t>(scheme);
    return k < kPanelSchemeNames.size() ? kPanelSchemeNames[k] : std::string_view{};
}

std::optional<xibutton::TColorScheme> ButtonSchemeFromName(std::string_view name)
{
    for (std::size_t k = 0; k < kButtonSchemeNames.size(); ++k)
        if (kButtonSchemeNames[k] == name)
            return static_cast<xibutton::TColorScheme>(k);
    return std::nullopt;
}

std::optional<xipanel::TColorScheme> PanelSchemeFromName(std::string_view name)
{
    for (std::size_t k = 0; k < kPanelSchemeNames.size(); ++k)
        if (kPanelSchemeNames[k] == name)
            return static_cast<xipanel::TColorScheme>(k);
    return std::nullopt;
}

} // namespace zentaro
