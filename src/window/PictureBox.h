// A picture box of the main window: a panel at fixed twips with a background colour, which
// may show one of the session's views, and the mouse notifications of a view.
#pragma once

#include "platform/ViewSurface.h"

#include <QFrame>
#include <QPixmap>
#include <functional>

// Shows a ViewSurface (its picture, line objects and frame), or, as a plain panel, its own
// background and an optional picture. The frame belongs to the panel behind: only the
// drawing area raises mouse notifications, and once a button has gone down there, moves and
// its release are reported wherever the pointer is.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    // Mouse handlers get the button (1 left, 2 right, 4 middle) or, for moves, the button
    // state; the shift state (1 shift, 2 ctrl, 4 alt); and the position in twips.
    using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

    // A plain panel.
    PictureBox(QWidget* parent, TwipRect place, ColorRef back);
    // A view. drawWaiting brings every view's picture up to date before one is painted, so
    // that they are drawn together; the view must outlive the box.
    PictureBox(QWidget* parent, ViewSurface& view, std::function<void()> drawWaiting);

    // The view the box shows; null for a plain panel.
    ViewSurface* view() const { return view_; }
    float Left() const { return place_.left; }
    float Top() const { return place_.top; }
    float Width() const { return place_.width; }
    float Height() const { return place_.height; }
    ColorRef BackColor() const { return view_ ? view_->BackColor() : back_; }
    void setPicture(const QPixmap& picture);

    // The one mapping between twips of the drawing area and pixels of the widget (frame
    // included), both ways, and to the screen for a pop-up at a position.
    QPointF toTwips(const QPointF& pixel) const;
    QPointF toWidgetPixels(float x, float y) const;
    QPoint twipsToGlobal(float x, float y) const;

    MouseHandler MouseDown, MouseMove, MouseUp;
    std::function<void()> Click;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void place();
    void showChange();
    bool inDrawingArea(const QPointF& pixel) const;
    int border() const { return view_ ? view_->frameWidth() : 0; }

    TwipRect place_;
    ColorRef back_ = 0;
    ViewSurface* view_ = nullptr;
    std::function<void()> drawWaiting_;
    QSize area_;
    QPixmap picturePixmap_;
    Qt::MouseButtons heldInside_;               // pressed over the drawing area, not yet released
    Qt::MouseButton clickButton_ = Qt::NoButton; // the first of them: its release there clicks
};
