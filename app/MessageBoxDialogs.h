#pragma once

#include "app/WindowDialogs.h"

namespace zentaro {

// The window's boxes as real modal windows, centred on the screen and
// captioned with the application title.
class MessageBoxDialogs : public WindowDialogs {
public:
    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    bool Confirm(const QString& text) override;
    std::optional<QString> OpenFile(const QString& nameFilter) override;

private:
    QString lastFile_; // offered again the next time the dialog opens
};

} // namespace zentaro
