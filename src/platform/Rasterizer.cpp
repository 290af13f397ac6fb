// Rasterisation of a surface's primitives into its picture: the fast scanline writer the
// surfaces use, and the one-painter-call-per-primitive reference it is measured against.
#include "platform/PixelGeometry.h"
#include "platform/Primitive.h"

#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// Lines whose ends lie within this many pixels (all that 32-bit twips can reach) are cut at
// the edges without changing a pixel; beyond, the cut segment's own ends are rounded.
constexpr double Exact = 0x1p30;

// A run of pixels along one axis, first to last inclusive; empty when first > last.
struct PixelRange {
    int first, last;
    bool empty() const { return first > last; }
};

// The pixels whose centre lies in the half-open interval (origin + lo, origin + hi], clipped
// to [0, limit). The origin is a whole pixel coordinate and the bounds are relative to it,
// so that a shape gives the same pixels wherever it lies.
PixelRange centresWithin(double origin, double lo, double hi, int limit)
{
    const double first = std::max(origin + std::floor(lo - 0.5) + 1.0, 0.0);
    const double last = std::min(origin + std::floor(hi - 0.5), double(limit - 1));
    if (!(first <= last))
        return {1, 0};
    return {int(first), int(last)};
}

// The image's pixels as rows of 32-bit words. Every write goes through the clipped drawing
// functions below, which only touch pixels inside [0, width) x [0, height).
class Canvas {
public:
    explicit Canvas(QImage& image)
        : bits_(reinterpret_cast<QRgb*>(image.bits())),
          stride_(image.bytesPerLine() / qsizetype(sizeof(QRgb))),
          width_(image.width()), height_(image.height())
    {
    }
    Canvas(QRgb* bits, int width, int height) : bits_(bits), stride_(width), width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    QRgb* at(int x, int y) const { return bits_ + qsizetype(y) * stride_ + x; }
    qsizetype stride() const { return stride_; }

    void plot(double x, double y, QRgb colour) const
    {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            *at(int(x), int(y)) = colour;
    }

    void span(int y, PixelRange xs, QRgb colour) const
    {
        if (!xs.empty())
            std::fill(at(xs.first, y), at(xs.last, y) + 1, colour);
    }

    // A pen's square dot, clipped. Most are one pixel (the short edges of a densely drawn
    // object): those skip the general cut, whose floor calls would slow the whole drawing.
    void dot(PixelShape d, QRgb colour) const
    {
        if (d.w == 1) {
            plot(d.x1, d.y1, colour);
            return;
        }
        const PixelRange xs = centresWithin(d.x1, 0, d.w, width_);
        const PixelRange ys = centresWithin(d.y1, 0, d.w, height_);
        for (int y = ys.first; y <= ys.last; ++y)
            span(y, xs, colour);
    }

private:
    QRgb* bits_;
    qsizetype stride_;
    int width_, height_;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && a < 0 ? 1 : 0); }
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); }

// A one-pixel line's walk: `count` pixels from `offset` (an index into the canvas's words),
// one step along the major axis per pixel and one along the minor axis whenever the
// Bresenham error drops below zero. On entry 0 <= error < major (or major is 0).
//
// After i pixels the walk has taken floor((i * minor + major - 1 - error) / major) minor
// steps. Where count * major <= 2^32, that quotient is (i * slope + start) >> 32 for the
// fixed-point slope and start rounded up: they overshoot the true quotient by less than
// (i + 1) / 2^32 <= 1 / major, and its fraction is at most 1 - 1 / major, so the floor is the
// same. Each pixel then depends on i alone, which leaves no chain of decisions from pixel to
// pixel. Longer walks, which only lines reaching far off the image take, count the error.
void bresenhamRun(const Canvas& c, qsizetype offset, qsizetype stepMajor, qsizetype stepMinor, std::int64_t count,
                  std::int64_t error, std::int64_t major, std::int64_t minor, QRgb colour)
{
    QRgb* const bits = c.at(0, 0);
    constexpr std::int64_t One = std::int64_t(1) << 32;
    if (major > 0 && major < One / 2 && count <= One / major) {
        const std::uint64_t slope = std::uint64_t(ceilDiv(minor * One, major));
        std::uint64_t walked = std::uint64_t(ceilDiv((major - 1 - error) * One, major));
        for (std::int64_t i = 0; i < count; ++i) {
            bits[offset + qsizetype(walked >> 32) * stepMinor] = colour;
            offset += stepMajor;
            walked += slope;
        }
        return;
    }
    for (std::int64_t i = 0; i < count; ++i) {
        bits[offset] = colour;
        error -= minor;
        const std::int64_t due = error >> 63; // all ones when the error dropped below zero
        offset += stepMajor + (stepMinor & due);
        error += major & due;
    }
}

// One axis of a line in whole pixels: where it starts, how far it goes (>= 0), which way,
// the image's size along it and the offset of one pixel step.
struct LineAxis {
    std::int64_t start, length, sign;
    int size;
    qsizetype step;
};

// Narrows [first, last] to the step counts n at which pixel start + sign * n lies in [0, size).
void keepOnImage(const LineAxis& a, std::int64_t& first, std::int64_t& last)
{
    if (a.sign > 0) {
        first = std::max(first, -a.start);
        last = std::min(last, a.size - 1 - a.start);
    } else {
        first = std::max(first, a.start - (a.size - 1));
        last = std::min(last, a.start);
    }
}

// The part of the whole line's Bresenham walk that lies on the image: the pixels drawn
// are exactly those the unclipped line has there. Coordinates within +-Exact, so that every
// product below fits 64 bits.
void thinLineClipped(const Canvas& c, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, QRgb colour)
{
    const LineAxis x{x1, std::abs(x2 - x1), x2 >= x1 ? 1 : -1, c.width(), 1};
    const LineAxis y{y1, std::abs(y2 - y1), y2 >= y1 ? 1 : -1, c.height(), c.stride()};
    const LineAxis& major = x.length >= y.length ? x : y;
    const LineAxis& minor = x.length >= y.length ? y : x;
    const std::int64_t da = major.length, db = minor.length, e0 = da / 2;
    // Step k lies at major.start + sign * k and minor.start + sign * m(k), where
    // m(k) = floor((k * db - e0 + da - 1) / da) minor steps have been taken.
    std::int64_t k0 = 0, k1 = da;
    keepOnImage(major, k0, k1);
    std::int64_t m0 = 0, m1 = db;
    keepOnImage(minor, m0, m1);
    if (db == 0) {
        if (m0 > 0 || m1 < 0)
            return;
    } else {
        // m(k) >= M exactly when k >= ceil((M * da - da + 1 + e0) / db).
        k0 = std::max(k0, ceilDiv((m0 - 1) * da + 1 + e0, db));
        k1 = std::min(k1, ceilDiv(m1 * da + 1 + e0, db) - 1);
    }
    if (k0 > k1)
        return;
    const std::int64_t m = da == 0 ? 0 : floorDiv(k0 * db - e0 + da - 1, da);
    const std::int64_t error = e0 - k0 * db + m * da;
    const std::int64_t startMajor = major.start + major.sign * k0, startMinor = minor.start + minor.sign * m;
    const qsizetype offset = qsizetype(startMajor) * major.step + qsizetype(startMinor) * minor.step;
    bresenhamRun(c, offset, major.sign * major.step, minor.sign * minor.step, k1 - k0 + 1, error, da, db, colour);
}

// A one-pixel line between pixel ends known to lie on the image.
void thinLineInside(const Canvas& c, int ax, int ay, int bx, int by, QRgb colour)
{
    const int dx = std::abs(bx - ax), dy = std::abs(by - ay);
    const qsizetype stepX = bx >= ax ? 1 : -1;
    const qsizetype stepY = by >= ay ? c.stride() : -c.stride();
    if (dy == 0)
        std::fill(c.at(std::min(ax, bx), ay), c.at(std::max(ax, bx), ay) + 1, colour);
    else if (dx >= dy)
        bresenhamRun(c, c.at(ax, ay) - c.at(0, 0), stepX, stepY, dx + 1, dx / 2, dx, dy, colour);
    else
        bresenhamRun(c, c.at(ax, ay) - c.at(0, 0), stepY, stepX, dy + 1, dy / 2, dy, dx, colour);
}

// A ThinLine's pixels, both ends included (the painter's square cap). A line reaching off the
// image is cut to the pixels the whole line has on it.
void thinLine(const Canvas& c, double x1, double y1, double x2, double y2, QRgb colour)
{
    const bool inside = x1 >= 0 && y1 >= 0 && x2 >= 0 && y2 >= 0 && x1 < c.width() && x2 < c.width()
        && y1 < c.height() && y2 < c.height();
    if (inside) {
        thinLineInside(c, int(x1), int(y1), int(x2), int(y2), colour);
        return;
    }
    // The pixels of a line lie within half a pixel of it: it must cross the pixel cells.
    double cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
    if (!clipSegment(cx1, cy1, cx2, cy2, -0.5, c.width() - 0.5, c.height() - 0.5))
        return;
    if (std::max({std::abs(x1), std::abs(y1), std::abs(x2), std::abs(y2)}) <= Exact) {
        thinLineClipped(c, std::int64_t(x1), std::int64_t(y1), std::int64_t(x2), std::int64_t(y2), colour);
        return;
    }
    auto onImage = [](double v, int size) { return int(std::clamp(std::round(v), 0.0, size - 1.0)); };
    thinLineInside(c, onImage(cx1, c.width()), onImage(cy1, c.height()), onImage(cx2, c.width()),
                   onImage(cy2, c.height()), colour);
}

// A WideLine's pixels. Only the rows where the line, cut to the image grown by the pen's
// reach, lies are visited; beyond Exact, the cut ends, rounded, stand for the line's own.
void wideLine(const Canvas& c, PixelShape line, QRgb colour)
{
    const std::optional<PixelShape> cut = cutToReach(line, c.width(), c.height());
    if (!cut)
        return;
    const int w = line.w;
    double x1 = line.x1, y1 = line.y1, x2 = line.x2, y2 = line.y2;
    if (std::max({std::abs(x1), std::abs(y1), std::abs(x2), std::abs(y2)}) > Exact) {
        x1 = std::round(cut->x1); y1 = std::round(cut->y1);
        x2 = std::round(cut->x2); y2 = std::round(cut->y2);
    }
    const double length = std::hypot(x2 - x1, y2 - y1);
    if (!(length > 0)) {
        c.dot(dotAt(x1, y1, w), colour);
        return;
    }
    const double half = double(w) / 2;
    const double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
    // Inside: |(p - p1) . n| <= half and -half <= (p - p1) . u <= length + half, n = (-uy, ux).
    // The square ends reach half a pen along the line and half a pen across it: up to
    // half * (|ux| + |uy|) beyond the segment's rows, a diagonal cap's corners included.
    const double beyond = half * (std::abs(ux) + std::abs(uy)) + 1;
    const PixelRange rows = centresWithin(y1, std::min(cut->y1, cut->y2) - y1 - beyond, std::max(cut->y1, cut->y2) - y1 + beyond, c.height());
    for (int y = rows.first; y <= rows.last; ++y) {
        const double ry = y + 0.5 - y1;
        double lo = -1e300, hi = 1e300;
        // Each band a <= k * (x - x1) + m * ry <= b narrows x - x1; a band without x decides alone.
        auto band = [&](double k, double m, double a, double b) {
            if (k == 0) {
                // Then |m| is 1: the band is a run of rows, taken half-open like the columns.
                const double from = m > 0 ? a : -b, to = m > 0 ? b : -a;
                if (!(from < ry && ry <= to))
                    hi = lo - 1;
                return;
            }
            const double v = m * ry;
            double l = (a - v) / k, h = (b - v) / k;
            if (k < 0)
                std::swap(l, h);
            lo = std::max(lo, l);
            hi = std::min(hi, h);
        };
        band(-uy, ux, -half, half);
        band(ux, uy, -half, length + half);
        if (lo < hi)
            c.span(y, centresWithin(x1, lo, hi, c.width()), colour);
    }
}

// A ThinCircle's pixels: the midpoint circle of radius r >= 0.5 around pixel (cx, cy),
// visiting only the columns and rows on the image.
void thinCircle(const Canvas& c, double cx, double cy, double r, QRgb colour)
{
    const MidpointCircle circle(r);
    const double limit = circle.limit();
    const double x0 = std::max(-limit, -cx), x1 = std::min(limit, c.width() - 1 - cx);
    const int columns = int(std::clamp(x1 - x0, -1.0, double(c.width())));
    for (int i = 0; i <= columns; ++i) {
        const double x = x0 + i, d = circle.h(x);
        c.plot(cx + x, cy - d, colour);
        c.plot(cx + x, cy + d, colour);
    }
    const double y0 = std::max(-limit, -cy), y1 = std::min(limit, c.height() - 1 - cy);
    const int rows = int(std::clamp(y1 - y0, -1.0, double(c.height())));
    for (int i = 0; i <= rows; ++i) {
        const double y = y0 + i, d = circle.h(y);
        c.plot(cx - d, cy + y, colour);
        c.plot(cx + d, cy + y, colour);
    }
}

// A Ring's pixels: radius r, pen w > 1, around the pixel corner (cx, cy), visiting only the
// rows on the image.
void wideCircle(const Canvas& c, double cx, double cy, double r, int w, QRgb colour)
{
    const double outer = r + w / 2.0, inner = std::abs(r - w / 2.0);
    const double outer2 = outer * outer, inner2 = inner * inner;
    const PixelRange rows = centresWithin(cy, -outer, outer, c.height());
    for (int y = rows.first; y <= rows.last; ++y) {
        const double dy = y + 0.5 - cy, dy2 = dy * dy;
        if (dy2 > outer2)
            continue;
        const double o = std::sqrt(outer2 - dy2);
        if (dy2 >= inner2) {
            c.span(y, centresWithin(cx, -o, o, c.width()), colour);
            continue;
        }
        const double i = std::sqrt(inner2 - dy2);
        c.span(y, centresWithin(cx, -o, -i, c.width()), colour);
        c.span(y, centresWithin(cx, i, o, c.width()), colour);
    }
}

// The pixels of one small circle, such as a point mark, as offsets from its centre pixel. It
// is made by drawing the circle on a scratch canvas, so it has exactly the circle's pixels,
// once a second circle of the same radius and pen follows, and kept while such circles
// follow, as the marks of a drawing do.
class CircleStamp {
public:
    // Draws the circle when it is small, wholly on the image and the stamp has (or now
    // gets) its shape; false when the caller must draw it.
    bool draw(const Canvas& c, double cx, double cy, double r, int w, QRgb colour)
    {
        const double reach = r + w + 2;
        if (!(reach <= MaxReach && cx - reach >= 0 && cy - reach >= 0 && cx + reach < c.width() && cy + reach < c.height()))
            return false;
        const Shape shape{r, w};
        if (stamped_ != shape) {
            const bool again = last_ == shape;
            last_ = shape;
            if (!again)
                return false;
            make(c, shape, int(reach));
        }
        QRgb* const centre = c.at(int(cx), int(cy));
        for (const qsizetype offset : offsets_)
            centre[offset] = colour;
        return true;
    }

private:
    static constexpr int MaxReach = 40;

    // A circle's radius and pen width, which decide its pixels.
    struct Shape {
        double r;
        int w;
        bool operator==(const Shape&) const = default;
    };

    void make(const Canvas& c, Shape shape, int reach)
    {
        stamped_ = shape;
        const auto [r, w] = shape;
        const int size = 2 * reach + 1;
        std::vector<QRgb> scratch(std::size_t(size * size), 0);
        const Canvas canvas(scratch.data(), size, size);
        if (w == 1)
            thinCircle(canvas, reach, reach, r, 1);
        else
            wideCircle(canvas, reach, reach, r, w, 1);
        offsets_.clear();
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (scratch[std::size_t(y * size + x)] != 0)
                    offsets_.push_back(qsizetype(y - reach) * c.stride() + (x - reach));
    }

    std::optional<Shape> stamped_, last_; // the stamp's shape; the last circle's
    std::vector<qsizetype> offsets_;
};

// Called by rasterize for each primitive, in order.
void drawPrimitive(const Canvas& c, CircleStamp& stamp, const Primitive& p)
{
    using Kind = PixelShape::Kind;
    const PixelShape shape = pixelShape(p);
    const QRgb colour = toRgb(p.color);
    switch (shape.kind) {
    case Kind::Nothing:
        return;
    case Kind::Dot:
        c.dot(shape, colour);
        return;
    case Kind::ThinLine:
        thinLine(c, shape.x1, shape.y1, shape.x2, shape.y2, colour);
        return;
    case Kind::WideLine:
        wideLine(c, shape, colour);
        return;
    case Kind::ThinCircle:
    case Kind::Ring:
        if (stamp.draw(c, shape.x1, shape.y1, shape.r, shape.w, colour))
            return;
        if (circleBeside(shape, c.width(), c.height()) || circleAround(shape, c.width(), c.height()))
            return;
        if (shape.kind == Kind::ThinCircle)
            thinCircle(c, shape.x1, shape.y1, shape.r, colour);
        else
            wideCircle(c, shape.x1, shape.y1, shape.r, shape.w, colour);
        return;
    }
}
} // namespace

void rasterize(QImage& image, std::span<const Primitive> primitives)
{
    if (primitives.empty())
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32
        && image.format() != QImage::Format_ARGB32_Premultiplied) {
        rasterizeWithPainter(image, primitives);
        return;
    }
    const Canvas canvas(image);
    CircleStamp stamp;
    for (const Primitive& p : primitives)
        drawPrimitive(canvas, stamp, p);
}

namespace {
// Roughly how long a job takes to draw, in pixels written: each primitive costs about as much
// as 16 of its pixels, and lines and circles write about their length, up to the picture's
// width and height. Judged from every 8th primitive, so that weighing a drawing costs little
// beside drawing it.
double estimatedWork(const RasterJob& job)
{
    constexpr std::size_t Every = 8;
    constexpr double PerPrimitive = 16;
    const double most = double(job.image->width() + job.image->height()) * TwipsPerPixel;
    double twips = 0;
    for (std::size_t i = 0; i < job.primitives.size(); i += Every) {
        const Primitive& p = job.primitives[i];
        const double length = p.kind == Primitive::Kind::Line ? std::abs(double(p.x2) - p.x1) + std::abs(double(p.y2) - p.y1)
                                                              : 6 * std::abs(double(p.r)) * std::max(p.penWidth, 1);
        twips += std::fmin(length, most); // as the most when NaN
    }
    return (twips / TwipsPerPixel + PerPrimitive * double(job.primitives.size() / Every)) * Every;
}
} // namespace

void rasterizeEach(std::span<const RasterJob> jobs)
{
    // Below this many primitives in all, handing pictures to other threads costs more than
    // it saves.
    constexpr std::size_t SharedFrom = 2000;
    std::size_t total = 0;
    for (const RasterJob& job : jobs)
        total += job.primitives.size();
    const std::size_t cores = std::max(std::thread::hardware_concurrency(), 1u);
    const std::size_t helpers = total < SharedFrom ? 0 : std::min(cores, jobs.size()) - 1;
    if (helpers == 0) {
        for (const RasterJob& job : jobs)
            rasterize(*job.image, job.primitives);
        return;
    }
    std::vector<double> work(jobs.size());
    std::transform(jobs.begin(), jobs.end(), work.begin(), estimatedWork);
    std::vector<std::size_t> order(jobs.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return work[a] > work[b]; });
    std::atomic<std::size_t> next{0};
    const auto drawTheRest = [&] {
        for (std::size_t i = next++; i < order.size(); i = next++)
            rasterize(*jobs[order[i]].image, jobs[order[i]].primitives);
    };
    // Helpers that cannot be started leave their pictures to the others and this thread; all
    // are joined on leaving, before the pictures are handed back.
    std::vector<std::jthread> started;
    started.reserve(helpers);
    try {
        for (std::size_t i = 0; i < helpers; ++i)
            started.emplace_back(drawTheRest);
    } catch (const std::system_error&) {
    }
    drawTheRest();
}

void rasterizeWithPainter(QImage& image, std::span<const Primitive> primitives)
{
    if (primitives.empty())
        return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& p : primitives) {
        QPen pen(toQColor(p.color));
        pen.setWidth(p.penWidth);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (p.kind == Primitive::Kind::Line) {
            painter.drawLine(QLineF(toPixel(p.x1), toPixel(p.y1), toPixel(p.x2), toPixel(p.y2)));
        } else {
            const QPointF centre(toPixel(p.x1), toPixel(p.y1));
            const double radius = double(p.r) / TwipsPerPixel;
            if (radius < 0.5)
                painter.drawPoint(centre);
            else
                painter.drawEllipse(centre, radius, radius);
        }
    }
}
