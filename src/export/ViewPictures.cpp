// Composing the views into one picture, and writing their primitives as SVG elements that
// cover the pixels the rasteriser fills.
#include "export/ViewPictures.h"

#include "platform/Crc32.h"
#include "platform/PixelGeometry.h"

#include <QPainter>
#include <QtEndian>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr unsigned char PngFilterNone = 0;
constexpr unsigned char PngFilterUp = 2;

// A PNG chunk: its length, type, data and the CRC of type and data.
void appendPngChunk(QByteArray& png, const char (&type)[5], const QByteArray& data)
{
    char number[4];
    qToBigEndian<quint32>(quint32(data.size()), number);
    png.append(number, 4);
    const qsizetype typeAt = png.size();
    png.append(type, 4);
    png.append(data);
    qToBigEndian<quint32>(crc32(png.constData() + typeAt, png.size() - typeAt), number);
    png.append(number, 4);
}

QString colour(ColorRef c) { return QStringLiteral("#%1").arg(QColor(toQColor(c)).name().mid(1)); }

QString number(double v) { return QString::number(v, 'g', 17); }

// How far right and down a wide line along an axis with a pen of odd width is written. Its
// edges then run through pixel centres, and a centre on an edge is inside the line on its
// right and bottom edges only (PixelShape); renderers take the left and top edges instead.
// Moved by the smallest step they keep (their coordinates are fixed point in 1/256 pixel),
// each such centre lies on the rasteriser's side, and no other centre changes side. Slanted
// edges are left in place: there a shift would carry the centres lying closest across.
constexpr double EdgeShift = 1.0 / 256;

std::vector<LineObject*> linesOf(std::initializer_list<const GridLines::Array*> arrays)
{
    std::vector<LineObject*> lines;
    for (const GridLines::Array* array : arrays)
        for (std::size_t i = 1; i < array->size(); ++i)
            lines.push_back((*array)[i]);
    return lines;
}

// Where a view's drawing area lies in its container: the widget's place and its frame.

// The paths of the drawing's one-pixel circles, by radius: each the closed path through the
// centres of the pixels the rasteriser gives a circle of that radius, from its first pixel as
// an offset from the centre. Shared by the views of one drawing, so that a path written once
// serves all of them. A path's id is empty until its definition is written. The program's
// marks reach 32767 twips at most: a path of up to about 12,400 pixels.
class CirclePaths {
public:
    // A circle of at least this many pixels is written once, as a definition, and drawn by a
    // reference to it (a <use> where it lies): its path is then longer than a reference.
    static constexpr std::size_t SharedFrom = 24;

    struct Path {
        QPoint start;
        QString steps;
        std::size_t pixels = 0;
        QString id; // the definition's, once written
    };

    Path& of(double radius)
    {
        auto found = paths_.find(radius);
        if (found != paths_.end())
            return found->second;
        const MidpointCircle circle(radius);
        std::vector<QPoint> pixels;
        for (double k = -circle.limit(); k <= circle.limit(); ++k) {
            const int d = int(circle.h(k)), i = int(k);
            pixels.insert(pixels.end(), {QPoint(i, -d), QPoint(i, d), QPoint(-d, i), QPoint(d, i)});
        }
        const auto angle = [](const QPoint& p) { return std::atan2(double(p.x()), -double(p.y())); };
        std::sort(pixels.begin(), pixels.end(), [&](const QPoint& a, const QPoint& b) { return angle(a) < angle(b); });
        pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
        Path path{pixels.front(), QString(), pixels.size(), QString()};
        for (std::size_t i = 1; i < pixels.size(); ++i)
            path.steps += QStringLiteral("l%1 %2").arg(pixels[i].x() - pixels[i - 1].x()).arg(pixels[i].y() - pixels[i - 1].y());
        return paths_.emplace(radius, std::move(path)).first->second;
    }

    // A new definition's id.
    QString nextId() { return QStringLiteral("circle-%1").arg(++defined_); }

private:
    std::map<double, Path> paths_;
    int defined_ = 0;
};

// SVG elements for one view, in pixels of its drawing area (W x H).
class SvgView {
public:
    SvgView(QByteArray& out, CirclePaths& circles, int width, int height)
        : out_(out), circles_(circles), width_(width), height_(height)
    {
    }

    // Called for each primitive of the view, in order.
    void primitive(const Primitive& p)
    {
        using Kind = PixelShape::Kind;
        const PixelShape shape = pixelShape(p);
        switch (shape.kind) {
        case Kind::Nothing:
            return;
        case Kind::Dot:
            dot(shape, p.color);
            return;
        case Kind::ThinLine:
        case Kind::WideLine:
            line(shape, p.color);
            return;
        case Kind::ThinCircle:
        case Kind::Ring:
            if (!circleBeside(shape, width_, height_) && !circleAround(shape, width_, height_))
                circle(shape, p.color);
            return;
        }
    }

    // A grid line, as the surface draws its line objects: one pixel through the pixels
    // holding its ends.
    void gridLine(const LineObject& l)
    {
        primitive({Primitive::Kind::Line, l.X1(), l.Y1(), l.X2(), l.Y2(), 0.0f, l.BorderColor(), 1});
    }

private:
    // A wide pen strokes the circle around the pixel's corner. A one-pixel circle is the
    // closed path through the centres of the pixels the rasteriser gives it, so that
    // renderers colour those pixels and no others; a long one is a reference to its path.
    void circle(const PixelShape& shape, ColorRef c)
    {
        if (shape.kind == PixelShape::Kind::Ring) {
            out_ += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" stroke=\"%4\" stroke-width=\"%5\"/>\n")
                        .arg(number(shape.x1), number(shape.y1), number(shape.r), colour(c))
                        .arg(shape.w)
                        .toUtf8();
            return;
        }
        CirclePaths::Path& path = circles_.of(shape.r);
        const double x = shape.x1 + 0.5, y = shape.y1 + 0.5;
        if (path.pixels < CirclePaths::SharedFrom) {
            out_ += QStringLiteral("<path d=\"M%1 %2%3z\" stroke=\"%4\"/>\n")
                        .arg(number(x + path.start.x()), number(y + path.start.y()), path.steps, colour(c))
                        .toUtf8();
            return;
        }
        if (path.id.isEmpty()) {
            path.id = circles_.nextId();
            out_ += QStringLiteral("<defs><path id=\"%1\" d=\"M%2 %3%4z\"/></defs>\n")
                        .arg(path.id)
                        .arg(path.start.x())
                        .arg(path.start.y())
                        .arg(path.steps)
                        .toUtf8();
        }
        out_ += QStringLiteral("<use href=\"#%1\" x=\"%2\" y=\"%3\" stroke=\"%4\"/>\n")
                    .arg(path.id, number(x), number(y), colour(c))
                    .toUtf8();
    }

    // A wider line between the pixels' corners, as wide as its pen; a one-pixel line through
    // their centres, as wide across as one pixel along the minor axis, so that each step of
    // the major axis colours the one pixel nearest the line, as the rasteriser's Bresenham
    // walk does. Square ends; far ends are cut to the view grown by the pen's reach. An odd
    // pen along an axis is moved by EdgeShift.
    void line(const PixelShape& l, ColorRef c)
    {
        const bool thin = l.kind == PixelShape::Kind::ThinLine;
        const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
        const double across = thin ? std::max(std::abs(dx), std::abs(dy)) / std::hypot(dx, dy) : l.w;
        const std::optional<PixelShape> cut = cutToReach(l, width_, height_);
        if (!cut)
            return;
        const bool centresOnEdges = !thin && l.w % 2 == 1 && (dx == 0 || dy == 0);
        const double offset = thin ? 0.5 : centresOnEdges ? EdgeShift : 0.0;
        out_ += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\"/>\n")
                    .arg(number(cut->x1 + offset), number(cut->y1 + offset), number(cut->x2 + offset), number(cut->y2 + offset),
                         colour(c), number(across))
                    .toUtf8();
    }

    // A pen's square dot, left out when none of its pixels lies on the view.
    void dot(const PixelShape& d, ColorRef c)
    {
        if (!QRectF(d.x1, d.y1, d.w, d.w).intersects(QRectF(0, 0, width_, height_)))
            return;
        out_ += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%3\" fill=\"%4\" stroke=\"none\"/>\n")
                    .arg(number(d.x1), number(d.y1))
                    .arg(d.w)
                    .arg(colour(c))
                    .toUtf8();
    }

    QByteArray& out_;
    CirclePaths& circles_;
    int width_, height_;
};

// Whether XML 1.0 allows the character in a document at all (not even as a reference).
bool allowedInXml(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Text as XML character data: markup characters escaped, and each character XML forbids
// (a control character, a lone surrogate) shown as the replacement character U+FFFD.
QString escaped(const QString& text)
{
    QString allowed;
    for (char32_t c : text.toUcs4())
        allowed += QString::fromUcs4(allowedInXml(c) ? &c : U"\uFFFD", 1);
    return allowed.toHtmlEscaped();
}

} // namespace

std::vector<PlacedView> placedViews(Session& w, ViewChoice choice, QSize* size)
{
    const GridLines& g = w.grid;
    std::vector<PlacedView> all{
        {&w.picFront, linesOf({&g.Grid, &g.Gridv}), QStringLiteral("Front view"), QStringLiteral("front"), w.picFront.drawingOrigin()},
        {&w.picSide, linesOf({&g.sLine, &g.sLinev}), QStringLiteral("Side view"), QStringLiteral("side"), w.picSide.drawingOrigin()},
        {&w.picTop, linesOf({&g.tLine, &g.tLinev}), QStringLiteral("Top view"), QStringLiteral("top"), w.picTop.drawingOrigin()},
        {&w.pic3dView, {}, QStringLiteral("3D view"), QStringLiteral("3d"), w.pic3dView.drawingOrigin()},
    };
    if (choice == ViewChoice::All) {
        *size = QSize(widgetPixels(Session::ContainerPlace.width, PixelRounding::Covering),
                      widgetPixels(Session::ContainerPlace.height, PixelRounding::Covering));
        return all;
    }
    PlacedView one = all[std::size_t(int(choice) - int(ViewChoice::Front))];
    one.origin = QPoint(0, 0);
    *size = one.box->picture().size();
    return {one};
}

QImage viewsImage(Session& w, ViewChoice choice)
{
    QSize size;
    const std::vector<PlacedView> views = placedViews(w, choice, &size);
    w.drawWaitingPictures();
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(toQColor(Session::ContainerBack));
    QPainter painter(&picture);
    for (const PlacedView& view : views)
        painter.drawImage(view.origin, view.box->renderedView());
    return picture;
}

QByteArray viewsSvg(Session& w, ViewChoice choice, const QString& title)
{
    QSize size;
    const std::vector<PlacedView> views = placedViews(w, choice, &size);
    QByteArray out;
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\" "
                          "shape-rendering=\"crispEdges\">\n<title>%3</title>\n")
               .arg(size.width())
               .arg(size.height())
               .arg(escaped(title))
               .toUtf8();
    out += QStringLiteral("<rect width=\"%1\" height=\"%2\" fill=\"%3\"/>\n")
               .arg(size.width())
               .arg(size.height())
               .arg(colour(Session::ContainerBack))
               .toUtf8();
    CirclePaths circles;
    for (const PlacedView& view : views) {
        const QSize area = view.box->picture().size();
        const QString id = QStringLiteral("view-") + view.word;
        out += QStringLiteral("<clipPath id=\"%1-area\"><rect width=\"%2\" height=\"%3\"/></clipPath>\n"
                              "<g id=\"%1\" transform=\"translate(%4 %5)\" clip-path=\"url(#%1-area)\" fill=\"none\" "
                              "stroke-linecap=\"square\" stroke-linejoin=\"round\">\n<title>%6</title>\n"
                              "<rect width=\"%2\" height=\"%3\" fill=\"%7\" stroke=\"none\"/>\n")
                   .arg(id)
                   .arg(area.width())
                   .arg(area.height())
                   .arg(view.origin.x())
                   .arg(view.origin.y())
                   .arg(escaped(view.name), colour(view.box->BackColor()))
                   .toUtf8();
        SvgView svg(out, circles, area.width(), area.height());
        for (const Primitive& p : view.box->primitives())
            svg.primitive(p);
        for (const LineObject* line : view.gridLines)
            if (line->Visible())
                svg.gridLine(*line);
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

QByteArray pngBytes(const QImage& image, QString* why)
{
    if (image.isNull()) {
        if (why)
            *why = QStringLiteral("the picture is empty");
        return QByteArray();
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    const qsizetype rowBytes = 1 + 3 * qsizetype(width);
    // Every row filtered by "Up" (its difference from the row above): the views' large areas of
    // one colour become zeros, which deflate at its fastest level packs well. The first row,
    // with nothing above it, is written as it is.
    std::vector<unsigned char> rows(std::size_t(rowBytes * height));
    unsigned char* out = rows.data();
    for (int y = 0; y < height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const QRgb* above = y > 0 ? reinterpret_cast<const QRgb*>(rgb.constScanLine(y - 1)) : nullptr;
        *out++ = above ? PngFilterUp : PngFilterNone;
        for (int x = 0; x < width; ++x) {
            const QRgb up = above ? above[x] : 0;
            *out++ = static_cast<unsigned char>(qRed(row[x]) - qRed(up));
            *out++ = static_cast<unsigned char>(qGreen(row[x]) - qGreen(up));
            *out++ = static_cast<unsigned char>(qBlue(row[x]) - qBlue(up));
        }
    }
    uLongf packedSize = compressBound(uLong(rows.size()));
    QByteArray packed(qsizetype(packedSize), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, rows.data(), uLong(rows.size()), Z_BEST_SPEED) != Z_OK) {
        if (why)
            *why = QStringLiteral("the pixels cannot be compressed");
        return QByteArray();
    }
    packed.truncate(qsizetype(packedSize));

    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 2; // red, green and blue samples; no palette, no alpha
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(8 + 3 * 12 + header.size() + packed.size());
    appendPngChunk(png, "IHDR", header);
    appendPngChunk(png, "IDAT", packed);
    appendPngChunk(png, "IEND", QByteArray());
    return png;
}

QImage scaledToLargerSide(const QImage& picture, int side)
{
    if (picture.isNull() || side < 1)
        return {};
    const qint64 larger = std::max(picture.width(), picture.height()), smaller = std::min(picture.width(), picture.height());
    const int other = int(std::max<qint64>(1, (qint64(side) * smaller * 2 + larger) / (larger * 2)));
    const QSize size = picture.width() >= picture.height() ? QSize(side, other) : QSize(other, side);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
