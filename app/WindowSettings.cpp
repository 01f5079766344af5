#include "app/WindowSettings.h"
#include "app/Preferences.h"
#include "app/ShownText.h"
#include "import/UpdateFromUrl.h"
#include "store/DataLocation.h"
#include "store/NumberText.h"
#include "store/StoreError.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QWindow>

namespace zentaro {
namespace {

// The ECB publishes once a working day; every few hours catches each day
// soon enough without asking its server often.
constexpr std::chrono::hours kAutoUpdateInterval{3};

} // namespace

std::filesystem::path WindowSettings::DataFolder() const
{
    return dataFolder.empty() ? programFolder : dataFolder;
}

std::filesystem::path WindowSettings::DataFilePath() const { return DataFileIn(DataFolder()); }

std::filesystem::path WindowSettings::HelpFilePath() const
{
    const std::filesystem::path beside = programFolder / kHelpPageName;
    std::error_code ignored;
    if (std::filesystem::exists(beside, ignored) || shareFolder.empty())
        return beside;
    const std::filesystem::path installed = shareFolder / kHelpPageName;
    return std::filesystem::exists(installed, ignored) ? installed : beside;
}

BackgroundUpdateSettings WindowSettings::UpdateSettings() const
{
    return {updateUrl, DataFilePath(), fetchLimits, lockWait, decimalSeparator};
}

WindowSettings WindowSettings::Installed()
{
    WindowSettings settings = ForProgram(LocalPath(QCoreApplication::applicationDirPath()), ProcessEnvironment());
    settings.decimalSeparator = LocaleDecimalSeparator();
    settings.updateUrl = DefaultUpdateUrl();
    settings.autoUpdateInterval = kAutoUpdateInterval;
    settings.configFile = Preferences::FileFor(
        FindProgramLayout(settings.programFolder),
        LocalPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
    const QLocale locale = QLocale::system();
    settings.locale = locale.name().toStdString();
    settings.localeCurrency = locale.currencySymbol(QLocale::CurrencyIsoCode).toStdString();
    return settings;
}

WindowSettings WindowSettings::ForProgram(const std::filesystem::path& programFolder,
                                          const EnvironmentLookup& environment)
{
    WindowSettings settings;
    settings.programFolder = programFolder;
    const ProgramLayout layout = FindProgramLayout(programFolder);
    settings.shareFolder = layout.shareFolder.value_or(std::filesystem::path());
    try {
        settings.dataFolder = PrepareDataFolder(layout, environment);
    } catch (const StoreError& error) {
        settings.dataFolderError = error.what();
        try {
            settings.dataFolder = zentaro::DataFolder(layout, environment);
        } catch (const StoreError&) {
            // No folder can be named: one under a device, where every open
            // fails and nothing is written, least of all into the install tree.
            settings.dataFolder = "/dev/null/zentaro";
        }
    }
    return settings;
}

void WindowSettings::NameApplication()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgramDirName));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Zentaro"));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
}

QPoint WindowSettings::SystemCursorPos() { return QCursor::pos(); }

// The desktop's opener for local files: what Qt picks depends on the
// platform plugin and finds nothing on some (offscreen, plain Wayland).
void WindowSettings::SystemOpenDocument(const QUrl& document)
{
    if (document.isLocalFile() &&
        QProcess::startDetached(QStringLiteral("xdg-open"), {document.toLocalFile()}))
        return;
    QDesktopServices::openUrl(document);
}

void WindowSettings::SystemQuit() { QCoreApplication::quit(); }

bool WindowSettings::SystemStartMove(QWindow* window) { return window && window->startSystemMove(); }

} // namespace zentaro
