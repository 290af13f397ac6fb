// Start-up to the window shown: constructing the main window, its start and the events
// until the window is exposed, in a fresh program folder each time.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {
void startUp(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<ProgramFolder>();
        SilentDialogs dialogs;
        QtSettingsStore settings;
        state.ResumeTiming();
        auto window = std::make_unique<frmMain>(dialogs, settings, folder->path());
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
