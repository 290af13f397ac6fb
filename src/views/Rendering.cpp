// Clearing and measuring the views, the flat and extruded drawings, the drawing menus.
#include "views/Rendering.h"

#include "app/ObjectRules.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace {

// The checked plan, or nothing once the user has been told why the object cannot be drawn
// (*refused then holds it). The result points into checked, which the drawing keeps for as
// long as it draws.
template <typename Plan>
const Plan* acceptedOrTold(ViewContext& ctx, const std::variant<Plan, QString>& checked, Refusal* refused)
{
    if (const QString* problem = std::get_if<QString>(&checked)) {
        *refused = ctx.dialogs.refuse(*problem);
        return nullptr;
    }
    return &std::get<Plan>(checked);
}

void showPointCount(ViewContext& ctx, std::int32_t count)
{
    ctx.sbStatus.setText(StatusPanel::ObjectPoints, QStringLiteral("Object Points: ") + QString::number(count));
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

void ClearViews(ViewContext& ctx, const Placement& placement)
{
    ctx.picTop.Cls();
    ctx.picFront.Cls();
    ctx.picSide.Cls();
    ctx.pic3dView.Cls();
    ComputeViewOffsets(ctx, placement);
}

void ComputeViewOffsets(ViewContext& ctx, const Placement& placement)
{
    WorkspaceState& s = ctx.state;
    s.SideOffsetX = placement.sideOffsetX;
    s.MaxY = placement.maxY;
    s.MinY = placement.minY;
    s.TopOffsetY = placement.topOffsetY;
    s.MaxX = placement.maxX;
    s.MinX = placement.minX;
}

Refusal DrawObject2D(ViewContext& ctx)
{
    const auto checked = Placement::check(ctx);
    Refusal refused;
    const Placement* plan = acceptedOrTold(ctx, checked, &refused);
    if (!plan)
        return refused;
    ClearViews(ctx, *plan);
    WorkspaceState& s = ctx.state;
    s.Dimension = 2;
    s.DrawMode = 2;

    drawFront(ctx);

    const float radius = s.PointRadius;
    const float side = plan->sideOffsetX;
    for (const PointRecord& p : s.pPoints)
        ctx.picSide.Circle(side, float(p.Y), radius, MarkRed);
    ctx.picSide.Line(side, float(plan->maxY), side, float(plan->minY), ctx.cdlDrawing.Color);

    const float top = plan->topOffsetY;
    for (const PointRecord& p : s.pPoints)
        ctx.picTop.Circle(float(p.X), top, radius, MarkRed);
    ctx.picTop.Line(float(plan->maxX), top, float(plan->minX), top, ctx.cdlDrawing.Color);

    showPointCount(ctx, s.PointCount);
    return std::nullopt;
}

Refusal DrawObject3D(ViewContext& ctx)
{
    WorkspaceState& s = ctx.state;
    const auto placed = Placement::check(ctx);
    Refusal refused;
    const Placement* plan = acceptedOrTold(ctx, placed, &refused);
    if (!plan)
        return refused;
    // A drawing skipped for a negative first X needs only what clearing needs.
    if (s.pPoints[0].X < 0) {
        ClearViews(ctx, *plan);
        s.Depth = effectiveDepth(s.Depth);
        return std::nullopt;
    }
    const auto extruded = Extrusion::check(*plan, effectiveDepth(s.Depth));
    const Extrusion* back = acceptedOrTold(ctx, extruded, &refused);
    if (!back)
        return refused;

    ClearViews(ctx, *plan);
    s.Depth = effectiveDepth(s.Depth);
    s.Dimension = 3;
    s.DrawMode = 3;
    const auto& pts = s.pPoints;
    const std::size_t n = pts.size() - 1;
    const float radius = s.PointRadius;
    const ColorRef lines = ctx.cdlDrawing.Color;

    drawFront(ctx);

    const float sideFront = plan->sideOffsetX;
    const float sideBack = back->sideBackX;
    for (const PointRecord& p : pts) {
        ctx.picSide.Circle(sideFront, float(p.Y), radius, MarkRed);
        ctx.picSide.Circle(sideBack, float(p.Y), radius, MarkRed);
        ctx.picSide.Line(sideFront, float(p.Y), sideBack, float(p.Y), lines);
    }
    ctx.picSide.Line(sideFront, float(plan->maxY), sideFront, float(plan->minY), lines);
    ctx.picSide.Line(sideBack, float(plan->maxY), sideBack, float(plan->minY), lines);

    const float topFront = plan->topOffsetY;
    const float topBack = back->topBackY;
    for (const PointRecord& p : pts) {
        ctx.picTop.Circle(float(p.X), topBack, radius, MarkRed);
        ctx.picTop.Circle(float(p.X), topFront, radius, MarkRed);
        ctx.picTop.Line(float(p.X), topFront, float(p.X), topBack, lines);
    }
    ctx.picTop.Line(float(plan->maxX), topFront, float(plan->minX), topFront, lines);
    ctx.picTop.Line(float(plan->maxX), topBack, float(plan->minX), topBack, lines);

    // Back face, lateral edges, then the front face over them.
    for (std::size_t i = 0; i <= n; ++i) {
        const std::size_t j = i < n ? i + 1 : 0;
        ctx.pic3dView.Line(back->backX(pts[i]), back->backY(pts[i]), back->backX(pts[j]), back->backY(pts[j]),
                           ctx.cdl3dObject.Color);
    }
    for (const PointRecord& p : pts)
        ctx.pic3dView.Line(float(p.X), float(p.Y), back->backX(p), back->backY(p), ctx.cdl3dObject.Color);
    for (std::size_t i = 0; i <= n; ++i) {
        const std::size_t j = i < n ? i + 1 : 0;
        ctx.pic3dView.Line(float(pts[i].X), float(pts[i].Y), float(pts[j].X), float(pts[j].Y), ctx.cdl3dObject.Color);
    }

    // The prism's corners, twice the point count: up to 65534, counted in 32 bits.
    showPointCount(ctx, std::int32_t(s.PointCount) * 2);
    return std::nullopt;
}

Refusal RedrawCurrent(ViewContext& ctx)
{
    if (ctx.state.DrawMode == 2)
        return DrawObject2D(ctx);
    if (ctx.state.DrawMode == 3)
        return DrawObject3D(ctx);
    return std::nullopt;
}

Refusal mnuDrawPoly_Click(ViewContext& ctx) { return DrawObject2D(ctx); }

// A depth that is empty, zero or negative becomes 200 for this drawing and after it; a
// refused drawing leaves the depth as it was. A depth that is not a number is kept, and the
// drawing says so.
Refusal mnuDraw3D_Click(ViewContext& ctx)
{
    const TaggedValue before = ctx.state.Depth;
    const std::optional<double> depth = before.toNumber();
    if (depth && !(*depth > 0))
        ctx.state.Depth = DefaultDepth;
    Refusal refused = DrawObject3D(ctx);
    if (refused)
        ctx.state.Depth = before;
    return refused;
}

void mnuObjColor_Click(ViewContext& ctx) { ctx.cdlDrawing.ShowColor(); }

void mnu3dColor_Click(ViewContext& ctx)
{
    ctx.cdl3dObject.ShowColor();
    RedrawCurrent(ctx);
}
