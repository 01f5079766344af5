#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zentaro {

// A colour as $00BBGGRR: red in the low byte, green in the second, blue in the third.
using TColor = std::uint32_t;

constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor MakeColor(int red, int green, int blue)
{
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
}

// A control's colour by index, as the colour properties number them: 0 for
// an index outside the control's colours, and a store there does nothing
// (returns false).
template <std::size_t N>
TColor ColorAt(const std::array<TColor, N>& colors, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? colors[static_cast<std::size_t>(index)] : 0;
}
template <std::size_t N>
bool StoreColorAt(std::array<TColor, N>& colors, int index, TColor color)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return false;
    colors[static_cast<std::size_t>(index)] = color;
    return true;
}

enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TFillDirection : std::uint8_t { fdHorizontal, fdVertical, fdDiagonal };
enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TDrawState : std::uint8_t { dsNormal, dsOver, dsDown };

} // namespace zentaro
