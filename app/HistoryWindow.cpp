#include "app/HistoryWindow.h"

#include "app/HistoryPlot.h"
#include "store/NumberText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zentaro {

namespace {

struct RangeChoice {
    HistoryRange range;
    const char* caption;
};
constexpr std::array<RangeChoice, 4> kRanges = {{
    {HistoryRange::OneMonth, "1 month"},
    {HistoryRange::OneYear, "1 year"},
    {HistoryRange::FiveYears, "5 years"},
    {HistoryRange::All, "All"},
}};

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString DefaultAskSavePath(QWidget* parent, const QString& caption, const QString& name, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, name, filter);
}

} // namespace

HistoryWindow::HistoryWindow(Series series, char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), series_(std::move(series)), decimalSeparator_(decimalSeparator)
{
    askSavePath_ = [this](const QString& caption, const QString& name, const QString& filter) {
        return DefaultAskSavePath(this, caption, name, filter);
    };
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (std::size_t i = 0; i < kRanges.size(); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kRanges[i].caption), this);
        button->setCheckable(true);
        button->setChecked(kRanges[i].range == range_);
        group->addButton(button);
        rangeButtons_[i] = button;
        bar->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, range = kRanges[i].range] { SetRange(range); });
    }
    bar->addStretch();
    copyButton_ = new QPushButton(QStringLiteral("Copy"), this);
    csvButton_ = new QPushButton(QStringLiteral("Save CSV..."), this);
    pngButton_ = new QPushButton(QStringLiteral("Save PNG..."), this);
    for (QPushButton* button : {copyButton_, csvButton_, pngButton_})
        bar->addWidget(button);
    connect(copyButton_, &QPushButton::clicked, this, [this] { CopyShown(); });
    connect(csvButton_, &QPushButton::clicked, this, [this] { AskAndSave(false); });
    connect(pngButton_, &QPushButton::clicked, this, [this] { AskAndSave(true); });
    layout->addLayout(bar);

    plot_ = new HistoryPlot(this);
    plot_->SetDecimalSeparator(decimalSeparator_);
    layout->addWidget(plot_, 1);
    summary_ = new QLabel(this);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);
    message_ = new QLabel(this);
    message_->hide();
    layout->addWidget(message_);
    resize(760, 460);
}

void HistoryWindow::ShowPair(const std::string& from, const std::string& to)
{
    from_ = from;
    to_ = to;
    setWindowTitle(Text(from) + QStringLiteral(" in ") + Text(to) + QStringLiteral(" - Zentaro"));
    Reload();
}

void HistoryWindow::Reload()
{
    points_ = series_ ? series_(from_, to_) : std::vector<HistoryPoint>();
    ShowRange();
    plot_->SetEmptyText(QStringLiteral("No day has rates of both %1 and %2.").arg(Text(from_), Text(to_)));
}

void HistoryWindow::SetRange(HistoryRange range)
{
    range_ = range;
    for (std::size_t i = 0; i < kRanges.size(); ++i)
        rangeButtons_[i]->setChecked(kRanges[i].range == range);
    ShowRange();
}

QPushButton* HistoryWindow::RangeButton(HistoryRange range) const
{
    for (std::size_t i = 0; i < kRanges.size(); ++i)
        if (kRanges[i].range == range)
            return rangeButtons_[i];
    return nullptr;
}

void HistoryWindow::ShowRange()
{
    DaySpan span;
    if (!points_.empty())
        span = RangeSpan(range_, points_.front().day, points_.back().day);
    shown_ = points_.empty() ? PointRange{} : PointsInSpan(points_, span);
    plot_->SetPoints(&points_, shown_, span);
    const auto summary = SummarizeRange(points_, shown_);
    for (QPushButton* button : {copyButton_, csvButton_, pngButton_})
        button->setEnabled(summary.has_value());
    if (!summary) {
        summary_->clear();
        return;
    }
    const auto part = [this](const char* name, std::size_t index) {
        return QStringLiteral("%1 %2 on %3")
            .arg(QString::fromLatin1(name), Text(ResultText(points_[index].rate, decimalSeparator_)),
                 Text(points_[index].date));
    };
    summary_->setText(part("Min", summary->minIndex) + QStringLiteral("     ") + part("Max", summary->maxIndex) +
                      QStringLiteral("     ") + part("Last", summary->lastIndex));
}

std::string HistoryWindow::ShownLines(char separator) const
{
    std::string lines;
    for (std::size_t i = shown_.begin; i < shown_.end; ++i) {
        lines += points_[i].date;
        lines += separator;
        lines += ResultText(points_[i].rate, '.');
        lines += '\n';
    }
    return lines;
}

std::string HistoryWindow::ShownCsv() const { return "date,rate\n" + ShownLines(','); }
std::string HistoryWindow::ShownTabText() const { return ShownLines('\t'); }

void HistoryWindow::CopyShown() const { QApplication::clipboard()->setText(Text(ShownTabText())); }

bool HistoryWindow::SaveCsv(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const std::string csv = ShownCsv();
    return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
           file.flush();
}

bool HistoryWindow::SavePng(const QString& path) const { return plot_->grab().save(path, "PNG"); }

void HistoryWindow::AskAndSave(bool png)
{
    const QString name = Text(from_ + "-" + to_) + (png ? QStringLiteral(".png") : QStringLiteral(".csv"));
    const QString path = png ? askSavePath_(QStringLiteral("Save as PNG"), name, QStringLiteral("PNG image (*.png)"))
                             : askSavePath_(QStringLiteral("Save as CSV"), name, QStringLiteral("CSV file (*.csv)"));
    if (path.isEmpty())
        return;
    const bool saved = png ? SavePng(path) : SaveCsv(path);
    message_->setText(saved ? QStringLiteral("Saved %1").arg(path) : QStringLiteral("Cannot write %1").arg(path));
    message_->show();
}

} // namespace zentaro
