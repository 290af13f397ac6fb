// A drawing surface without a widget: its place in twips, the primitives drawn since the last
// Cls and their picture, brought up to date in batches, and the line objects above it.
#pragma once

#include "platform/Primitive.h"
#include "platform/Surface.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

// Where a surface lies in its parent, in twips; a framed surface has a two-pixel frame
// inside that rectangle, so that its inner (scale) size is the outer size less 60 twips.
struct TwipRect {
    float left, top, width, height;
};

// Implements Surface for the session's views; a window shows one through its widget, and
// the tool reads its picture. Drawing calls only record their primitive; the picture is
// brought up to date when it is needed, by picture() for one surface, or by drawTogether for
// all the surfaces of one owner at once. Every change of what the surface shows calls
// `changed` (when set), so that a widget showing it can repaint; the first primitive after
// the picture was brought up to date calls it once for the whole batch.
// Invariant: the image has the inner size in pixels (covering), and the primitives up to
// drawn_ are in it.
class ViewSurface : public Surface {
public:
    ViewSurface(TwipRect place, ColorRef back, bool framed);
    ViewSurface(const ViewSurface&) = delete;
    ViewSurface& operator=(const ViewSurface&) = delete;

    void Cls() override;
    void Line(float x1, float y1, float x2, float y2, ColorRef color) override;
    void Circle(float x, float y, float radius, ColorRef color) override;
    ColorRef BackColor() const override { return back_; }
    void setBackColor(ColorRef color) override;
    float ScaleWidth() const override { return scaleWidth_; }
    float ScaleHeight() const override { return scaleHeight_; }
    float Width() const override { return place_.width; }
    float Height() const override { return place_.height; }
    float Left() const override { return place_.left; }
    float Top() const override { return place_.top; }
    int DrawWidth() const override { return drawWidth_; }
    void setDrawWidth(int pixels) override { drawWidth_ = pixels; }
    int MousePointer() const override { return mousePointer_; }
    void setMousePointer(int pointer) override;

    // The frame's width in pixels: 2 when framed, else 0.
    int frameWidth() const { return framed_ ? 2 : 0; }
    // Where the inner drawing area's top left pixel lies in the parent's pixels.
    QPoint drawingOrigin() const;

    // Creates a line object above this surface; the surface owns it.
    LineObject* addLineObject();
    const std::deque<LineObject>& lineObjects() const { return lineObjects_; }

    // The primitives drawn since the last Cls, in drawing order.
    const std::vector<Primitive>& primitives() const { return primitives_; }
    // The inner picture with every primitive rasterised, without line objects.
    const QImage& picture();
    // The inner picture as the user sees it: the drawing with the visible line objects above.
    QImage renderedView();
    // Draws the visible line objects with a painter set to the drawing area's pixels.
    void paintLineObjects(QPainter& painter) const;

    // Called with every change of what the surface shows.
    std::function<void()> changed;

    // Brings the pictures of all these surfaces up to date at once, sharing the machine's
    // cores among them (see rasterizeEach). No surface may appear twice.
    static void drawTogether(std::span<ViewSurface* const> surfaces);

private:
    void notify() const
    {
        if (changed)
            changed();
    }
    void record(const Primitive& primitive);

    TwipRect place_;
    float scaleWidth_, scaleHeight_;
    bool framed_;
    ColorRef back_;
    int drawWidth_ = 1;
    int mousePointer_ = 0;
    QImage image_;
    std::vector<Primitive> primitives_;
    std::size_t drawn_ = 0;
    std::deque<LineObject> lineObjects_;
};
