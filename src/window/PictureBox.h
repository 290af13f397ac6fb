// The Qt drawing surface: a persistent picture of the primitives drawn since the last Cls,
// with line objects drawn above it, and the mouse notifications of a view.
#pragma once

#include "platform/Primitive.h"
#include "platform/Surface.h"

#include <QFrame>
#include <QPixmap>
#include <deque>
#include <functional>
#include <vector>

// A surface placed at fixed twip geometry inside its parent. It keeps its primitives since
// the last Cls and turns the ones not yet drawn into pixels in one batch when the picture is
// needed (painting or inspection), so drawing calls themselves are cheap; the surfaces of
// one window are brought up to date together, sharing the machine's cores. Views have a
// two-pixel frame: the inner (scale) size is the outer size less 60 twips. The frame belongs
// to the panel behind: only the drawing area raises mouse notifications, and once a button
// has gone down there, moves and its release are reported wherever the pointer is.
class PictureBox : public QFrame, public Surface {
    Q_OBJECT
public:
    // Mouse handlers get the button (1 left, 2 right, 4 middle) or, for moves, the button
    // state; the shift state (1 shift, 2 ctrl, 4 alt); and the position in twips.
    using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

    PictureBox(QWidget* parent, float left, float top, float width, float height, ColorRef back, bool framed);

    void Cls() override;
    void Line(float x1, float y1, float x2, float y2, ColorRef color) override;
    void Circle(float x, float y, float radius, ColorRef color) override;
    ColorRef BackColor() const override { return back_; }
    void setBackColor(ColorRef color) override;
    float ScaleWidth() const override { return scaleWidth_; }
    float ScaleHeight() const override { return scaleHeight_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }
    float Left() const override { return left_; }
    float Top() const override { return top_; }
    int DrawWidth() const override { return drawWidth_; }
    void setDrawWidth(int pixels) override { drawWidth_ = pixels; }
    int MousePointer() const override { return mousePointer_; }
    void setMousePointer(int pointer) override;

    // The one mapping between twips of the drawing area and pixels of the widget (frame
    // included), both ways, and to the screen for a pop-up at a position.
    QPointF toTwips(const QPointF& pixel) const;
    QPointF toWidgetPixels(float x, float y) const;
    QPoint twipsToGlobal(float x, float y) const;

    void setPicture(const QPixmap& picture);

    // Creates a line object above this surface; the surface owns it.
    LineObject* addLineObject();

    // The primitives drawn since the last Cls, in drawing order (for inspection).
    const std::vector<Primitive>& primitives() const { return primitives_; }
    // The inner picture with every primitive rasterised, without line objects. Brings the
    // window's other surfaces up to date too.
    const QImage& picture();
    // The inner picture as the user sees it: the drawing with the visible line objects above.
    QImage renderedView();

    MouseHandler MouseDown, MouseMove, MouseUp;
    std::function<void()> Click;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool inDrawingArea(const QPointF& pixel) const;
    void drawWaitingPictures();
    void requestRepaint();
    void drawLineObjects(QPainter& painter) const;
    int border() const { return framed_ ? 2 : 0; }

    float left_, top_, width_, height_, scaleWidth_, scaleHeight_;
    bool framed_;
    ColorRef back_;
    int drawWidth_ = 1;
    int mousePointer_ = 0;
    QImage image_;
    std::vector<Primitive> primitives_;
    std::size_t rasterized_ = 0;
    std::deque<LineObject> lineObjects_;
    QPixmap picturePixmap_;
    Qt::MouseButtons heldInside_;               // pressed over the drawing area, not yet released
    Qt::MouseButton clickButton_ = Qt::NoButton; // the first of them: its release there clicks
};
