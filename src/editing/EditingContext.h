// What the editing handlers touch: the views (and through them the state), the depth box
// and the Draw Polygon menu that the front view pops up.
#pragma once

#include "views/ViewContext.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <array>

struct EditingContext {
    ViewContext& views;
    QLineEdit& txtDepth;
    QMenu& mnuPopUp;
    std::array<QAction*, 4>& mnuStyle;
    // Maps a position in the front view (twips) to global screen pixels, for the pop-up.
    std::function<QPoint(float x, float y)> frontToGlobal;
};
