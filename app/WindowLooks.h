#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QSize>

class QLabel;
class QLineEdit;
class QWidget;

namespace zentaro {

class PictureControl;
class TextComboBox;

// The main window's client area, which the background picture covers.
inline constexpr QSize kClientSize(625, 297);
inline constexpr int kWindowFontPixels = 11;
inline constexpr int kControlFontPixels = 13;

QFont ControlFont(int pixels);
// The theme's icon of the program's desktop id, else its own copy.
QIcon ProgramIcon();

// The main window's own looks: title, no frame, its fixed size, font and icon,
// and the background colour that its shape cuts away.
void SetUpMainWindow(QWidget& window);
// Centred on the desktop's free area.
void CentreOnScreen(QWidget& window);

// The window's plain controls at their boxes, in the control font; lists and
// edits with their hints.
QLabel* CreateLabel(QWidget* window, const char* text, QRect box, const QFont& font);
TextComboBox* CreateList(QWidget* window, const char* hint, QRect box, const QFont& font);
QLineEdit* CreateEdit(QWidget* window, const char* hint, QRect box, const QFont& font);

// The background picture over the whole client area, see-through where it is
// white, reporting the pointer's moves without a button held too.
PictureControl* CreateBackground(QWidget* window);
// A picture button: its picture centred and see-through in its bottom-left
// colour, the hand cursor, its hint, the pointer's moves reported.
PictureControl* CreatePictureButton(QWidget* window, const char* picture, QRect box, const char* hint);
// The decorative picture, stretched over its box.
PictureControl* CreateDecoration(QWidget* window);

} // namespace zentaro
