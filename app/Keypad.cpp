#include "app/Keypad.h"

namespace zentaro {

namespace {

using enum KeyGroup;

const QRect kPanelBox(316, 146, 109, 135);
const QRect kToggleBox(403, 122, 22, 24);
const char* const kToggleGlyph = ":/art/calc-glyph.bmp";
const char* const kToggleHint = "Click to Use Calculator";
constexpr int kOperatorFontPixels = 11;

constexpr TColor kBlack = 0x00000000;
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kGray = 0x00808080;
constexpr TColor kLime = 0x0000FF00;

// One state's colours in index order: face, grad, dark, light, border, text.
using ColorSet = std::array<TColor, 6>;

struct ColorSets {
    ColorSet normal, over, down, disabled;
    TColor focusRect;
};

std::array<TColor, kButtonColorCount> Flatten(const ColorSets& sets)
{
    std::array<TColor, kButtonColorCount> colors{};
    const ColorSet* const inOrder[] = {&sets.normal, &sets.over, &sets.down, &sets.disabled};
    int index = 0;
    for (const ColorSet* set : inOrder)
        for (TColor color : *set)
            colors[index++] = color;
    colors[kColorFocusRect] = sets.focusRect;
    return colors;
}

const ColorSet kKeyOver = {kLime, 0x0007C759, 0x00008ED2, 0x0095DAFF, 0x00005680, kBlack};
const ColorSet kKeyDown = {0x002BBAFF, 0x0077D2FF, 0x008AD9FF, 0x000077B7, 0x000070A6, kBlack};
const ColorSet kKeyDisabled = {0x00EEEEEE, kWhite, 0x00D2D2D2, kWhite, kGray, kGray};

void ApplyColors(TXiButton& button, const std::array<TColor, kButtonColorCount>& colors)
{
    // As the window layout loads them: every colour through its setter,
    // then the custom scheme.
    for (int i = 0; i < kButtonColorCount; ++i)
        button.SetColor(i, colors[i]);
    button.SetColorScheme(TXiButton::csCustom);
    button.SetGradient(true);
    button.SetHotTrack(true);
}

} // namespace

const std::array<KeypadKey, kKeypadKeyCount> kKeypadKeys = {{
    {"Bitbtn3", "7", {4, 6, 25, 25}, Digit},
    {"Bitbtn4", "8", {29, 6, 25, 25}, Digit},
    {"Bitbtn5", "9", {54, 6, 26, 25}, Digit},
    {"Bitbtn15", "/", {80, 6, 25, 25}, Operator},
    {"Bitbtn6", "4", {4, 31, 25, 25}, Digit},
    {"Bitbtn7", "5", {29, 31, 25, 25}, Digit},
    {"Bitbtn8", "6", {54, 31, 26, 25}, Digit},
    {"Bitbtn16", "*", {80, 31, 25, 25}, Operator},
    {"Bitbtn9", "1", {4, 56, 25, 25}, Digit},
    {"Bitbtn10", "2", {29, 56, 25, 25}, Digit},
    {"Bitbtn11", "3", {54, 56, 26, 25}, Digit},
    {"Bitbtn17", "-", {80, 56, 25, 25}, Operator},
    {"Bitbtn12", "0", {4, 81, 25, 25}, Digit},
    {"Bitbtn13", ".", {29, 81, 25, 25}, Digit},
    {"Bitbtn14", "+/-", {54, 81, 26, 25}, Digit},
    {"Bitbtn18", "+", {80, 81, 25, 25}, Operator},
    {"Bitbtn19", "C", {4, 106, 50, 25}, Command},
    {"Bitbtn21", "OK", {54, 106, 51, 25}, Command},
}};

std::array<TColor, kButtonColorCount> KeypadKeyColors(KeyGroup group)
{
    switch (group) {
    case Operator:
        return Flatten({{0x00F9D997, 0x00FDAD42, 0x00FF7D7D, 0x00F5A97A, kBlack, kBlack},
                        kKeyOver, kKeyDown, kKeyDisabled, 0x00E14D48});
    case Command:
        return Flatten({{0x00C6ECFF, 0x005B57F7, 0x00009CE8, 0x00B9E7FF, 0x00005680, kBlack},
                        kKeyOver, kKeyDown, kKeyDisabled, 0x004080FF});
    case Digit:
        break;
    }
    return Flatten({{0x00C6ECFF, 0x0037BEFF, 0x00009CE8, 0x00B9E7FF, 0x00005680, kBlack},
                    kKeyOver, kKeyDown, kKeyDisabled, 0x004080FF});
}

std::array<TColor, kButtonColorCount> KeypadToggleColors()
{
    return Flatten({{0x00E4E4E4, 0x00C3C3C3, 0x00676767, 0x00B9E7FF, 0x00676767, kBlack},
                    {0x00B3E7FF, kWhite, 0x00008ED2, 0x0095DAFF, 0x00005680, kBlack},
                    {0x002BBAFF, kWhite, 0x008AD9FF, 0x000077B7, 0x000070A6, kBlack},
                    {0x00EEEEEE, kWhite, 0x00D2D2D2, kWhite, kGray, kGray},
                    0x004080FF});
}

TXiPanel* CreateKeypadPanel(QWidget* window, const QFont& controlFont)
{
    auto* panel = new TXiPanel(window);
    panel->setObjectName(QStringLiteral("XiPanel1"));
    panel->setGeometry(kPanelBox);
    panel->setFont(controlFont);
    panel->SetColorScheme(TXiPanel::csDesert);
    panel->SetFillDirection(TFillDirection::fdVertical);
    panel->hide();
    return panel;
}

TXiButton* CreateKeypadKey(TXiPanel* panel, const KeypadKey& key)
{
    auto* button = new TXiButton(panel);
    button->setObjectName(QString::fromLatin1(key.name));
    button->setGeometry(key.box);
    button->SetCaption(QString::fromLatin1(key.caption));
    if (key.group == Operator) {
        QFont font;
        font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        font.setPixelSize(kOperatorFontPixels);
        font.setBold(true);
        button->setFont(font);
    }
    ApplyColors(*button, KeypadKeyColors(key.group));
    return button;
}

TXiButton* CreateKeypadToggle(QWidget* window, const QFont& controlFont)
{
    auto* button = new TXiButton(window);
    button->setObjectName(QStringLiteral("Bitbtn2"));
    button->setGeometry(kToggleBox);
    button->setFont(controlFont);
    button->SetCtl3D(true);
    button->SetLayout(TButtonLayout::blGlyphLeft);
    button->SetSpacing(4);
    button->SetTransparentGlyph(true);
    button->SetGlyph(QImage(QString::fromLatin1(kToggleGlyph)));
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(QString::fromLatin1(kToggleHint));
    button->setAccessibleName(QStringLiteral("Calculator"));
    ApplyColors(*button, KeypadToggleColors());
    return button;
}

} // namespace zentaro
