// Extrude mode and dragging the depth in the side view.
#pragma once

#include "editing/EditingContext.h"

// Edit > Extrude Object: toggles extrude mode and shows the I-beam over the side view.
void mnuExtrude_Click(EditingContext& ctx);

// The side view's mouse notifications (button or button state, shift state, position in
// twips), raised by the view. A press arms a drag when extrude mode is on, moves set the
// depth while dragging (or update the readout otherwise), the release redraws and disarms.
void picSide_MouseDown(EditingContext& ctx, int button, int shift, float x, float y);
void picSide_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void picSide_MouseUp(EditingContext& ctx, int button, int shift, float x, float y);
