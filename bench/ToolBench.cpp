// The tool's whole process for the smallest task: brondelwick-tool info on the README's
// sample object, started and waited for as a shell runs it; and 1,000 exports of that sample
// to STL, as 1,000 runs one after another and as one run into --output-dir (-j 1 and -j 2).
#include "BenchSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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

constexpr int SampleCopies = 1000;

// The sample's copies in a temporary folder (sample0.obj ...), and a folder for the outputs.
struct Copies {
    QTemporaryDir dir;
    QStringList inputs;
    QString outputs = dir.filePath(QStringLiteral("out"));
    Copies()
    {
        QDir().mkpath(outputs);
        for (int i = 0; i < SampleCopies; ++i) {
            inputs << dir.filePath(QStringLiteral("sample%1.obj").arg(i));
            QFile::copy(QStringLiteral(BRONDELWICK_SAMPLE), inputs.last());
        }
    }
};

bool runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(BRONDELWICK_TOOL), arguments);
    return tool.waitForFinished(600000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

void processPerExport(benchmark::State& state)
{
    const Copies copies;
    for (auto _ : state)
        for (const QString& input : copies.inputs)
            if (!runTool({QStringLiteral("export"), input, QStringLiteral("-o"),
                          copies.outputs + QLatin1Char('/') + QFileInfo(input).completeBaseName() + QStringLiteral(".stl")})) {
                state.SkipWithError("brondelwick-tool export failed");
                return;
            }
}

void oneRun(benchmark::State& state)
{
    const Copies copies;
    for (auto _ : state)
        if (!runTool(QStringList{QStringLiteral("export")} + copies.inputs
                     + QStringList{QStringLiteral("--output-dir"), copies.outputs, QStringLiteral("--format"), QStringLiteral("stl"),
                                   QStringLiteral("-j"), QString::number(state.range(0))})) {
            state.SkipWithError("brondelwick-tool export --output-dir failed");
            return;
        }
}
} // namespace

// A command a user types should answer at once: within 50 ms for the whole process.
void registerToolBenchmarks()
{
    benchmark::RegisterBenchmark("Tool/info", toolInfo)->Unit(benchmark::kMillisecond);
    addGoal("Tool/info", {}, 0.05);
    // Many objects in one run: ten times faster than a run each, and near twice as fast on
    // both cores as on one.
    benchmark::RegisterBenchmark("ToolExport/1000 runs", processPerExport)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("ToolExport/one run", oneRun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
    addGoal("ToolExport/one run/1/iterations:3", "ToolExport/1000 runs/iterations:1", 0.1);
    addGoal("ToolExport/one run/2/iterations:3", "ToolExport/one run/1/iterations:3", 1 / 1.7);
}
