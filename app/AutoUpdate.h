#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace zentaro {

// What one update of the rates from the update address came to.
struct UpdateOutcome {
    enum Kind { Added, AlreadyThere, Failed };
    Kind kind = Added;
    std::string failure; // the error's text when Failed
};

// Keeps the rates current by itself: at start and then every interval, when
// the data's newest ECB day is older than the ECB's latest publication, it
// runs the update on a thread of its own, at most once per gap. The update
// itself is injected, and so are the clock and where the newest day is read.
class AutoUpdate : public QObject {
    Q_OBJECT

public:
    struct Timing {
        std::function<QDateTime()> now = &QDateTime::currentDateTime;
        std::chrono::milliseconds interval{std::chrono::hours(3)};
        std::chrono::milliseconds gap{std::chrono::hours(1)};
    };
    // Runs off the window's thread; cancelled is set when the window closes.
    using Update = std::function<UpdateOutcome(const std::atomic<bool>& cancelled)>;
    using NewestDay = std::function<std::optional<QDate>()>;
    // Runs on the window's thread when an update ended.
    using Finished = std::function<void(const UpdateOutcome&)>;

    AutoUpdate(Timing timing, Update update, NewestDay newestDay, Finished finished, QObject* parent = nullptr);
    // Waits for a running update, which is told to stop.
    ~AutoUpdate() override;

    // The first check comes from the event loop, once the window is up.
    void Start();
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Running() const { return running_; }
    // Tells a running update to stop; the next one starts afresh.
    void Cancel()
    {
        if (running_)
            cancelled_ = true;
    }
    // Starts an update when one is due; true when it did. Also held back
    // while blocked() says so (the user's own transfer).
    bool Check();
    std::function<bool()> blocked;

private:
    void Ended(const UpdateOutcome& outcome);

    Timing timing_;
    Update update_;
    NewestDay newestDay_;
    Finished finished_;
    QTimer timer_;
    bool enabled_ = true;
    bool running_ = false;
    std::optional<QDateTime> lastAttempt_;
    std::atomic<bool> cancelled_{false};
    std::thread worker_;
};

} // namespace zentaro
