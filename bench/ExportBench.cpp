// The tool's exports of the 32767-point ring, extruded: to binary STL (the file read, the
// outline filled and triangulated, the prism built, encoded and written) and to PNG (the
// object opened and drawn in the four views, composed, encoded and written).
#include "BenchSupport.h"

#include "export/HeadlessSession.h"
#include "export/Mesh.h"
#include "export/ViewPictures.h"
#include "files/AtomicWrite.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {
constexpr int LargestObject = 32767;

// The front view's inner size, where the drawing benchmarks place their ring.
constexpr float FrontWidth = 4940, FrontHeight = 4920;

// An object file of the ring in a temporary folder, and the headless session the picture
// export draws in (made once, as the tool makes it once when it starts).
struct ExportSetup {
    ProgramFolder folder;
    QString object = folder.path() + QStringLiteral("/ring.obj");
    QString wide = folder.path() + QStringLiteral("/wide.obj");
    std::unique_ptr<HeadlessSession> session = std::make_unique<HeadlessSession>();

    ExportSetup()
    {
        save(object, ringPoints(LargestObject, FrontWidth, FrontHeight));
        save(wide, ringPoints(LargestObject, 5e6f, 5e6f));
    }

    static void save(const QString& path, const std::vector<PointRecord>& points)
    {
        WorkspaceState s;
        s.pPoints = points;
        s.PointCount = std::int16_t(points.size());
        s.Dimension = 3;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(writeObjectFile(s));
    }
};

std::unique_ptr<ExportSetup>& setup()
{
    static std::unique_ptr<ExportSetup> shared;
    if (!shared)
        shared = std::make_unique<ExportSetup>();
    return shared;
}

void exportStl(benchmark::State& state, bool wide)
{
    ExportSetup& s = *setup();
    const QString output = s.folder.path() + QStringLiteral("/ring.stl");
    std::size_t triangles = 0;
    for (auto _ : state) {
        std::variant<ObjectFileValues, Failure> object = readObjectInput(wide ? s.wide : s.object);
        std::variant<Mesh, QString> prism = std::holds_alternative<ObjectFileValues>(object)
            ? buildPrism(std::get<ObjectFileValues>(object), LengthUnit::Millimetre)
            : std::variant<Mesh, QString>(QStringLiteral("unreadable"));
        QString why;
        if (!std::holds_alternative<Mesh>(prism) || !writeAtomically(output, binaryStl(std::get<Mesh>(prism), QStringLiteral("ring")), false, &why)) {
            state.SkipWithError("the STL export failed");
            return;
        }
        triangles = std::get<Mesh>(prism).triangles.size();
    }
    state.counters["triangles"] = double(triangles);
}

void exportPng(benchmark::State& state)
{
    ExportSetup& s = *setup();
    const QString output = s.folder.path() + QStringLiteral("/ring.png");
    for (auto _ : state) {
        QString why;
        if (s.session->showObject(s.object, ViewSettings{})
            || !writeAtomically(output, pngBytes(viewsImage(s.session->window(), ViewChoice::All)), false, &why)) {
            state.SkipWithError("the PNG export failed");
            return;
        }
    }
}
} // namespace

void registerExportBenchmarks()
{
    benchmark::RegisterBenchmark("ExportStl/ring/32767", exportStl, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportStl/widering/32767", exportStl, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportPng/ring/32767", exportPng)->Unit(benchmark::kMillisecond);
    addGoal("ExportStl/ring/32767", {}, 100e-3);
    addGoal("ExportStl/widering/32767", {}, 100e-3);
    addGoal("ExportPng/ring/32767", {}, 20e-3);
}

void releaseExportBenchmarks() { setup().reset(); }
