// Clearing and measuring the views, the flat and the extruded drawing, and the drawing and
// object colour menus.
#pragma once

#include "views/DrawingPlan.h"
#include "views/ViewContext.h"

// The red of the marks on the object's points, as the drawings and point placement draw them.
inline constexpr ColorRef MarkRed = 0x0000FF;

// Wipes the four views, picTop, picFront, picSide and pic3dView in that order (grid lines
// stay), then ComputeViewOffsets. Called by the drawings with their checked placement, and by
// the grid size menu with Placement::clamped for an object no drawing has checked.
void ClearViews(ViewContext& ctx, const Placement& placement);
// Writes the object's extents and its front face's place in the side and top views into the
// state's six fields, where the drawings, point placement and the depth drag read them.
// Called only by ClearViews.
void ComputeViewOffsets(ViewContext& ctx, const Placement& placement);

// Draw the object flat or extruded from the state. Before anything is cleared or written
// they check that every value fits its width; when one does not, the user is told and the
// views and the state stay as they were, and the refusal is given. DrawObject3D skipped for
// a negative first X is no refusal (a skipped drawing is not a failure); it clears the views
// and gives an empty depth its permanent default of 200, and is checked only for what
// clearing needs. Both set Dimension and DrawMode together (2 or 3).
Refusal DrawObject2D(ViewContext& ctx);
Refusal DrawObject3D(ViewContext& ctx);

// Redoes whichever drawing was made last (DrawMode 2 or 3); nothing for DrawMode 1. Gives
// the drawing's refusal. Called by the colour menus.
Refusal RedrawCurrent(ViewContext& ctx);

// Menu handlers: Draw Polygon > Draw 2D / Draw 3D (giving the drawing's refusal), Grid
// Configuration > Object Color, Render Window > Object Color.
Refusal mnuDrawPoly_Click(ViewContext& ctx);
Refusal mnuDraw3D_Click(ViewContext& ctx);
void mnuObjColor_Click(ViewContext& ctx);
void mnu3dColor_Click(ViewContext& ctx);
