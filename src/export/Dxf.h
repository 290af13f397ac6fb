// The object as a DXF drawing (release 12, ASCII) for CAD programs: its outline, and on
// request the rest of its prism, in millimetres with X to the right and Y up.
#pragma once

#include "files/ObjectFile.h"

#include <QByteArray>
#include <QString>
#include <variant>

// The layer name a CAD program of release 12 accepts for a name: letters (upper case),
// digits, "$", "-" and "_", at most 31 characters; "OBJECT" when nothing is left. The layers
// CAD programs keep for themselves ("0", and "DEFPOINTS", which is never plotted) get
// "_OBJECT" after them.
QString dxfLayerName(const QString& name);

// The drawing: one closed polyline through the object's points in their order, on the
// layer named after name; with prism, also the back face's edges at Z = minus the depth and
// the lateral edges, as 3D lines. Refused, with the reason as a full sentence, for an object
// without points, and with prism for what prismDepth refuses. Called by the tool's export.
std::variant<QByteArray, QString> dxfDrawing(const ObjectFileValues& object, const QString& name, bool prism);
