#include "app/Waiting.h"
#include "store/DataFileChange.h"

#include <QApplication>

namespace zentaro {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

void ChangeDataFileWaiting(RateTable& table, const std::filesystem::path& dataFile,
                           std::chrono::milliseconds lockWait, std::vector<std::filesystem::path> companions,
                           const std::function<void()>& change, bool& reloaded)
{
    std::optional<WaitCursor> wait;
    DataFileAccess access;
    access.lockWait = lockWait;
    access.onWaiting = [&wait] { wait.emplace(); };
    access.companions = std::move(companions);
    access.onReloaded = [&reloaded] { reloaded = true; };
    ChangeDataFile(table, dataFile, access, [&] {
        wait.reset();
        change();
    });
}

} // namespace zentaro
