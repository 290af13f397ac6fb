// Extrude mode and the depth drag.
#include "editing/DepthDrag.h"

#include "editing/PointPlacement.h"
#include "platform/Conversions.h"
#include "views/GridLayout.h"
#include "views/Rendering.h"

namespace {
constexpr int DefaultPointer = 0;
constexpr int IBeamPointer = 3;
} // namespace

// Toggles extrude mode; the I-beam shows either way until the next release in the side view.
void mnuExtrude_Click(EditingContext& ctx)
{
    ctx.views.state.ExtrudeMode = !ctx.views.state.ExtrudeMode;
    ctx.views.picSide.setMousePointer(IBeamPointer);
}

// Any button starts a drag exactly when extrude mode is armed, and clears a stale one otherwise.
void picSide_MouseDown(EditingContext& ctx, int, int, float, float)
{
    ctx.views.state.DraggingDepth = ctx.views.state.ExtrudeMode;
}

// During a drag the depth follows the pointer, measured from the object's front face in the
// side view and clamped into 16 bits; the readout is left alone and nothing is redrawn.
void picSide_MouseMove(EditingContext& ctx, int, int, float x, float y)
{
    WorkspaceState& s = ctx.views.state;
    if (s.ExtrudeMode && s.DraggingDepth) {
        const std::int16_t depth = conv::clampToInt16(double(x) - double(s.SideOffsetX));
        s.Depth = TaggedValue(depth);
        ctx.txtDepth.Text = QString::number(depth);
        return;
    }
    ShowCoordinates(ctx.views.sbStatus, x, y, QStringLiteral("SIDE VIEW"));
}

// Ends the drag: when armed, lays out the grid and redraws the object extruded at the current
// depth; then disarms and restores the default pointer.
void picSide_MouseUp(EditingContext& ctx, int, int, float, float)
{
    WorkspaceState& s = ctx.views.state;
    if (s.ExtrudeMode) {
        LayoutGridLines(ctx.views);
        DrawObject3D(ctx.views);
    }
    s.ExtrudeMode = false;
    s.DraggingDepth = false;
    if (ctx.views.picSide.MousePointer() != DefaultPointer)
        ctx.views.picSide.setMousePointer(DefaultPointer);
}
