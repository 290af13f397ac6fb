// The window's picture boxes: panels and the views of the session, with their frames and
// the mouse notifications of the drawing area.
#include "window/PictureBox.h"

#include "platform/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>
#include <cmath>

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

PictureBox::PictureBox(QWidget* parent, TwipRect place, ColorRef back)
    : QFrame(parent), place_(place), back_(back),
      area_(widgetPixels(place.width, PixelRounding::Covering), widgetPixels(place.height, PixelRounding::Covering))
{
    this->place();
}

PictureBox::PictureBox(QWidget* parent, ViewSurface& view, std::function<void()> drawWaiting)
    : QFrame(parent), place_{view.Left(), view.Top(), view.Width(), view.Height()}, back_(view.BackColor()),
      view_(&view), drawWaiting_(std::move(drawWaiting)), area_(view.picture().size())
{
    view.changed = [this] { showChange(); };
    this->place();
}

void PictureBox::place()
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(widgetPixels(place_.left, PixelRounding::Nearest), widgetPixels(place_.top, PixelRounding::Nearest),
                area_.width() + 2 * border(), area_.height() + 2 * border());
}

void PictureBox::showChange()
{
    if (view_->MousePointer() == 3)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
    update();
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picturePixmap_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int b = border();
    if (!view_) {
        painter.fillRect(rect(), toQColor(back_));
        if (!picturePixmap_.isNull())
            painter.drawPixmap(0, 0, picturePixmap_);
        return;
    }
    drawWaiting_();
    painter.drawImage(b, b, view_->picture());
    painter.save();
    painter.translate(b, b);
    painter.setClipRect(0, 0, area_.width(), area_.height());
    view_->paintLineObjects(painter);
    painter.restore();
    // A sunken two-pixel frame, as the views have always looked: grey and dark grey above
    // and left, white and light grey below and right.
    QPalette frame;
    frame.setColor(QPalette::Dark, QColor(128, 128, 128));
    frame.setColor(QPalette::Shadow, QColor(64, 64, 64));
    frame.setColor(QPalette::Light, QColor(255, 255, 255));
    frame.setColor(QPalette::Midlight, QColor(212, 208, 200));
    if (b > 0)
        qDrawWinPanel(&painter, rect(), frame, true);
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
    return pixel.x() >= b && pixel.y() >= b && pixel.x() < b + area_.width() && pixel.y() < b + area_.height();
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
