// The views' drawing surfaces: primitives kept since Cls, rasterised in batches, line
// objects above.
#include "platform/ViewSurface.h"

#include "platform/Twips.h"

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

ViewSurface::ViewSurface(TwipRect place, ColorRef back, bool framed)
    : place_(place), scaleWidth_(framed ? place.width - 60 : place.width),
      scaleHeight_(framed ? place.height - 60 : place.height), framed_(framed), back_(back),
      image_(widgetPixels(scaleWidth_, PixelRounding::Covering), widgetPixels(scaleHeight_, PixelRounding::Covering),
             QImage::Format_RGB32)
{
    image_.fill(toQColor(back_));
}

QPoint ViewSurface::drawingOrigin() const
{
    return QPoint(widgetPixels(place_.left, PixelRounding::Nearest) + frameWidth(),
                  widgetPixels(place_.top, PixelRounding::Nearest) + frameWidth());
}

void ViewSurface::Cls()
{
    primitives_.clear();
    drawn_ = 0;
    image_.fill(toQColor(back_));
    notify();
}

void ViewSurface::Line(float x1, float y1, float x2, float y2, ColorRef color)
{
    record({Primitive::Kind::Line, x1, y1, x2, y2, 0.0f, color, drawWidth_});
}

void ViewSurface::Circle(float x, float y, float radius, ColorRef color)
{
    record({Primitive::Kind::Circle, x, y, x, y, radius, color, drawWidth_});
}

// One notification per batch: the first primitive since the picture was last brought up to
// date tells of it; the ones after it are drawn with it.
void ViewSurface::record(const Primitive& primitive)
{
    primitives_.push_back(primitive);
    if (primitives_.size() == drawn_ + 1)
        notify();
}

void ViewSurface::setBackColor(ColorRef color)
{
    back_ = color;
    Cls();
}

void ViewSurface::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    notify();
}

LineObject* ViewSurface::addLineObject()
{
    return &lineObjects_.emplace_back([this] { notify(); });
}

const QImage& ViewSurface::picture()
{
    ViewSurface* self = this;
    drawTogether({&self, 1});
    return image_;
}

void ViewSurface::drawTogether(std::span<ViewSurface* const> surfaces)
{
    std::vector<RasterJob> jobs;
    jobs.reserve(surfaces.size());
    for (ViewSurface* s : surfaces)
        if (s->drawn_ < s->primitives_.size())
            jobs.push_back({&s->image_, std::span(s->primitives_).subspan(s->drawn_)});
    if (jobs.empty())
        return;
    rasterizeEach(jobs);
    for (ViewSurface* s : surfaces)
        s->drawn_ = s->primitives_.size();
}

QImage ViewSurface::renderedView()
{
    QImage view = picture().copy();
    QPainter painter(&view);
    paintLineObjects(painter);
    return view;
}

void ViewSurface::paintLineObjects(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LineObject& line : lineObjects_) {
        if (!line.Visible())
            continue;
        painter.setPen(QPen(toQColor(line.BorderColor()), 0));
        painter.drawLine(QLineF(toPixel(line.X1()), toPixel(line.Y1()), toPixel(line.X2()), toPixel(line.Y2())));
    }
}
