// Reading a DXF drawing's outlines (through dxflib) for the tool's import.
#pragma once

#include "export/Outline.h"

#include <QByteArray>

// The drawing's entities as candidates, in twips with Y down (DXF's Y up turned over, as the
// DXF export writes it), scaled from $INSUNITS (millimetres when absent or unitless).
// POLYLINE and LWPOLYLINE (with bulges), CIRCLE, full ELLIPSE and closed SPLINE are closed
// outlines when flagged so; LINE, ARC and the others are open; INSERT, HATCH, TEXT, MTEXT,
// IMAGE and SOLID are listed and not taken. Curves are flattened within tolerance twips.
// Refused with the line when the bytes are not group-code/value pairs ending in EOF.
DrawingOutlines readDxfOutlines(const QByteArray& bytes, double tolerance);
