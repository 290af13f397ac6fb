// The import's steps from a drawing's candidates to the shown object.
#include "export/DrawingImport.h"

#include "export/DxfImport.h"
#include "export/SvgImport.h"

DrawingOutlines readDrawing(const QByteArray& bytes, const QString& format, double tolerance)
{
    return format == QLatin1String("svg") ? readSvgOutlines(bytes, tolerance) : readDxfOutlines(bytes, tolerance);
}

std::optional<Failure> showOutline(HeadlessSession& session, const std::vector<QPointF>& points, bool fit, const QString& name)
{
    const ViewSurface& front = session.core().picFront;
    const QRectF view(front.ScaleWidth() / 20, front.ScaleHeight() / 20, front.ScaleWidth() * 0.9, front.ScaleHeight() * 0.9);
    std::variant<std::vector<PointRecord>, QString> kept = outlinePoints(points, fit ? &view : nullptr);
    if (const QString* refused = std::get_if<QString>(&kept))
        return Failure{Failure::Kind::Refused, *refused};
    ObjectFileValues values;
    values.points = std::get<std::vector<PointRecord>>(std::move(kept));
    values.PointCount = std::int16_t(values.points.size());
    values.GridState = session.state().GridState;
    return session.showObject(std::move(values), name);
}
