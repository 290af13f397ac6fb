// Start-up to the window shown: constructing the main window, its start and the events
// until the window is exposed, in a fresh program folder each time.
#include "BenchSupport.h"
#include "window/QtDialogs.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {
// Starts the window, then lets the event loop run until it is exposed. False when it was not
// exposed within five seconds.
bool startAndExpose(frmMain& window)
{
    window.start();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (waited.elapsed() > 5000)
            return false;
        QApplication::processEvents();
    }
    return true;
}

void startUp(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<ProgramFolder>();
        QtDialogs dialogs;
        QtSettingsStore settings;
        state.ResumeTiming();
        auto window = std::make_unique<frmMain>(dialogs, dialogs, settings, folder->path());
        const bool exposed = startAndExpose(*window);
        state.PauseTiming();
        window.reset();
        folder.reset();
        state.ResumeTiming();
        if (!exposed) {
            state.SkipWithError("the window was not exposed within five seconds");
            break;
        }
    }
}
} // namespace

// The first window of the process pays for what Qt loads once (fonts, styles); it runs first.
void registerStartupBenchmarks()
{
    benchmark::RegisterBenchmark("StartUp/first", startUp)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StartUp/again", startUp)->Unit(benchmark::kMillisecond);
    addGoal("StartUp/first/iterations:1", {}, 0.5);
    addGoal("StartUp/again", {}, 0.5);
}
