// Filling the outline with the GLU tessellator, mending zero-area triangles, building the
// prism and writing it as STL.
#include "export/Mesh.h"

#include "platform/Conversions.h"
#include "views/Rendering.h"

#include <GL/glu.h>

#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr double TwipsPerInch = 1440;

// Integer twips with Y up; products of two differences fit 64 bits for 32-bit coordinates.
struct Lattice {
    std::int64_t x, y;
    friend bool operator==(const Lattice&, const Lattice&) = default;
    friend auto operator<=>(const Lattice&, const Lattice&) = default;
};

bool collinear(const Lattice& a, const Lattice& b, const Lattice& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) == 0;
}

// The outline without repeated points and without points on the line through their two
// neighbours, neither of which changes the filled region; cyclic, so the ends are checked
// against each other too.
std::vector<Lattice> simplify(const std::vector<Lattice>& outline)
{
    std::vector<Lattice> out;
    out.reserve(outline.size());
    for (const Lattice& p : outline) {
        while (!out.empty() && out.back() != p && out.size() >= 2 && collinear(out[out.size() - 2], out.back(), p))
            out.pop_back();
        if (out.empty() || out.back() != p)
            out.push_back(p);
    }
    std::size_t first = 0;
    bool changed = true;
    while (changed && out.size() - first >= 3) {
        changed = true;
        const std::size_t n = out.size();
        if (out[n - 1] == out[first] || collinear(out[n - 2], out[n - 1], out[first]))
            out.pop_back();
        else if (collinear(out[n - 1], out[first], out[first + 1]))
            ++first;
        else
            changed = false;
    }
    return {out.begin() + std::ptrdiff_t(first), out.end()};
}

// Twice the area the outline winds around, positive when it runs counter-clockwise (Y up).
double twiceSignedArea(const std::vector<Lattice>& outline)
{
    double sum = 0;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++)
        sum += double(outline[j].x) * double(outline[i].y) - double(outline[i].x) * double(outline[j].y);
    return sum;
}

// What the tessellator's callbacks fill: the points (the outline's, then those made where
// edges cross) and the triangles with the boundary flag of each edge.
struct Tessellation {
    std::vector<PlanePoint> points;
    std::vector<FilledRegion::Triangle> triangles;
    std::array<std::uint32_t, 3> corners{};
    std::array<bool, 3> flags{};
    int corner = 0;
    bool boundary = false;
    bool failed = false;
};

void GLAPIENTRY onEdgeFlag(GLboolean flag, void* data)
{
    static_cast<Tessellation*>(data)->boundary = flag != GL_FALSE;
}

void GLAPIENTRY onVertex(void* vertex, void* data)
{
    auto* t = static_cast<Tessellation*>(data);
    const auto k = std::size_t(t->corner);
    t->corners[k] = std::uint32_t(reinterpret_cast<std::uintptr_t>(vertex));
    t->flags[k] = t->boundary;
    if (++t->corner == 3) {
        t->triangles.push_back({t->corners, t->flags});
        t->corner = 0;
    }
}

// A point where edges cross or meet: a new point of its own, which every triangle at that
// place shares by index.
void GLAPIENTRY onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* t = static_cast<Tessellation*>(data);
    t->points.push_back({coords[0], coords[1]});
    *out = reinterpret_cast<void*>(std::uintptr_t(t->points.size() - 1));
}

void GLAPIENTRY onError(GLenum, void* data)
{
    static_cast<Tessellation*>(data)->failed = true;
}

// The nonzero rule fills what the outline winds around at least once either way, as SVG's
// default does: a pentagram's centre (wound twice) is filled, and so is each loop of a
// figure eight. The edge-flag callback makes the tessellator give separate triangles only,
// each edge flagged when it lies on the boundary of the filled region.
Tessellation tessellate(const std::vector<Lattice>& outline)
{
    Tessellation t;
    std::vector<std::array<GLdouble, 3>> coords;
    coords.reserve(outline.size());
    for (const Lattice& p : outline) {
        coords.push_back({double(p.x), double(p.y), 0.0});
        t.points.push_back({double(p.x), double(p.y)});
    }
    const std::unique_ptr<GLUtesselator, void (*)(GLUtesselator*)> tess(gluNewTess(), gluDeleteTess);
    if (!tess) {
        t.failed = true;
        return t;
    }
    gluTessCallback(tess.get(), GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(&onEdgeFlag));
    gluTessCallback(tess.get(), GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&onVertex));
    gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&onCombine));
    gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&onError));
    gluTessProperty(tess.get(), GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess.get(), 0, 0, 1);
    gluTessBeginPolygon(tess.get(), &t);
    gluTessBeginContour(tess.get());
    for (std::size_t i = 0; i < coords.size(); ++i)
        gluTessVertex(tess.get(), coords[i].data(), reinterpret_cast<void*>(std::uintptr_t(i)));
    gluTessEndContour(tess.get());
    gluTessEndPolygon(tess.get());
    return t;
}

// Twice the signed area of a triangle.
double doubleArea(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Points closer than this to each other, or to the line through two others, are taken for
// one, or on the line: 2^-40 of the largest coordinate, far more than the rounding of the
// tessellator's crossing points and far less than any distance between whole twips.
constexpr double Resolution = 0x1p-40;

// Points within the resolution of one another (crossings computed apart that are one) and
// points that single precision in the unit chosen cannot tell apart become one index.
// exact: the tessellator's points in twips, kept for the mending; unit: the same points in
// the unit, as the mesh holds them. True when two points that triangles use became one.
bool mergePoints(std::vector<PlanePoint>& exact, std::vector<PlanePoint>& unit, std::vector<FilledRegion::Triangle>& triangles,
                 double scale)
{
    double largest = 0;
    for (const PlanePoint& p : exact)
        largest = std::max({largest, std::abs(p.x), std::abs(p.y)});
    const double cell = std::max(largest * Resolution, std::numeric_limits<double>::min());
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells;
    std::unordered_map<std::uint64_t, std::uint32_t> singles;
    const auto cellKey = [](double cx, double cy) { return (std::uint64_t(std::int64_t(cx)) << 32) ^ std::uint64_t(std::int64_t(cy)); };
    std::vector<std::uint32_t> index(exact.size());
    std::vector<PlanePoint> keptExact, keptUnit;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        const PlanePoint& p = exact[i];
        // Adding zero makes a negative zero positive.
        const float x = float(p.x * scale) + 0.0f, y = float(p.y * scale) + 0.0f;
        std::uint32_t bx, by;
        std::memcpy(&bx, &x, 4);
        std::memcpy(&by, &y, 4);
        const auto [single, added] = singles.try_emplace((std::uint64_t(bx) << 32) | by, std::uint32_t(keptExact.size()));
        index[i] = single->second;
        const double cx = std::floor(p.x / cell), cy = std::floor(p.y / cell);
        for (double dx = -1; dx <= 1 && added && index[i] == keptExact.size(); ++dx)
            for (double dy = -1; dy <= 1 && index[i] == keptExact.size(); ++dy) {
                const auto found = cells.find(cellKey(cx + dx, cy + dy));
                for (std::size_t k = 0; found != cells.end() && k < found->second.size(); ++k) {
                    const PlanePoint& q = keptExact[found->second[k]];
                    if (std::abs(q.x - p.x) <= cell && std::abs(q.y - p.y) <= cell)
                        index[i] = found->second[k];
                }
            }
        if (index[i] == keptExact.size()) {
            cells[cellKey(cx, cy)].push_back(index[i]);
            keptExact.push_back(p);
            keptUnit.push_back({double(x), double(y)});
        }
    }
    constexpr std::uint32_t Unused = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> user(keptExact.size(), Unused);
    bool merged = false;
    for (FilledRegion::Triangle& t : triangles)
        for (std::uint32_t& c : t.corners) {
            std::uint32_t& first = user[index[c]];
            merged = merged || (first != Unused && first != c);
            first = first == Unused ? c : first;
            c = index[c];
        }
    exact = std::move(keptExact);
    unit = std::move(keptUnit);
    return merged;
}

// Takes away the triangles that have no area (a repeated corner, or three corners on one
// line, which the tessellator gives for points on a straight stretch of an edge, crossing
// points included), judged on the tessellator's own points, keeping the surface closed: such a
// triangle's long edge is flipped with the triangle across it, or, where none or only another
// such triangle lies across, the triangle is dropped. Leaves the boundary flags to sew().
// True when it changed anything; the common case, no such triangle, costs one pass.
class Mender {
public:
    // exact: the tessellator's points; unit: the same in single precision, as the mesh holds them.
    Mender(const std::vector<PlanePoint>& exact, const std::vector<PlanePoint>& unit, std::vector<FilledRegion::Triangle>& triangles)
        : points_(exact), unit_(unit), triangles_(triangles)
    {
    }

    bool run()
    {
        std::vector<std::size_t> work;
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            if (flat(triangles_[i]))
                work.push_back(i);
        if (work.empty())
            return false;
        alive_.assign(triangles_.size(), true);
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            link(i);
        // A triangle across from another flat one waits for a round in which that one was
        // mended; a round that mends nothing drops what waits. Each step drops a triangle or
        // replaces two; a bound keeps a pathological arrangement from going round forever
        // (what is left flat is dropped).
        std::vector<std::size_t> waiting;
        bool mended = true, force = false;
        for (std::size_t steps = 8 * triangles_.size() + 16; steps > 0; --steps) {
            if (work.empty()) {
                if (waiting.empty())
                    break;
                force = !mended;
                mended = false;
                work.swap(waiting);
            }
            const std::size_t i = work.back();
            work.pop_back();
            if (!alive_[i] || !flat(triangles_[i]))
                continue;
            if (mend(i, work, force))
                mended = true;
            else
                waiting.push_back(i);
        }
        std::vector<Triangle> kept;
        kept.reserve(triangles_.size());
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            if (alive_[i] && !flat(triangles_[i]))
                kept.push_back(triangles_[i]);
        triangles_ = std::move(kept);
        return true;
    }

private:
    using Triangle = FilledRegion::Triangle;

    static std::uint64_t key(std::uint32_t from, std::uint32_t to) { return (std::uint64_t(from) << 32) | to; }

    // A repeated corner, no area or less than the rounding of crossing points can account
    // for, or none left (or turned round) in single precision.
    bool flat(const Triangle& t) const
    {
        const auto [a, b, c] = t.corners;
        if (a == b || b == c || a == c || doubleArea(unit_[a], unit_[b], unit_[c]) <= 0)
            return true;
        const PlanePoint &p = points_[a], &q = points_[b], &r = points_[c];
        const double largest = std::max({std::abs(p.x), std::abs(p.y), std::abs(q.x), std::abs(q.y), std::abs(r.x), std::abs(r.y)});
        const double longest = std::max({std::hypot(q.x - p.x, q.y - p.y), std::hypot(r.x - q.x, r.y - q.y), std::hypot(p.x - r.x, p.y - r.y)});
        return doubleArea(p, q, r) <= Resolution * largest * longest;
    }

    void link(std::size_t i)
    {
        for (std::size_t k = 0; k < 3; ++k)
            edges_.emplace(key(triangles_[i].corners[k], triangles_[i].corners[(k + 1) % 3]), i);
    }

    void unlink(std::size_t i)
    {
        for (std::size_t k = 0; k < 3; ++k) {
            auto [from, to] = edges_.equal_range(key(triangles_[i].corners[k], triangles_[i].corners[(k + 1) % 3]));
            for (; from != to; ++from)
                if (from->second == i) {
                    edges_.erase(from);
                    break;
                }
        }
    }

    // Flips or drops flat triangle i; false when it must wait (see run()), unless forced.
    bool mend(std::size_t i, std::vector<std::size_t>& work, bool force)
    {
        Triangle& t = triangles_[i];
        // The corner opposite the longest edge: on a line, the one between the other two.
        std::size_t middle = 0;
        double longest = -1;
        for (std::size_t k = 0; k < 3; ++k) {
            const PlanePoint& a = points_[t.corners[(k + 1) % 3]];
            const PlanePoint& b = points_[t.corners[(k + 2) % 3]];
            if (const double length = std::hypot(b.x - a.x, b.y - a.y); length > longest) {
                longest = length;
                middle = k;
            }
        }
        const std::uint32_t c = t.corners[middle], b = t.corners[(middle + 1) % 3], a = t.corners[(middle + 2) % 3];
        // t runs c -> b -> a; the triangle across its long edge runs a -> b -> d.
        const auto across = edges_.find(key(a, b));
        const bool acrossFlat = across != edges_.end() && flat(triangles_[across->second]);
        if (acrossFlat && !force && c != a && c != b && a != b)
            return false;
        if (c == a || c == b || a == b || across == edges_.end() || acrossFlat) {
            unlink(i);
            alive_[i] = false;
            return true;
        }
        const std::size_t other = across->second;
        Triangle& u = triangles_[other];
        std::size_t j = 0;
        while (u.corners[j] != a)
            ++j;
        const std::uint32_t d = u.corners[(j + 2) % 3];
        unlink(i);
        unlink(other);
        t = {{a, c, d}, {}};
        u = {{c, b, d}, {}};
        link(i);
        link(other);
        work.push_back(i);
        work.push_back(other);
        return true;
    }

    const std::vector<PlanePoint>& points_;
    const std::vector<PlanePoint>& unit_;
    std::vector<Triangle>& triangles_;
    std::vector<bool> alive_;
    std::unordered_multimap<std::uint64_t, std::size_t> edges_;
};

// After points became one or triangles were mended, the tessellator's flags are set again
// from what they mean: an edge lies on the boundary when no triangle runs it the other way.
// Two boundary edges between the same two points, one each way (a slit of no width, whose
// walls would face each other), so become inner edges.
void sew(std::vector<FilledRegion::Triangle>& triangles)
{
    std::unordered_set<std::uint64_t> runs;
    const auto key = [](std::uint32_t from, std::uint32_t to) { return (std::uint64_t(from) << 32) | to; };
    for (const FilledRegion::Triangle& t : triangles)
        for (std::size_t k = 0; k < 3; ++k)
            runs.insert(key(t.corners[k], t.corners[(k + 1) % 3]));
    for (FilledRegion::Triangle& t : triangles)
        for (std::size_t k = 0; k < 3; ++k)
            t.boundary[k] = runs.count(key(t.corners[(k + 1) % 3], t.corners[k])) == 0;
}

QString refusal(const QString& reason)
{
    return QStringLiteral("The object cannot be exported as a solid: %1.").arg(reason);
}

std::array<float, 3> unitNormal(const Mesh& mesh, const std::array<std::uint32_t, 3>& t)
{
    const auto& a = mesh.vertices[t[0]];
    const auto& b = mesh.vertices[t[1]];
    const auto& c = mesh.vertices[t[2]];
    const double ux = double(b[0]) - a[0], uy = double(b[1]) - a[1], uz = double(b[2]) - a[2];
    const double vx = double(c[0]) - a[0], vy = double(c[1]) - a[1], vz = double(c[2]) - a[2];
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0))
        return {0, 0, 0};
    return {float(nx / length), float(ny / length), float(nz / length)};
}

// The shortest decimal text that reads back as the same single-precision number.
void appendFloat(QByteArray& out, float value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end - buffer);
}

// A solid's name as STL readers take it: one word of printable ASCII.
QByteArray solidName(const QString& name)
{
    QByteArray word;
    for (const QChar c : name)
        word.append(c.unicode() > 0x20 && c.unicode() < 0x7F ? char(c.unicode()) : '_');
    return word.isEmpty() ? QByteArray("object") : word;
}

} // namespace

double unitsPerTwip(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Millimetre: return 25.4 / TwipsPerInch;
    case LengthUnit::Inch: return 1 / TwipsPerInch;
    case LengthUnit::Twip: return 1;
    }
    return 1;
}

std::optional<std::int16_t> extrusionDepth(const TaggedValue& depth)
{
    if (depth.isEmpty())
        return DefaultDepth;
    const std::optional<double> number = depth.toNumber();
    return number ? conv::toInt16(*number) : std::nullopt;
}

std::variant<std::int16_t, QString> prismDepth(const ObjectFileValues& object)
{
    if (object.Dimension != 3)
        return QStringLiteral("it is flat (last drawn in 2D); draw it in 3D to give it a depth");
    const std::optional<std::int16_t> depth = extrusionDepth(object.Depth);
    if (!depth)
        return QStringLiteral("its depth \"%1\" is not a number from -32768 to 32767").arg(conv::excerpt(object.Depth.toText()));
    if (*depth == 0)
        return QStringLiteral("its depth is 0");
    return *depth;
}

double FilledRegion::area() const
{
    double twice = 0;
    for (const Triangle& t : triangles)
        twice += doubleArea(points[t.corners[0]], points[t.corners[1]], points[t.corners[2]]);
    return twice / 2;
}

std::variant<FilledRegion, QString> fillOutline(const std::vector<PointRecord>& outline, LengthUnit unit)
{
    std::vector<Lattice> lattice;
    lattice.reserve(outline.size());
    for (const PointRecord& p : outline)
        lattice.push_back({p.X, -std::int64_t(p.Y)});
    if (std::set<Lattice>(lattice.begin(), lattice.end()).size() < 3)
        return QStringLiteral("it has fewer than three distinct points");
    std::vector<Lattice> simple = simplify(lattice);
    // The tessellator relabels the whole swept region at every diagonal it adds to a
    // clockwise outline, which makes a large one with many small notches (a ring of whole
    // twips) slow; run the other way round, the same outline fills the same region by the
    // nonzero rule, and the work stays with the small faces.
    if (twiceSignedArea(simple) < 0)
        std::reverse(simple.begin(), simple.end());
    Tessellation t = simple.size() >= 3 ? tessellate(simple) : Tessellation{};
    if (t.failed)
        return QStringLiteral("the tessellator could not fill its outline");
    FilledRegion region{{}, std::move(t.triangles)};
    const bool merged = mergePoints(t.points, region.points, region.triangles, unitsPerTwip(unit));
    if (Mender(t.points, region.points, region.triangles).run() || merged)
        sew(region.triangles);
    if (region.triangles.empty())
        return QStringLiteral("its outline encloses no area");
    return region;
}

double Mesh::volume() const
{
    double six = 0;
    for (const auto& t : triangles) {
        const auto& a = vertices[t[0]];
        const auto& b = vertices[t[1]];
        const auto& c = vertices[t[2]];
        six += double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1])
            - double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0])
            + double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0]);
    }
    return six / 6;
}

std::variant<Mesh, QString> buildPrism(const ObjectFileValues& object, LengthUnit unit)
{
    const std::variant<std::int16_t, QString> depth = prismDepth(object);
    if (const QString* why = std::get_if<QString>(&depth))
        return refusal(*why);
    const std::int16_t d = std::get<std::int16_t>(depth);
    std::variant<FilledRegion, QString> filled = fillOutline(object.points, unit);
    if (const QString* why = std::get_if<QString>(&filled))
        return refusal(*why);
    const FilledRegion& region = std::get<FilledRegion>(filled);

    Mesh mesh;
    const auto n = std::uint32_t(region.points.size());
    const float back = float(-double(d) * unitsPerTwip(unit));
    mesh.vertices.reserve(2 * std::size_t(n));
    for (const PlanePoint& p : region.points)
        mesh.vertices.push_back({float(p.x), float(p.y), 0.0f});
    for (const PlanePoint& p : region.points)
        mesh.vertices.push_back({float(p.x), float(p.y), back});
    mesh.triangles.reserve(2 * region.triangles.size() + 2 * region.points.size());
    for (const FilledRegion::Triangle& t : region.triangles) {
        const auto [a, b, c] = t.corners;
        mesh.triangles.push_back({a, b, c});
        mesh.triangles.push_back({c + n, b + n, a + n});
        // A boundary edge a -> b has the region on its left: the wall faces right.
        for (std::size_t k = 0; k < 3; ++k) {
            if (!t.boundary[k])
                continue;
            const std::uint32_t from = t.corners[k], to = t.corners[(k + 1) % 3];
            mesh.triangles.push_back({from, from + n, to + n});
            mesh.triangles.push_back({from, to + n, to});
        }
    }
    // A negative depth puts the back face in front of the front face: all turn round.
    if (d < 0)
        for (auto& t : mesh.triangles)
            std::swap(t[1], t[2]);
    return mesh;
}

QByteArray binaryStl(const Mesh& mesh, const QString& name)
{
    // A binary header must not begin with "solid", which marks an ASCII file.
    QByteArray header = "Brondelwick object " + solidName(name);
    header = header.left(80).leftJustified(80, ' ');
    QByteArray out;
    out.reserve(84 + qsizetype(mesh.triangles.size()) * 50);
    out.append(header);
    char count[4];
    qToLittleEndian(std::uint32_t(mesh.triangles.size()), count);
    out.append(count, 4);
    char facet[50] = {};
    for (const auto& t : mesh.triangles) {
        const std::array<float, 3> normal = unitNormal(mesh, t);
        float values[12];
        std::copy(normal.begin(), normal.end(), values);
        for (std::size_t k = 0; k < 3; ++k)
            std::copy(mesh.vertices[t[k]].begin(), mesh.vertices[t[k]].end(), values + 3 + 3 * k);
        for (int i = 0; i < 12; ++i)
            qToLittleEndian(values[i], facet + 4 * i);
        out.append(facet, 50);
    }
    return out;
}

QByteArray asciiStl(const Mesh& mesh, const QString& name)
{
    const QByteArray word = solidName(name);
    QByteArray out = "solid " + word + '\n';
    auto triple = [&out](const char* prefix, const std::array<float, 3>& v) {
        out.append(prefix);
        for (std::size_t k = 0; k < 3; ++k) {
            out.append(' ');
            appendFloat(out, v[k]);
        }
        out.append('\n');
    };
    for (const auto& t : mesh.triangles) {
        triple("  facet normal", unitNormal(mesh, t));
        out.append("    outer loop\n");
        for (const std::uint32_t v : t)
            triple("      vertex", mesh.vertices[v]);
        out.append("    endloop\n  endfacet\n");
    }
    out.append("endsolid " + word + '\n');
    return out;
}
