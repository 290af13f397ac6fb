// The benchmarks' window, program folder and the goal check after a run.
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

ProgramFolder::ProgramFolder()
{
    QDir(dir_.path()).mkdir(QStringLiteral("Objects"));
    QDir(dir_.path()).mkdir(QStringLiteral("Workspaces"));
}

BenchWindow::BenchWindow() : window_(std::make_unique<frmMain>(dialogs_, settings_, folder_.path()))
{
    startAndExpose(*window_);
}

std::vector<PointRecord> ringPoints(int count, float width, float height)
{
    std::vector<PointRecord> points;
    points.reserve(std::size_t(count));
    const double radius = std::min(width, height) * 0.4;
    for (int i = 0; i < count; ++i) {
        const double angle = 2 * M_PI * i / count;
        points.push_back({std::int32_t(std::lround(width / 2 + radius * std::cos(angle))),
                          std::int32_t(std::lround(height / 2 + radius * std::sin(angle)))});
    }
    return points;
}

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

namespace {
struct Goal {
    std::string benchmark, baseline;
    double limit;
};

std::vector<Goal>& goals()
{
    static std::vector<Goal> list;
    return list;
}

// The console output as usual, and the mean real time per iteration of every benchmark.
class TimingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            Timing& t = seconds[run.benchmark_name()];
            t.total += run.real_accumulated_time / double(run.iterations);
            t.runs += 1;
        }
    }

    struct Timing {
        double total = 0;
        int runs = 0;
        double mean() const { return total / runs; }
    };
    std::map<std::string, Timing> seconds;
};

std::string timeText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, seconds < 1e-3 ? "%.3f ms" : "%.2f ms", seconds * 1e3);
    return text;
}
} // namespace

void addGoal(const std::string& benchmark, const std::string& baseline, double limit)
{
    goals().push_back({benchmark, baseline, limit});
}

int runAndCheckGoals()
{
    TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int missed = 0;
    std::printf("\nGoals (mean real time per iteration):\n");
    for (const Goal& goal : goals()) {
        const auto measured = reporter.seconds.find(goal.benchmark);
        if (measured == reporter.seconds.end())
            continue;
        const double time = measured->second.mean();
        if (goal.baseline.empty()) {
            const bool met = time <= goal.limit;
            missed += met ? 0 : 1;
            std::printf("  %-36s %12s  limit %s  %s\n", goal.benchmark.c_str(), timeText(time).c_str(),
                        timeText(goal.limit).c_str(), met ? "met" : "MISSED");
            continue;
        }
        const auto base = reporter.seconds.find(goal.baseline);
        if (base == reporter.seconds.end()) {
            std::printf("  %-36s %12s  baseline %s not run\n", goal.benchmark.c_str(), timeText(time).c_str(),
                        goal.baseline.c_str());
            continue;
        }
        const double ratio = time / base->second.mean();
        const bool met = ratio <= goal.limit;
        missed += met ? 0 : 1;
        std::printf("  %-36s %12s  baseline %12s  ratio 1/%.1f  limit 1/%.1f  %s\n", goal.benchmark.c_str(),
                    timeText(time).c_str(), timeText(base->second.mean()).c_str(), 1 / ratio, 1 / goal.limit,
                    met ? "met" : "MISSED");
    }
    return missed;
}
