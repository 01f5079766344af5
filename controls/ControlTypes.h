#pragma once

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

enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TFillDirection : std::uint8_t { fdHorizontal, fdVertical, fdDiagonal };
enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TDrawState : std::uint8_t { dsNormal, dsOver, dsDown };

} // namespace zentaro
