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

std::filesystem::path WindowSettings::DataFilePath() const { return DataFolder() / kDataFileName; }

std::filesystem::path WindowSettings::HelpFilePath() const
{
    const std::filesystem::path beside = programFolder / kHelpPageName;
    std::error_code ignored;
    if (std::filesystem::exists(beside, ignored) || shareFolder.empty())
        return beside;
    const std::filesystem::path installed = shareFolder / kHelpPageName;
    return std::filesystem::exists(installed, ignored) ? installed : beside;
}

WindowSettings WindowSettings::Installed()
{
    WindowSettings settings;
    settings.programFolder = LocalPath(QCoreApplication::applicationDirPath());
    const ProgramLayout layout = FindProgramLayout(settings.programFolder);
    const std::filesystem::path user = LocalPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    try {
        settings.dataFolder = PrepareDataFolder(layout, user);
    } catch (const StoreError&) {
        // The start-up load then reports the data file it cannot open.
        settings.dataFolder = zentaro::DataFolder(layout, user);
    }
    settings.shareFolder = layout.shareFolder.value_or(std::filesystem::path());
    settings.decimalSeparator = LocaleDecimalSeparator();
    settings.updateUrl = DefaultUpdateUrl();
    settings.autoUpdateInterval = kAutoUpdateInterval;
    settings.preferencesFile = Preferences::FileFor(
        layout, LocalPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
    return settings;
}

void WindowSettings::NameApplication()
{
    // No organisation name: the data folder is then <data home>/zentaro, the
    // folder zentaro-cli finds without Qt.
    QCoreApplication::setOrganizationName(QString());
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
