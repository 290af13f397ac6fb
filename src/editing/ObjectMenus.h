// The object menus: Point Object, Point Radius, Line Width, Drawing Style and Clear.
#pragma once

#include "editing/EditingContext.h"

// Menu handlers, run by their items. The three that ask for a number keep the setting as
// it was when the answer cannot be used (Cancel silently, anything else with a message).
void mnuPointobj_Click(EditingContext& ctx);
void mnuRadius_Click(EditingContext& ctx);
void mnuWidth_Click(EditingContext& ctx);
// index: the Drawing Style item chosen, 0 to 3.
void mnuStyle_Click(EditingContext& ctx, int index);
void mnuClear_Click(EditingContext& ctx);
