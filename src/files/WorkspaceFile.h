// The workspace file: the four colours, the point radius and the grid-lines state, and the
// strict reader that checks all of them before anything is used. No widgets here.
#pragma once

#include "files/BagFile.h"
#include "platform/Color.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The extension of workspace files, which the file dialogs, the browser and the tool name.
inline constexpr QLatin1String WorkspaceFileExtension(".wks");

// What a workspace file holds. The defaults are what a reader takes for a missing value.
// Colours are 0x00BBGGRR.
struct WorkspaceFileValues {
    ColorRef LinesC = 0;      // object line colour (cdlDrawing)
    ColorRef GridLinesC = 0;  // grid line colour (cdlColorGrid)
    ColorRef GridBGC = 0;     // view background colour (cdlGridBg)
    ColorRef ObjColor = 0;    // 3D object colour (cdl3dObject)
    std::int16_t Radius = 20; // PointRadius
    std::uint8_t GridState = 1;
    friend bool operator==(const WorkspaceFileValues&, const WorkspaceFileValues&) = default;
};

// The most values a workspace file holds: the six it is written with.
constexpr qsizetype MostWorkspaceValues = 6;

// Reads a workspace file's record (filerecord::readFile, or decode of its bytes). Only a
// Loaded result fills out, and fills all of it; otherwise out is untouched and, for
// Malformed, *why (when given) says what was wrong. A colour outside 0 to 0xFFFFFF, a
// negative radius, or an object file's "Points" is Malformed. Called by OpenFile.
ReadResult readWorkspaceFile(const filerecord::Decoded& record, WorkspaceFileValues& out, QString* why = nullptr);
// The same for the whole bytes of a file.
inline ReadResult readWorkspaceFile(const QByteArray& fileBytes, WorkspaceFileValues& out, QString* why = nullptr)
{
    return readWorkspaceFile(filerecord::decode(fileBytes), out, why);
}

// The whole workspace file: "LinesC", "GridLinesC", "GridBGC", "ObjColor", "Radius",
// "GridState", in that order, as described in docs/file-format.md. Called by SaveFile.
QByteArray writeWorkspaceFile(const WorkspaceFileValues& values);
