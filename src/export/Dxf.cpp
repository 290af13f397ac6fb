// Writing release-12 DXF: header, the line type and layer tables, and the entities.
#include "export/Dxf.h"

#include "export/Mesh.h"

#include <algorithm>
#include <charconv>

namespace {

// Group codes right-aligned in three columns and values on their own lines, as release 12
// writers put them.
class DxfWriter {
public:
    void pair(int code, const QByteArray& value)
    {
        out_ += QByteArray::number(code).rightJustified(3, ' ') + '\n' + value + '\n';
    }
    void pair(int code, int value) { pair(code, QByteArray::number(value)); }
    void real(int code, double value)
    {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        QByteArray text(buffer, end - buffer);
        if (!text.contains('.') && !text.contains('e'))
            text += ".0";
        pair(code, text);
    }
    // A point as the codes base, base + 10 and base + 20 (X, Y, Z).
    void point(int base, double x, double y, double z)
    {
        real(base, x);
        real(base + 10, y);
        real(base + 20, z);
    }
    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
};

struct Point3 {
    double x, y, z;
};

} // namespace

QString dxfLayerName(const QString& name)
{
    QString layer;
    for (const QChar c : name.toUpper()) {
        const bool kept = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || c == QLatin1Char('$') || c == QLatin1Char('-') || c == QLatin1Char('_');
        layer += kept ? c : QLatin1Char('_');
    }
    layer.truncate(31);
    if (layer == QLatin1String("0") || layer == QLatin1String("DEFPOINTS"))
        return layer + QStringLiteral("_OBJECT");
    return layer.isEmpty() ? QStringLiteral("OBJECT") : layer;
}

std::variant<QByteArray, QString> dxfDrawing(const ObjectFileValues& object, const QString& name, bool prism)
{
    const auto refused = [](const QString& reason) {
        return QStringLiteral("The object cannot be exported as a drawing: %1.").arg(reason);
    };
    if (object.PointCount == 0)
        return refused(QStringLiteral("it has no points"));
    double depth = 0;
    if (prism) {
        const std::variant<std::int16_t, QString> d = prismDepth(object);
        if (const QString* why = std::get_if<QString>(&d))
            return refused(*why);
        depth = std::get<std::int16_t>(d) * unitsPerTwip(LengthUnit::Millimetre);
    }
    const double mm = unitsPerTwip(LengthUnit::Millimetre);
    std::vector<Point3> front;
    front.reserve(object.points.size());
    for (const PointRecord& p : object.points)
        front.push_back({p.X * mm, -double(p.Y) * mm + 0.0, 0});
    Point3 low = front.front(), high = front.front();
    for (const Point3& p : front) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, -depth)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, -depth)};
    }
    const QByteArray layer = dxfLayerName(name).toLatin1();

    DxfWriter dxf;
    dxf.pair(0, "SECTION");
    dxf.pair(2, "HEADER");
    dxf.pair(9, "$ACADVER");
    dxf.pair(1, "AC1009");
    dxf.pair(9, "$EXTMIN");
    dxf.point(10, low.x, low.y, low.z);
    dxf.pair(9, "$EXTMAX");
    dxf.point(10, high.x, high.y, high.z);
    dxf.pair(0, "ENDSEC");

    dxf.pair(0, "SECTION");
    dxf.pair(2, "TABLES");
    dxf.pair(0, "TABLE");
    dxf.pair(2, "LTYPE");
    dxf.pair(70, 1);
    dxf.pair(0, "LTYPE");
    dxf.pair(2, "CONTINUOUS");
    dxf.pair(70, 0);
    dxf.pair(3, "Solid line");
    dxf.pair(72, 65);
    dxf.pair(73, 0);
    dxf.real(40, 0);
    dxf.pair(0, "ENDTAB");
    dxf.pair(0, "TABLE");
    dxf.pair(2, "LAYER");
    dxf.pair(70, 2);
    for (const QByteArray& name : {QByteArray("0"), layer}) {
        dxf.pair(0, "LAYER");
        dxf.pair(2, name);
        dxf.pair(70, 0);
        dxf.pair(62, 7);
        dxf.pair(6, "CONTINUOUS");
    }
    dxf.pair(0, "ENDTAB");
    dxf.pair(0, "ENDSEC");

    dxf.pair(0, "SECTION");
    dxf.pair(2, "ENTITIES");
    dxf.pair(0, "POLYLINE");
    dxf.pair(8, layer);
    dxf.pair(66, 1);
    dxf.point(10, 0, 0, 0);
    dxf.pair(70, 1);
    for (const Point3& p : front) {
        dxf.pair(0, "VERTEX");
        dxf.pair(8, layer);
        dxf.point(10, p.x, p.y, 0);
    }
    dxf.pair(0, "SEQEND");
    dxf.pair(8, layer);
    const auto line = [&](const Point3& a, const Point3& b) {
        dxf.pair(0, "LINE");
        dxf.pair(8, layer);
        dxf.point(10, a.x, a.y, a.z);
        dxf.point(11, b.x, b.y, b.z);
    };
    if (prism) {
        for (std::size_t i = 0; i < front.size(); ++i) {
            const Point3& a = front[i];
            const Point3& b = front[(i + 1) % front.size()];
            line({a.x, a.y, -depth}, {b.x, b.y, -depth});
        }
        for (const Point3& p : front)
            line(p, {p.x, p.y, -depth});
    }
    dxf.pair(0, "ENDSEC");
    dxf.pair(0, "EOF");
    return dxf.take();
}
