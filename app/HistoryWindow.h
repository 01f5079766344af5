#pragma once

#include "app/PlotGeometry.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace zentaro {

class HistoryPlot;

// A pair's history: the rate of one currency in another on every day that
// has both, as a line over a chosen range of days, with the range's lowest,
// highest and last rate, and the shown days to copy or to save as CSV or PNG.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    // The series of a pair: To per one From on each day with both, ordered by day.
    using Series = std::function<std::vector<HistoryPoint>(const std::string& from, const std::string& to)>;
    // Asks where to save: the dialog's caption, a suggested file name and a
    // name filter; an empty text when cancelled. Tests replace it.
    using AskSavePath = std::function<QString(const QString& caption, const QString& name, const QString& filter)>;

    HistoryWindow(Series series, char decimalSeparator, QWidget* parent = nullptr);

    // Shows this pair's history; the range stays.
    void ShowPair(const std::string& from, const std::string& to);
    // The data changed: the series is fetched again.
    void Reload();
    void SetRange(HistoryRange range);
    HistoryRange Range() const { return range_; }
    void SetAskSavePath(AskSavePath ask) { askSavePath_ = std::move(ask); }

    const std::vector<HistoryPoint>& Points() const { return points_; }
    PointRange Shown() const { return shown_; }
    // The shown days as "date,rate" lines under that header, "." decimals.
    std::string ShownCsv() const;
    // The same as "date<TAB>rate" lines, as spreadsheets take a paste.
    std::string ShownTabText() const;
    void CopyShown() const;
    // Write the file; false when it cannot be written.
    bool SaveCsv(const QString& path) const;
    bool SavePng(const QString& path) const;

    QPushButton* RangeButton(HistoryRange range) const;
    QPushButton* CopyButton() const { return copyButton_; }
    QPushButton* CsvButton() const { return csvButton_; }
    QPushButton* PngButton() const { return pngButton_; }
    HistoryPlot* Plot() const { return plot_; }
    // "Min 1.2 on 2008-09-02   Max ...   Last ..."; empty without shown days.
    QLabel* SummaryLabel() const { return summary_; }

private:
    void ShowRange();
    void AskAndSave(bool png);
    std::string ShownLines(char separator) const;

    Series series_;
    char decimalSeparator_;
    AskSavePath askSavePath_;
    std::string from_;
    std::string to_;
    std::vector<HistoryPoint> points_;
    HistoryRange range_ = HistoryRange::All;
    PointRange shown_;
    std::array<QPushButton*, 4> rangeButtons_{};
    QPushButton* copyButton_ = nullptr;
    QPushButton* csvButton_ = nullptr;
    QPushButton* pngButton_ = nullptr;
    HistoryPlot* plot_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* message_ = nullptr;
};

} // namespace zentaro
