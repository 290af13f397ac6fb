// The out-of-line part of the pixel geometry the rasteriser and the SVG export share: the
// cut of a segment to a box and the one-pixel circle's pixels.
#include "platform/PixelGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
// Narrows the segment's parameter range [t0, t1] to the side of one clipping edge, as in
// Liang–Barsky: the segment stays where p * t <= q. False when nothing remains.
bool clipEdge(double p, double q, double& t0, double& t1)
{
    if (p == 0)
        return q >= 0;
    const double t = q / p;
    if (p < 0) {
        if (t > t1)
            return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0)
            return false;
        t1 = std::min(t1, t);
    }
    return true;
}
} // namespace

bool clipSegment(double& x1, double& y1, double& x2, double& y2, double lo, double hiX, double hiY)
{
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    if (!clipEdge(-dx, x1 - lo, t0, t1) || !clipEdge(dx, hiX - x1, t0, t1)
        || !clipEdge(-dy, y1 - lo, t0, t1) || !clipEdge(dy, hiY - y1, t0, t1))
        return false;
    const double sx = x1, sy = y1;
    if (t1 < 1) {
        x2 = sx + t1 * dx;
        y2 = sy + t1 * dy;
    }
    if (t0 > 0) {
        x1 = sx + t0 * dx;
        y1 = sy + t0 * dy;
    }
    return true;
}

MidpointCircle::MidpointCircle(double r) : r2_(r * r)
{
    // The last x with x <= h(x). Below r / sqrt(2), r^2 - x^2 >= x^2 and so h(x) >= x: the
    // search starts there and only moves up, by a step at most.
    limit_ = std::floor(r / std::sqrt(2.0));
    for (int i = 0; i < 3 && limit_ + 1 <= h(limit_ + 1); ++i)
        limit_ += 1;
}

double MidpointCircle::h(double x) const { return std::floor(std::sqrt(std::max(r2_ - x * x, 0.0)) + 0.5); }
