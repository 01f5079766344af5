#pragma once

#include "app/PlotGeometry.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QPainter;

#include <optional>
#include <vector>

namespace zentaro {

// The line of a rate history over the days of a span, with its date and
// value axes and grid, and under the pointer a crosshair on the nearest day
// with that day's rate. The geometry comes from PlotGeometry; the plot
// without the crosshair is drawn once per change of the points, the span or
// the size, so a pointer move draws only the crosshair.
class HistoryPlot : public QWidget {
    Q_OBJECT

public:
    explicit HistoryPlot(QWidget* parent = nullptr);

    // points ordered by day; shown are those in span.
    void SetPoints(const std::vector<HistoryPoint>* points, PointRange shown, DaySpan span);
    void SetDecimalSeparator(char separator);
    // Shown when no point is in the span.
    void SetEmptyText(const QString& text);

    // The point under the crosshair, if the pointer is over the plot.
    std::optional<std::size_t> Crosshair() const { return crosshair_; }
    // "2008-09-12  1.4419": the crosshair's day and rate; empty without one.
    QString Readout() const;
    // The area inside the axes, in the widget's pixels.
    QRectF PlotArea() const;
    PlotMapping Mapping() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Invalidate();
    void DrawBase(QImage& image) const;
    void DrawGrid(QPainter& painter, const PlotMapping& mapping, const DateAxis& dates) const;
    void DrawAxes(QPainter& painter, const PlotMapping& mapping, const DateAxis& dates) const;
    void DrawLine(QPainter& painter, const PlotMapping& mapping) const;
    void DrawCrosshair(QPainter& painter) const;
    QString RateText(double rate) const;

    const std::vector<HistoryPoint>* points_ = nullptr;
    PointRange shown_;
    DaySpan span_;
    ValueAxis values_;
    char decimalSeparator_ = '.';
    QString emptyText_;
    std::optional<std::size_t> crosshair_;
    QImage base_; // the plot without the crosshair; null: draw again
    int leftMargin_ = 48;
};

} // namespace zentaro
