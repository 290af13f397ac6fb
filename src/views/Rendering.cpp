// Clearing and measuring the views, the flat and extruded drawings, the drawing menus.
#include "views/Rendering.h"

#include "platform/Conversions.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr std::int64_t Int16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t Int16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

bool fits16(std::int64_t v) { return v >= Int16Min && v <= Int16Max; }
bool fits32(std::int64_t v) { return v >= Int32Min && v <= Int32Max; }

// The smallest and largest X and Y over every element of pPoints, element 0 included.
struct Extents {
    std::int64_t minX, maxX, minY, maxY;
};

Extents measure(const std::vector<PointRecord>& points)
{
    constexpr std::int64_t Lowest = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t Highest = std::numeric_limits<std::int64_t>::max();
    Extents e{Highest, Lowest, Highest, Lowest};
    for (const PointRecord& p : points) {
        e.minX = std::min<std::int64_t>(e.minX, p.X);
        e.maxX = std::max<std::int64_t>(e.maxX, p.X);
        e.minY = std::min<std::int64_t>(e.minY, p.Y);
        e.maxY = std::max<std::int64_t>(e.maxY, p.Y);
    }
    return e;
}

double sideOffset(const Surface& picSide) { return double(picSide.ScaleWidth()) / 2 - double(picSide.ScaleWidth()) / 4; }
double topOffset(const Surface& picTop) { return conv::roundHalfEven(double(picTop.ScaleHeight()) / 2 - double(picTop.ScaleHeight()) / 4); }

QString num(std::int64_t v) { return QString::number(v); }

QString outOf16(const QString& what, std::int64_t value)
{
    return QStringLiteral("The object cannot be drawn: %1 (%2) is outside the range -32768 to 32767.").arg(what, num(value));
}

// What clearing the views needs: the extents and the top view offset in their widths.
// Gives the message that names the first value out of range, or nothing when all fit.
std::optional<QString> checkPlacement(const ViewContext& ctx)
{
    const Extents e = measure(ctx.state.pPoints);
    if (!fits16(e.minX))
        return outOf16(QStringLiteral("the smallest X of its points"), e.minX);
    if (!fits16(e.minY))
        return outOf16(QStringLiteral("the smallest Y of its points"), e.minY);
    if (!fits16(e.maxY))
        return outOf16(QStringLiteral("the largest Y of its points"), e.maxY);
    const double top = topOffset(ctx.picTop);
    if (!conv::toInt16(top))
        return outOf16(QStringLiteral("the place of its front face in the top view"), std::int64_t(top));
    return std::nullopt;
}

// The extruded drawing's own needs, given the depth it will use: d and TopOffsetY + d in
// 16 bits, and X + d in 32 bits for every point.
std::optional<QString> checkExtrusion(const ViewContext& ctx, const TaggedValue& depth)
{
    const std::optional<double> number = depth.toNumber();
    if (!number)
        return QStringLiteral("The object cannot be drawn: its depth \"%1\" is not a number.").arg(conv::excerpt(depth.toText()));
    const std::optional<std::int16_t> d = conv::toInt16(*number);
    if (!d)
        return QStringLiteral("The object cannot be drawn: its depth (%1) is outside the range -32768 to 32767.")
            .arg(conv::excerpt(depth.toText()));
    const std::int64_t top = std::int64_t(topOffset(ctx.picTop));
    if (!fits16(top + *d))
        return QStringLiteral("The object cannot be drawn: its back face in the top view would lie at %1 + %2 = %3, "
                              "outside the range -32768 to 32767.")
            .arg(num(top), num(*d), num(top + *d));
    const Extents e = measure(ctx.state.pPoints);
    for (const std::int64_t x : {e.minX, e.maxX})
        if (!fits32(x + *d))
            return QStringLiteral("The object cannot be drawn: a point's X plus the depth, %1 + %2 (%3), is outside the "
                                  "range -2147483648 to 2147483647.")
                .arg(num(x), num(*d), num(x + *d));
    return std::nullopt;
}

bool refuse(ViewContext& ctx, const std::optional<QString>& problem)
{
    if (!problem)
        return false;
    ctx.dialogs.MsgBox(*problem);
    return true;
}

// The closed outline with a mark on every point, in the front view; the same for both drawings.
void drawFront(ViewContext& ctx)
{
    const auto& pts = ctx.state.pPoints;
    const float radius = ctx.state.PointRadius;
    const std::size_t n = pts.size() - 1;
    for (std::size_t i = 0; i <= n; ++i) {
        const std::size_t j = i < n ? i + 1 : 0;
        ctx.picFront.Circle(float(pts[i].X), float(pts[i].Y), radius, MarkRed);
        ctx.picFront.Line(float(pts[i].X), float(pts[i].Y), float(pts[j].X), float(pts[j].Y), ctx.cdlDrawing.Color);
    }
}

} // namespace

void ClearViews(ViewContext& ctx)
{
    ctx.picTop.Cls();
    ctx.picFront.Cls();
    ctx.picSide.Cls();
    ctx.pic3dView.Cls();
    ComputeViewOffsets(ctx);
}

// Called only by ClearViews. A checked drawing always finds every value in range; from the
// grid size menu the extents of an unchecked object are clamped into their fields.
void ComputeViewOffsets(ViewContext& ctx)
{
    WorkspaceState& s = ctx.state;
    const Extents e = measure(s.pPoints);
    s.SideOffsetX = float(sideOffset(ctx.picSide));
    s.MaxY = conv::clampToInt16(double(e.maxY));
    s.MinY = conv::clampToInt16(double(e.minY));
    s.TopOffsetY = conv::clampToInt16(topOffset(ctx.picTop));
    s.MaxX = std::int32_t(e.maxX);
    s.MinX = conv::clampToInt16(double(e.minX));
}

bool DrawObject2D(ViewContext& ctx)
{
    if (refuse(ctx, checkPlacement(ctx)))
        return false;
    ClearViews(ctx);
    WorkspaceState& s = ctx.state;
    s.Dimension = 2;
    s.DrawMode = 2;

    drawFront(ctx);

    const float radius = s.PointRadius;
    for (const PointRecord& p : s.pPoints)
        ctx.picSide.Circle(s.SideOffsetX, float(p.Y), radius, MarkRed);
    ctx.picSide.Line(s.SideOffsetX, float(s.MaxY), s.SideOffsetX, float(s.MinY), ctx.cdlDrawing.Color);

    const float top = s.TopOffsetY;
    for (const PointRecord& p : s.pPoints)
        ctx.picTop.Circle(float(p.X), top, radius, MarkRed);
    ctx.picTop.Line(float(s.MaxX), top, float(s.MinX), top, ctx.cdlDrawing.Color);

    ctx.sbStatus.setPanelText(3, QStringLiteral("Object Points: ") + QString::number(s.PointCount));
    return true;
}

bool DrawObject3D(ViewContext& ctx)
{
    WorkspaceState& s = ctx.state;
    // A drawing skipped for a negative first X needs only what clearing needs.
    const bool skipped = s.pPoints[0].X < 0;
    if (refuse(ctx, checkPlacement(ctx)))
        return false;
    if (!skipped && refuse(ctx, checkExtrusion(ctx, s.Depth.isEmpty() ? TaggedValue(DefaultDepth) : s.Depth)))
        return false;

    ClearViews(ctx);
    if (s.Depth.isEmpty())
        s.Depth = DefaultDepth;
    if (skipped)
        return true;

    s.Dimension = 3;
    s.DrawMode = 3;
    const std::int16_t d = *conv::toInt16(*s.Depth.toNumber());
    const auto& pts = s.pPoints;
    const std::size_t n = pts.size() - 1;
    const float radius = s.PointRadius;
    const ColorRef lines = ctx.cdlDrawing.Color;

    drawFront(ctx);

    const float sideFront = s.SideOffsetX;
    const float sideBack = s.SideOffsetX + float(d);
    for (const PointRecord& p : pts) {
        ctx.picSide.Circle(sideFront, float(p.Y), radius, MarkRed);
        ctx.picSide.Circle(sideBack, float(p.Y), radius, MarkRed);
        ctx.picSide.Line(sideFront, float(p.Y), sideBack, float(p.Y), lines);
    }
    ctx.picSide.Line(sideFront, float(s.MaxY), sideFront, float(s.MinY), lines);
    ctx.picSide.Line(sideBack, float(s.MaxY), sideBack, float(s.MinY), lines);

    const float topFront = s.TopOffsetY;
    const float topBack = float(std::int16_t(s.TopOffsetY + d));
    for (const PointRecord& p : pts) {
        ctx.picTop.Circle(float(p.X), topBack, radius, MarkRed);
        ctx.picTop.Circle(float(p.X), topFront, radius, MarkRed);
        ctx.picTop.Line(float(p.X), topFront, float(p.X), topBack, lines);
    }
    ctx.picTop.Line(float(s.MaxX), topFront, float(s.MinX), topFront, lines);
    ctx.picTop.Line(float(s.MaxX), topBack, float(s.MinX), topBack, lines);

    // Back face, lateral edges, then the front face over them. X + d fits 32 bits (checked)
    // and so does Y - d, every Y fitting 16 bits.
    auto backX = [d](const PointRecord& p) { return float(std::int64_t(p.X) + d); };
    auto backY = [d](const PointRecord& p) { return float(std::int64_t(p.Y) - d); };
    for (std::size_t i = 0; i <= n; ++i) {
        const std::size_t j = i < n ? i + 1 : 0;
        ctx.pic3dView.Line(backX(pts[i]), backY(pts[i]), backX(pts[j]), backY(pts[j]), ctx.cdl3dObject.Color);
    }
    for (const PointRecord& p : pts)
        ctx.pic3dView.Line(float(p.X), float(p.Y), backX(p), backY(p), ctx.cdl3dObject.Color);
    for (std::size_t i = 0; i <= n; ++i) {
        const std::size_t j = i < n ? i + 1 : 0;
        ctx.pic3dView.Line(float(pts[i].X), float(pts[i].Y), float(pts[j].X), float(pts[j].Y), ctx.cdl3dObject.Color);
    }

    // The prism's corners, twice the point count: up to 65534, counted in 32 bits.
    ctx.sbStatus.setPanelText(3, QStringLiteral("Object Points: ") + QString::number(std::int32_t(s.PointCount) * 2));
    return true;
}

bool RedrawCurrent(ViewContext& ctx)
{
    if (ctx.state.DrawMode == 2)
        return DrawObject2D(ctx);
    if (ctx.state.DrawMode == 3)
        return DrawObject3D(ctx);
    return true;
}

void mnuDrawPoly_Click(ViewContext& ctx) { DrawObject2D(ctx); }

// A depth that is empty, zero or negative becomes 200 for this drawing and after it; a
// refused drawing leaves the depth as it was. A depth that is not a number is kept, and the
// drawing says so.
void mnuDraw3D_Click(ViewContext& ctx)
{
    const TaggedValue before = ctx.state.Depth;
    const std::optional<double> depth = before.toNumber();
    if (depth && !(*depth > 0))
        ctx.state.Depth = DefaultDepth;
    if (!DrawObject3D(ctx))
        ctx.state.Depth = before;
}

void mnuObjColor_Click(ViewContext& ctx) { ctx.cdlDrawing.ShowColor(); }

void mnu3dColor_Click(ViewContext& ctx)
{
    ctx.cdl3dObject.ShowColor();
    RedrawCurrent(ctx);
}
