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

// Reads an object file's record (filerecord::readFile, or decode of its bytes). Only a
// Loaded result fills out, and fills all of it; otherwise out is untouched and, for
// Malformed, *why (when given) says what was wrong. Never throws and never allocates more
// than a small multiple of the record's size. Called by OpenFile. Files in the layout
// writeObjectFile writes go through readWrittenObjectLayout, all others through
// readObjectFileInGeneral; both give the same answer on every file.
ReadResult readObjectFile(const filerecord::Decoded& record, ObjectFileValues& out, QString* why = nullptr);

// The general reader, the authority on every file: the record's bag read whole, then each
// value looked up by name and checked. Same contract as readObjectFile.
ReadResult readObjectFileInGeneral(const filerecord::Decoded& record, ObjectFileValues& out, QString* why = nullptr);

// The fast path over the bag bytes of a record: the exact layout writeObjectFile writes
// (values in its order, each of the kind it writes, points as canonical "X,Y"), read
// without a QString or an allocation per value. True with out filled as the general reader
// would fill it; false, out untouched, for anything else, which the general reader decides.
bool readWrittenObjectLayout(QByteArrayView bagBytes, ObjectFileValues& out);
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
