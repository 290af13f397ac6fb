// Clearing and measuring the views, the flat and extruded drawings, the drawing menus.
#include "views/Rendering.h"

void ClearViews(ViewContext& ctx) { (void)ctx; }
void ComputeViewOffsets(ViewContext& ctx) { (void)ctx; }
bool DrawObject2D(ViewContext& ctx) { (void)ctx; return true; }
bool DrawObject3D(ViewContext& ctx) { (void)ctx; return true; }
void RedrawCurrent(ViewContext& ctx) { (void)ctx; }
void mnuDrawPoly_Click(ViewContext& ctx) { (void)ctx; }
void mnuDraw3D_Click(ViewContext& ctx) { (void)ctx; }
void mnuObjColor_Click(ViewContext& ctx) { (void)ctx; }
void mnu3dColor_Click(ViewContext& ctx) { (void)ctx; }
