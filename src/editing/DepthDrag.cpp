// Extrude mode and the depth drag.
#include "editing/DepthDrag.h"

void mnuExtrude_Click(EditingContext& ctx) { (void)ctx; }
void picSide_MouseDown(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void picSide_MouseMove(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
void picSide_MouseUp(EditingContext& ctx, int button, int shift, float x, float y) { (void)ctx; (void)button; (void)shift; (void)x; (void)y; }
