#include "app/HistoryPlot.h"

#include "store/NumberText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zentaro {

namespace {

constexpr int kTopMargin = 10;
constexpr int kRightMargin = 16;
constexpr int kBottomMargin = 24;
constexpr int kTickLength = 4;
// The pixels a date label and a value label need, which bound the ticks.
constexpr int kDateLabelPixels = 84;
constexpr int kValueLabelPixels = 44;

const QColor kGridColour(222, 230, 238);
const QColor kAxisColour(96, 112, 128);
const QColor kLineColour(36, 112, 180);
const QColor kLowColour(200, 60, 50);
const QColor kHighColour(40, 140, 80);
const QColor kCrosshairColour(120, 120, 120);

QString Text(const std::string& text) { return QString::fromStdString(text); }

} // namespace

HistoryPlot::HistoryPlot(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize HistoryPlot::sizeHint() const { return {720, 360}; }
QSize HistoryPlot::minimumSizeHint() const { return {240, 140}; }

void HistoryPlot::SetPoints(const std::vector<HistoryPoint>* points, PointRange shown, DaySpan span)
{
    points_ = points;
    shown_ = shown;
    span_ = span;
    crosshair_.reset();
    Invalidate();
}

void HistoryPlot::SetDecimalSeparator(char separator)
{
    decimalSeparator_ = separator;
    Invalidate();
}

void HistoryPlot::SetEmptyText(const QString& text)
{
    emptyText_ = text;
    Invalidate();
}

void HistoryPlot::Invalidate()
{
    base_ = QImage();
    values_ = ValueAxis();
    if (points_) {
        if (const auto summary = SummarizeRange(*points_, shown_))
            values_ = MakeValueAxis(summary->min, summary->max, std::max(2, (height() - kTopMargin - kBottomMargin) / 70));
    }
    // The value labels decide how far the plot stands from the left edge.
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const double tick : values_.ticks)
        widest = std::max(widest, metrics.horizontalAdvance(Text(ValueLabel(values_, tick, decimalSeparator_))));
    leftMargin_ = std::max(kValueLabelPixels, widest + 2 * kTickLength + 4);
    update();
}

QRectF HistoryPlot::PlotArea() const
{
    return QRectF(leftMargin_, kTopMargin, std::max(1, width() - leftMargin_ - kRightMargin),
                  std::max(1, height() - kTopMargin - kBottomMargin));
}

PlotMapping HistoryPlot::Mapping() const
{
    const QRectF area = PlotArea();
    return {area.left(), area.top(), area.width(), area.height(), span_, values_.low, values_.high};
}

QString HistoryPlot::RateText(double rate) const { return Text(ResultText(rate, decimalSeparator_)); }

QString HistoryPlot::Readout() const
{
    if (!crosshair_ || !points_)
        return {};
    const HistoryPoint& point = (*points_)[*crosshair_];
    return Text(point.date) + QStringLiteral("  ") + RateText(point.rate);
}

void HistoryPlot::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void HistoryPlot::mouseMoveEvent(QMouseEvent* event)
{
    std::optional<std::size_t> nearest;
    if (points_ && PlotArea().contains(event->position()))
        nearest = NearestPoint(*points_, shown_, Mapping(), event->position().x());
    if (nearest != crosshair_) {
        crosshair_ = nearest;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void HistoryPlot::leaveEvent(QEvent* event)
{
    if (crosshair_) {
        crosshair_.reset();
        update();
    }
    QWidget::leaveEvent(event);
}

void HistoryPlot::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (base_.isNull() || base_.size() != size() * ratio) {
        base_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        base_.setDevicePixelRatio(ratio);
        DrawBase(base_);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, base_);
    DrawCrosshair(painter);
}

void HistoryPlot::DrawBase(QImage& image) const
{
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    painter.setFont(font());
    if (!points_ || shown_.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
        return;
    }
    const PlotMapping mapping = Mapping();
    const DateAxis dates = MakeDateAxis(span_, std::max(1, static_cast<int>(PlotArea().width()) / kDateLabelPixels));
    DrawGrid(painter, mapping, dates);
    DrawAxes(painter, mapping, dates);
    DrawLine(painter, mapping);
}

void HistoryPlot::DrawGrid(QPainter& painter, const PlotMapping& mapping, const DateAxis& dates) const
{
    const QRectF area = PlotArea();
    painter.setPen(QPen(kGridColour, 1));
    for (const double tick : values_.ticks) {
        const double y = std::round(mapping.Y(tick)) + 0.5;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    for (const DateTick& tick : dates.ticks) {
        const double x = std::round(mapping.X(tick.day)) + 0.5;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
}

// The axes with their ticks and labels: values on the left, dates below.
void HistoryPlot::DrawAxes(QPainter& painter, const PlotMapping& mapping, const DateAxis& dates) const
{
    const QRectF area = PlotArea();
    const QFontMetrics metrics(font());
    painter.setPen(QPen(kAxisColour, 1));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    const QColor text = palette().color(QPalette::Text);
    for (const double tick : values_.ticks) {
        const double y = mapping.Y(tick);
        painter.setPen(kAxisColour);
        painter.drawLine(QPointF(area.left() - kTickLength, y), QPointF(area.left(), y));
        painter.setPen(text);
        const QRectF box(0, y - metrics.height() / 2.0, area.left() - 2 * kTickLength, metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Text(ValueLabel(values_, tick, decimalSeparator_)));
    }
    for (const DateTick& tick : dates.ticks) {
        const double x = mapping.X(tick.day);
        painter.setPen(kAxisColour);
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + kTickLength));
        painter.setPen(text);
        const QRectF box(x - kDateLabelPixels / 2.0, area.bottom() + kTickLength, kDateLabelPixels, metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, Text(tick.label));
    }
}

// The line over a few points per pixel column, and the lowest and the
// highest rate of the range.
void HistoryPlot::DrawLine(QPainter& painter, const PlotMapping& mapping) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(PlotArea().adjusted(-2, -2, 2, 2));
    const std::vector<std::size_t> line = LinePoints(*points_, shown_, mapping);
    // Separate segments: the stroker joins a polyline's segments at a cost
    // that grows with their number, and at a few points per column no join
    // shows.
    QList<QLineF> segments;
    segments.reserve(static_cast<qsizetype>(line.size()));
    QPointF previous;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const HistoryPoint& point = (*points_)[line[k]];
        const QPointF at(mapping.X(point.day), mapping.Y(point.rate));
        if (k > 0)
            segments.append(QLineF(previous, at));
        previous = at;
    }
    painter.setPen(QPen(kLineColour, 1.5, Qt::SolidLine, Qt::RoundCap));
    if (segments.isEmpty())
        painter.drawEllipse(previous, 2.0, 2.0);
    else
        painter.drawLines(segments);

    if (const auto summary = SummarizeRange(*points_, shown_)) {
        for (const auto& [index, colour] : {std::pair{summary->minIndex, kLowColour}, std::pair{summary->maxIndex, kHighColour}}) {
            const HistoryPoint& point = (*points_)[index];
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(mapping.X(point.day), mapping.Y(point.rate)), 3.0, 3.0);
        }
    }
}

void HistoryPlot::DrawCrosshair(QPainter& painter) const
{
    if (!crosshair_ || !points_)
        return;
    const PlotMapping mapping = Mapping();
    const QRectF area = PlotArea();
    const HistoryPoint& point = (*points_)[*crosshair_];
    const QPointF at(mapping.X(point.day), mapping.Y(point.rate));
    painter.setPen(QPen(kCrosshairColour, 1, Qt::DashLine));
    painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
    painter.drawLine(QPointF(area.left(), at.y()), QPointF(area.right(), at.y()));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kLineColour, 1.5));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(at, 3.5, 3.5);

    // The readout beside the point, turned inwards near the plot's edges.
    const QString text = Readout();
    const QFontMetrics metrics(font());
    QRectF box(0, 0, metrics.horizontalAdvance(text) + 12, metrics.height() + 6);
    box.moveBottomLeft(at + QPointF(8, -8));
    if (box.right() > area.right())
        box.moveRight(at.x() - 8);
    if (box.top() < area.top())
        box.moveTop(at.y() + 8);
    painter.setPen(QPen(kAxisColour, 1));
    painter.setBrush(palette().color(QPalette::ToolTipBase));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace zentaro
