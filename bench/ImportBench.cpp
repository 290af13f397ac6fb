// brondelwick-tool import's work for the largest outline an object holds: a 32767-point SVG
// polygon and a 32767-point DXF polyline read, shown in the session and written as the object file.
#include "BenchSupport.h"

#include "export/DrawingImport.h"
#include "files/ObjectFile.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// Points round a circle of radius 1000 pixels (15000 twips) or 250 mm (14173 twips), about
// 3 twips apart, so that every one is kept.
constexpr int Count = MostPoints;

QByteArray svgPolygon()
{
    QByteArray points;
    for (int i = 0; i < Count; ++i) {
        const double a = 2 * M_PI * i / Count;
        points += QByteArray::number(1050 + 1000 * std::cos(a), 'f', 3) + ',' + QByteArray::number(1050 + 1000 * std::sin(a), 'f', 3) + ' ';
    }
    return "<svg xmlns='http://www.w3.org/2000/svg' width='2100' height='2100'><polygon id='ring' points='" + points + "'/></svg>";
}

QByteArray dxfPolyline()
{
    QByteArray dxf = "  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n  8\nRING\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n1\n";
    for (int i = 0; i < Count; ++i) {
        const double a = 2 * M_PI * i / Count;
        dxf += "  0\nVERTEX\n  8\nRING\n 10\n" + QByteArray::number(270 + 250 * std::cos(a), 'f', 4) + "\n 20\n"
            + QByteArray::number(-270 + 250 * std::sin(a), 'f', 4) + "\n 30\n0.0\n";
    }
    return dxf + "  0\nSEQEND\n  0\nENDSEC\n  0\nEOF\n";
}

void importDrawing(benchmark::State& state, const QByteArray& bytes, const QString& format)
{
    HeadlessSession session;
    for (auto _ : state) {
        const DrawingOutlines read = readDrawing(bytes, format, DefaultTolerance);
        const auto* candidates = std::get_if<std::vector<OutlineCandidate>>(&read);
        QString why;
        const OutlineCandidate* chosen = candidates ? chooseOutline(*candidates, {}, &why) : nullptr;
        if (!chosen || showOutline(session, chosen->points, false, QStringLiteral("ring")) || session.state().PointCount != Count) {
            state.SkipWithError(("the import failed: " + why).toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(writeObjectFile(session.state()).size());
    }
}

} // namespace

// The largest import a user makes should take no longer than a view's redraw: 30 ms each.
void registerImportBenchmarks()
{
    static const QByteArray svg = svgPolygon(), dxf = dxfPolyline();
    benchmark::RegisterBenchmark("Import/svg polygon 32767", [](benchmark::State& s) { importDrawing(s, svg, QStringLiteral("svg")); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Import/dxf polyline 32767", [](benchmark::State& s) { importDrawing(s, dxf, QStringLiteral("dxf")); })
        ->Unit(benchmark::kMillisecond);
    addGoal("Import/svg polygon 32767", {}, 0.03);
    addGoal("Import/dxf polyline 32767", {}, 0.03);
}
