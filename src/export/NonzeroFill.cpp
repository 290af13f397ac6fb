// Filling an outline by the nonzero rule exactly: a sweep over horizontal bands between
// corner heights, each cut again where edges cross, keeps the edges' order and the winding
// number between them in whole-number and rational arithmetic, and chains the pieces of edge
// that have the filled region on one side only into boundaries.
#include "export/NonzeroFill.h"

#include <algorithm>
#include <array>
#include <bit>
#include <compare>
#include <numeric>

namespace {

__extension__ using Int = __int128;
__extension__ using Unsigned = unsigned __int128;

Unsigned magnitude(Int v) { return v < 0 ? Unsigned(0) - Unsigned(v) : Unsigned(v); }

Unsigned gcd(Unsigned a, Unsigned b)
{
    while (b != 0) {
        if (a >> 64 == 0 && b >> 64 == 0)
            return std::gcd(std::uint64_t(a), std::uint64_t(b));
        a %= b;
        std::swap(a, b);
    }
    return a;
}

// A rational number in lowest terms, its denominator positive, so that equal numbers are
// equal fields.
struct Ratio {
    Int num = 0, den = 1;
    Ratio() = default;
    Ratio(Int n, Int d)
    {
        if (d < 0) {
            n = -n;
            d = -d;
        }
        const Int g = Int(gcd(magnitude(n), Unsigned(d)));
        num = g > 1 ? n / g : n;
        den = g > 1 ? d / g : d;
    }
    friend bool operator==(const Ratio&, const Ratio&) = default;
    friend auto operator<=>(const Ratio&, const Ratio&) = default; // identity, not size
};

// The sign of a*b - c*d, exactly, through 256-bit products.
int compareProducts(Int a, Int b, Int c, Int d)
{
    struct Wide {
        int sign;
        Unsigned high, low;
    };
    const auto product = [](Int x, Int y) {
        const Unsigned u = magnitude(x), v = magnitude(y);
        const Unsigned u0 = std::uint64_t(u), u1 = u >> 64, v0 = std::uint64_t(v), v1 = v >> 64;
        const Unsigned p00 = u0 * v0, p01 = u0 * v1, p10 = u1 * v0, p11 = u1 * v1;
        const Unsigned middle = (p00 >> 64) + std::uint64_t(p01) + std::uint64_t(p10);
        const int sign = (x == 0 || y == 0) ? 0 : ((x < 0) != (y < 0) ? -1 : 1);
        return Wide{sign, p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64), std::uint64_t(p00) | (middle << 64)};
    };
    const Wide p = product(a, b), q = product(c, d);
    if (p.sign != q.sign)
        return p.sign < q.sign ? -1 : 1;
    const int larger = p.high != q.high ? (p.high < q.high ? -1 : 1) : (p.low != q.low ? (p.low < q.low ? -1 : 1) : 0);
    return p.sign * larger;
}

// Compares rationals by size.
int compareSize(const Ratio& a, const Ratio& b) { return compareProducts(a.num, b.den, b.num, a.den); }

struct Point {
    Ratio x, y;
    friend bool operator==(const Point&, const Point&) = default;
    friend auto operator<=>(const Point&, const Point&) = default;
};

// An edge of the outline that is not horizontal: from its lower end (x, y), running by
// `run` and rising by `rise` (> 0); `delta` is what crossing it from left to right adds to
// the winding number.
struct Edge {
    std::int64_t x, y, run, rise;
    int delta;
    Int numeratorAt(std::int64_t height) const { return Int(x) * rise + Int(height - y) * run; }
    Ratio xAt(std::int64_t height) const { return Ratio(numeratorAt(height), rise); }
};

// The sign of e's X minus f's X at a corner height: the numerators fit 66 bits, the
// products 98.
int compareAt(const Edge& e, const Edge& f, std::int64_t height)
{
    const Int a = e.numeratorAt(height) * f.rise, b = f.numeratorAt(height) * e.rise;
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Of two edges through one point, the one whose X is smaller just above it comes first.
int compareSlope(const Edge& e, const Edge& f)
{
    const Int a = Int(e.run) * f.rise, b = Int(f.run) * e.rise;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool collinear(const Edge& e, const Edge& f)
{
    return compareSlope(e, f) == 0 && Int(f.x - e.x) * e.rise == Int(f.y - e.y) * e.run;
}

// Where two edges known to cross cross.
Point crossing(const Edge& e, const Edge& f)
{
    const Int d = Int(e.run) * f.rise - Int(e.rise) * f.run;
    const Int t = Int(f.x - e.x) * f.rise - Int(f.y - e.y) * f.run;
    return {Ratio(Int(e.x) * d + Int(e.run) * t, d), Ratio(Int(e.y) * d + Int(e.rise) * t, d)};
}

// A piece of the filled region's boundary, the region on its left; its direction is that
// of the edge it lies on, or along X.
struct Piece {
    Point from, to;
    std::int64_t dx, dy;
};

// Whether a direction points at 0 degrees or more and less than 180, for sorting directions
// counter-clockwise from +X.
bool upperHalf(std::int64_t dx, std::int64_t dy) { return dy > 0 || (dy == 0 && dx > 0); }

bool counterClockwiseBefore(const std::array<std::int64_t, 2>& a, const std::array<std::int64_t, 2>& b)
{
    const bool ha = upperHalf(a[0], a[1]), hb = upperHalf(b[0], b[1]);
    if (ha != hb)
        return ha;
    return Int(a[0]) * b[1] - Int(a[1]) * b[0] > 0;
}

// Where the filled intervals along a line begin (+1) or end (-1), below it and above it.
struct Change {
    Ratio x;
    int below, above;
};

class Sweep {
public:
    explicit Sweep(const std::vector<Lattice>& outline)
    {
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Lattice a = outline[i], b = outline[(i + 1) % outline.size()];
            heights_.push_back(a.y);
            if (a.y < b.y)
                edges_.push_back({a.x, a.y, b.x - a.x, b.y - a.y, -1});
            else if (a.y > b.y)
                edges_.push_back({b.x, b.y, a.x - b.x, a.y - b.y, 1});
        }
        std::sort(heights_.begin(), heights_.end());
        heights_.erase(std::unique(heights_.begin(), heights_.end()), heights_.end());
        std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.y < b.y; });
        position_.assign(edges_.size(), 0);
        open_.assign(edges_.size(), -1);
    }

    std::vector<Piece> run()
    {
        std::vector<std::array<std::size_t, 2>> below, above;
        std::size_t next = 0;
        for (std::size_t band = 0; band + 1 < heights_.size(); ++band) {
            const std::int64_t bottom = heights_[band], top = heights_[band + 1];
            for (const std::size_t e : order_)
                if (edges_[e].y + edges_[e].rise <= bottom)
                    close(e, Point{edges_[e].xAt(bottom), Ratio(bottom, 1)});
            std::erase_if(order_, [this, bottom](std::size_t e) { return edges_[e].y + edges_[e].rise <= bottom; });
            for (; next < edges_.size() && edges_[next].y == bottom; ++next)
                order_.push_back(next);
            std::sort(order_.begin(), order_.end(), [this, bottom](std::size_t a, std::size_t b) {
                const int c = compareAt(edges_[a], edges_[b], bottom);
                const int s = c != 0 ? c : compareSlope(edges_[a], edges_[b]);
                return s != 0 ? s < 0 : a < b;
            });
            settle(0, order_.size(), [this, bottom](std::size_t e) { return Point{edges_[e].xAt(bottom), Ratio(bottom, 1)}; });
            spans(above);
            horizontals(below, above, bottom);
            crossings(top);
            spans(below);
        }
        if (!heights_.empty()) {
            for (const std::size_t e : order_)
                close(e, Point{edges_[e].xAt(heights_.back()), Ratio(heights_.back(), 1)});
            above.clear();
            horizontals(below, above, heights_.back());
        }
        return std::move(pieces_);
    }

private:
    // The group of edges on one line starting at position i ends before the returned one.
    std::size_t groupEnd(std::size_t i, std::size_t end) const
    {
        std::size_t j = i + 1;
        while (j < end && collinear(edges_[order_[i]], edges_[order_[j]]))
            ++j;
        return j;
    }

    // Positions, winding numbers and open boundary pieces of positions [from, to), whose
    // edges are in their new order, the winding left of `from` unchanged. A group's first
    // edge keeps its open piece while the group stays boundary the same way round; every
    // other open piece ends, and a new one opens, at `start` of its edge.
    template <typename Start>
    void settle(std::size_t from, std::size_t to, const Start& start)
    {
        windLeft_.resize(order_.size() + 1);
        if (from == 0)
            windLeft_[0] = 0;
        for (std::size_t i = from; i < to;) {
            const std::size_t j = groupEnd(i, to);
            int right = windLeft_[i];
            for (std::size_t k = i; k < j; ++k) {
                position_[order_[k]] = k;
                windLeft_[k] = right;
                right += edges_[order_[k]].delta;
            }
            windLeft_[j] = right;
            const int left = windLeft_[i];
            const bool boundary = (left == 0) != (right == 0);
            for (std::size_t k = i; k < j; ++k) {
                const std::size_t e = order_[k];
                if (open_[e] >= 0 && !(boundary && k == i && (pieces_[std::size_t(open_[e])].dy > 0) == (left != 0)))
                    close(e, start(e));
            }
            if (boundary && open_[order_[i]] < 0) {
                const Edge& e = edges_[order_[i]];
                open_[order_[i]] = std::ptrdiff_t(pieces_.size());
                // The region on the left of the way up is on the side of smaller X.
                pieces_.push_back({start(order_[i]), {}, left != 0 ? e.run : -e.run, left != 0 ? e.rise : -e.rise});
            }
            i = j;
        }
    }

    // Ends the open piece on edge e (a group's first) at p, its upper or lower end by direction.
    void close(std::size_t e, const Point& p)
    {
        if (open_[e] < 0)
            return;
        Piece& piece = pieces_[std::size_t(open_[e])];
        if (piece.dy > 0) {
            piece.to = p;
        } else {
            piece.to = piece.from;
            piece.from = p;
        }
        open_[e] = -1;
    }

    // The filled intervals of the current band, by the edges that begin and end them.
    void spans(std::vector<std::array<std::size_t, 2>>& out) const
    {
        out.clear();
        for (std::size_t i = 0; i < order_.size();) {
            const std::size_t j = groupEnd(i, order_.size());
            const bool leftEmpty = windLeft_[i] == 0, rightEmpty = windLeft_[j] == 0;
            if (leftEmpty && !rightEmpty)
                out.push_back({order_[i], order_[i]});
            else if (!leftEmpty && rightEmpty && !out.empty())
                out.back()[1] = order_[i];
            i = j;
        }
    }

    // The horizontal boundary at a corner height: where the line is filled on one side only.
    void horizontals(const std::vector<std::array<std::size_t, 2>>& below, const std::vector<std::array<std::size_t, 2>>& above,
                     std::int64_t height)
    {
        const auto same = [this, height](const std::array<std::size_t, 2>& a, const std::array<std::size_t, 2>& b) {
            return compareAt(edges_[a[0]], edges_[b[0]], height) == 0 && compareAt(edges_[a[1]], edges_[b[1]], height) == 0;
        };
        if (std::equal(below.begin(), below.end(), above.begin(), above.end(), same))
            return;
        std::vector<Change>& changes = changes_;
        changes.clear();
        for (const auto& [from, to] : below) {
            changes.push_back({edges_[from].xAt(height), 1, 0});
            changes.push_back({edges_[to].xAt(height), -1, 0});
        }
        for (const auto& [from, to] : above) {
            changes.push_back({edges_[from].xAt(height), 0, 1});
            changes.push_back({edges_[to].xAt(height), 0, -1});
        }
        // These X have 66-bit numerators over 32-bit denominators: products fit.
        std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.x.num * b.x.den < b.x.num * a.x.den; });
        int b = 0, a = 0, kind = 0;
        Ratio start;
        const Ratio y(height, 1);
        for (std::size_t i = 0; i < changes.size();) {
            std::size_t j = i;
            for (; j < changes.size() && changes[j].x == changes[i].x; ++j) {
                b += changes[j].below;
                a += changes[j].above;
            }
            const int now = (a > 0) == (b > 0) ? 0 : (a > 0 ? 1 : -1);
            if (now != kind) {
                if (kind == 1)
                    pieces_.push_back({{start, y}, {changes[i].x, y}, 1, 0});
                else if (kind == -1)
                    pieces_.push_back({{changes[i].x, y}, {start, y}, -1, 0});
                kind = now;
                start = changes[i].x;
            }
            i = j;
        }
    }

    // The band between two corner heights, cut where its edges cross: the pairs whose order
    // at the top is the reverse of that at the bottom. At each crossing height the edges
    // through each crossing point, adjacent in the order, turn into their order above it.
    void crossings(std::int64_t top)
    {
        struct Cross {
            Point at;
            std::size_t e, f;
        };
        std::vector<Cross> found;
        std::vector<std::size_t> sequence = order_, spare(order_.size());
        for (std::size_t width = 1; width < sequence.size(); width *= 2)
            for (std::size_t from = 0; from + width < sequence.size(); from += 2 * width) {
                const std::size_t middle = from + width, to = std::min(from + 2 * width, sequence.size());
                std::size_t i = from, j = middle, k = from;
                while (i < middle && j < to) {
                    if (compareAt(edges_[sequence[j]], edges_[sequence[i]], top) < 0) {
                        for (std::size_t l = i; l < middle; ++l)
                            found.push_back({crossing(edges_[sequence[l]], edges_[sequence[j]]), sequence[l], sequence[j]});
                        spare[k++] = sequence[j++];
                    } else {
                        spare[k++] = sequence[i++];
                    }
                }
                std::copy(sequence.begin() + std::ptrdiff_t(i), sequence.begin() + std::ptrdiff_t(middle), spare.begin() + std::ptrdiff_t(k));
                std::copy(sequence.begin() + std::ptrdiff_t(j), sequence.begin() + std::ptrdiff_t(to), spare.begin() + std::ptrdiff_t(k + middle - i));
                std::copy(spare.begin() + std::ptrdiff_t(from), spare.begin() + std::ptrdiff_t(to), sequence.begin() + std::ptrdiff_t(from));
            }
        if (found.empty())
            return;
        std::sort(found.begin(), found.end(), [](const Cross& a, const Cross& b) {
            const int c = compareSize(a.at.y, b.at.y);
            return c != 0 ? c < 0 : a.at.x < b.at.x;
        });
        std::vector<std::pair<std::size_t, const Point*>> through;
        for (std::size_t i = 0; i < found.size();) {
            std::size_t j = i;
            through.clear();
            for (; j < found.size() && found[j].at.y == found[i].at.y; ++j) {
                through.emplace_back(position_[found[j].e], &found[j].at);
                through.emplace_back(position_[found[j].f], &found[j].at);
            }
            std::sort(through.begin(), through.end());
            through.erase(std::unique(through.begin(), through.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                          through.end());
            for (std::size_t k = 0; k < through.size();) {
                std::size_t l = k + 1;
                while (l < through.size() && through[l].first == through[l - 1].first + 1 && *through[l].second == *through[k].second)
                    ++l;
                turn(through[k].first, through[l - 1].first + 1, *through[k].second);
                k = l;
            }
            i = j;
        }
    }

    // The edges at positions [from, to), all through p, take their order above p.
    void turn(std::size_t from, std::size_t to, const Point& p)
    {
        std::sort(order_.begin() + std::ptrdiff_t(from), order_.begin() + std::ptrdiff_t(to), [this](std::size_t a, std::size_t b) {
            const int s = compareSlope(edges_[a], edges_[b]);
            return s != 0 ? s < 0 : a < b;
        });
        settle(from, to, [&p](std::size_t) { return p; });
    }

    std::vector<std::int64_t> heights_;
    std::vector<Edge> edges_;
    std::vector<std::size_t> order_;    // the edges across the current band, left to right
    std::vector<std::size_t> position_; // of each edge in order_
    std::vector<int> windLeft_;         // the winding number left of each position
    std::vector<std::ptrdiff_t> open_;  // the boundary piece still growing on a group's first edge
    std::vector<Piece> pieces_;
    std::vector<Change> changes_;
};

// A coordinate times 2^shift, rounded to the nearest whole number (halves up).
std::int64_t scaled(const Ratio& r, int shift)
{
    if (r.den == 1)
        return std::int64_t(r.num * (Int(1) << shift));
    Int whole = r.num / r.den, rest = r.num % r.den;
    if (rest < 0) {
        whole -= 1;
        rest += r.den;
    }
    return std::int64_t(whole * (Int(1) << shift) + ((rest << (shift + 1)) + r.den) / (2 * r.den));
}

std::uint64_t hashOf(const Point& p)
{
    std::uint64_t h = 0;
    for (const Int v : {p.x.num, p.x.den, p.y.num, p.y.den}) {
        h = (h ^ std::uint64_t(v) ^ std::uint64_t(Unsigned(v) >> 64)) * 0x9E3779B97F4A7C15u;
        h ^= h >> 29;
    }
    return h;
}

// The pieces chained into closed boundaries. Where several boundaries meet at a point each
// arriving piece goes on by the first leaving one clockwise from it, so that each boundary
// stays around its own part; corners between pieces of one direction are left out.
std::vector<std::vector<Point>> chain(const std::vector<Piece>& pieces)
{
    const std::size_t n = pieces.size();
    std::vector<std::size_t> leaving(n), arriving(n);
    std::iota(leaving.begin(), leaving.end(), 0);
    std::iota(arriving.begin(), arriving.end(), 0);
    // Points in the order of a hash first, which is quicker to sort by than their fields.
    std::vector<std::uint64_t> fromHash(n), toHash(n);
    for (std::size_t i = 0; i < n; ++i) {
        fromHash[i] = hashOf(pieces[i].from);
        toHash[i] = hashOf(pieces[i].to);
    }
    const auto before = [](std::uint64_t h, const Point& p, std::uint64_t k, const Point& q) { return h != k ? h < k : p < q; };
    std::sort(leaving.begin(), leaving.end(),
              [&](std::size_t a, std::size_t b) { return before(fromHash[a], pieces[a].from, fromHash[b], pieces[b].from); });
    std::sort(arriving.begin(), arriving.end(),
              [&](std::size_t a, std::size_t b) { return before(toHash[a], pieces[a].to, toHash[b], pieces[b].to); });
    std::vector<std::size_t> next(n, n);
    struct Ray {
        std::array<std::int64_t, 2> direction;
        std::size_t piece;
        bool arrives;
    };
    std::vector<Ray> rays;
    for (std::size_t i = 0, a = 0; i < n;) {
        const Point& at = pieces[leaving[i]].from;
        std::size_t j = i + 1;
        while (j < n && pieces[leaving[j]].from == at)
            ++j;
        while (a < n && before(toHash[arriving[a]], pieces[arriving[a]].to, fromHash[leaving[i]], at))
            ++a;
        std::size_t b = a;
        while (b < n && pieces[arriving[b]].to == at)
            ++b;
        if (j - i == 1 && b - a == 1) {
            next[arriving[a]] = leaving[i];
        } else {
            rays.clear();
            for (std::size_t k = a; k < b; ++k)
                rays.push_back({{-pieces[arriving[k]].dx, -pieces[arriving[k]].dy}, arriving[k], true});
            for (std::size_t k = i; k < j; ++k)
                rays.push_back({{pieces[leaving[k]].dx, pieces[leaving[k]].dy}, leaving[k], false});
            std::sort(rays.begin(), rays.end(), [](const Ray& r, const Ray& s) { return counterClockwiseBefore(r.direction, s.direction); });
            std::vector<bool> used(rays.size(), false);
            for (std::size_t k = 0; k < rays.size(); ++k) {
                if (!rays[k].arrives)
                    continue;
                for (std::size_t step = 1; step < rays.size(); ++step) {
                    const std::size_t m = (k + rays.size() - step) % rays.size();
                    if (!rays[m].arrives && !used[m]) {
                        used[m] = true;
                        next[rays[k].piece] = rays[m].piece;
                        break;
                    }
                }
            }
        }
        i = j;
        a = b;
    }
    std::vector<std::vector<Point>> rings;
    std::vector<bool> visited(n, false);
    std::vector<std::size_t> walk;
    for (std::size_t s = 0; s < n; ++s) {
        if (visited[s])
            continue;
        walk.clear();
        std::size_t p = s;
        for (; p < n && !visited[p]; p = next[p]) {
            visited[p] = true;
            walk.push_back(p);
        }
        if (p != s)
            continue;
        std::vector<Point> ring;
        for (std::size_t k = 0; k < walk.size(); ++k) {
            const Piece& before = pieces[walk[(k + walk.size() - 1) % walk.size()]];
            const Piece& piece = pieces[walk[k]];
            const Int cross = Int(before.dx) * piece.dy - Int(before.dy) * piece.dx;
            const Int dot = Int(before.dx) * piece.dx + Int(before.dy) * piece.dy;
            if (cross != 0 || dot < 0)
                ring.push_back(piece.from);
        }
        if (ring.size() >= 3)
            rings.push_back(std::move(ring));
    }
    return rings;
}

} // namespace

FilledRegion fillNonzero(const std::vector<Lattice>& outline)
{
    std::int64_t largest = 1;
    for (const Lattice& p : outline)
        largest = std::max({largest, p.x < 0 ? -p.x : p.x, p.y < 0 ? -p.y : p.y});
    FilledRegion region;
    region.shift = std::max(0, 50 - int(std::bit_width(std::uint64_t(largest))));
    for (const std::vector<Point>& exact : chain(Sweep(outline).run())) {
        std::vector<Lattice> ring;
        ring.reserve(exact.size());
        for (const Point& p : exact) {
            const Lattice q{scaled(p.x, region.shift), scaled(p.y, region.shift)};
            if (ring.empty() || ring.back() != q)
                ring.push_back(q);
        }
        while (ring.size() > 1 && ring.back() == ring.front())
            ring.pop_back();
        if (ring.size() >= 3)
            region.rings.push_back(std::move(ring));
    }
    return region;
}
