// The History window on the whole history (6,700 days): opening it with
// every day drawn (the pair's series fetched from the table included), a change of the range, and a pointer move over the plot
// with its crosshair drawn. Each step ends with the window drawn off-screen.
#include "app/HistoryPlot.h"
#include "app/HistoryWindow.h"
#include "bench/ImportedHistory.h"
#include "bench/OffscreenMain.h"
#include "store/RateHistory.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// The window fetches its series from the table as it does from the main
// window's.
zentaro::RateTable& WholeHistory()
{
    static zentaro::bench::ImportedHistory imported;
    return imported.table;
}

std::unique_ptr<zentaro::HistoryWindow> OpenWindow()
{
    auto window = std::make_unique<zentaro::HistoryWindow>(
        [](const std::string& from, const std::string& to) { return zentaro::PairHistory(WholeHistory(), from, to); },
        '.');
    window->resize(760, 460);
    window->ShowPair(zentaro::bench::CurrencyCode(0), zentaro::bench::CurrencyCode(1));
    window->show();
    return window;
}

void BM_HistoryOpen(benchmark::State& state)
{
    WholeHistory();
    for (auto _ : state) {
        const auto window = OpenWindow();
        const QPixmap drawn = window->grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
        if (window->Shown().size() != static_cast<std::size_t>(zentaro::bench::kHistoryDays))
            state.SkipWithError("not every day is drawn");
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

int main(int argc, char** argv) { return zentaro::bench::RunOffscreen(argc, argv); }
