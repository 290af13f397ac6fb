// Rasterisation of a surface's primitives into its picture.
#include "platform/Primitive.h"

#include <QPainter>
#include <cmath>

namespace {
double toPixel(float twips) { return std::floor(double(twips) / TwipsPerPixel); }
} // namespace

void rasterize(QImage& image, std::span<const Primitive> primitives)
{
    rasterizeWithPainter(image, primitives);
}

void rasterizeWithPainter(QImage& image, std::span<const Primitive> primitives)
{
    if (primitives.empty())
        return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& p : primitives) {
        QPen pen(toQColor(p.color));
        pen.setWidth(p.penWidth);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (p.kind == Primitive::Kind::Line) {
            painter.drawLine(QLineF(toPixel(p.x1), toPixel(p.y1), toPixel(p.x2), toPixel(p.y2)));
        } else {
            const QPointF centre(toPixel(p.x1), toPixel(p.y1));
            const double radius = double(p.r) / TwipsPerPixel;
            if (radius < 0.5)
                painter.drawPoint(centre);
            else
                painter.drawEllipse(centre, radius, radius);
        }
    }
}
