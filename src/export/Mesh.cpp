// Filling the outline by the nonzero rule on whole twips (export/NonzeroFill), triangulating
// the filled region (the GLU tessellator), building the prism part by part, checking it in
// single precision and writing it as STL.
#include "export/Mesh.h"

#include "export/DisjointSets.h"
#include "export/NonzeroFill.h"

#include "platform/Conversions.h"

#include <GL/glu.h>

#include <QtEndian>
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <numbers>
#include <unordered_map>

namespace {

constexpr double TwipsPerInch = 1440;

// The pieces the outline is cut into to be filled: each edge once per horizontal band between
// two consecutive corner heights that it spans (a horizontal edge once), plus two for each
// crossing of two edges inside a band (one more piece on each). Both the tessellating and the
// filling sweep do work in proportion to it. The bands are counted first, in O(n log n); the
// crossings of a band are the pairs its edges' order at the bottom and at the top disagree
// on, counted band by band until the total passes `cap`: the result is exact up to `cap`
// (crossings on a band's edge height are not counted) and only says "more" beyond it.
std::uint64_t countPieces(const std::vector<Lattice>& outline, std::uint64_t cap, const SolidLimits& limits)
{
    struct Edge {
        Lattice low, high;
        double xAt(std::int64_t y) const
        {
            return double(low.x) + double(y - low.y) * double(high.x - low.x) / double(high.y - low.y);
        }
    };
    std::vector<Edge> edges;
    std::vector<std::int64_t> heights;
    std::uint64_t pieces = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Lattice a = outline[i], b = outline[(i + 1) % outline.size()];
        heights.push_back(a.y);
        if (a.y == b.y)
            pieces += a.x != b.x;
        else
            edges.push_back(a.y < b.y ? Edge{a, b} : Edge{b, a});
    }
    std::sort(heights.begin(), heights.end());
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    const auto rank = [&heights](std::int64_t y) { return std::lower_bound(heights.begin(), heights.end(), y) - heights.begin(); };
    for (const Edge& e : edges)
        pieces += std::uint64_t(rank(e.high.y) - rank(e.low.y));
    if (pieces > cap)
        return pieces;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.low.y < b.low.y; });
    std::vector<const Edge*> active;
    std::vector<std::pair<double, double>> ends;
    std::vector<double> tops, spare;
    std::size_t next = 0;
    for (std::size_t band = 0; band + 1 < heights.size() && pieces <= cap; ++band) {
        const std::int64_t bottom = heights[band], top = heights[band + 1];
        std::erase_if(active, [bottom](const Edge* e) { return e->high.y <= bottom; });
        for (; next < edges.size() && edges[next].low.y == bottom; ++next)
            active.push_back(&edges[next]);
        ends.clear();
        for (const Edge* e : active)
            ends.emplace_back(e->xAt(bottom), e->xAt(top));
        std::sort(ends.begin(), ends.end());
        tops.clear();
        for (const auto& end : ends)
            tops.push_back(end.second);
        // Inversions by merge sort: the pairs left of one another at the bottom and not at the top.
        spare.resize(tops.size());
        for (std::size_t width = 1; width < tops.size(); width *= 2)
            for (std::size_t from = 0; from + width < tops.size(); from += 2 * width) {
                const std::size_t middle = from + width, to = std::min(from + 2 * width, tops.size());
                std::size_t i = from, j = middle, k = from;
                while (i < middle && j < to) {
                    if (tops[j] < tops[i]) {
                        pieces += 2 * (middle - i);
                        spare[k++] = tops[j++];
                    } else {
                        spare[k++] = tops[i++];
                    }
                }
                std::copy(tops.begin() + std::ptrdiff_t(i), tops.begin() + std::ptrdiff_t(middle), spare.begin() + std::ptrdiff_t(k));
                std::copy(tops.begin() + std::ptrdiff_t(j), tops.begin() + std::ptrdiff_t(to), spare.begin() + std::ptrdiff_t(k + middle - i));
                std::copy(spare.begin() + std::ptrdiff_t(from), spare.begin() + std::ptrdiff_t(to), tops.begin() + std::ptrdiff_t(from));
            }
        if (limits.progress && band % 256 == 0)
            limits.progress(QStringLiteral("counting the pieces of its outline"), double(band) / double(heights.size()));
    }
    return pieces;
}

// The triangles of a filled region over its points; edge k of a triangle runs from corner k
// to corner k + 1 and lies on the region's boundary when no triangle runs it the other way.
struct Triangulation {
    std::vector<std::array<double, 2>> points;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    std::map<std::array<double, 2>, std::uint32_t> merged;
    std::array<std::uint32_t, 3> corners{};
    int corner = 0;
    bool failed = false;
};

void GLAPIENTRY onEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY onVertex(void* vertex, void* data)
{
    auto* t = static_cast<Triangulation*>(data);
    t->corners[std::size_t(t->corner)] = std::uint32_t(reinterpret_cast<std::uintptr_t>(vertex));
    if (++t->corner == 3) {
        t->triangles.push_back(t->corners);
        t->corner = 0;
    }
}

// Where boundaries meet at a corner the tessellator asks for the point it merges them into:
// the one point with those coordinates, so that every triangle there shares it by index. A
// point of its own only where boundaries would cross, which the filling does not give.
void GLAPIENTRY onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* t = static_cast<Triangulation*>(data);
    if (t->merged.empty())
        for (std::uint32_t i = 0; i < t->points.size(); ++i)
            t->merged.emplace(t->points[i], i);
    const auto [found, added] = t->merged.emplace(std::array<double, 2>{coords[0], coords[1]}, std::uint32_t(t->points.size()));
    if (added)
        t->points.push_back(found->first);
    *out = reinterpret_cast<void*>(std::uintptr_t(found->second));
}

void GLAPIENTRY onError(GLenum, void* data)
{
    static_cast<Triangulation*>(data)->failed = true;
}

// The filled region's boundaries triangulated by the GLU tessellator, every triangle counter-
// clockwise. The edge-flag callback makes it give separate triangles only.
Triangulation triangulate(const std::vector<std::vector<Lattice>>& rings)
{
    Triangulation t;
    for (const std::vector<Lattice>& ring : rings)
        for (const Lattice& p : ring)
            t.points.push_back({double(p.x), double(p.y)});
    std::vector<std::array<GLdouble, 3>> coords;
    coords.reserve(t.points.size());
    for (const auto& p : t.points)
        coords.push_back({p[0], p[1], 0.0});
    const std::unique_ptr<GLUtesselator, void (*)(GLUtesselator*)> tess(gluNewTess(), gluDeleteTess);
    if (!tess) {
        t.failed = true;
        return t;
    }
    gluTessCallback(tess.get(), GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(&onEdgeFlag));
    gluTessCallback(tess.get(), GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&onVertex));
    gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&onCombine));
    gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&onError));
    gluTessProperty(tess.get(), GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    gluTessNormal(tess.get(), 0, 0, 1);
    gluTessBeginPolygon(tess.get(), &t);
    std::size_t index = 0;
    for (const std::vector<Lattice>& ring : rings) {
        gluTessBeginContour(tess.get());
        for (std::size_t k = 0; k < ring.size(); ++k, ++index)
            gluTessVertex(tess.get(), coords[index].data(), reinterpret_cast<void*>(std::uintptr_t(index)));
        gluTessEndContour(tess.get());
    }
    gluTessEndPolygon(tess.get());
    return t;
}

std::uint64_t edgeKey(std::uint32_t from, std::uint32_t to) { return (std::uint64_t(from) << 32) | to; }

__extension__ using Wide = __int128;

// Whether a triangle of single-precision corners has them on one line: every component of
// its normal zero. The differences of single-precision values are exact in double precision;
// rounding the products loses only what lies below 2^-50 of their size, which is taken for
// zero. One rule for the mending and for the check before a solid is given out.
bool collinearInSingle(const std::array<float, 3>& a, const std::array<float, 3>& b, const std::array<float, 3>& c)
{
    const double ux = double(b[0]) - a[0], uy = double(b[1]) - a[1], uz = double(b[2]) - a[2];
    const double vx = double(c[0]) - a[0], vy = double(c[1]) - a[1], vz = double(c[2]) - a[2];
    const std::array<std::pair<double, double>, 3> terms{{{uy * vz, uz * vy}, {uz * vx, ux * vz}, {ux * vy, uy * vx}}};
    return std::all_of(terms.begin(), terms.end(),
                       [](const auto& p) { return std::abs(p.first - p.second) <= 0x1p-50 * (std::abs(p.first) + std::abs(p.second)); });
}

// Twice the signed area of a triangle, exactly where its corners are whole numbers (all but
// the rare points the tessellator makes where boundaries would cross).
long double twiceArea(const std::array<double, 2>& a, const std::array<double, 2>& b, const std::array<double, 2>& c)
{
    const auto whole = [](const std::array<double, 2>& p) { return p[0] == std::trunc(p[0]) && p[1] == std::trunc(p[1]); };
    if (whole(a) && whole(b) && whole(c)) {
        const auto i = [](double v) { return Wide(std::int64_t(v)); };
        const Wide det = (i(b[0]) - i(a[0])) * (i(c[1]) - i(a[1])) - (i(b[1]) - i(a[1])) * (i(c[0]) - i(a[0]));
        return det > 0 ? 1.0L : det < 0 ? -1.0L : 0.0L;
    }
    return (static_cast<long double>(b[0]) - a[0]) * (static_cast<long double>(c[1]) - a[1])
        - (static_cast<long double>(b[1]) - a[1]) * (static_cast<long double>(c[0]) - a[0]);
}

// Takes away the triangles without area: those the tessellator gives where a boundary has
// corners on one line (where boundaries touch, or a boundary corner lies on another's edge),
// and those that single precision in the unit leaves without area (corners that fall on one
// value, a crossing that falls on the line through two corners), keeping the surface closed: such a triangle's long edge is flipped with the triangle across it, or, where
// none lies across (it is on the boundary) the triangle is dropped, its two short edges
// becoming the boundary along the same line. A triangle across from another flat one waits for
// a round in which something was mended; a round that mends nothing drops what waits. The
// common case, no such triangle, costs one pass. Called by buildPrism.
class Mender {
public:
    using Corners = std::array<std::uint32_t, 3>;
    // points: the triangulation's; single: the same as the mesh holds them.
    Mender(const std::vector<std::array<double, 2>>& points, const std::vector<std::array<float, 3>>& single, std::vector<Corners>& triangles)
        : points_(points), single_(single), triangles_(triangles)
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
        edges_.reserve(3 * triangles_.size());
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            link(i);
        std::vector<std::size_t> waiting;
        bool mended = true, force = false;
        // Each step drops a triangle or replaces two; the bound keeps a pathological
        // arrangement from going round forever (what is left flat is dropped).
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
        std::vector<Corners> kept;
        kept.reserve(triangles_.size());
        for (std::size_t i = 0; i < triangles_.size(); ++i)
            if (alive_[i] && !flat(triangles_[i]))
                kept.push_back(triangles_[i]);
        triangles_ = std::move(kept);
    }

private:
    bool flat(const Corners& t) const
    {
        return t[0] == t[1] || t[1] == t[2] || t[0] == t[2] || twiceArea(points_[t[0]], points_[t[1]], points_[t[2]]) <= 0
            || collinearInSingle(single_[t[0]], single_[t[1]], single_[t[2]]);
    }

    void link(std::size_t i)
    {
        for (std::size_t k = 0; k < 3; ++k)
            edges_.emplace(edgeKey(triangles_[i][k], triangles_[i][(k + 1) % 3]), i);
    }

    void unlink(std::size_t i)
    {
        for (std::size_t k = 0; k < 3; ++k) {
            auto [from, to] = edges_.equal_range(edgeKey(triangles_[i][k], triangles_[i][(k + 1) % 3]));
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
        Corners& t = triangles_[i];
        // The corner opposite the longest edge: on a line, the one between the other two.
        std::size_t middle = 0;
        long double longest = -1;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& a = points_[t[(k + 1) % 3]];
            const auto& b = points_[t[(k + 2) % 3]];
            const long double dx = static_cast<long double>(b[0]) - a[0], dy = static_cast<long double>(b[1]) - a[1];
            if (const long double length = dx * dx + dy * dy; length > longest) {
                longest = length;
                middle = k;
            }
        }
        const std::uint32_t c = t[middle], b = t[(middle + 1) % 3], a = t[(middle + 2) % 3];
        // t runs c -> b -> a; the triangle across its long edge runs a -> b -> d.
        const auto across = edges_.find(edgeKey(a, b));
        const bool acrossFlat = across != edges_.end() && flat(triangles_[across->second]);
        if (acrossFlat && !force && c != a && c != b && a != b)
            return false;
        if (c == a || c == b || a == b || across == edges_.end() || acrossFlat) {
            unlink(i);
            alive_[i] = false;
            return true;
        }
        const std::size_t other = across->second;
        Corners& u = triangles_[other];
        std::size_t j = 0;
        while (u[j] != a)
            ++j;
        const std::uint32_t d = u[(j + 2) % 3];
        unlink(i);
        unlink(other);
        t = {a, c, d};
        u = {c, b, d};
        link(i);
        link(other);
        work.push_back(i);
        work.push_back(other);
        return true;
    }

    const std::vector<std::array<double, 2>>& points_;
    const std::vector<std::array<float, 3>>& single_;
    std::vector<Corners>& triangles_;
    std::vector<bool> alive_;
    std::unordered_multimap<std::uint64_t, std::size_t> edges_;
};

// The face's triangles gathered into the filled region's parts (triangles joined where one
// runs an edge that another runs the other way), each in the face's order, with the
// part's boundary edges (run by one triangle only, the part on their left) as closed walks.
// Where the part touches itself at a corner a walk goes on by the first boundary edge
// clockwise from the one it came by, round one side of the touching point at a time.
struct Part {
    std::vector<std::size_t> triangles;
    std::vector<std::array<std::uint32_t, 2>> walls;
};

std::vector<Part> facesByPart(const std::vector<std::array<double, 2>>& points, const std::vector<std::array<std::uint32_t, 3>>& triangles)
{
    // The triangles' directed edges grouped by the corner they leave: (corner reached, triangle).
    std::vector<std::uint32_t> first(points.size() + 1, 0);
    for (const auto& t : triangles)
        for (const std::uint32_t c : t)
            ++first[c + 1];
    for (std::size_t i = 1; i < first.size(); ++i)
        first[i] += first[i - 1];
    std::vector<std::pair<std::uint32_t, std::size_t>> leaving(3 * triangles.size());
    {
        std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
        for (std::size_t i = 0; i < triangles.size(); ++i)
            for (std::size_t k = 0; k < 3; ++k)
                leaving[fill[triangles[i][k]]++] = {triangles[i][(k + 1) % 3], i};
    }
    const auto across = [&](std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t j = first[to]; j < first[to + 1]; ++j)
            if (leaving[j].first == from)
                return leaving[j].second;
        return triangles.size();
    };
    DisjointSets joined(triangles.size());
    std::vector<std::array<std::uint32_t, 2>> boundary;
    std::vector<std::size_t> boundaryOf;
    for (std::size_t i = 0; i < triangles.size(); ++i)
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t from = triangles[i][k], to = triangles[i][(k + 1) % 3];
            if (const std::size_t other = across(from, to); other < triangles.size()) {
                joined.join(i, other);
            } else {
                boundary.push_back({from, to});
                boundaryOf.push_back(i);
            }
        }
    std::vector<Part> parts;
    std::vector<std::size_t> partOf(triangles.size(), triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        std::size_t& part = partOf[joined.find(i)];
        if (part == triangles.size()) {
            part = parts.size();
            parts.emplace_back();
        }
        parts[part].triangles.push_back(i);
    }
    // The boundary edges grouped by the corner they leave, and by part in each group.
    using Key = std::pair<std::uint32_t, std::size_t>;
    std::vector<std::size_t> edgePart(boundary.size());
    std::vector<std::pair<Key, std::size_t>> byCorner(boundary.size());
    for (std::size_t j = 0; j < boundary.size(); ++j) {
        edgePart[j] = partOf[joined.find(boundaryOf[j])];
        byCorner[j] = {{boundary[j][0], edgePart[j]}, j};
    }
    std::sort(byCorner.begin(), byCorner.end());
    std::vector<bool> used(boundary.size(), false);
    std::vector<std::vector<std::size_t>> starts(parts.size());
    for (std::size_t j = 0; j < boundary.size(); ++j)
        starts[edgePart[j]].push_back(j);
    for (std::size_t p = 0; p < parts.size(); ++p)
        for (const std::size_t start : starts[p])
            for (std::size_t j = start; !used[j];) {
                used[j] = true;
                parts[p].walls.push_back(boundary[j]);
                const auto [at, other] = boundary[j];
                const auto [low, high] = std::equal_range(byCorner.begin(), byCorner.end(), std::pair(Key(other, p), std::size_t(0)),
                                                          [](const auto& a, const auto& b) { return a.first < b.first; });
                if (low == high)
                    break;
                if (std::next(low) == high) {
                    j = low->second;
                    continue;
                }
                const auto angle = [&points, from = other](std::uint32_t towards) {
                    return std::atan2(static_cast<long double>(points[towards][1]) - points[from][1],
                                      static_cast<long double>(points[towards][0]) - points[from][0]);
                };
                const long double back = angle(at);
                long double nearest = 10;
                for (auto e = low; e != high; ++e) {
                    long double turn = back - angle(boundary[e->second][1]);
                    if (turn <= 0)
                        turn += 2 * std::numbers::pi_v<long double>;
                    if (turn < nearest) {
                        nearest = turn;
                        j = e->second;
                    }
                }
            }
    return parts;
}

// The directed edges of triangles, grouped by the corner they leave (corners renamed by id),
// for counting how often one is run in time proportional to the corner's edges.
class EdgeIndex {
public:
    EdgeIndex(const std::vector<std::array<std::uint32_t, 3>>& triangles, const std::vector<std::uint32_t>& id) : first_(id.size() + 1, 0)
    {
        for (const auto& t : triangles)
            for (const std::uint32_t c : t)
                ++first_[id[c] + 1];
        for (std::size_t i = 1; i < first_.size(); ++i)
            first_[i] += first_[i - 1];
        std::vector<std::uint32_t> fill(first_.begin(), first_.end() - 1);
        to_.resize(3 * triangles.size());
        for (const auto& t : triangles)
            for (std::size_t k = 0; k < 3; ++k)
                to_[fill[id[t[k]]]++] = id[t[(k + 1) % 3]];
    }

    std::ptrdiff_t runs(std::uint32_t from, std::uint32_t to) const
    {
        return std::count(to_.begin() + first_[from], to_.begin() + first_[from + 1], to);
    }

private:
    std::vector<std::uint32_t> first_;
    std::vector<std::uint32_t> to_;
};

QString unitName(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Millimetre: return QStringLiteral("millimetres");
    case LengthUnit::Inch: return QStringLiteral("inches");
    case LengthUnit::Twip: return QStringLiteral("twips");
    }
    return {};
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

std::variant<std::int16_t, QString> prismDepth(const ObjectFileValues& object)
{
    if (object.Dimension != 3)
        return QStringLiteral("it is flat (last drawn in 2D); draw it in 3D to give it a depth");
    const std::optional<std::int16_t> depth = depthInTwips(object.Depth);
    if (!depth)
        return QStringLiteral("its depth \"%1\" is not a number from %2").arg(conv::excerpt(object.Depth.toText()), conv::int16RangeText());
    if (*depth == 0)
        return QStringLiteral("its depth is 0");
    return *depth;
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

std::optional<QString> openOrDegenerate(const Mesh& mesh)
{
    // Corners are told apart by their single-precision values alone, as a reader sees them.
    std::vector<std::uint32_t> order(mesh.vertices.size()), id(mesh.vertices.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&mesh](std::uint32_t a, std::uint32_t b) { return mesh.vertices[a] < mesh.vertices[b]; });
    for (std::size_t k = 0; k < order.size(); ++k)
        id[order[k]] = k > 0 && mesh.vertices[order[k]] == mesh.vertices[order[k - 1]] ? id[order[k - 1]] : std::uint32_t(k);
    for (const auto& t : mesh.triangles) {
        if (id[t[0]] == id[t[1]] || id[t[1]] == id[t[2]] || id[t[0]] == id[t[2]])
            return QStringLiteral("a facet would have two corners at one point");
        if (collinearInSingle(mesh.vertices[t[0]], mesh.vertices[t[1]], mesh.vertices[t[2]]))
            return QStringLiteral("a facet would have its corners on one line");
    }
    const EdgeIndex edges(mesh.triangles, id);
    for (const auto& t : mesh.triangles)
        for (std::size_t k = 0; k < 3; ++k)
            if (edges.runs(id[t[k]], id[t[(k + 1) % 3]]) != edges.runs(id[t[(k + 1) % 3]], id[t[k]]))
                return QStringLiteral("its surface would be open");
    return std::nullopt;
}

std::variant<Mesh, QString> buildPrism(const ObjectFileValues& object, LengthUnit unit, const SolidLimits& limits)
{
    const std::variant<std::int16_t, QString> depth = prismDepth(object);
    if (const QString* why = std::get_if<QString>(&depth))
        return refusal(*why);
    const std::int16_t d = std::get<std::int16_t>(depth);
    std::vector<Lattice> outline;
    outline.reserve(object.points.size());
    for (const PointRecord& p : object.points)
        outline.push_back({p.X, -std::int64_t(p.Y)});
    std::vector<Lattice> distinct = outline;
    std::sort(distinct.begin(), distinct.end());
    if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() < 3)
        return refusal(QStringLiteral("it has fewer than three distinct points"));
    const QString raise = QStringLiteral("; --max-triangles raises the limit");
    const std::uint64_t pieces = countPieces(outline, limits.maxTriangles, limits);
    if (pieces > limits.maxTriangles)
        return refusal(QStringLiteral("filling its outline takes %1 pieces or more (its edges cut at every corner's height and "
                                      "where they cross), more than the limit of %2").arg(pieces).arg(limits.maxTriangles) + raise);

    if (limits.progress)
        limits.progress(QStringLiteral("filling its outline"), 0);
    const FilledRegion filled = fillNonzero(outline);
    // The solid's triangles, known before they are made: a region of V corners on its
    // boundaries, c outer boundaries and h holes takes V + 2h - 2c triangles a face, and
    // the walls two for each of its V boundary edges.
    std::int64_t corners = 0, outer = 0, holes = 0;
    for (const std::vector<Lattice>& ring : filled.rings) {
        corners += std::int64_t(ring.size());
        Wide twice = 0;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Lattice a = ring[i], b = ring[(i + 1) % ring.size()];
            twice += Wide(a.x) * b.y - Wide(b.x) * a.y;
        }
        (twice > 0 ? outer : holes) += 1;
    }
    if (corners == 0)
        return refusal(QStringLiteral("its outline encloses no area"));
    const auto triangles = std::uint64_t(2 * (corners + 2 * holes - 2 * outer) + 2 * corners);
    if (triangles > limits.maxTriangles)
        return refusal(QStringLiteral("its solid would have %1 triangles, more than the limit of %2").arg(triangles).arg(limits.maxTriangles)
                       + raise);

    if (limits.progress)
        limits.progress(QStringLiteral("triangulating its faces"), 0);
    Triangulation face = triangulate(filled.rings);
    if (face.failed || face.triangles.empty())
        return refusal(QStringLiteral("the tessellator could not fill its outline"));
    // The front face's corners in the unit; points that fall on one single-precision value
    // become one (the first of them), and what that leaves without area is mended.
    const auto n = std::uint32_t(face.points.size());
    const double scale = std::ldexp(unitsPerTwip(unit), -filled.shift);
    std::vector<std::array<float, 3>> single;
    single.reserve(n);
    for (const auto& p : face.points)
        single.push_back({float(p[0] * scale), float(p[1] * scale), 0.0f});
    const QString advice = QStringLiteral("export it in another unit (--unit) or move it nearer the origin");
    // Single precision must keep every corner within half a twip, the file's own precision.
    double moved = 0;
    for (std::uint32_t i = 0; i < n; ++i)
        moved = std::max(moved, std::hypot(double(single[i][0]) / unitsPerTwip(unit) - std::ldexp(face.points[i][0], -filled.shift),
                                           double(single[i][1]) / unitsPerTwip(unit) - std::ldexp(face.points[i][1], -filled.shift)));
    if (moved > 0.5)
        return refusal(QStringLiteral("single precision in %1 would move a corner by %2 twips, more than half a twip; ")
                           .arg(unitName(unit), QString::number(moved, 'g', 3))
                       + advice);
    std::vector<std::uint32_t> same(n), order(n);
    for (std::uint32_t i = 0; i < n; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&single](std::uint32_t a, std::uint32_t b) { return single[a] < single[b]; });
    for (std::size_t k = 0; k < n; ++k)
        same[order[k]] = k > 0 && single[order[k]] == single[order[k - 1]] ? same[order[k - 1]] : order[k];
    for (auto& t : face.triangles)
        for (std::uint32_t& c : t)
            c = same[c];
    Mender(face.points, single, face.triangles).run();
    const QString rounding = QStringLiteral("in single precision in %1 %2, because corners that lie apart fall on one value; ") + advice;
    if (face.triangles.empty())
        return refusal(rounding.arg(unitName(unit), QStringLiteral("its faces would have no area")));

    Mesh mesh;
    const float back = float(-double(d) * unitsPerTwip(unit));
    mesh.vertices = single;
    for (const auto& p : single)
        mesh.vertices.push_back({p[0], p[1], back});
    mesh.triangles.reserve(triangles);
    // Part by part, so that readers which pair the facets at an edge in the order of the
    // file (where parts touch, four share a lateral edge) pair each part's own.
    for (const Part& part : facesByPart(face.points, face.triangles)) {
        mesh.partStarts.push_back(mesh.triangles.size());
        for (const std::size_t i : part.triangles) {
            const auto [a, b, c] = face.triangles[i];
            mesh.triangles.push_back({a, b, c});
            mesh.triangles.push_back({c + n, b + n, a + n});
        }
        // The region lies on the left of a boundary edge: its wall faces right.
        for (const auto [from, to] : part.walls) {
            mesh.triangles.push_back({from, from + n, to + n});
            mesh.triangles.push_back({from, to + n, to});
        }
    }
    // A negative depth puts the back face in front of the front face: all turn round.
    if (d < 0)
        for (auto& t : mesh.triangles)
            std::swap(t[1], t[2]);
    if (limits.progress)
        limits.progress(QStringLiteral("checking its solid"), 0);
    if (const std::optional<QString> wrong = openOrDegenerate(mesh))
        return refusal(rounding.arg(unitName(unit), *wrong));
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
