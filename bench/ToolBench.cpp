// The tool's whole process for the smallest task: brondelwick-tool info on the README's
// sample object, started and waited for as a shell runs it.
#include "BenchSupport.h"

#include <QProcess>
#include <benchmark/benchmark.h>

namespace {
void toolInfo(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess tool;
        tool.start(QStringLiteral(BRONDELWICK_TOOL), {QStringLiteral("info"), QStringLiteral(BRONDELWICK_SAMPLE)});
        if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
            state.SkipWithError("brondelwick-tool info failed");
            return;
        }
        benchmark::DoNotOptimize(tool.readAllStandardOutput().size());
    }
}
} // namespace

// A command a user types should answer at once: within 50 ms for the whole process.
void registerToolBenchmarks()
{
    benchmark::RegisterBenchmark("Tool/info", toolInfo)->Unit(benchmark::kMillisecond);
    addGoal("Tool/info", {}, 0.05);
}
