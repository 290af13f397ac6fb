// Which pixels a drawing primitive covers: the one description of its shape, pen and reach
// that the rasteriser fills and the SVG export writes as elements.
#pragma once

#include "platform/Primitive.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

// A primitive reduced to the pixels it covers, in pixel coordinates of its picture (its
// twips rounded to the pixel holding them). The fields a kind does not name are unused.
// Made by pixelShape and dotAt; the rasteriser and the SVG export each start from it.
struct PixelShape {
    enum class Kind : std::uint8_t {
        // No pixel: an end, centre or radius that is not a finite number.
        Nothing,
        // The pen's square: the pixels x1 .. x1 + w - 1 by y1 .. y1 + w - 1.
        Dot,
        // One pixel wide between the distinct pixel ends (x1, y1) and (x2, y2), both
        // included: the Bresenham walk from the first end, each major step colouring the
        // pixel nearest the line.
        ThinLine,
        // A pen of w > 1 pixels with square caps between distinct ends: the rectangle around
        // the segment between the pixel corners (x1, y1) and (x2, y2), extended by w/2 at both
        // ends and w/2 to either side, filled where pixel centres fall inside it. A centre on
        // its edge is inside on the right and bottom edges, not on the left and top ones (an
        // odd pen along an axis has its edges on pixel centres).
        WideLine,
        // The one-pixel MidpointCircle of radius r >= 0.5 around pixel (x1, y1).
        ThinCircle,
        // A pen of w > 1 pixels round a circle: the ring between radii r - w/2 and r + w/2
        // around the pixel corner (x1, y1), filled where pixel centres fall inside it. A pen
        // wider than the circle leaves a hole of radius w/2 - r, as the painter strokes it.
        Ring,
    };
    Kind kind = Kind::Nothing;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
    int w = 1;
};

// The square dot a pen of w pixels leaves at pixel (x, y): the pen's centre lies on the
// pixel, so the square reaches w/2 pixels (rounded down) up and left of it. Called by
// pixelShape, and by the rasteriser when a cut wide line shrinks to a point.
inline PixelShape dotAt(double x, double y, int w) { return {PixelShape::Kind::Dot, x - w / 2, y - w / 2, 0, 0, 0, w}; }

// The pixels of a primitive: its ends or centre in the pixels holding them, a pen of at least
// one pixel, a line whose ends share a pixel and a circle below half a pixel's radius as the
// pen's dot. Called for every primitive the rasteriser draws and the export writes. This and
// the tests below are inline: the rasteriser's loop over hundreds of thousands of primitives
// keeps its speed only when the shape stays in registers, never handed to another file.
inline PixelShape pixelShape(const Primitive& p)
{
    using Kind = PixelShape::Kind;
    const int w = std::max(p.penWidth, 1);
    const double x1 = toPixel(p.x1), y1 = toPixel(p.y1);
    if (!std::isfinite(x1) || !std::isfinite(y1))
        return {};
    if (p.kind == Primitive::Kind::Line) {
        const double x2 = toPixel(p.x2), y2 = toPixel(p.y2);
        if (!std::isfinite(x2) || !std::isfinite(y2))
            return {};
        if (x1 == x2 && y1 == y2)
            return dotAt(x1, y1, w);
        return {w == 1 ? Kind::ThinLine : Kind::WideLine, x1, y1, x2, y2, 0, w};
    }
    const double radius = double(p.r) / TwipsPerPixel;
    if (std::isnan(radius))
        return {};
    if (radius < 0.5)
        return dotAt(x1, y1, w);
    if (!std::isfinite(radius))
        return {};
    return {w == 1 ? Kind::ThinCircle : Kind::Ring, x1, y1, 0, 0, radius, w};
}

// Clips the segment (x1, y1)-(x2, y2) to the box [lo, hiX] x [lo, hiY] in place (Liang–Barsky).
// False when it misses the box. Unclipped ends keep their exact values.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double lo, double hiX, double hiY);

// The margin around a picture to which a line drawn with a pen of w pixels is cut: its half
// width and square cap with a pixel to spare, so that the cut line colours on the picture
// exactly the pixels the whole line does.
constexpr double lineCutReach(int w) { return w + 2.0; }

// The line shape cut to the area [0, width] x [0, height] grown by lineCutReach(w); nothing
// when it misses that. Called by the rasteriser for a WideLine and by the export for both
// kinds of line. The rasteriser cuts a ThinLine to the pixel cells instead, since it walks the
// whole line's Bresenham steps from its true first end, which a cut end would move.
inline std::optional<PixelShape> cutToReach(const PixelShape& line, int width, int height)
{
    PixelShape cut = line;
    const double reach = lineCutReach(line.w);
    if (!clipSegment(cut.x1, cut.y1, cut.x2, cut.y2, -reach, width + reach, height + reach))
        return std::nullopt;
    return cut;
}

// The margin beyond its radius within which a circle drawn with a pen of w pixels colours
// pixels: half the pen, with room to spare.
constexpr double circleReach(int w) { return w + 1.0; }

// A circle's distances from the area [0, width] x [0, height] along each axis: how far its
// centre lies outside the area (0 when within it), and from the area's farthest edge.
struct AxisDistances {
    double nearX, nearY, farX, farY;

    AxisDistances(const PixelShape& circle, int width, int height)
    {
        const double left = 0 - circle.x1, right = width - circle.x1, up = 0 - circle.y1, down = height - circle.y1;
        nearX = std::max({left, -right, 0.0});
        nearY = std::max({up, -down, 0.0});
        farX = std::max(std::abs(left), std::abs(right));
        farY = std::max(std::abs(up), std::abs(down));
    }
};

// Whether a ThinCircle or Ring lies wholly beside the area [0, width] x [0, height], more
// than circleReach(w) beyond its radius from it: then neither the rasteriser nor the export
// draws it.
inline bool circleBeside(const PixelShape& circle, int width, int height)
{
    const AxisDistances d(circle, width, height);
    const double outer = circle.r + circleReach(circle.w);
    return d.nearX > outer || d.nearY > outer;
}

// Whether the area [0, width] x [0, height] lies wholly inside a ThinCircle's or Ring's hole,
// more than circleReach(w) within its radius: it colours none of the area's pixels, and
// neither the rasteriser nor the export draws it.
inline bool circleAround(const PixelShape& circle, int width, int height)
{
    const AxisDistances d(circle, width, height);
    const double inner = circle.r - circleReach(circle.w);
    return inner > 0 && d.farX * d.farX + d.farY * d.farY < inner * inner;
}

// The rasteriser's one-pixel circle of radius r >= 0.5 around a pixel: in the octants that
// step in x, the pixels (x, -h(x)) and (x, h(x)) for the columns |x| <= limit(), and mirrored,
// (-h(y), y) and (h(y), y), in the octants that step in y. The export draws the same pixels.
class MidpointCircle {
public:
    explicit MidpointCircle(double r);
    double limit() const { return limit_; }
    double h(double x) const;

private:
    double r2_;
    double limit_;
};
