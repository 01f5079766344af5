#include "app/DataFileCommands.h"
#include "app/Waiting.h"
#include "app/WindowKey.h"
#include "import/RatesFile.h"

#include <QScopeGuard>
#include <QWidget>

namespace zentaro {

DataFileCommands::DataFileCommands(QWidget* window, RateTable& table, BackgroundUpdateSettings settings,
                                   Window asks)
    : QObject(window), table_(table), settings_(std::move(settings)), window_(std::move(asks))
{
    new WindowKey(
        window, Qt::Key_Escape, [this] { return Busy(); },
        [this] {
            cancelRequested_ = true;
            window_.cancelAutoUpdate();
        });
}

void DataFileCommands::RefreshAfter(const std::function<void(bool& reloaded)>& change)
{
    bool reloaded = false;
    try {
        change(reloaded);
    } catch (...) {
        if (reloaded)
            window_.refreshReported();
        throw;
    }
    if (reloaded)
        window_.refresh();
}

void DataFileCommands::Change(const std::function<void()>& change)
{
    RefreshAfter([&](bool& reloaded) {
        ChangeDataFileWaiting(table_, settings_.dataFile, settings_.lockWait, {LastUpdatePath(settings_.dataFile)},
                              change, reloaded);
    });
}

ImportResult DataFileCommands::Import(const std::filesystem::path& updateFile, std::string_view successText)
{
    ImportResult result;
    Change([&] { result = ImportRatesFile(table_, updateFile, settings_.dataFile, successText); });
    return result;
}

// The transfers may take a minute and the lock a while; the window keeps
// repainting meanwhile.
UrlUpdateResult DataFileCommands::UpdateFromUrl()
{
    UrlUpdateResult result;
    RefreshAfter([&](bool& reloaded) {
        std::atomic<bool> reloadedThere = false;
        UrlUpdateRequest request;
        request.url = settings_.url;
        request.dataFile = settings_.dataFile;
        request.access.lockWait = settings_.lockWait;
        request.access.onReloaded = [&reloadedThere] { reloadedThere = true; };
        cancelRequested_ = false;
        request.cancelled = [this] { return cancelRequested_.load(); };
        const WaitCursor wait;
        transferring_ = true;
        const auto done = qScopeGuard([&] {
            transferring_ = false;
            reloaded = reloadedThere;
        });
        result = AwaitOffThread([&] {
            CurlFetcher fetcher(settings_.limits);
            return RunUrlUpdate(table_, fetcher, request);
        });
    });
    return result;
}

// Another data command, or Exit, would pull the data from under the download.
std::function<void()> DataFileCommands::Gate(WhileBusy whileBusy, std::function<void()> run)
{
    return [this, whileBusy, run = std::move(run)] {
        if (transferring_ && whileBusy == WhileBusy::Cancel)
            cancelRequested_ = true;
        else if (!Busy() || whileBusy == WhileBusy::Run)
            run();
    };
}

} // namespace zentaro
