#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <filesystem>

namespace zentaro {

// Tells when the data file may have changed under the window: another
// program saved it (a save renames a new file in, which only the folder's
// watch sees), rewrote it in place, or removed it. A burst of changes (the
// temporary file, the rename, the lock file) gives one changed(), settle
// after the last of them. Whether the content is new is the listener's test.
class DataFileWatcher : public QObject {
    Q_OBJECT

public:
    DataFileWatcher(std::filesystem::path dataFile, std::chrono::milliseconds settle, QObject* parent = nullptr);

signals:
    void changed();

private:
    void Noticed();
    void WatchFile();

    std::filesystem::path dataFile_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

} // namespace zentaro
