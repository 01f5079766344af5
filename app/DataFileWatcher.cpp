#include "app/DataFileWatcher.h"

#include <QFile>

namespace zentaro {
namespace {

QString Local(const std::filesystem::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.string())); }

} // namespace

DataFileWatcher::DataFileWatcher(std::filesystem::path dataFile, std::chrono::milliseconds settle, QObject* parent)
    : QObject(parent), dataFile_(std::move(dataFile))
{
    settle_.setSingleShot(true);
    settle_.setInterval(settle);
    connect(&settle_, &QTimer::timeout, this, &DataFileWatcher::changed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DataFileWatcher::Noticed);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DataFileWatcher::Noticed);
    watcher_.addPath(Local(dataFile_.parent_path().empty() ? std::filesystem::path(".") : dataFile_.parent_path()));
    WatchFile();
}

void DataFileWatcher::Noticed()
{
    // A file renamed over the watched one ends that watch: the new one is
    // watched from here on.
    WatchFile();
    settle_.start();
}

void DataFileWatcher::WatchFile()
{
    const QString file = Local(dataFile_);
    if (!watcher_.files().contains(file) && QFile::exists(file))
        watcher_.addPath(file);
}

} // namespace zentaro
