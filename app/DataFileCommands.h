#pragma once

#include "app/BackgroundUpdate.h"
#include "import/UpdateFromUrl.h"
#include "import/UpdateImport.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <string_view>

class QWidget;

namespace zentaro {

class RateTable;

// How the window's data commands change the data file. Each change runs
// under the file's lock, and whenever the table was loaded again on the way
// the window is refreshed, also when the change then fails, so that the
// screen shows what the file holds. "Update From URL" runs off the window's
// thread while it waits for its transfers, is cancelled by Escape or a
// second press of its button, and holds back the other commands meanwhile,
// as the automatic update does.
class DataFileCommands : public QObject {
    Q_OBJECT

public:
    struct Window {
        // Rebuilds the lists from the table; refreshReported shows its own
        // error instead of throwing it.
        std::function<void()> refresh;
        std::function<void()> refreshReported;
        // The automatic update: while it runs the commands wait too, and
        // Escape cancels it.
        std::function<bool()> autoUpdating;
        std::function<void()> cancelAutoUpdate;
    };
    // What a command does while a download waits: nothing, cancel it (the
    // command that started it) or run all the same (Help).
    enum class WhileBusy { Wait, Cancel, Run };

    DataFileCommands(QWidget* window, RateTable& table, BackgroundUpdateSettings settings, Window asks);

    // Runs change on the file's current content.
    void Change(const std::function<void()>& change);
    // Imports a file the user picked.
    ImportResult Import(const std::filesystem::path& updateFile, std::string_view successText);
    // The whole of "Update From URL", with the wait cursor shown.
    UrlUpdateResult UpdateFromUrl();
    // True while UpdateFromUrl waits for its transfers.
    bool Transferring() const { return transferring_; }
    // run as a command's button and menu entry start it.
    std::function<void()> Gate(WhileBusy whileBusy, std::function<void()> run);

private:
    bool Busy() const { return transferring_ || window_.autoUpdating(); }
    // Runs change, which sets reloaded once it loaded the table again.
    void RefreshAfter(const std::function<void(bool& reloaded)>& change);

    RateTable& table_;
    BackgroundUpdateSettings settings_;
    Window window_;
    bool transferring_ = false;
    // Set by Escape or a second press; read by the transfer's thread.
    std::atomic<bool> cancelRequested_ = false;
};

} // namespace zentaro
