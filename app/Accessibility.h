#pragma once

#include <QString>

#include <initializer_list>

class QLabel;
class QWidget;

// What a screen reader finds on the window. Qt's own interfaces see the
// window's painted controls as nameless fillers and name an editable list by
// its value; these give each control its role, a name and its command:
// - a top-level window of a plain widget class: a frame named by its title;
// - a picture with a hint: a push button named by the hint, whose press
//   clicks it;
// - a gradient button: a push button named by its accessible name, else by
//   its caption as spoken, whose press clicks it;
// - a drop-down list: a combo box named by its accessible name, its text the
//   value.
// Descriptions are the hints, as Qt gives them.
namespace zentaro {

// Registers the interfaces, once for the whole application; before the
// first control is created, so that none gets Qt's default first.
void InstallAccessibility();

// A caption as a screen reader should say it: "+" is "plus", "C" "clear".
QString SpokenCaption(const QString& caption);

struct FieldName {
    QWidget* field;
    const char* name;
    QLabel* label = nullptr; // the label written before the field, if any
};
// Names each field by what it holds (not by its value) and links its label to it.
void NameFields(std::initializer_list<FieldName> fields);

} // namespace zentaro
