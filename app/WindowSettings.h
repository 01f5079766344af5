#pragma once

#include "app/BackgroundUpdate.h"
#include "import/CurlFetcher.h"
#include "store/DataFileLock.h"
#include "store/DataLocation.h"

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

class QWindow;

namespace zentaro {

// The program's desktop id: the name of its desktop entry and of its icon,
// which the window takes from the theme or else from its own copy.
inline constexpr const char* kAppId = "org.zentaro.Zentaro";
// The help as one HTML page, which every desktop can open; the compiled help
// file is built beside it where a compiler is there.
inline constexpr const char* kHelpPageName = "Zentaro Help.html";

// What the main window takes from the platform: its folders, the user's
// locale, the update address, and the system calls that tests replace.
struct WindowSettings {
    std::filesystem::path programFolder; // the executable's folder; the help page built beside it
    // Holds the rate data file and "Last Update.txt"; empty: programFolder.
    std::filesystem::path dataFolder;
    // Why the user's data folder could not be made ready; empty when it was.
    std::string dataFolderError;
    // An installed program's share folder, with its help page.
    std::filesystem::path shareFolder;
    char decimalSeparator = '.';
    std::string updateUrl;
    FetchLimits fetchLimits; // timeouts and size caps of the update download
    // How long a data command waits for another program's change of the data file.
    std::chrono::milliseconds lockWait = kDataFileLockWait;
    // Where the pointer is on the screen, how a document is opened with the
    // desktop's viewer and how the application is asked to end; tests
    // replace them.
    std::function<QPoint()> cursorPos = &WindowSettings::SystemCursorPos;
    std::function<void(const QUrl&)> openDocument = &WindowSettings::SystemOpenDocument;
    std::function<void()> quit = &WindowSettings::SystemQuit;
    // Hands a drag to the window system; false where it cannot move windows
    // itself, and the window then follows the pointer.
    std::function<bool(QWindow*)> startSystemMove = &WindowSettings::SystemStartMove;
    // The Qt settings file that keeps the chosen pair and amount and the
    // window's preferences; empty: kept nowhere.
    QString configFile;
    // The locale of the currencies' names, and its currency for a first start.
    std::string locale = "en";
    std::string localeCurrency;
    // The clock of the rates' age line and of the automatic update.
    std::function<QDateTime()> now = &QDateTime::currentDateTime;
    // How often the window looks for newer rates by itself; zero: never.
    std::chrono::milliseconds autoUpdateInterval{0};
    // The least time between two automatic downloads.
    std::chrono::milliseconds autoUpdateGap{std::chrono::hours(1)};
    // How long the data file must rest before the window shows another
    // program's change.
    std::chrono::milliseconds followSettle{250};

    // The folder of the data file and "Last Update.txt", and the data file.
    std::filesystem::path DataFolder() const;
    std::filesystem::path DataFilePath() const;
    // The help page beside the program, else the installed one.
    std::filesystem::path HelpFilePath() const;
    // What "Update From URL" and the automatic update download into.
    BackgroundUpdateSettings UpdateSettings() const;

    // The running program's: its folders (portable beside the executable,
    // installed in the user's data folder, made ready), the user's locale.
    static WindowSettings Installed();
    // The folders of the program in programFolder, with the user's data
    // folder as the environment names it.
    static WindowSettings ForProgram(const std::filesystem::path& programFolder,
                                     const EnvironmentLookup& environment);
    // The application's names, as desktops and boxes show them.
    static void NameApplication();
    static QPoint SystemCursorPos();
    static void SystemOpenDocument(const QUrl& document);
    static void SystemQuit();
    static bool SystemStartMove(QWindow* window);
};

} // namespace zentaro
