#include "app/AutoUpdate.h"
#include "app/RatesAge.h"

#include <exception>

namespace zentaro {

AutoUpdate::AutoUpdate(Timing timing, Update update, NewestDay newestDay, Finished finished, QObject* parent)
    : QObject(parent),
      timing_(std::move(timing)),
      update_(std::move(update)),
      newestDay_(std::move(newestDay)),
      finished_(std::move(finished))
{
    timer_.setInterval(timing_.interval);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
}

AutoUpdate::~AutoUpdate()
{
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

void AutoUpdate::Start()
{
    timer_.start();
    QTimer::singleShot(0, this, [this] { Check(); });
}

void AutoUpdate::SetEnabled(bool on) { enabled_ = on; }

bool AutoUpdate::Check()
{
    if (blocked && blocked())
        return false;
    const QDateTime now = timing_.now();
    if (!AutoUpdateDue({enabled_, running_, newestDay_(), lastAttempt_}, now, timing_.gap))
        return false;
    lastAttempt_ = now;
    running_ = true;
    if (worker_.joinable())
        worker_.join();
    cancelled_ = false;
    worker_ = std::thread([this] {
        UpdateOutcome outcome;
        try {
            outcome = update_(cancelled_);
        } catch (const std::exception& error) {
            outcome = {UpdateOutcome::Failed, error.what()};
        }
        // Dropped when this object is gone by then.
        QMetaObject::invokeMethod(this, [this, outcome] { Ended(outcome); }, Qt::QueuedConnection);
    });
    return true;
}

void AutoUpdate::Ended(const UpdateOutcome& outcome)
{
    running_ = false;
    if (worker_.joinable())
        worker_.join();
    if (finished_)
        finished_(outcome);
}

} // namespace zentaro
