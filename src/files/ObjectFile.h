// The object file: which values it holds, under which names and types, and the strict
// reader that checks every one of them before anything is used. No widgets here.
#pragma once

#include "app/WorkspaceState.h"
#include "files/BagFile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

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

// Reads a whole object file. Only a Loaded result fills out, and fills all of it; otherwise
// out is untouched and, for Malformed, *why (when given) says what was wrong. Never throws
// and never allocates more than a small multiple of fileBytes' size. Called by OpenFile.
ReadResult readObjectFile(const QByteArray& fileBytes, ObjectFileValues& out, QString* why = nullptr);

// The whole object file for the state's object: "Points", "Dimension", "Grid", "Depth" and
// one "Point<i>" text "X,Y" per point, in that order, as described in docs/file-format.md.
// Precondition: pPoints holds at least PointCount points (a count outside 0 to
// pPoints.size() is clamped into it). Called by SaveFile.
QByteArray writeObjectFile(const WorkspaceState& state);
