// The drawing surface the views draw into, in twips (15 to a pixel), and the line objects
// (grid lines) that lie above a surface's picture.
#pragma once

#include "platform/Color.h"

#include <functional>

class Surface;

// A one-pixel solid line drawn above its surface's picture. Neither Cls nor a change of the
// surface's background touches it. Owned by its surface; every change repaints the surface.
class LineObject {
public:
    explicit LineObject(std::function<void()> changed) : changed_(std::move(changed)) {}

    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    ColorRef BorderColor() const { return color_; }
    bool Visible() const { return visible_; }

    void setEnds(float x1, float y1, float x2, float y2);
    void setBorderColor(ColorRef color);
    void setVisible(bool visible);

private:
    std::function<void()> changed_;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    ColorRef color_ = 0;
    bool visible_ = false;
};

// What the drawing logic relies on from a view. Coordinates are twips from the inner top
// left corner, X to the right, Y downwards; drawing outside the inner area is clipped.
class Surface {
public:
    virtual ~Surface() = default;

    // Erases everything drawn to the background colour; line objects stay.
    virtual void Cls() = 0;
    // A solid segment of the surface's pen width.
    virtual void Line(float x1, float y1, float x2, float y2, ColorRef color) = 0;
    // A full circle outline; a radius of 0 marks the single point at the centre.
    virtual void Circle(float x, float y, float radius, ColorRef color) = 0;

    virtual ColorRef BackColor() const = 0;
    // Setting the background clears the surface to that colour.
    virtual void setBackColor(ColorRef color) = 0;

    // Inner drawing size, in twips.
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    // Outer size and place within the parent, in the parent's twips.
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual float Left() const = 0;
    virtual float Top() const = 0;

    // Pen width in pixels, 1 unless changed.
    virtual int DrawWidth() const = 0;
    virtual void setDrawWidth(int pixels) = 0;

    // 0 the default pointer, 3 the I-beam.
    virtual int MousePointer() const = 0;
    virtual void setMousePointer(int pointer) = 0;
};
