#include "app/HistoryPlot.h"
#include "app/HistoryWindow.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace zentaro {
namespace {

DayNumber Day(const char* date) { return CalendarDay(date).value(); }

// A rate with at most six decimals, trailing zeros dropped.
QString SixDecimals(double rate)
{
    QString text = QString::number(rate, 'f', 6);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text;
}

// Weekdays from 2000-01-03 to 2008-09-12, the rate rising by a thousandth a
// day from 1, except two marked days; the pair asked for is recorded.
class HistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (DayNumber day = Day("2000-01-03"); day <= Day("2008-09-12"); ++day) {
            if ((day + 3) % 7 >= 5) // Saturday and Sunday
                continue;
            series.push_back({day, CalendarDayText(day), 1.0 + 0.001 * static_cast<double>(series.size())});
        }
        lowest = Day("2008-08-20");
        highest = Day("2008-09-03");
        for (HistoryPoint& point : series) {
            if (point.day == lowest)
                point.rate = 0.25;
            if (point.day == highest)
                point.rate = 9.5;
        }
        window = std::make_unique<HistoryWindow>(
            [this](const std::string& from, const std::string& to) {
                asked.emplace_back(from, to);
                return from == "USD" && to == "JPY" ? series : std::vector<HistoryPoint>();
            },
            '.');
        window->SetAskSavePath([this](const QString&, const QString& name, const QString&) {
            suggestedNames.push_back(name);
            return savePath;
        });
        window->ShowPair("USD", "JPY");
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The rate of a day as the test built it.
    double RateOn(DayNumber day) const
    {
        for (const HistoryPoint& point : series)
            if (point.day == day)
                return point.rate;
        ADD_FAILURE() << CalendarDayText(day) << " has no rate";
        return 0;
    }

    std::vector<HistoryPoint> series;
    DayNumber lowest = 0;
    DayNumber highest = 0;
    std::vector<std::pair<std::string, std::string>> asked;
    std::vector<QString> suggestedNames;
    QString savePath;
    std::unique_ptr<HistoryWindow> window;
};

TEST_F(HistoryWindowTest, TitleNamesThePairAndAllDaysShowAtFirst)
{
    EXPECT_EQ(window->windowTitle(), "USD in JPY - Zentaro");
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->RangeButton(HistoryRange::All)->isChecked());
    EXPECT_EQ(window->Shown().size(), series.size());
    EXPECT_EQ(window->SummaryLabel()->text(),
              "Min 0.25 on 2008-08-20     Max 9.5 on 2008-09-03     Last " + SixDecimals(series.back().rate) +
                  " on 2008-09-12");
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, std::string>>{{"USD", "JPY"}}));
}

TEST_F(HistoryWindowTest, RangeButtonsShowTheirDays)
{
    const struct {
        HistoryRange range;
        const char* first; // the first weekday on or after the range's start
        const char* summary;
    } kCases[] = {
        {HistoryRange::OneMonth, "2008-08-12", "Min 0.25 on 2008-08-20"},
        {HistoryRange::OneYear, "2007-09-12", "Min 0.25 on 2008-08-20"},
        {HistoryRange::FiveYears, "2003-09-12", "Min 0.25 on 2008-08-20"},
        {HistoryRange::All, "2000-01-03", "Min 0.25 on 2008-08-20"},
    };
    for (const auto& c : kCases) {
        QTest::mouseClick(window->RangeButton(c.range), Qt::LeftButton);
        EXPECT_EQ(window->Range(), c.range);
        EXPECT_TRUE(window->RangeButton(c.range)->isChecked());
        const PointRange shown = window->Shown();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(CalendarDayText(window->Points()[shown.begin].day), c.first);
        EXPECT_EQ(CalendarDayText(window->Points()[shown.end - 1].day), "2008-09-12");
        EXPECT_TRUE(window->SummaryLabel()->text().startsWith(c.summary)) << window->SummaryLabel()->text().toStdString();
    }
    // A month whose lowest day is not the series' lowest.
    window->ShowPair("USD", "JPY");
    QTest::mouseClick(window->RangeButton(HistoryRange::OneMonth), Qt::LeftButton);
    for (HistoryPoint& point : series)
        if (point.day == lowest)
            point.rate = 5.0;
    window->Reload();
    EXPECT_TRUE(window->SummaryLabel()->text().startsWith("Min " + SixDecimals(RateOn(Day("2008-08-12"))) +
                                                          " on 2008-08-12"))
        << window->SummaryLabel()->text().toStdString();
    EXPECT_EQ(window->Range(), HistoryRange::OneMonth) << "a reload keeps the range";
}

TEST_F(HistoryWindowTest, CrosshairReadsTheDayUnderThePointer)
{
    QTest::mouseClick(window->RangeButton(HistoryRange::OneMonth), Qt::LeftButton);
    HistoryPlot* plot = window->Plot();
    const PlotMapping mapping = plot->Mapping();
    const int y = static_cast<int>(mapping.top + mapping.height / 2);
    const struct {
        const char* pointedAt;
        const char* readDay;
    } kCases[] = {
        {"2008-09-03", "2008-09-03"},
        {"2008-08-20", "2008-08-20"},
        {"2008-09-06", "2008-09-05"}, // a Saturday: Friday is nearer
        {"2008-09-07", "2008-09-08"}, // a Sunday: Monday is nearer
    };
    for (const auto& c : kCases) {
        const int x = static_cast<int>(std::lround(mapping.X(Day(c.pointedAt))));
        QTest::mouseMove(plot, QPoint(x, y));
        ASSERT_TRUE(plot->Crosshair()) << c.pointedAt;
        EXPECT_EQ(plot->Readout(), QString::fromLatin1(c.readDay) + "  " + SixDecimals(RateOn(Day(c.readDay))))
            << c.pointedAt;
    }
    // Below the plot area there is no crosshair.
    QTest::mouseMove(plot, QPoint(static_cast<int>(mapping.X(Day("2008-09-03"))), plot->height() - 2));
    EXPECT_FALSE(plot->Crosshair());
    EXPECT_EQ(plot->Readout(), "");
}

TEST_F(HistoryWindowTest, SavesAndCopiesTheShownDays)
{
    test::TempDir folder;
    QTest::mouseClick(window->RangeButton(HistoryRange::OneMonth), Qt::LeftButton);
    savePath = QString::fromStdString((folder / "month.csv").string());
    QTest::mouseClick(window->CsvButton(), Qt::LeftButton);
    ASSERT_EQ(suggestedNames, std::vector<QString>{"USD-JPY.csv"});
    const std::string csv = test::ReadFile(folder / "month.csv");
    const std::string firstLines = "date,rate\n2008-08-12," + SixDecimals(RateOn(Day("2008-08-12"))).toStdString() +
                                   "\n2008-08-13," + SixDecimals(RateOn(Day("2008-08-13"))).toStdString() + "\n";
    EXPECT_EQ(csv.substr(0, firstLines.size()), firstLines);
    EXPECT_NE(csv.find("\n2008-08-20,0.25\n"), std::string::npos);
    EXPECT_NE(csv.find("\n2008-09-03,9.5\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 24); // the header and 24 weekdays
    EXPECT_EQ(csv.find("2008-08-11"), std::string::npos);

    QTest::mouseClick(window->CopyButton(), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("2008-08-12\t")) << copied.toStdString();
    EXPECT_EQ(copied.count('\n'), 24);

    savePath = QString::fromStdString((folder / "month.png").string());
    QTest::mouseClick(window->PngButton(), Qt::LeftButton);
    const QImage png(savePath);
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), window->Plot()->size() * window->Plot()->devicePixelRatio());

    // Cancelled: nothing is written.
    savePath.clear();
    QTest::mouseClick(window->CsvButton(), Qt::LeftButton);
    EXPECT_EQ(suggestedNames.size(), 3u);
}

TEST_F(HistoryWindowTest, PairWithoutCommonDaysShowsNothingToSave)
{
    window->ShowPair("USD", "XAU");
    EXPECT_EQ(window->windowTitle(), "USD in XAU - Zentaro");
    EXPECT_TRUE(window->Shown().empty());
    EXPECT_EQ(window->SummaryLabel()->text(), "");
    EXPECT_FALSE(window->CsvButton()->isEnabled());
    EXPECT_FALSE(window->CopyButton()->isEnabled());
    EXPECT_EQ(window->ShownCsv(), "date,rate\n");
}

TEST_F(HistoryWindowTest, PlotDrawsTheLineInsideItsArea)
{
    const QImage drawn = window->Plot()->grab().toImage();
    const PlotMapping mapping = window->Plot()->Mapping();
    // The highest day's marker and a point amid the line are drawn in
    // colour; the plot above the line is not.
    const auto coloured = [&](DayNumber day, double rate) {
        const QPoint at(static_cast<int>(std::lround(mapping.X(day))), static_cast<int>(std::lround(mapping.Y(rate))));
        const QColor pixel = drawn.pixelColor(at * window->Plot()->devicePixelRatio());
        return pixel.saturation() > 60;
    };
    EXPECT_TRUE(coloured(highest, 9.5));
    const HistoryPoint& amid = series[series.size() / 2];
    EXPECT_TRUE(coloured(amid.day, amid.rate));
    EXPECT_FALSE(coloured(amid.day, 9.0)) << "nothing drawn far above the line";
}

} // namespace
} // namespace zentaro
