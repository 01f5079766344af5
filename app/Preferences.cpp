#include "app/Preferences.h"
#include "store/DataLocation.h"

#include <QFile>
#include <QSettings>

namespace zentaro {
namespace {

constexpr const char* kFileName = "zentaro.conf";
const QString kUpdateRatesAutomatically = QStringLiteral("Rates/UpdateAutomatically");

QString Local(const std::filesystem::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.string())); }

} // namespace

Preferences::Preferences(QString file) : file_(std::move(file))
{
    if (file_.isEmpty())
        return;
    const QSettings settings(file_, QSettings::IniFormat);
    updateRatesAutomatically_ = settings.value(kUpdateRatesAutomatically, true).toBool();
}

QString Preferences::FileFor(const ProgramLayout& layout, const std::filesystem::path& configFolder)
{
    return Local((layout.Installed() ? configFolder : layout.programFolder) / kFileName);
}

bool Preferences::UpdateRatesAutomatically() const { return updateRatesAutomatically_; }

void Preferences::SetUpdateRatesAutomatically(bool on)
{
    updateRatesAutomatically_ = on;
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kUpdateRatesAutomatically, on);
    settings.sync();
}

} // namespace zentaro
