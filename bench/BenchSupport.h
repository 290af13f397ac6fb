// What the benchmarks share: a session set up in a temporary program folder with dialogs
// that answer nothing, the window's start-up, and the goals a run is held to, checked after
// the run.
#pragma once

#include "app/Session.h"
#include "platform/SilentDialogs.h"

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

// A temporary program folder with empty Objects and Workspaces folders.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A session as the program's start-up sets it up, without a window.
class BenchSession {
public:
    BenchSession();
    Session& s() { return session_; }

private:
    ProgramFolder folder_;
    SilentDialogs dialogs_;
    QtSettingsStore settings_;
    Session session_;
};

// The ring of the drawing and export benchmarks: count points evenly round a circle in the
// middle of a view of the given inner size (twips), its radius 0.4 of the smaller side.
std::vector<PointRecord> ringPoints(int count, float width, float height);


// Goals checked after the run, on the median time per iteration over the repetitions. A goal
// with a baseline limits the ratio of the two times (measured in the same run); one without
// limits the time itself, in seconds.
void addGoal(const std::string& benchmark, const std::string& baseline, double limit);

// Runs the benchmarks selected on the command line, then prints every goal with its figures.
// Gives the number of goals missed; a goal whose benchmark or baseline did not run is not judged.
int runAndCheckGoals();

// Registration of each benchmark family, called by main in this order.
void registerStartupBenchmarks();
void registerToolBenchmarks();
void registerImportBenchmarks();
void registerDrawingBenchmarks();
void registerFileBenchmarks();
void registerExportBenchmarks();
// Releases what the drawing benchmarks kept between runs; called before the application ends.
void releaseDrawingBenchmarks();
void releaseFileBenchmarks();
void releaseExportBenchmarks();
