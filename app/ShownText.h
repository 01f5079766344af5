#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <string>

namespace zentaro {

// The rate table's texts are bytes; the window shows them as UTF-8 and reads
// what the user typed back as UTF-8.
inline QString Shown(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Bytes(const QString& text) { return text.toUtf8().toStdString(); }

// File names travel in the file system's own encoding.
inline std::filesystem::path LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString ShownPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

} // namespace zentaro
