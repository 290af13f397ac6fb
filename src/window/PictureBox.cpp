// The Qt drawing surface: primitives kept since Cls, rasterised in batches, line objects above.
#include "platform/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>
#include <cmath>

void LineObject::setEnds(float x1, float y1, float x2, float y2)
{
    x1_ = x1; y1_ = y1; x2_ = x2; y2_ = y2;
    changed_();
}

void LineObject::setBorderColor(ColorRef color)
{
    color_ = color;
    changed_();
}

void LineObject::setVisible(bool visible)
{
    visible_ = visible;
    changed_();
}

namespace {
int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonState(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0);
}
} // namespace

PictureBox::PictureBox(QWidget* parent, float left, float top, float width, float height, ColorRef back, bool framed)
    : QFrame(parent), left_(left), top_(top), width_(width), height_(height),
      scaleWidth_(framed ? width - 60 : width), scaleHeight_(framed ? height - 60 : height),
      framed_(framed), back_(back),
      image_(widgetPixels(scaleWidth_, PixelRounding::Covering), widgetPixels(scaleHeight_, PixelRounding::Covering), QImage::Format_RGB32)
{
    image_.fill(toQColor(back_));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(widgetPixels(left, PixelRounding::Nearest), widgetPixels(top, PixelRounding::Nearest), image_.width() + 2 * border(), image_.height() + 2 * border());
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picturePixmap_ = picture;
    update();
}

void PictureBox::Cls()
{
    primitives_.clear();
    rasterized_ = 0;
    image_.fill(toQColor(back_));
    update();
}

void PictureBox::Line(float x1, float y1, float x2, float y2, ColorRef color)
{
    primitives_.push_back({Primitive::Kind::Line, x1, y1, x2, y2, 0.0f, color, drawWidth_});
    requestRepaint();
}

void PictureBox::Circle(float x, float y, float radius, ColorRef color)
{
    primitives_.push_back({Primitive::Kind::Circle, x, y, x, y, radius, color, drawWidth_});
    requestRepaint();
}

// One repaint request per batch: the first primitive since the picture was last brought up
// to date asks for it; the ones after it are rasterised with it.
void PictureBox::requestRepaint()
{
    if (primitives_.size() == rasterized_ + 1)
        update();
}

void PictureBox::setBackColor(ColorRef color)
{
    back_ = color;
    Cls();
}

void PictureBox::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    if (pointer == 3)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
}

LineObject* PictureBox::addLineObject()
{
    return &lineObjects_.emplace_back([this] { update(); });
}

const QImage& PictureBox::picture()
{
    if (rasterized_ < primitives_.size())
        drawWaitingPictures();
    return image_;
}

// The views of a window are painted in one pass: when one of them needs its picture, the
// others with primitives waiting are drawn with it, so that they share the machine's cores.
void PictureBox::drawWaitingPictures()
{
    std::vector<PictureBox*> waiting{this};
    for (PictureBox* box : window()->findChildren<PictureBox*>())
        if (box != this && box->rasterized_ < box->primitives_.size())
            waiting.push_back(box);
    std::vector<RasterJob> jobs;
    jobs.reserve(waiting.size());
    for (PictureBox* box : waiting)
        jobs.push_back({&box->image_, std::span(box->primitives_).subspan(box->rasterized_)});
    rasterizeEach(jobs);
    for (PictureBox* box : waiting)
        box->rasterized_ = box->primitives_.size();
}

QImage PictureBox::renderedView()
{
    QImage view = picture().copy();
    QPainter painter(&view);
    drawLineObjects(painter);
    return view;
}

void PictureBox::drawLineObjects(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LineObject& line : lineObjects_) {
        if (!line.Visible())
            continue;
        painter.setPen(QPen(toQColor(line.BorderColor()), 0));
        painter.drawLine(QLineF(toPixel(line.X1()), toPixel(line.Y1()), toPixel(line.X2()), toPixel(line.Y2())));
    }
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int b = border();
    painter.drawImage(b, b, picture());
    if (!picturePixmap_.isNull())
        painter.drawPixmap(b, b, picturePixmap_);
    painter.save();
    painter.translate(b, b);
    painter.setClipRect(0, 0, image_.width(), image_.height());
    drawLineObjects(painter);
    painter.restore();
    if (framed_) {
        // A sunken two-pixel frame, as the views have always looked: grey and dark grey above
        // and left, white and light grey below and right.
        QPalette frame;
        frame.setColor(QPalette::Dark, QColor(128, 128, 128));
        frame.setColor(QPalette::Shadow, QColor(64, 64, 64));
        frame.setColor(QPalette::Light, QColor(255, 255, 255));
        frame.setColor(QPalette::Midlight, QColor(212, 208, 200));
        qDrawWinPanel(&painter, rect(), frame, true);
    }
}

QPointF PictureBox::toTwips(const QPointF& pixel) const
{
    return (pixel - QPointF(border(), border())) * double(TwipsPerPixel);
}

QPointF PictureBox::toWidgetPixels(float x, float y) const
{
    return QPointF(double(x), double(y)) / double(TwipsPerPixel) + QPointF(border(), border());
}

QPoint PictureBox::twipsToGlobal(float x, float y) const
{
    const QPointF p = toWidgetPixels(x, y);
    return mapToGlobal(QPoint(int(std::floor(p.x())), int(std::floor(p.y()))));
}

bool PictureBox::inDrawingArea(const QPointF& pixel) const
{
    const double b = border();
    return pixel.x() >= b && pixel.y() >= b && pixel.x() < b + image_.width() && pixel.y() < b + image_.height();
}

// The frame is the surface's border, not part of it: an event there that no press inside
// started is ignored, so that it goes on to the panel behind the surface.
void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (!inDrawingArea(event->position())) {
        event->ignore();
        return;
    }
    heldInside_ |= event->button();
    if (clickButton_ == Qt::NoButton)
        clickButton_ = event->button();
    const QPointF p = toTwips(event->position());
    if (MouseDown)
        MouseDown(buttonCode(event->button()), shiftState(event->modifiers()), float(p.x()), float(p.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    if (heldInside_ == Qt::NoButton && !inDrawingArea(event->position())) {
        event->ignore();
        return;
    }
    const QPointF p = toTwips(event->position());
    if (MouseMove)
        MouseMove(buttonState(event->buttons()), shiftState(event->modifiers()), float(p.x()), float(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (!(heldInside_ & event->button())) {
        event->ignore();
        return;
    }
    heldInside_ &= ~event->button();
    const bool clicked = event->button() == clickButton_ && inDrawingArea(event->position())
        && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton);
    if (event->button() == clickButton_)
        clickButton_ = Qt::NoButton;
    const QPointF p = toTwips(event->position());
    if (MouseUp)
        MouseUp(buttonCode(event->button()), shiftState(event->modifiers()), float(p.x()), float(p.y()));
    if (clicked && Click)
        Click();
}
