// The solid of an outline: outlines full of crossings, repeated and collinear points, near the
// view and far from the origin, exported in each unit and read back as binary STL, are closed
// solids of the area the nonzero rule fills (worked out here slab by slab) times the depth, or
// refused for a reason; the depth is the one the extruded drawing uses.
#include "export/Mesh.h"

#include <QTest>
#include <gmpxx.h>
#include <cstring>
#include <map>
#include <optional>
#include <utility>
#include <random>

Q_DECLARE_METATYPE(std::vector<PointRecord>)
Q_DECLARE_METATYPE(TaggedValue)

namespace {

// The area where the outline's winding number is not 0, in exact rational arithmetic.
// Between two heights at which a point or a crossing of two edges' lines lies, the covered
// length varies linearly, so its value halfway integrates the band exactly.
mpq_class nonzeroArea(const std::vector<PointRecord>& outline)
{
    struct Edge {
        mpq_class x1, y1, x2, y2;
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const PointRecord& a = outline[i];
        const PointRecord& b = outline[(i + 1) % outline.size()];
        edges.push_back({a.X, a.Y, b.X, b.Y});
    }
    std::vector<mpq_class> heights;
    for (const Edge& e : edges)
        heights.push_back(e.y1);
    for (const Edge& e : edges)
        for (const Edge& f : edges) {
            const mpq_class d = (e.x2 - e.x1) * (f.y2 - f.y1) - (e.y2 - e.y1) * (f.x2 - f.x1);
            if (d == 0)
                continue;
            const mpq_class t = ((f.x1 - e.x1) * (f.y2 - f.y1) - (f.y1 - e.y1) * (f.x2 - f.x1)) / d;
            if (t > 0 && t < 1)
                heights.push_back(e.y1 + t * (e.y2 - e.y1));
        }
    std::sort(heights.begin(), heights.end());
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    mpq_class area = 0;
    for (std::size_t k = 1; k < heights.size(); ++k) {
        const mpq_class y = (heights[k - 1] + heights[k]) / 2;
        std::map<mpq_class, int> crossings; // x to the change of the winding number there
        for (const Edge& e : edges)
            if ((e.y1 < y) != (e.y2 < y))
                crossings[e.x1 + (y - e.y1) / (e.y2 - e.y1) * (e.x2 - e.x1)] += e.y2 > e.y1 ? 1 : -1;
        int winding = 0;
        mpq_class from = 0;
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

// A binary STL file as a reader takes it: facets of three corners, corners told apart by
// their single-precision values alone.
struct StlSolid {
    std::vector<std::array<float, 3>> corners;
    std::vector<std::array<std::size_t, 3>> facets;
};

StlSolid readBinaryStl(const QByteArray& bytes)
{
    StlSolid solid;
    std::map<std::array<float, 3>, std::size_t> index;
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.constData() + 80, 4);
    for (std::uint32_t f = 0; f < count; ++f) {
        std::array<std::size_t, 3> facet{};
        for (std::size_t k = 0; k < 3; ++k) {
            std::array<float, 3> v;
            std::memcpy(v.data(), bytes.constData() + 84 + 50 * f + 12 + 12 * k, 12);
            facet[k] = index.emplace(v, index.size()).first->second;
            if (facet[k] == solid.corners.size())
                solid.corners.push_back(v);
        }
        solid.facets.push_back(facet);
    }
    return solid;
}

// What is wrong with the solid, or nothing: a facet with two equal corners or corners on one
// line, an edge not run as often one way as the other, or facets that a reader pairing the
// facets at an edge in the file's order (the first with the second, the third with the
// fourth, as slicers do) finds running it the same way.
QString flaw(const StlSolid& solid)
{
    std::map<std::pair<std::size_t, std::size_t>, int> runs;
    for (const auto& f : solid.facets) {
        const auto &a = solid.corners[f[0]], &b = solid.corners[f[1]], &c = solid.corners[f[2]];
        const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
        const double v[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
        if (u[1] * v[2] == u[2] * v[1] && u[2] * v[0] == u[0] * v[2] && u[0] * v[1] == u[1] * v[0])
            return QStringLiteral("degenerate facet");
        for (std::size_t k = 0; k < 3; ++k)
            ++runs[std::pair(f[k], f[(k + 1) % 3])];
    }
    for (const auto& [edge, count] : runs)
        if (runs[std::pair(edge.second, edge.first)] != count)
            return QStringLiteral("edge without its reverse");
    std::map<std::pair<std::size_t, std::size_t>, std::optional<bool>> waiting; // the way an unpaired run goes
    for (const auto& f : solid.facets)
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t a = f[k], b = f[(k + 1) % 3];
            std::optional<bool>& run = waiting[std::minmax(a, b)];
            if (!run)
                run = a < b;
            else if (std::exchange(run, std::nullopt) == (a < b))
                return QStringLiteral("facets paired in file order run an edge the same way");
        }
    return {};
}

double volume(const StlSolid& solid)
{
    double six = 0;
    for (const auto& f : solid.facets) {
        const auto &a = solid.corners[f[0]], &b = solid.corners[f[1]], &c = solid.corners[f[2]];
        six += double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) - double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0])
            + double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0]);
    }
    return six / 6;
}

QString outlineText(const std::vector<PointRecord>& points)
{
    QStringList text;
    for (const PointRecord& p : points)
        text << QStringLiteral("%1,%2").arg(p.X).arg(p.Y);
    return text.join(QLatin1Char(' '));
}

const char* const Rounding = "or move it nearer the origin";

// Nothing when the outline's solid, exported to binary STL in a unit and read back, is
// closed and of the filled area times the depth, or is refused for a reason the outline
// gives (single precision only where `refusal` is "far"); otherwise what is wrong.
QString solidFault(const std::vector<PointRecord>& points, int depth, int unit, const QString& refusal)
{
    const double perTwip = std::array{25.4 / 1440, 1.0 / 1440, 1.0}[std::size_t(unit)];
    const QString outline = QStringLiteral("outline %1, depth %2, unit %3: ").arg(outlineText(points)).arg(depth).arg(unit);
    const double expected = nonzeroArea(points).get_d() * std::abs(depth) * perTwip * perTwip * perTwip;
    const std::variant<Mesh, QString> prism = buildPrism(extruded(points, TaggedValue(std::int16_t(depth))), LengthUnit(unit));
    if (const QString* why = std::get_if<QString>(&prism)) {
        const bool noArea = why->endsWith(QStringLiteral("fewer than three distinct points.")) || why->endsWith(QStringLiteral("encloses no area."));
        const bool allowed = (noArea && expected == 0) || (refusal != "" && why->contains(QLatin1String(Rounding)));
        return allowed ? QString() : outline + *why;
    }
    if (!refusal.isEmpty() && refusal != "far")
        return outline + "exported";
    const StlSolid solid = readBinaryStl(binaryStl(std::get<Mesh>(prism), QStringLiteral("t")));
    if (!flaw(solid).isEmpty())
        return outline + flaw(solid);
    // Rounding to single precision moves each corner by at most 2^-24 of the largest
    // coordinate; the volume changes by at most that times the outline's length and depth.
    double largest = 0, length = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointRecord &a = points[i], &b = points[(i + 1) % points.size()];
        largest = std::max({largest, std::abs(double(a.X)), std::abs(double(a.Y))});
        length += std::hypot(double(b.X) - a.X, double(b.Y) - a.Y);
    }
    const double tolerance = 4 * 0x1p-24 * largest * length * std::abs(depth) * perTwip * perTwip * perTwip + 1e-9 * expected;
    if (std::abs(volume(solid) - expected) > tolerance)
        return outline + QStringLiteral("volume %1, expected %2").arg(volume(solid), 0, 'g', 12).arg(expected, 0, 'g', 12);
    const auto [low, high] = std::minmax_element(solid.corners.begin(), solid.corners.end(),
                                                 [](const auto& a, const auto& b) { return a[2] < b[2]; });
    const float back = float(-depth * perTwip);
    if ((*low)[2] != (depth > 0 ? back : 0.0f) || (*high)[2] != (depth > 0 ? 0.0f : back))
        return outline + QStringLiteral("faces at Z = %1 and %2").arg((*low)[2]).arg((*high)[2]);
    return {};
}

} // namespace

class MeshTest : public QObject {
    Q_OBJECT

private slots:
    // Hand-made outlines, and seeded random ones of 3 to 30 points near the view and far from
    // the origin, drawn from few values so that points repeat, fall on lines and on other
    // edges, and edges cross. Each is exported to binary STL in a unit and read back: it is
    // closed and of the filled area times the depth, or refused for a reason the outline
    // gives. Only far from the origin may single precision refuse it.
    void outlinesGiveClosedSolids_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("refusal"); // empty: must be exported
        QTest::addRow("figure eight, both loops filled") << std::vector<PointRecord>{{0, 0}, {300, 300}, {300, 0}, {0, 300}} << 100 << 2 << "";
        QTest::addRow("loop wound twice") << std::vector<PointRecord>{{0, 0}, {900, 0}, {0, 900}, {0, 0}, {900, 0}, {0, 900}} << -50 << 0
                                          << "";
        QTest::addRow("square with an inner square wound back")
            << std::vector<PointRecord>{{0, 0}, {900, 0}, {900, 900}, {0, 900}, {0, 0}, {300, 300}, {300, 600}, {600, 600},
                                        {600, 300}, {300, 300}} << 70 << 1 << "";
        QTest::addRow("nineteen points whose corners once merged in millimetres")
            << std::vector<PointRecord>{{1642, 2770}, {1899, 1999}, {2927, 1742}, {2927, 1742}, {2670, 714}, {2670, 1742}, {1128, 1742},
                                        {2670, 971}, {357, 714}, {2413, 3027}, {614, 1485}, {614, 457}, {357, 714}, {3184, 2513},
                                        {2413, 1742}, {3184, 714}, {100, 2256}, {614, 971}, {2670, 2770}}
            << 200 << 0 << "";
        QTest::addRow("two corners one twip apart that single precision would merge")
            << std::vector<PointRecord>{{30000000, 0}, {30000001, 0}, {30000001, 1000}, {29000000, 1000}} << 200 << 0 << Rounding;
        QTest::addRow("corners at 16777216 twips, which single precision keeps")
            << std::vector<PointRecord>{{16777216, 0}, {16777218, 0}, {16777216, 1000}} << 200 << 2 << "";
        QTest::addRow("corners at 16777217 twips, which single precision moves by a twip")
            << std::vector<PointRecord>{{16777217, 0}, {16777317, 0}, {16777217, 1000}} << 200 << 2 << Rounding;
        QTest::addRow("a triangle at 2e9 twips, which single precision would widen")
            << std::vector<PointRecord>{{2000000000, 0}, {2000001000, 0}, {2000000000, 1000}} << 1000 << 2 << Rounding;
        QTest::addRow("a sliver far from the origin that single precision flattens")
            << std::vector<PointRecord>{{30000000, 0}, {30000001, 1}, {30000000, 1000}} << 200 << 0 << Rounding;
        QTest::addRow("a corner sharing its single-precision value with a later one stays in place")
            << std::vector<PointRecord>{{1, 0}, {1000, 1000}, {0, 1000}, {1, 0}, {1000, 0}} << 300 << 0 << "";
        QTest::addRow("an edge running back over one line, the triangle beside it filled")
            << std::vector<PointRecord>{{3000, 8000}, {3000, 2000}, {4000, 5000}, {3000, 3000}, {3000, 8000},
                                        {4000, 5000}, {7000, 3000}, {3000, 2000}, {5000, 3000}, {5000, 8000}} << 1000 << 2 << "";
        QTest::addRow("edges overlapping on lines through the centre")
            << std::vector<PointRecord>{{-1000, -1000}, {1000, -1000}, {0, 1000}, {0, 0}, {-1000, 1000}, {1000, 0},
                                        {0, -1000}, {0, 1000}, {-1000, -1000}, {1000, -1000}, {1000, 0}} << 1000 << 2 << "";
        const int seed = 18;
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> pick(0, 9), size(3, 30), depth(-900, 900), unit(0, 2), spread(1, 3);
        for (int row = 0; row < 300; ++row) {
            const bool far = row % 3 == 2;
            const int step = far ? 37 * spread(random) : 100 * spread(random);
            std::vector<PointRecord> points(std::size_t(size(random)));
            for (PointRecord& p : points)
                p = {(far ? 4000000 : 300) + pick(random) * step, (far ? -4000 : 200) + pick(random) * step};
            const int d = depth(random);
            QTest::addRow("seed %d, outline %d%s", seed, row, far ? ", far" : "") << points << (d == 0 ? 1 : d) << unit(random)
                                                                                 << (far ? "far" : "");
        }
    }

    void outlinesGiveClosedSolids()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(int, depth);
        QFETCH(int, unit);
        QFETCH(QString, refusal);
        const QString fault = solidFault(points, depth, unit, refusal);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Seeded random outlines of points on a small lattice, so that edges overlap, run back
    // over one line and meet inside one another, at a scale in twips: the solid of each
    // holds the area the nonzero rule fills times the depth.
    void latticeOutlinesFillTheirNonzeroArea_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("steps"); // the lattice's points a side
        QTest::addColumn<int>("scale"); // twips a step
        QTest::addColumn<int>("most");  // points an outline
        QTest::addRow("3 by 3 points, one twip apart") << 7 << 3 << 1 << 9;
        QTest::addRow("3 by 3 points, a thousand twips apart") << 8 << 3 << 1000 << 11;
        QTest::addRow("4 by 4 points, a thousand twips apart") << 9 << 4 << 1000 << 11;
        QTest::addRow("5 by 5 points, 7 twips apart") << 10 << 5 << 7 << 9;
    }

    void latticeOutlinesFillTheirNonzeroArea()
    {
        QFETCH(int, seed);
        QFETCH(int, steps);
        QFETCH(int, scale);
        QFETCH(int, most);
        std::mt19937 random{std::uint32_t(seed)};
        std::uniform_int_distribution<int> pick(0, steps - 1), size(3, most);
        for (int outline = 0; outline < 1500; ++outline) {
            std::vector<PointRecord> points(std::size_t(size(random)));
            for (PointRecord& p : points)
                p = {-2000 + scale * pick(random), 500 + scale * pick(random)};
            const QString fault = solidFault(points, 300, 2, QString());
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("seed %1, outline %2: ").arg(seed).arg(outline) + fault));
        }
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
        QVERIFY(std::abs(std::get<Mesh>(prism).volume() - 0.5 * std::abs(twips) / 1440) <= 1e-6);
    }
};

QTEST_MAIN(MeshTest)
#include "tst_mesh.moc"
