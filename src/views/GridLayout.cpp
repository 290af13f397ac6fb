// Grid line layout and the grid and background colour menus.
#include "views/GridLayout.h"

void LayoutGridLines(ViewContext& ctx) { (void)ctx; }
void mnuGridsize_Click(ViewContext& ctx, int index) { (void)ctx; (void)index; }
void mnuLneOn_Click(ViewContext& ctx) { (void)ctx; }
void mnuLneOff_Click(ViewContext& ctx) { (void)ctx; }
void mnuGrdColor_Click(ViewContext& ctx) { (void)ctx; }
void mnuBgColor_Click(ViewContext& ctx) { (void)ctx; }
