// An outline of an SVG or DXF drawing shown as an object in the tool's session: the steps
// brondelwick-tool import takes between reading a drawing and saving the object.
#pragma once

#include "export/HeadlessSession.h"
#include "export/Outline.h"

// The drawing's candidates, read as format ("svg" or "dxf") says.
DrawingOutlines readDrawing(const QByteArray& bytes, const QString& format, double tolerance);

// Shows the outline's points as File > Open Object shows an object's, flat, under name:
// with fit scaled and placed to fill the front view less a margin of a twentieth of its
// size on each side. Refused as outlinePoints refuses and as the drawing refuses the object.
std::optional<Failure> showOutline(HeadlessSession& session, const std::vector<QPointF>& points, bool fit, const QString& name);
