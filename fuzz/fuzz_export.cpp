// Fuzz target over the STL, 3MF and SVG exports: arbitrary outlines (any 32-bit coordinates, small
// values packed so that points repeat, lie on lines and cross), depths and units built into a
// solid, which must be closed with no degenerate facet, or refused with a reason, and written
// by lib3mf into a package in memory (in millimetres or inches); and the same
// points drawn on a session with any point radius and 3D line width, whose SVG must stay within a size
// proportional to the points and the radius.
#include "export/HeadlessSession.h"
#include "export/Mesh.h"
#include "export/ThreeMf.h"
#include "export/ViewPictures.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The points, cut to the 16 bits a drawing takes, drawn as the tool's SVG export draws them, with the point radius and 3D line
// width the first bytes give. Every mark and line is one element of bounded length, and each
// circle's path is written once: a few hundred bytes a point, the path's bytes (under 40 a
// pixel of radius) and the grid lines' fixed share.
void checkSvgSize(const std::vector<PointRecord>& points, std::int16_t radius, int lineWidth)
{
    ObjectFileValues object;
    if (!points.empty())
        object.points = points;
    object.PointCount = std::int16_t(points.size());
    object.Dimension = 3;
    WorkspaceFileValues workspace;
    workspace.Radius = radius;
    static HeadlessSession session;
    if (session.showObject(std::move(object), QStringLiteral("object"), ViewSettings{workspace, lineWidth, true}))
        return;
    const qsizetype svg = viewsSvg(session.core(), ViewChoice::All, QStringLiteral("object")).size();
    const qsizetype bound = 65536 + 2048 * qsizetype(points.size()) + 40 * (radius / 15 + 1);
    if (svg > bound)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    ObjectFileValues object;
    object.Dimension = 3;
    std::int16_t depth = 0;
    std::memcpy(&depth, data, 2);
    object.Depth = TaggedValue(depth);
    const auto unit = LengthUnit(data[2] % 3);
    // The fourth byte says how each point is read: a byte each (a small lattice, where
    // coincidences are common), or four bytes each, offset far from the origin or not.
    const std::uint8_t mode = data[3] % 3;
    std::size_t at = 4;
    while (object.points.size() < 2000) {
        PointRecord p;
        if (mode == 0 && at + 2 <= size) {
            p = {std::int32_t(data[at] % 16) * 100, std::int32_t(data[at + 1] % 16) * 100};
            at += 2;
        } else if (mode != 0 && at + 8 <= size) {
            std::memcpy(&p.X, data + at, 4);
            std::memcpy(&p.Y, data + at + 4, 4);
            if (mode == 2) {
                p.X = 4000000 + (p.X % 4096);
                p.Y = p.Y % 4096;
            }
            at += 8;
        } else {
            break;
        }
        object.points.push_back(p);
    }
    object.PointCount = std::int16_t(object.points.size());
    std::vector<PointRecord> drawable;
    for (const PointRecord& p : object.points)
        drawable.push_back({std::int16_t(p.X), std::int16_t(p.Y)});
    checkSvgSize(drawable, std::int16_t(depth & 0x7FFF), data[2] % 16 + 1);
    SolidLimits limits;
    limits.maxTriangles = 200000;
    const std::variant<Mesh, QString> solid = buildPrism(object, unit, limits);
    if (const QString* why = std::get_if<QString>(&solid)) {
        if (!why->startsWith(QStringLiteral("The object cannot be exported as a solid: ")))
            std::abort();
        return 0;
    }
    const Mesh& mesh = std::get<Mesh>(solid);
    if (mesh.triangles.empty() || openOrDegenerate(mesh) || !(mesh.volume() > 0))
        std::abort();
    if (threeMfHasUnit(unit)) {
        const std::variant<QByteArray, QString> package = threeMfPackage(mesh, QStringLiteral("object"), unit);
        const QByteArray* bytes = std::get_if<QByteArray>(&package);
        if (!bytes || !bytes->startsWith("PK\x03\x04"))
            std::abort();
    }
    return 0;
}
