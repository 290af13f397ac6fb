// Opening and saving an object of 32767 points, each beside a plain read or write of the
// very same bytes.
#include "BenchSupport.h"

#include "files/FileCommands.h"
#include "files/ObjectFile.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {
constexpr int LargestObject = 32767;

// A session holding an object of 32767 points spread over the front view, saved once
// so that its file and bytes exist.
struct SavedObject {
    BenchSession session;
    QString path;
    QByteArray bytes;

    SavedObject()
    {
        WorkspaceState& s = session.s().state;
        s.pPoints.clear();
        for (int i = 0; i < LargestObject; ++i)
            s.pPoints.push_back({(i * 37) % 4900, (i * 53) % 4900 - 10});
        s.PointCount = LargestObject;
        s.Depth = std::int16_t(1000);
        s.Dimension = 2;
        path = s.ObjectsFolder + QStringLiteral("/large.obj");
        SaveFile(session.s().files, path, ObjectFileType);
        bytes = writeObjectFile(s);
    }
};

SavedObject& saved()
{
    static SavedObject object;
    return object;
}

// The opening as the program does it (OpenFile), without the drawing that follows: the file's
// record read, every value checked and converted, then committed to the state at once.
void openObject(benchmark::State& state)
{
    SavedObject& object = saved();
    WorkspaceState& s = object.session.s().state;
    for (auto _ : state) {
        ObjectFileValues values;
        if (readObjectFile(filerecord::readFile(object.path), values) != ReadResult::Loaded) {
            state.SkipWithError("object file does not read");
            return;
        }
        s.PointCount = values.PointCount;
        s.pPoints = std::move(values.points);
        s.Dimension = values.Dimension;
        s.GridState = values.GridState;
        s.Depth = values.Depth;
        benchmark::DoNotOptimize(s.pPoints.data());
    }
}

void plainRead(benchmark::State& state)
{
    SavedObject& object = saved();
    for (auto _ : state) {
        QFile file(object.path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().constData());
    }
}

// Saving through the File menu's procedure: the values written into a bag, the record written
// to a temporary beside the file and renamed over it (the path is already a recent entry).
void saveObject(benchmark::State& state)
{
    SavedObject& object = saved();
    for (auto _ : state) {
        if (!SaveFile(object.session.s().files, object.path, ObjectFileType)) {
            state.SkipWithError("object file cannot be saved");
            return;
        }
    }
}

void plainWrite(benchmark::State& state)
{
    SavedObject& object = saved();
    for (auto _ : state) {
        QFile file(object.path + QStringLiteral(".plain"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(file.write(object.bytes));
    }
}
} // namespace

void registerFileBenchmarks()
{
    benchmark::RegisterBenchmark("OpenObject/32767", openObject)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainRead/32767", plainRead)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SaveObject/32767", saveObject)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainWrite/32767", plainWrite)->Unit(benchmark::kMillisecond);
    addGoal("OpenObject/32767", "PlainRead/32767", 60);
    addGoal("SaveObject/32767", "PlainWrite/32767", 5);
}

void releaseFileBenchmarks() {}
