// The object menus.
#include "editing/ObjectMenus.h"

void mnuPointobj_Click(EditingContext& ctx) { (void)ctx; }
void mnuRadius_Click(EditingContext& ctx) { (void)ctx; }
void mnuWidth_Click(EditingContext& ctx) { (void)ctx; }
void mnuStyle_Click(EditingContext& ctx, int index) { (void)ctx; (void)index; }
void mnuClear_Click(EditingContext& ctx) { (void)ctx; }
