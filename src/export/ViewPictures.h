// The session's four views as one picture, laid out as in the window: as pixels (the views'
// own rasterised pictures) and as an SVG drawing of the same primitives.
#pragma once

#include "app/Session.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

// Which part of the drawing area an export shows: all four views, or one alone.
enum class ViewChoice { All, Front, Side, Top, View3D };

// One view of the window: its surface, the grid lines above it, its name, its short name
// (the tool's --view word), and where its drawing area lies in the export's picture.
struct PlacedView {
    ViewSurface* box;
    std::vector<LineObject*> gridLines;
    QString name;
    QString word;
    QPoint origin;
};

// The views an export shows, in the window's order (front, side, top, 3D), with the size of
// the picture they lie in: the container's drawing area for all four, a view's alone for one.
std::vector<PlacedView> placedViews(Session& w, ViewChoice choice, QSize* size);

// The picture the window shows: each view as the user sees it (renderedView(): its drawing
// with the visible grid lines above), on the container's background where views are apart.
QImage viewsImage(Session& w, ViewChoice choice);

// The same as an SVG drawing, one group per view named after it, each view's primitives in
// drawing order and its visible grid lines above, written to fall on the pixels the
// rasteriser fills (crisp edges, so that renderers do not smooth them).
QByteArray viewsSvg(Session& w, ViewChoice choice, const QString& title);

// The picture scaled smoothly (bilinear filtering) so that its larger side is `side` pixels
// and the other keeps its proportion, rounded to the nearest pixel and at least one. For
// thumbnails: the views are drawn at their own size, then scaled.
QImage scaledToLargerSide(const QImage& picture, int side);

// The image's colours as PNG file bytes (8-bit red, green and blue; alpha is not kept: the
// views are opaque). Empty, with *why (when given) set to the reason, when the image is null
// or cannot be compressed (a PNG file is never empty). Called by brondelwick-tool export.
QByteArray pngBytes(const QImage& image, QString* why = nullptr);
