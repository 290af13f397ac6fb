// Placing points in the front view, the coordinate readout of every view, and the pop-up.
#pragma once

#include "editing/EditingContext.h"

// Writes the view name into status panel 4 and the padded position into panel 5.
void ShowCoordinates(StatusBar& sbStatus, float x, float y, const QString& viewName);
// The position text of panel 5 for (x, y): "[0120 : 0045]".
QString PositionText(float x, float y);

void picFront_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void picFront_MouseUp(EditingContext& ctx, int button, int shift, float x, float y);
// Places a point at (ClickX, ClickY); also run by the PutPoint command.
void picFront_Click(EditingContext& ctx);
void picTop_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void pic3dView_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void picContainer_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
