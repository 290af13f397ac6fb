// What the drawing procedures and the view menus touch: the state, the four views, the grid
// lines, the colour dialogs, the status bar and the dialogs.
#pragma once

#include "app/WorkspaceState.h"
#include "platform/CommonDialog.h"
#include "platform/ControlData.h"
#include "platform/Surface.h"

#include <array>

// The six grid line arrays of the three orthographic views, each indexed 1 to LinesPerArray
// (element 0 unused): horizontal Grid, sLine, tLine; vertical Gridv, sLinev, tLinev.
struct GridLines {
    static constexpr int LinesPerArray = 60;
    using Array = std::array<LineObject*, LinesPerArray + 1>;
    Array Grid{}, Gridv{}, sLine{}, sLinev{}, tLine{}, tLinev{};
};

struct ViewContext {
    WorkspaceState& state;
    Surface& picFront;
    Surface& picSide;
    Surface& picTop;
    Surface& pic3dView;
    GridLines& grid;
    CommonDialog& cdlColorGrid;
    CommonDialog& cdlGridBg;
    CommonDialog& cdlDrawing;
    CommonDialog& cdl3dObject;
    StatusPanels& sbStatus;
    Dialogs& dialogs;
};
