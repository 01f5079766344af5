#include "app/RatesKeeper.h"
#include "app/DataFileWatcher.h"
#include "app/WindowCommands.h"
#include "app/WindowSettings.h"

#include <QAction>
#include <QLabel>

namespace zentaro {
namespace {

const QRect kAgeLineBox(230, 192, 360, 16);
constexpr int kAgeLineFontPixels = 12;
// The blue of the artwork's title bar, and a dark amber beside its yellow
// arrow that stays readable on the light panel.
const QColor kAgeColour(28, 100, 140);
const QColor kStaleColour(178, 70, 0);
constexpr std::chrono::minutes kAgeTick{1};

} // namespace

RatesKeeper::RatesKeeper(QWidget* window, WindowCommands& commands, const WindowSettings& settings, Window asks)
    : QObject(window),
      now_(settings.now),
      interval_(settings.autoUpdateInterval),
      window_(std::move(asks)),
      preferences_(settings.configFile)
{
    ageLine_ = new QLabel(window);
    ageLine_->setObjectName(QStringLiteral("ratesAge"));
    ageLine_->setGeometry(kAgeLineBox);
    QFont font = window->font();
    font.setPixelSize(kAgeLineFontPixels);
    ageLine_->setFont(font);
    ageLine_->show();

    watcher_ = new DataFileWatcher(settings.DataFilePath(), settings.followSettle, this);
    connect(watcher_, &DataFileWatcher::changed, this, [this] { window_.follow(); });

    AutoUpdate::Timing timing{now_, interval_, settings.autoUpdateGap};
    autoUpdate_ = std::make_unique<AutoUpdate>(
        timing,
        [update = settings.UpdateSettings()](const std::atomic<bool>& cancelled) {
            return RunBackgroundUpdate(update, cancelled);
        },
        [this] { return NewestEcbDay(window_.uploadTimes()); },
        [this](const UpdateOutcome& outcome) { Updated(outcome); });
    autoUpdate_->blocked = window_.transferring;
    autoUpdate_->SetEnabled(preferences_.UpdateRatesAutomatically());
    // Switched on, it looks for newer rates at once.
    checkItem_ = commands.AddCheck(QString::fromLatin1(kCheckItemText), preferences_.UpdateRatesAutomatically(),
                                   [this](bool on) {
                                       preferences_.SetUpdateRatesAutomatically(on);
                                       autoUpdate_->SetEnabled(on);
                                       if (on && interval_.count() > 0)
                                           autoUpdate_->Check();
                                   });
    if (interval_.count() > 0)
        autoUpdate_->Start();

    clock_.setInterval(kAgeTick);
    connect(&clock_, &QTimer::timeout, this, &RatesKeeper::ShowAge);
    clock_.start();
    ShowAge();
}

RatesKeeper::~RatesKeeper() = default;

void RatesKeeper::ShowAge()
{
    const std::vector<std::string>& times = window_.uploadTimes();
    const RatesAge age = DescribeRatesAge(window_.currentUploadTime(), times.empty() ? std::string() : times.back(),
                                          now_(), QLocale(), failure_);
    if (ageLine_->text() != age.text)
        ageLine_->setText(age.text);
    if (ageLine_->toolTip() != age.hint)
        ageLine_->setToolTip(age.hint);
    const QColor colour = age.stale ? kStaleColour : kAgeColour;
    QPalette palette = ageLine_->palette();
    if (palette.color(QPalette::WindowText) != colour) {
        palette.setColor(QPalette::WindowText, colour);
        ageLine_->setPalette(palette);
    }
    ageLine_->setProperty("stale", age.stale);
}

void RatesKeeper::Updated(const UpdateOutcome& outcome)
{
    if (outcome.kind == UpdateOutcome::Failed)
        failure_ = outcome.failure;
    else
        failure_.reset();
    if (outcome.kind == UpdateOutcome::Added)
        window_.follow();
    ShowAge();
}

} // namespace zentaro
