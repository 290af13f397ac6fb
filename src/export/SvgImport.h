// Reading an SVG drawing's outlines for the tool's import: Qt's XML reader for the elements,
// the program's own reader for path data, points and transforms.
#pragma once

#include "export/Outline.h"

#include <QByteArray>

// The drawing's shapes as candidates in twips (15 to a CSS pixel, X right, Y down), after
// every transform of the element and its groups and the root's viewBox, width and height
// (mm, cm, in, pt, pc, px). path gives one candidate per subpath (closed when it ends with
// Z); rect (rounded too), circle, ellipse and polygon are closed; polyline and line are
// open; text, image and use are listed and not taken; what defs, symbol, clipPath, mask,
// marker and pattern hold is not drawn and not listed. An element without an id is named
// by its kind and number among its kind ("path#3"). Refused with the line and the
// reader's reason for text that is not XML, one that flattens into more than PointBudget,, a root that is not svg, and path data or
// numbers that cannot be read.
DrawingOutlines readSvgOutlines(const QByteArray& bytes, double tolerance);

// The subpaths of SVG path data in user units, mapped and flattened through the builder's
// settings; false with *why set at the first character that cannot be read. Each subpath:
// its points and whether it was closed with Z.
bool readPathData(QStringView data, double tolerance, const std::function<QPointF(QPointF)>& map,
                  std::vector<std::pair<std::vector<QPointF>, bool>>& subpaths, QString* why, PointBudget* budget = nullptr);
