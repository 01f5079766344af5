#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

namespace zentaro {

// Every modal box the main window shows; tests replace it.
class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;
    // The plain message box: application title, the text, one OK, no icon.
    virtual void ShowMessage(const QString& text) = 0;
    // The error message box: the same with a stop icon.
    virtual void ShowError(const QString& text) = 0;
    // The "Confirm" question box with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // The open-file dialog with one name filter; nullopt when cancelled.
    virtual std::optional<QString> OpenFile(const QString& nameFilter) = 0;
};

// The text of the error message box for an error's text: a full stop is
// appended when the last byte sorts after ".".
QString ErrorBoxText(const std::string& errorText);
// The error box of the start-up load: a data file that is there but cannot be
// read is named with its full path, so that the user can find it; a missing
// one's text names it already.
QString StartupErrorBoxText(const std::string& errorText, const std::filesystem::path& dataFile);

} // namespace zentaro
