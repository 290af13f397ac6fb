// The grid lines of the orthographic views and the grid and view colour menus.
#pragma once

#include "views/ViewContext.h"

// Lays out all 360 grid lines from GridState, GridCount, the front view's inner height, the
// views' outer sizes and the grid colour. Called at start-up, by the grid menus and at the
// end of a depth drag. GridCount is one of 60, 50, 40 and 30.
void LayoutGridLines(ViewContext& ctx);

// Grid Configuration menu handlers, run by the menu items. mnuGridsize gets the item's index,
// 0 (Small) to 3 (Extra Large). The two colour commands end at a refused redraw.
void mnuGridsize_Click(ViewContext& ctx, int index);
void mnuLneOn_Click(ViewContext& ctx);
void mnuLneOff_Click(ViewContext& ctx);
void mnuGrdColor_Click(ViewContext& ctx);
void mnuBgColor_Click(ViewContext& ctx);
