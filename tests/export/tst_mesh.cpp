// The solid of an outline: outlines full of crossings, repeated and collinear points give a
// filled region of exactly the area the nonzero rule fills, worked out here slab by slab,
// and a prism whose every edge is run once each way, with the region's area times the depth
// as its volume; the depth is the one the extruded drawing uses.
#include "export/Mesh.h"

#include <QTest>
#include <map>
#include <random>

Q_DECLARE_METATYPE(std::vector<PointRecord>)
Q_DECLARE_METATYPE(TaggedValue)

namespace {

// Equal but for the rounding of crossing points to single precision.
bool near(double actual, double expected) { return std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected)); }

// The area where the outline's winding number is not 0. Between two heights at which a
// point or a crossing lies, the covered length varies linearly, so its value halfway
// integrates the slab exactly.
double nonzeroArea(const std::vector<PointRecord>& outline)
{
    struct Edge {
        double x1, y1, x2, y2;
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const PointRecord& a = outline[i];
        const PointRecord& b = outline[(i + 1) % outline.size()];
        edges.push_back({double(a.X), double(a.Y), double(b.X), double(b.Y)});
    }
    std::vector<double> heights;
    for (const Edge& e : edges)
        heights.push_back(e.y1);
    for (const Edge& e : edges)
        for (const Edge& f : edges) {
            const double d = (e.x2 - e.x1) * (f.y2 - f.y1) - (e.y2 - e.y1) * (f.x2 - f.x1);
            const double t = d == 0 ? -1 : ((f.x1 - e.x1) * (f.y2 - f.y1) - (f.y1 - e.y1) * (f.x2 - f.x1)) / d;
            if (t > 0 && t < 1)
                heights.push_back(e.y1 + t * (e.y2 - e.y1));
        }
    std::sort(heights.begin(), heights.end());
    double area = 0;
    for (std::size_t k = 1; k < heights.size(); ++k) {
        const double y = (heights[k - 1] + heights[k]) / 2;
        std::map<double, int> crossings; // x to the change of the winding number there
        for (const Edge& e : edges)
            if ((e.y1 < y) != (e.y2 < y))
                crossings[e.x1 + (y - e.y1) / (e.y2 - e.y1) * (e.x2 - e.x1)] += e.y2 > e.y1 ? 1 : -1;
        int winding = 0;
        double from = 0;
        for (const auto& [x, change] : crossings) {
            if (winding != 0)
                area += (x - from) * (heights[k] - heights[k - 1]);
            winding += change;
            from = x;
        }
    }
    return area;
}

ObjectFileValues extruded(const std::vector<PointRecord>& points, const TaggedValue& depth)
{
    ObjectFileValues object;
    object.points = points;
    object.PointCount = std::int16_t(points.size());
    object.Dimension = 3;
    object.Depth = depth;
    return object;
}

// Every triangle of the region winds counter-clockwise; an edge is flagged boundary exactly
// when no triangle runs it the other way, and no edge is run twice the same way.
void checkRegion(const FilledRegion& region)
{
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> runs;
    for (const auto& t : region.triangles) {
        const PlanePoint &a = region.points[t.corners[0]], &b = region.points[t.corners[1]], &c = region.points[t.corners[2]];
        QVERIFY((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0);
        for (std::size_t k = 0; k < 3; ++k)
            QCOMPARE(++runs[std::pair(t.corners[k], t.corners[(k + 1) % 3])], 1);
    }
    for (const auto& t : region.triangles)
        for (std::size_t k = 0; k < 3; ++k)
            QCOMPARE(t.boundary[k], runs.count(std::pair(t.corners[(k + 1) % 3], t.corners[k])) == 0);
}

// Every edge of the mesh is run as often one way as the other: once, or, for the lateral
// edge at a point where filled parts of the outline touch, once for each of them.
void checkClosed(const Mesh& mesh)
{
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> runs;
    for (const auto& t : mesh.triangles)
        for (std::size_t k = 0; k < 3; ++k)
            ++runs[std::pair(t[k], t[(k + 1) % 3])];
    for (const auto& [edge, count] : runs) {
        const auto &a = mesh.vertices[edge.first], &b = mesh.vertices[edge.second];
        QCOMPARE(count, a[0] == b[0] && a[1] == b[1] ? runs[std::pair(edge.second, edge.first)] : 1);
        QCOMPARE(runs[std::pair(edge.second, edge.first)], count);
    }
}

} // namespace

class MeshTest : public QObject {
    Q_OBJECT

private slots:
    // Random outlines on a coarse lattice are full of crossings, repeated points, points on
    // other edges and collinear runs.
    void outlinesGiveClosedSolids_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<int>("depth");
        QTest::addRow("figure eight, both loops filled") << std::vector<PointRecord>{{0, 0}, {300, 300}, {300, 0}, {0, 300}} << 100;
        QTest::addRow("loop wound twice") << std::vector<PointRecord>{{0, 0}, {900, 0}, {0, 900}, {0, 0}, {900, 0}, {0, 900}} << -50;
        QTest::addRow("square with an inner square wound back")
            << std::vector<PointRecord>{{0, 0}, {900, 0}, {900, 900}, {0, 900}, {0, 0}, {300, 300}, {300, 600}, {600, 600},
                                        {600, 300}, {300, 300}} << 70;
        std::mt19937 random(11);
        std::uniform_int_distribution<int> coordinate(0, 8), size(3, 16), depth(-900, 900);
        for (int row = 0; row < 300; ++row) {
            std::vector<PointRecord> points(std::size_t(size(random)));
            for (PointRecord& p : points)
                p = {coordinate(random) * 100, coordinate(random) * 100};
            const int d = depth(random);
            QTest::addRow("random %d", row) << points << (d == 0 ? 1 : d);
        }
    }

    void outlinesGiveClosedSolids()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(int, depth);
        const double expected = nonzeroArea(points);
        const std::variant<FilledRegion, QString> filled = fillOutline(points, LengthUnit::Twip);
        if (const QString* why = std::get_if<QString>(&filled)) {
            QVERIFY2(near(expected, 0), qPrintable(QString::number(expected)));
            QVERIFY(why->contains(QStringLiteral("fewer than three distinct points")) || *why == "its outline encloses no area");
            return;
        }
        const FilledRegion& region = std::get<FilledRegion>(filled);
        checkRegion(region);
        QVERIFY2(near(region.area(), expected), qPrintable(QString::number(region.area() - expected)));
        const std::variant<Mesh, QString> prism = buildPrism(extruded(points, TaggedValue(std::int16_t(depth))), LengthUnit::Twip);
        const Mesh& mesh = std::get<Mesh>(prism);
        checkClosed(mesh);
        QVERIFY(near(mesh.volume(), expected * std::abs(depth)));
        const auto [low, high] = std::minmax_element(mesh.vertices.begin(), mesh.vertices.end(),
                                                     [](const auto& a, const auto& b) { return a[2] < b[2]; });
        QCOMPARE((*low)[2], depth > 0 ? float(-depth) : 0.0f);
        QCOMPARE((*high)[2], depth > 0 ? 0.0f : float(-depth));
    }

    void depthAsTheDrawingTakesIt_data()
    {
        QTest::addColumn<TaggedValue>("depth");
        QTest::addColumn<int>("twips");
        QTest::addRow("empty: the drawing's 200") << TaggedValue() << 200;
        QTest::addRow("text rounded half to even") << TaggedValue(QStringLiteral("2.5")) << 2;
        QTest::addRow("double rounded half to even") << TaggedValue(-3.5) << -4;
        QTest::addRow("largest") << TaggedValue(std::int32_t(32767)) << 32767;
        QTest::addRow("smallest") << TaggedValue(-32768.4) << -32768;
        QTest::addRow("beyond 16 bits") << TaggedValue(32767.5) << 0;
        QTest::addRow("text no number") << TaggedValue(QStringLiteral("1e")) << 0;
    }

    // 0 stands for refused: a depth of 0 is refused too.
    void depthAsTheDrawingTakesIt()
    {
        QFETCH(TaggedValue, depth);
        QFETCH(int, twips);
        const std::variant<Mesh, QString> prism = buildPrism(extruded({{0, 0}, {1440, 0}, {0, 1440}}, depth), LengthUnit::Inch);
        if (twips == 0) {
            QVERIFY(std::holds_alternative<QString>(prism));
            return;
        }
        QVERIFY(near(std::get<Mesh>(prism).volume(), 0.5 * std::abs(twips) / 1440));
    }
};

QTEST_MAIN(MeshTest)
#include "tst_mesh.moc"
