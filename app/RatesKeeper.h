#pragma once

#include "app/AutoUpdate.h"
#include "app/BackgroundUpdate.h"
#include "app/Preferences.h"
#include "app/RatesAge.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;

namespace zentaro {

class DataFileWatcher;
class WindowCommands;
struct WindowSettings;

// What keeps the window's rates current and says how old they are: the age
// line, the following of the data file, the automatic update and its check
// item in the background menu.
class RatesKeeper : public QObject {
    Q_OBJECT

public:
    // What it asks of the window.
    struct Window {
        // True while the window's own transfer runs; no update starts then.
        std::function<bool()> transferring;
        // Shows what another program saved.
        std::function<void()> follow;
        // The upload-time list: its entries (newest last) and its text.
        std::function<const std::vector<std::string>&()> uploadTimes;
        std::function<std::string()> currentUploadTime;
    };
    static constexpr const char* kCheckItemText = "Update Rates Automatically";

    // The clock, the update's interval and gap, the settle time of the data
    // file and the preferences come from settings.
    RatesKeeper(QWidget* window, WindowCommands& commands, const WindowSettings& settings, Window asks);
    ~RatesKeeper() override;

    // Draws the age line for what the lists show now.
    void ShowAge();
    bool Updating() const { return autoUpdate_->Running(); }
    void CancelUpdate() { autoUpdate_->Cancel(); }
    QLabel* AgeLine() const { return ageLine_; }
    QAction* CheckItem() const { return checkItem_; }

private:
    void Updated(const UpdateOutcome& outcome);

    std::function<QDateTime()> now_;
    std::chrono::milliseconds interval_;
    Window window_;
    Preferences preferences_;
    QLabel* ageLine_;
    QAction* checkItem_ = nullptr;
    DataFileWatcher* watcher_;
    std::unique_ptr<AutoUpdate> autoUpdate_;
    std::optional<std::string> failure_;
    QTimer clock_; // the age line turns with the date and the ECB's publication
};

} // namespace zentaro
