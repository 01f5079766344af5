#pragma once

#include <QString>

#include <stdexcept>
#include <string>

namespace zentaro {

class TXiButton;
class TXiPanel;

class RenderError : public std::runtime_error {
public:
    explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

// Applies one "Name=Value" assignment through the control's own setter.
// Colours are written $00BBGGRR, enumerations by their literal names,
// Booleans as true or false. A button also takes State=normal|over|down
// and Focused=true|false. Throws RenderError for an unknown name or a
// value the property cannot take.
void ApplyButtonProperty(TXiButton& button, const QString& assignment);
void ApplyPanelProperty(TXiPanel& panel, const QString& assignment);

} // namespace zentaro
