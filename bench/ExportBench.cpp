// The tool's exports of the 32767-point ring, extruded: to binary STL (the file read, the
// outline filled and triangulated, the prism built, encoded and written), to 3MF (the same
// solid packed through lib3mf) and to PNG (the object opened and drawn in the four views,
// composed, encoded and written); the STL export of outlines whose edges cross very often,
// exported or refused.
#include "BenchSupport.h"

#include "export/HeadlessSession.h"
#include "export/Mesh.h"
#include "export/ThreeMf.h"
#include "export/ViewPictures.h"
#include "files/AtomicWrite.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {
constexpr int LargestObject = 32767;
constexpr int StarPoints = 2000;

// The front view's inner size, where the drawing benchmarks place their ring.
constexpr float FrontWidth = 4940, FrontHeight = 4920;

// An object file of the ring in a temporary folder, and the headless session the picture
// export draws in (made once, as the tool makes it once when it starts).
struct ExportSetup {
    ProgramFolder folder;
    QString object = folder.path() + QStringLiteral("/ring.obj");
    QString wide = folder.path() + QStringLiteral("/wide.obj");
    QString scattered = folder.path() + QStringLiteral("/scattered.obj");
    QString star = folder.path() + QStringLiteral("/star.obj");
    std::unique_ptr<HeadlessSession> session = std::make_unique<HeadlessSession>();

    ExportSetup()
    {
        save(object, ringPoints(LargestObject, FrontWidth, FrontHeight));
        save(wide, ringPoints(LargestObject, 5e6f, 5e6f));
        std::mt19937 random(1);
        std::uniform_int_distribution<int> x(0, int(FrontWidth)), y(0, int(FrontHeight));
        std::vector<PointRecord> points(LargestObject);
        for (PointRecord& p : points)
            p = {x(random), y(random)};
        save(scattered, points);
        // A star of 2,000 points, each joined to the one 501 places further round: every
        // edge crosses about a thousand others.
        points.clear();
        for (int i = 0; i < StarPoints; ++i) {
            const double angle = 2 * M_PI * double((i * 501) % StarPoints) / StarPoints;
            points.push_back({std::int32_t(std::lround(2470 + 2400 * std::cos(angle))), std::int32_t(std::lround(2460 + 2400 * std::sin(angle)))});
        }
        save(star, points);
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

// shape: the ring, the wide ring, the scattered points or the star; refusable: whether the
// export may be refused (the figure is then the time to the refusal).
// threeMf: the solid written as 3MF instead of binary STL.
void exportStl(benchmark::State& state, const QString ExportSetup::*shape, bool refusable, bool threeMf)
{
    ExportSetup& s = *setup();
    const QString output = s.folder.path() + QStringLiteral("/ring.stl");
    std::size_t triangles = 0;
    for (auto _ : state) {
        std::variant<ObjectFileValues, Failure> object = readObjectInput(s.*shape);
        std::variant<Mesh, QString> prism = std::holds_alternative<ObjectFileValues>(object)
            ? buildPrism(std::get<ObjectFileValues>(object), LengthUnit::Millimetre)
            : std::variant<Mesh, QString>(QStringLiteral("unreadable"));
        QString why;
        if (!std::holds_alternative<Mesh>(prism)) {
            if (!refusable) {
                state.SkipWithError("the STL export was refused");
                return;
            }
            triangles = 0;
            continue;
        }
        const Mesh& mesh = std::get<Mesh>(prism);
        std::variant<QByteArray, QString> bytes = threeMf ? threeMfPackage(mesh, QStringLiteral("ring"), LengthUnit::Millimetre)
                                                          : binaryStl(mesh, QStringLiteral("ring"));
        if (!std::holds_alternative<QByteArray>(bytes) || !writeAtomically(output, std::get<QByteArray>(bytes), false, &why)) {
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
        std::variant<ObjectFileValues, Failure> read = readObjectInput(s.object);
        if (std::holds_alternative<Failure>(read)
            || s.session->showObject(std::get<ObjectFileValues>(std::move(read)), s.object, ViewSettings{})
            || !writeAtomically(output, pngBytes(viewsImage(s.session->core(), ViewChoice::All)), false, &why)) {
            state.SkipWithError("the PNG export failed");
            return;
        }
    }
}
} // namespace

void registerExportBenchmarks()
{
    benchmark::RegisterBenchmark("ExportStl/ring/32767", exportStl, &ExportSetup::object, false, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportStl/widering/32767", exportStl, &ExportSetup::wide, false, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportStl/scattered/32767", exportStl, &ExportSetup::scattered, true, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportStl/star/2000", exportStl, &ExportSetup::star, true, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Export3mf/ring/32767", exportStl, &ExportSetup::object, false, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportPng/ring/32767", exportPng)->Unit(benchmark::kMillisecond);
    addGoal("ExportStl/ring/32767", {}, 50e-3);
    addGoal("ExportStl/widering/32767", {}, 100e-3);
    addGoal("ExportStl/scattered/32767", {}, 1.0);
    addGoal("ExportStl/star/2000", {}, 1.0);
    addGoal("ExportPng/ring/32767", {}, 20e-3);
    addGoal("Export3mf/ring/32767", "ExportStl/ring/32767", 1.5);
}

void releaseExportBenchmarks() { setup().reset(); }
