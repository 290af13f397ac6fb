// Placing points in the front view, the coordinate readout of every view, and the pop-up.
#pragma once

#include "editing/EditingContext.h"

// Writes the view name and the padded position into their status panels. Called by the
// mouse movement handlers of the four views.
void ShowCoordinates(StatusPanels& sbStatus, float x, float y, const QString& viewName);
// The position text of panel 5 for (x, y): "[0120 : 0045]", each number in plain decimal
// form and zero-padded on the left to four characters ("0-15"), longer ones kept whole.
QString PositionText(float x, float y);

// Keeps the position for the next click (ClickY clamped into 16 bits) and shows it.
void picFront_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
// The right button shows the Draw Polygon pop-up modally; the surface raises the click only
// after this returns.
void picFront_MouseUp(EditingContext& ctx, int button, int shift, float x, float y);
// Places a point at (ClickX, ClickY) with its red mark; in point-object mode first draws the
// object flat when the declared count is reached (a refused drawing is told and given, and
// the point is still placed). Also run by the PutPoint command after it has set ClickX and
// ClickY. A full object or a ClickX that is no 32-bit number is refused with a message and
// changes nothing.
Refusal picFront_Click(EditingContext& ctx);
void picTop_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
void pic3dView_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
// Over the container between the views: "None" and "[0000:0000]".
void picContainer_MouseMove(EditingContext& ctx, int button, int shift, float x, float y);
