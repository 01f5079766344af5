#pragma once

#include <QKeyEvent>

#include <optional>

namespace zentaro {

inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kReturn = 13;
inline constexpr char32_t kEscape = 27;
inline constexpr char32_t kDeleteCharacter = 127;

// Alt with a key is a command to the window, not a typed character; Ctrl+Alt
// is AltGr on some systems and does type one.
bool IsAltCombination(const QKeyEvent& event);

// The character a key press types, as the window system would deliver it:
// Enter, Escape and Ctrl with a letter give control characters; keys that type
// nothing (arrows, Delete, Home, function keys, Tab) give none.
std::optional<char32_t> KeyCharacter(const QKeyEvent& event);

} // namespace zentaro
