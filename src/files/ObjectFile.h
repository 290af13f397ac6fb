// The object file: which values it holds, under which names and types, and the strict
// reader that checks every one of them before anything is used. No widgets here.
#pragma once

#include "app/ObjectRules.h"
#include "app/WorkspaceState.h"
#include "files/BagFile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The extension of object files, which the file dialogs, the browser and the tool name.
inline constexpr QLatin1String ObjectFileExtension(".obj");

// What an object file gives, already converted to the state's types.
// Invariant after a Loaded read: points holds exactly PointCount points, except for the
// empty object (PointCount 0), whose points are the single point (0, 0) the state keeps then.
struct ObjectFileValues {
    std::int16_t PointCount = 0;
    std::vector<PointRecord> points{PointRecord{}};
    std::int16_t Dimension = 2;
    std::uint8_t GridState = 0;
    TaggedValue Depth;
};

// The most values an object file holds: one per point of the largest object and four more.
constexpr qsizetype MostObjectValues = MostPoints + 4;

// Reads an object file's record (filerecord::readFile, or decode of its bytes) in one pass
// over its bag: the values in any order and of any kind a reading accepts, the points as
// they are written read straight from their bytes. Only a Loaded result fills out, and fills
// all of it; otherwise out is untouched and, for Malformed, *why (when given) says what was
// wrong, a damaged bag in PropertyBag::setContents's words. Never throws and never allocates
// more than a small multiple of the record's size. Called by OpenFile and the tool.
ReadResult readObjectFile(const filerecord::Decoded& record, ObjectFileValues& out, QString* why = nullptr);

// The same for the whole bytes of a file.
inline ReadResult readObjectFile(const QByteArray& fileBytes, ObjectFileValues& out, QString* why = nullptr)
{
    return readObjectFile(filerecord::decode(fileBytes), out, why);
}

// The whole object file for the state's object: "Points", "Dimension", "Grid", "Depth" and
// one "Point<i>" text "X,Y" per point, in that order, as described in docs/file-format.md.
// Precondition: pPoints holds at least PointCount points (a count outside 0 to
// pPoints.size() is clamped into it). Called by SaveFile.
QByteArray writeObjectFile(const WorkspaceState& state);
