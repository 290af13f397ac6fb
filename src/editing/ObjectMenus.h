// The object menus: Point Object, Point Radius, Line Width, Drawing Style and Clear.
#pragma once

#include "editing/EditingContext.h"

void mnuPointobj_Click(EditingContext& ctx);
void mnuRadius_Click(EditingContext& ctx);
void mnuWidth_Click(EditingContext& ctx);
void mnuStyle_Click(EditingContext& ctx, int index);
void mnuClear_Click(EditingContext& ctx);
