#include "app/RatesKeeper.h"
#include "app/DataFileWatcher.h"
#include "app/WindowCommands.h"

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

RatesKeeper::RatesKeeper(QWidget* window, WindowCommands& commands, Options options)
    : QObject(window), options_(std::move(options)), preferences_(options_.preferencesFile)
{
    ageLine_ = new QLabel(window);
    ageLine_->setObjectName(QStringLiteral("ratesAge"));
    ageLine_->setGeometry(kAgeLineBox);
    QFont font = window->font();
    font.setPixelSize(kAgeLineFontPixels);
    ageLine_->setFont(font);
    ageLine_->show();

    watcher_ = new DataFileWatcher(options_.update.dataFile, options_.settle, this);
    connect(watcher_, &DataFileWatcher::changed, this, [this] { options_.follow(); });

    AutoUpdate::Timing timing{options_.now, options_.interval, options_.gap};
    autoUpdate_ = std::make_unique<AutoUpdate>(
        timing,
        [update = options_.update](const std::atomic<bool>& cancelled) {
            return RunBackgroundUpdate(update, cancelled);
        },
        [this] { return NewestEcbDay(options_.uploadTimes()); },
        [this](const UpdateOutcome& outcome) { Updated(outcome); });
    autoUpdate_->blocked = options_.transferring;
    autoUpdate_->SetEnabled(preferences_.UpdateRatesAutomatically());
    // Switched on, it looks for newer rates at once.
    checkItem_ = commands.AddCheck(QString::fromLatin1(kCheckItemText), preferences_.UpdateRatesAutomatically(),
                                   [this](bool on) {
                                       preferences_.SetUpdateRatesAutomatically(on);
                                       autoUpdate_->SetEnabled(on);
                                       if (on && options_.interval.count() > 0)
                                           autoUpdate_->Check();
                                   });
    if (options_.interval.count() > 0)
        autoUpdate_->Start();

    clock_.setInterval(kAgeTick);
    connect(&clock_, &QTimer::timeout, this, &RatesKeeper::ShowAge);
    clock_.start();
    ShowAge();
}

RatesKeeper::~RatesKeeper() = default;

void RatesKeeper::ShowAge()
{
    const std::vector<std::string>& times = options_.uploadTimes();
    const RatesAge age = DescribeRatesAge(options_.currentUploadTime(), times.empty() ? std::string() : times.back(),
                                          options_.now(), QLocale(), failure_);
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
        options_.follow();
    ShowAge();
}

} // namespace zentaro
