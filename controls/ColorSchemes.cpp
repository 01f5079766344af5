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

// Neo schemes, in the order of their ordinals; entries in colour-index order.
constexpr std::array<std::array<TColor, kButtonColorCount>, 6> kNeoSchemes = {{
    {{ // csNeoDesert
        0x00C6ECFF, 0x0037BEFF, 0x00009CE8, 0x00B9E7FF, 0x00005680, 0x00000000,
        0x00B3E7FF, 0x0000A3F0, 0x00008ED2, 0x0095DAFF, 0x00005680, 0x00000000,
        0x002BBAFF, 0x0077D2FF, 0x008AD9FF, 0x000077B7, 0x000070A6, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x004080FF,
    }},
    {{ // csNeoSky
        0x00FFEEDD, 0x00FFB66C, 0x00FFA851, 0x00FFECD9, 0x00B35900, 0x00000000,
        0x00FFEBD7, 0x00FFA346, 0x00FF9E3E, 0x00FFE4CA, 0x00B35900, 0x00000000,
        0x00FFB366, 0x00FFCE9D, 0x00FFD3A8, 0x00FF9E3E, 0x00B35900, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x00FFA953,
    }},
    {{ // csNeoGrass
        0x00DDF9E8, 0x005EDF8E, 0x0024B95C, 0x00CBF5DB, 0x00156F37, 0x00000000,
        0x00BFF2D2, 0x003DD877, 0x0023B459, 0x00B5F0CB, 0x0017793D, 0x00000000,
        0x004EDC83, 0x0080E6A6, 0x0089E7AC, 0x00177D3E, 0x00167439, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x0024B95C,
    }},
    {{ // csNeoSilver
        0x00F3F3F3, 0x00BCBCBC, 0x00A7A7A7, 0x00F7F7F7, 0x00626262, 0x00000000,
        0x00F0F0F0, 0x00A6A6A6, 0x00A2A2A2, 0x00EEEEEE, 0x00757575, 0x00000000,
        0x00CACACA, 0x00DADADA, 0x00E9E9E9, 0x007C7C7C, 0x004E4E4E, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x00ADADAD,
    }},
    {{ // csNeoRose
        0x00E8E8FF, 0x009595FF, 0x008282FF, 0x00DDDDFF, 0x0000009D, 0x00000000,
        0x00DFDFFF, 0x007777FF, 0x006A6AFF, 0x00D7D7FF, 0x0000009D, 0x00000000,
        0x00A6A6FF, 0x00B9B9FF, 0x00CECEFF, 0x005E5EFF, 0x0000009D, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x005E5EFF,
    }},
    {{ // csNeoSun
        0x00F0FFFF, 0x0020D8F9, 0x0000BBBB, 0x00F2FFFF, 0x00006464, 0x00000000,
        0x00D5FCFF, 0x0005BCDC, 0x0000A6A6, 0x00CCFFFF, 0x00006464, 0x00000000,
        0x0005D1F5, 0x0066F0FB, 0x0066F3FF, 0x00008484, 0x00006464, 0x00000000,
        0x00EEEEEE, 0x00FFFFFF, 0x00D2D2D2, 0x00FFFFFF, 0x00808080, 0x00808080,
        0x0000BBBB,
    }},
}};

// Classic schemes; the four gradient-end colours keep their previous values.
constexpr std::array<std::array<std::optional<TColor>, kButtonColorCount>, 6> kClassicSchemes = {{
    {{ // csDesert
        0x0095DDFF, std::nullopt, 0x00009CE8, 0x00B9E7FF, 0x00005680, 0x00000000,
        0x006FD0FF, std::nullopt, 0x00008ED2, 0x0095DAFF, 0x00005680, 0x00000000,
        0x006FD0FF, std::nullopt, 0x008AD9FF, 0x000077B7, 0x000070A6, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x004080FF,
    }},
    {{ // csGrass
        0x0098EBB7, std::nullopt, 0x0024B95C, 0x00CBF5DB, 0x00156F37, 0x00000000,
        0x0068E196, std::nullopt, 0x0023B459, 0x00B5F0CB, 0x0017793D, 0x00000000,
        0x004EDC83, std::nullopt, 0x0089E7AC, 0x00177D3E, 0x00167439, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x0000A421,
    }},
    {{ // csSky
        0x00FFE0C1, std::nullopt, 0x00FFA953, 0x00FFECD9, 0x00B35900, 0x00000000,
        0x00FFCD9B, std::nullopt, 0x00FFB164, 0x00FFE4CA, 0x00B35900, 0x00000000,
        0x00FFC082, std::nullopt, 0x00FFD3A8, 0x00FF9122, 0x00B35900, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x00DC9B14,
    }},
    {{ // csSun
        0x00A8FFFF, std::nullopt, 0x0000BBBB, 0x00F2FFFF, 0x00006464, 0x00000000,
        0x0066F3FF, std::nullopt, 0x0000A6A6, 0x00CCFFFF, 0x00006464, 0x00000000,
        0x0022EEFF, std::nullopt, 0x0066F3FF, 0x00008484, 0x00006464, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x00008CF4,
    }},
    {{ // csRose
        0x00C6C6FF, std::nullopt, 0x008282FF, 0x00DDDDFF, 0x0000009D, 0x00000000,
        0x00B0B0FF, std::nullopt, 0x006A6AFF, 0x00D7D7FF, 0x0000009D, 0x00000000,
        0x009F9FFF, std::nullopt, 0x008888FF, 0x005E5EFF, 0x0000009D, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x005E5EFF,
    }},
    {{ // csSilver
        0x00E0E0E0, std::nullopt, 0x00AEAEAE, 0x00F7F7F7, 0x00626262, 0x00000000,
        0x00CFCFCF, std::nullopt, 0x00797979, 0x00EEEEEE, 0x00757575, 0x00000000,
        0x00D3D3D3, std::nullopt, 0x00E9E9E9, 0x007C7C7C, 0x004E4E4E, 0x00000000,
        0x00E2E2E2, std::nullopt, 0x00D8D8D8, 0x00EAEAEA, 0x00C4C4C4, 0x00808080,
        0x008A8A8A,
    }},
}};

// Panel schemes csDesert to csSun; entries in colour-index order (face, grad, light, dark).
constexpr std::array<std::array<TColor, kPanelColorCount>, 6> kPanelSchemes = {{
    {{0x00FFFFFF, 0x00A4E1FF, 0x00008FD5, 0x0000699B}}, // csDesert
    {{0x00FFFFFF, 0x00B0F2CB, 0x003EB56A, 0x00156F37}}, // csGrass
    {{0x00FFFFFF, 0x00DAE0DE, 0x007D7D7D, 0x00626262}}, // csSilver
    {{0x00FFFFFF, 0x00FFE0C1, 0x00F0964D, 0x00B35900}}, // csSky
    {{0x00FFFFFF, 0x00CCCCFF, 0x000651CC, 0x0000009D}}, // csRose
    {{0x00FFFFFF, 0x00BFFFFF, 0x00009595, 0x00006464}}, // csSun
}};

constexpr std::array<std::string_view, 13> kButtonSchemeNames = {
    "csNeoDesert", "csNeoSky", "csNeoGrass", "csNeoSilver", "csNeoRose", "csNeoSun",
    "csDesert", "csGrass", "csSky", "csSun", "csRose", "csSilver", "csCustom",
};
constexpr std::array<std::string_view, 7> kPanelSchemeNames = {
    "csCustom", "csDesert", "csGrass", "csSilver", "csSky", "csRose", "csSun",
};

constexpr int kNeoCount = 6;
constexpr int kClassicEnd = 12;

} // namespace

std::optional<std::array<std::optional<TColor>, kButtonColorCount>> ButtonSchemeColors(xibutton::TColorScheme scheme)
{
    const int k = static_cast<int>(scheme);
    if (k < kNeoCount) {
        std::array<std::optional<TColor>, kButtonColorCount> colors;
        for (int i = 0; i < kButtonColorCount; ++i)
            colors[i] = kNeoSchemes[k][i];
        return colors;
    }
    if (k < kClassicEnd)
        return kClassicSchemes[k - kNeoCount];
    return std::nullopt;
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
    if (k >= 1 && k <= static_cast<int>(kPanelSchemes.size()))
        return kPanelSchemes[k - 1];
    return std::nullopt;
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
