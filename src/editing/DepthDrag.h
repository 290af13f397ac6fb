// Extrude mode and dragging the depth in the side view.
#pragma once

#include "editing/EditingContext.h"

void mnuExtrude_Click(EditingContext& ctx);
void picSide_MouseDown(EditingContext& ctx, int button, int shift, float x, float y);
void picSide_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void picSide_MouseUp(EditingContext& ctx, int button, int shift, float x, float y);
