// The benchmarks' session, program folder and the goal check after a run.
#include "BenchSupport.h"

#include <QDir>
#include <algorithm>
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

BenchSession::BenchSession() : session_(dialogs_, settings_)
{
    session_.setUp(folder_.path());
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

// The console output as usual, and the real time per iteration of every run of every
// benchmark (one run each, or one per repetition).
class TimingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const double perIteration = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration)
                seconds[run.run_name.str()].runs.push_back(perIteration);
            else if (run.aggregate_name == "median") // all that is reported with aggregates only
                seconds[run.run_name.str()].reportedMedian = perIteration;
        }
    }

    struct Timing {
        std::vector<double> runs;
        double reportedMedian = -1;
        // The median over the repetitions: one run disturbed by another program moves it least.
        double median() const
        {
            if (runs.empty())
                return reportedMedian;
            std::vector<double> sorted = runs;
            std::sort(sorted.begin(), sorted.end());
            const std::size_t n = sorted.size();
            return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        }
    };
    std::map<std::string, Timing> seconds;
};

// A ratio of two times as "1/5.0" below one and "32.1x" from one on.
std::string ratioText(double ratio)
{
    char text[32];
    if (ratio < 1)
        std::snprintf(text, sizeof text, "1/%.1f", 1 / ratio);
    else
        std::snprintf(text, sizeof text, "%.1fx", ratio);
    return text;
}

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
    std::printf("\nGoals (real time per iteration, the median of the repetitions):\n");
    for (const Goal& goal : goals()) {
        const auto measured = reporter.seconds.find(goal.benchmark);
        if (measured == reporter.seconds.end())
            continue;
        const double time = measured->second.median();
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
        const double ratio = time / base->second.median();
        const bool met = ratio <= goal.limit;
        missed += met ? 0 : 1;
        std::printf("  %-36s %12s  baseline %12s  ratio %s  limit %s  %s\n", goal.benchmark.c_str(),
                    timeText(time).c_str(), timeText(base->second.median()).c_str(), ratioText(ratio).c_str(),
                    ratioText(goal.limit).c_str(), met ? "met" : "MISSED");
    }
    return missed;
}
