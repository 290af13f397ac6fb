// Helpers shared by the file tests: bytes in and out of real files, objects put into the
// state, and a snapshot of everything that opening a file may change, so that a test can
// show that a refused file changed nothing.
#pragma once

#include "fakes/TestSupport.h"
#include "files/FileRecord.h"
#include "platform/PropertyBag.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// A file holding the given values in this order, as another writer might have made it.
inline QByteArray fileOf(const QList<std::pair<QString, TaggedValue>>& values)
{
    PropertyBag bag;
    for (const auto& [name, value] : values)
        bag.WriteProperty(name, value);
    return filerecord::encode(bag.Contents());
}

inline void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Puts an object into the state as if its points had been placed one by one.
inline void placeObject(TestWindow& w, const std::vector<PointRecord>& points, const TaggedValue& depth = TaggedValue(),
                        std::int16_t dimension = 2, std::uint8_t gridState = 1)
{
    WorkspaceState& s = w.state();
    s.pPoints = points.empty() ? std::vector<PointRecord>{PointRecord{}} : points;
    s.PointCount = std::int16_t(points.size());
    s.Depth = depth;
    s.Dimension = dimension;
    s.GridState = gridState;
}

inline QString pointsText(const std::vector<PointRecord>& points)
{
    QStringList parts;
    for (const PointRecord& p : points)
        parts << QStringLiteral("(%1,%2)").arg(p.X).arg(p.Y);
    return parts.join(QLatin1Char(' '));
}

inline QString valueText(const TaggedValue& v)
{
    return QStringLiteral("kind %1 \"%2\"").arg(int(v.kind())).arg(v.toText());
}

// Everything an opening may change, and what shows it: state, colours, caption, drawings.
struct WindowSnapshot {
    std::vector<PointRecord> pPoints;
    std::int16_t PointCount, Dimension, DrawMode, PointRadius;
    std::uint8_t GridState;
    TaggedValue Depth;
    ColorRef lines, grid, background, object3d;
    QString caption, panel3, panel7;
    QImage front, side, top, view3d;

    static WindowSnapshot of(TestWindow& w)
    {
        const WorkspaceState& s = w.state();
        return {s.pPoints, s.PointCount, s.Dimension, s.DrawMode, s.PointRadius, s.GridState, s.Depth,
                w->cdlDrawing.Color, w->cdlColorGrid.Color, w->cdlGridBg.Color, w->cdl3dObject.Color,
                w->windowTitle(), w->sbStatus->panelText(3), w->sbStatus->panelText(7),
                w->picFront->picture(), w->picSide->picture(), w->picTop->picture(), w->pic3dView->picture()};
    }

    // The names of the fields that differ, empty when none does.
    QStringList differencesFrom(const WindowSnapshot& o) const
    {
        QStringList d;
        if (pPoints != o.pPoints) d << QStringLiteral("pPoints");
        if (PointCount != o.PointCount) d << QStringLiteral("PointCount");
        if (Dimension != o.Dimension) d << QStringLiteral("Dimension");
        if (DrawMode != o.DrawMode) d << QStringLiteral("DrawMode");
        if (PointRadius != o.PointRadius) d << QStringLiteral("PointRadius");
        if (GridState != o.GridState) d << QStringLiteral("GridState");
        if (!(Depth == o.Depth)) d << QStringLiteral("Depth");
        if (lines != o.lines || grid != o.grid || background != o.background || object3d != o.object3d)
            d << QStringLiteral("colours");
        if (caption != o.caption) d << QStringLiteral("caption");
        if (panel3 != o.panel3 || panel7 != o.panel7) d << QStringLiteral("status bar");
        if (front != o.front || side != o.side || top != o.top || view3d != o.view3d)
            d << QStringLiteral("drawings");
        return d;
    }
};
