#pragma once

#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QFont>
#include <QRect>

#include <array>

// The calculator keypad's controls: the toggle button beside the amount
// field, the panel and its keys, with the looks they are stored with.
namespace zentaro {

enum class KeyGroup { Digit, Operator, Command };

struct KeypadKey {
    const char* name;    // the button's name on the window
    const char* caption;
    QRect box;           // inside the panel
    KeyGroup group;
};

// In tab order: row by row, left to right.
constexpr int kKeypadKeyCount = 18;
extern const std::array<KeypadKey, kKeypadKeyCount> kKeypadKeys;

// The 25 colours of a key of the group, by colour index.
std::array<TColor, kButtonColorCount> KeypadKeyColors(KeyGroup group);
// The toggle button's 25 colours.
std::array<TColor, kButtonColorCount> KeypadToggleColors();

// The panel, hidden, at its place on the window; keys get controlFont
// unless their group has a font of its own.
TXiPanel* CreateKeypadPanel(QWidget* window, const QFont& controlFont);
TXiButton* CreateKeypadKey(TXiPanel* panel, const KeypadKey& key);
TXiButton* CreateKeypadToggle(QWidget* window, const QFont& controlFont);

} // namespace zentaro
