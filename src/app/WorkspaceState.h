// The one record of all state that outlives an event, owned by the main window.
#pragma once

#include "platform/TaggedValue.h"

#include <QString>
#include <cstdint>
#include <vector>

// A point of the object's outline, in twips of the front view.
struct PointRecord {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const PointRecord&, const PointRecord&) = default;
};

// Shared by every handler, one at a time, on the user-interface thread. The four current
// colours are not here: each lives in its colour dialog as that dialog's Color.
// Invariants: pPoints always holds at least element 0; when n points have been placed since
// the list was last reset, PointCount is n and pPoints holds exactly the indices 0 to n - 1
// (before the first point: one point (0, 0) while PointCount is 0).
struct WorkspaceState {
    // The object.
    std::vector<PointRecord> pPoints{PointRecord{}};
    std::int16_t PointCount = 0;
    std::int16_t Dimension = 0;   // 2 last drawn flat, 3 last drawn extruded, or as read from a file
    TaggedValue Depth;            // empty until set; a number or numeric text

    // Point placement and editing.
    TaggedValue ClickX;           // last mouse X over the front view, or the X text of PutPoint
    std::int16_t ClickY = 0;
    std::int16_t PointRadius = 20;
    bool PointObjectMode = false;
    std::int16_t DeclaredPointCount = 0;
    bool ExtrudeMode = false;
    bool DraggingDepth = false;

    // View placement, recomputed before every drawing.
    std::int16_t MinX = 0;
    std::int32_t MaxX = 0;
    std::int16_t MinY = 0;
    std::int16_t MaxY = 0;
    float SideOffsetX = 0;
    std::int16_t TopOffsetY = 0;

    // Grid and drawing mode.
    std::int16_t GridCount = 50;
    std::uint8_t GridState = 1;
    std::int16_t DrawMode = 1;    // what the colour menus redo: 1 nothing yet, 2 flat, 3 extruded

    // Command box.
    std::int16_t SelectedCommand = 0;

    // Files and folders.
    QString ProgramFolder;
    QString ObjectsFolder;
    QString WorkspacesFolder;
    QString CurrentFilePath;
    QString SaveObjectPath;

    friend bool operator==(const WorkspaceState&, const WorkspaceState&) = default;
};
