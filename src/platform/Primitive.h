// A drawing primitive as a surface keeps it between clearings, and its rasterisation.
#pragma once

#include "platform/Color.h"
#include "platform/Twips.h"

#include <QImage>
#include <span>

// A line from (x1, y1) to (x2, y2) or a circle of centre (x1, y1) and radius r, in twips,
// with the colour and pen width (pixels) in force when it was drawn.
struct Primitive {
    enum class Kind : std::uint8_t { Line, Circle } kind;
    float x1, y1, x2, y2, r;
    ColorRef color;
    int penWidth;
};

// Turns primitives into pixels of the image, in order (later ones lie over earlier ones);
// twips map to the pixel containing them. Called by a surface when it paints.
void rasterize(QImage& image, std::span<const Primitive> primitives);

// A picture and the primitives still to be drawn into it.
struct RasterJob {
    QImage* image;
    std::span<const Primitive> primitives;
};

// Rasterises each job, as rasterize does, the jobs shared among the machine's cores when
// they are many primitives together: the most work first, each on one thread, so every
// picture gets exactly the pixels one thread gives it. Returns when all are drawn.
// Precondition: no two jobs share an image. Called by the surfaces of a window, which bring
// their pictures up to date together.
void rasterizeEach(std::span<const RasterJob> jobs);

// The straightforward rendering with one painter call per primitive; the reference that
// the fast rasteriser is measured and compared against.
void rasterizeWithPainter(QImage& image, std::span<const Primitive> primitives);
