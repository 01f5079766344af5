#pragma once

// What main() does in the benchmarks that drive windows: they draw
// off-screen, so they run without a display.
#include <QApplication>

#include <benchmark/benchmark.h>

namespace zentaro::bench {

inline int RunOffscreen(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zentaro::bench
