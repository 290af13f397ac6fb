// Filling the outline with the GLU tessellator, mending zero-area triangles, building the
// prism and writing it as STL.
#include "export/Mesh.h"

#include "platform/Conversions.h"

#include <GL/glu.h>

#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <unordered_map>

namespace {

constexpr double TwipsPerInch = 1440;
constexpr std::int16_t DefaultDepth = 200;

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

// Twice the signed area of a triangle; the products of single-precision coordinates are
// exact in double precision, so zero means the corners lie on one line as written.
double doubleArea(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Mends the triangles that have no area once the points are in single precision (a repeated
// corner, or three corners on one line, which the tessellator may give for points on a
// straight stretch of the boundary), keeping the mesh closed: such a triangle's long edge is
// flipped with the triangle across it, or, on the boundary, the triangle is taken away and
// its two short edges become boundary edges. The common case, none, costs one pass.
class Mender {
public:
    Mender(const std::vector<PlanePoint>& points, std::vector<FilledRegion::Triangle>& triangles)
        : points_(points), triangles_(triangles)
    {
    }

    void run()
    {
        std::vector<std::size_t> work;
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            if (flat(triangles_[i]))
                work.push_back(i);
        if (work.empty())
            return;
        alive_.assign(triangles_.size(), true);
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            link(i);
        // Each step removes a triangle or replaces two; a bound keeps a pathological
        // arrangement (many points on one line) from going round forever.
        std::size_t steps = 8 * triangles_.size() + 16;
        while (!work.empty() && steps-- > 0) {
            const std::size_t i = work.back();
            work.pop_back();
            if (alive_[i] && flat(triangles_[i]))
                mend(i, work);
        }
        std::vector<FilledRegion::Triangle> kept;
        kept.reserve(triangles_.size());
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            if (alive_[i] && !flat(triangles_[i]))
                kept.push_back(triangles_[i]);
        triangles_ = std::move(kept);
    }

private:
    using Triangle = FilledRegion::Triangle;
    struct Use {
        std::size_t triangle;
        int edge;
    };

    static std::uint64_t key(std::uint32_t from, std::uint32_t to) { return (std::uint64_t(from) << 32) | to; }
    static int next(int k) { return (k + 1) % 3; }

    bool flat(const Triangle& t) const
    {
        const auto [a, b, c] = t.corners;
        return a == b || b == c || a == c || doubleArea(points_[a], points_[b], points_[c]) == 0;
    }

    void link(std::size_t i)
    {
        const Triangle& t = triangles_[i];
        for (int k = 0; k < 3; ++k)
            if (t.corners[std::size_t(k)] != t.corners[std::size_t(next(k))])
                edges_[key(t.corners[std::size_t(k)], t.corners[std::size_t(next(k))])].push_back({i, k});
    }

    void unlink(std::size_t i)
    {
        const Triangle& t = triangles_[i];
        for (int k = 0; k < 3; ++k) {
            auto found = edges_.find(key(t.corners[std::size_t(k)], t.corners[std::size_t(next(k))]));
            if (found == edges_.end())
                continue;
            std::erase_if(found->second, [&](const Use& u) { return u.triangle == i && u.edge == k; });
        }
    }

    const std::vector<Use>* uses(std::uint32_t from, std::uint32_t to) const
    {
        const auto found = edges_.find(key(from, to));
        return found == edges_.end() || found->second.empty() ? nullptr : &found->second;
    }

    void mend(std::size_t i, std::vector<std::size_t>& work)
    {
        Triangle& t = triangles_[i];
        // The corner between the other two, opposite the long edge.
        int middle = -1;
        for (int k = 0; k < 3 && middle < 0; ++k) {
            const PlanePoint& m = points_[t.corners[std::size_t(k)]];
            const PlanePoint& a = points_[t.corners[std::size_t(next(k))]];
            const PlanePoint& b = points_[t.corners[std::size_t(next(next(k)))]];
            if ((a.x - m.x) * (b.x - m.x) + (a.y - m.y) * (b.y - m.y) <= 0)
                middle = k;
        }
        const std::uint32_t c = t.corners[std::size_t(middle)];
        const std::uint32_t b = t.corners[std::size_t(next(middle))];
        const std::uint32_t a = t.corners[std::size_t(next(next(middle)))];
        const std::vector<Use>* across = b != a ? uses(a, b) : nullptr;
        if (c == a || c == b || !across) {
            remove(i);
            return;
        }
        // t runs c -> b -> a; the triangle across its long edge runs a -> b -> d.
        const Use other = across->front();
        Triangle& u = triangles_[other.triangle];
        const auto j = std::size_t(other.edge);
        const std::uint32_t d = u.corners[(j + 2) % 3];
        const bool cb = t.boundary[std::size_t(middle)], ac = t.boundary[std::size_t(next(next(middle)))];
        const bool bd = u.boundary[(j + 1) % 3], da = u.boundary[(j + 2) % 3];
        unlink(i);
        unlink(other.triangle);
        t = {{a, c, d}, {ac, false, da}};
        u = {{c, b, d}, {cb, bd, false}};
        link(i);
        link(other.triangle);
        work.push_back(i);
        work.push_back(other.triangle);
    }

    // Takes triangle i away; an edge that ran the other way to one of its edges is on the
    // boundary from now on unless another triangle still runs that edge.
    void remove(std::size_t i)
    {
        unlink(i);
        alive_[i] = false;
        const Triangle& t = triangles_[i];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t from = t.corners[std::size_t(k)], to = t.corners[std::size_t(next(k))];
            if (from == to)
                continue;
            if (const std::vector<Use>* reverse = uses(to, from))
                for (const Use& r : *reverse)
                    triangles_[r.triangle].boundary[std::size_t(r.edge)] = uses(from, to) == nullptr;
        }
    }

    const std::vector<PlanePoint>& points_;
    std::vector<Triangle>& triangles_;
    std::vector<bool> alive_;
    std::unordered_map<std::uint64_t, std::vector<Use>> edges_;
};

// The points in the unit chosen, rounded to single precision as the mesh will hold them,
// with points that became equal merged into one index.
void toUnit(std::vector<PlanePoint>& points, std::vector<FilledRegion::Triangle>& triangles, double scale)
{
    std::unordered_map<std::uint64_t, std::uint32_t> seen;
    seen.reserve(points.size());
    std::vector<std::uint32_t> index(points.size());
    std::vector<PlanePoint> merged;
    merged.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const float x = float(points[i].x * scale), y = float(points[i].y * scale);
        std::uint32_t bx, by;
        std::memcpy(&bx, &x, 4);
        std::memcpy(&by, &y, 4);
        const auto [where, added] = seen.try_emplace((std::uint64_t(bx) << 32) | by, std::uint32_t(merged.size()));
        if (added)
            merged.push_back({double(x), double(y)});
        index[i] = where->second;
    }
    for (FilledRegion::Triangle& t : triangles)
        for (std::uint32_t& c : t.corners)
            c = index[c];
    points = std::move(merged);
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
    const std::vector<Lattice> simple = simplify(lattice);
    Tessellation t = simple.size() >= 3 ? tessellate(simple) : Tessellation{};
    if (t.failed)
        return QStringLiteral("the tessellator could not fill its outline");
    FilledRegion region{std::move(t.points), std::move(t.triangles)};
    toUnit(region.points, region.triangles, unitsPerTwip(unit));
    Mender(region.points, region.triangles).run();
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
