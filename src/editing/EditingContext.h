// What the editing handlers touch: the views (and through them the state), the depth box,
// the Drawing Style menu's check marks and the Draw Polygon menu that the front view pops up.
#pragma once

#include "views/ViewContext.h"

#include <array>
#include <functional>

struct EditingContext {
    ViewContext& views;
    TextBox& txtDepth;
    std::array<MenuItem, 4>& mnuStyle;
    // Shows the Draw Polygon menu as a modal pop-up at a place of the front view (twips) and
    // returns when it has closed, after a chosen item has run. Empty where no window shows
    // menus: nothing pops up.
    std::function<void(float x, float y)>& popupMenu;
};
