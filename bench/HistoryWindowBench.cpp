// The History window on the whole history (6,700 days): opening it with
// every day drawn, a change of the range, and a pointer move over the plot
// with its crosshair drawn. Each step ends with the window drawn off-screen.
#include "app/HistoryPlot.h"
#include "app/HistoryWindow.h"
#include "bench/GeneratedHistory.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// A wandering rate on each day of the generated history.
const std::vector<zentaro::HistoryPoint>& WholeHistory()
{
    static const std::vector<zentaro::HistoryPoint> points = [] {
        std::vector<zentaro::HistoryPoint> series;
        std::mt19937 random(1999);
        std::normal_distribution<double> step(0.0, 0.004);
        double rate = 1.17;
        for (const std::string& date : zentaro::bench::HistoryDates(zentaro::bench::kHistoryDays)) {
            rate *= 1.0 + step(random);
            series.push_back({zentaro::CalendarDay(date).value(), date, rate});
        }
        return series;
    }();
    return points;
}

std::unique_ptr<zentaro::HistoryWindow> OpenWindow()
{
    auto window = std::make_unique<zentaro::HistoryWindow>(
        [](const std::string&, const std::string&) { return WholeHistory(); }, '.');
    window->resize(760, 460);
    window->ShowPair("EUR", "USD");
    window->show();
    return window;
}

void BM_HistoryOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const auto window = OpenWindow();
        const QPixmap drawn = window->grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
    }
}
BENCHMARK(BM_HistoryOpen)->Unit(benchmark::kMillisecond);

void BM_HistoryRangeChange(benchmark::State& state)
{
    const auto window = OpenWindow();
    const zentaro::HistoryRange ranges[] = {zentaro::HistoryRange::FiveYears, zentaro::HistoryRange::All};
    std::size_t next = 0;
    for (auto _ : state) {
        window->SetRange(ranges[next]);
        next = 1 - next;
        const QPixmap drawn = window->Plot()->grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
    }
}
BENCHMARK(BM_HistoryRangeChange)->Unit(benchmark::kMillisecond);

void BM_HistoryPointerMove(benchmark::State& state)
{
    const auto window = OpenWindow();
    zentaro::HistoryPlot* plot = window->Plot();
    plot->grab();
    const QRectF area = plot->PlotArea();
    int x = 0;
    for (auto _ : state) {
        const QPointF at(area.left() + x % static_cast<int>(area.width()), area.center().y());
        x += 7;
        QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        const QPixmap drawn = plot->grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
    }
    if (!plot->Crosshair())
        state.SkipWithError("no crosshair");
}
BENCHMARK(BM_HistoryPointerMove)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
