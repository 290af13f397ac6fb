// Core test fixtures: isolated settings, a set-up session in a temporary folder, the user's
// actions as the window forwards them, files of given values, pictures and snapshots.
#include "fakes/TestCore.h"

#include "editing/DepthDrag.h"
#include "editing/PointPlacement.h"
#include "files/FileRecord.h"
#include "platform/Conversions.h"
#include "platform/PropertyBag.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

IsolatedSettings::IsolatedSettings()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

IsolatedSettings::~IsolatedSettings()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::tempPath() + QStringLiteral("/brondelwick-test-settings-unused"));
}

ProgramFolder::ProgramFolder(Folders folders, const std::function<void(const QString&)>& beforeStart)
{
    if (folders == Folders::Made) {
        QDir(folder_.path()).mkdir(QStringLiteral("Objects"));
        QDir(folder_.path()).mkdir(QStringLiteral("Workspaces"));
    }
    beforeStart(folder_.path());
}

TestCore::TestCore(Folders folders) : ProgramFolder(folders, [](const QString&) {}), session_(dialogs(), settings())
{
    session_.setUp(programFolder());
}

TestCore::TestCore(const std::function<void(const QString&)>& beforeStart)
    : ProgramFolder(Folders::Made, beforeStart), session_(dialogs(), settings())
{
    session_.setUp(programFolder());
}

bool act(TestCore& s, const std::function<void()>& action)
{
    action();
    if (s.dialogs().pending() != 0) {
        qWarning("%d answers left", s.dialogs().pending());
        return false;
    }
    return true;
}

void frontClick(TestCore& s, float x, float y, int button)
{
    picFront_MouseMove(s->editing, 0, 0, x, y);
    picFront_MouseUp(s->editing, button, 0, x, y);
    if (button == 1 || button == 2)
        picFront_Click(s->editing);
}

void clickPoints(TestCore& s, const QList<QPoint>& points)
{
    for (const QPoint p : points)
        frontClick(s, float(p.x()), float(p.y()));
}

void sideDrag(TestCore& s, const QList<float>& xs, float y)
{
    picSide_MouseDown(s->editing, 1, 0, xs.first(), y);
    for (const float x : xs.mid(1))
        picSide_MouseMove(s->editing, 1, 0, x, y);
    picSide_MouseUp(s->editing, 1, 0, xs.last(), y);
}

CommandResult command(TestCore& s, const QString& line) { return cmdExecute_Click(s->commands, line); }

void setObject(WorkspaceState& s, const std::vector<PointRecord>& points, const TaggedValue& depth, std::int16_t dimension)
{
    s.pPoints = points.empty() ? std::vector<PointRecord>{PointRecord{}} : points;
    s.PointCount = std::int16_t(points.size());
    s.Depth = depth;
    s.Dimension = dimension;
}

QByteArray fileOf(const QList<std::pair<QString, TaggedValue>>& values)
{
    PropertyBag bag;
    for (const auto& [name, value] : values)
        bag.WriteProperty(name, value);
    return filerecord::encode(bag.Contents());
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QColor pixelAt(ViewSurface& view, float x, float y)
{
    return view.renderedView().pixelColor(int(x / 15), int(y / 15));
}

QString saveTestImage(const QImage& image, const QString& name)
{
    const QString path = QDir::current().absoluteFilePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}

bool sameImage(const QImage& actual, const QImage& expected, const QString& name)
{
    if (actual.convertToFormat(QImage::Format_RGB32) == expected.convertToFormat(QImage::Format_RGB32))
        return true;
    saveTestImage(actual, name + QStringLiteral("-actual"));
    saveTestImage(expected, name + QStringLiteral("-expected"));
    return false;
}

int countPixels(const QImage& image, const QColor& color)
{
    int count = 0;
    const QRgb wanted = color.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == wanted ? 1 : 0;
    return count;
}

QStringList strayPixels(const QImage& image, const QImage& other, int offset, std::optional<QRgb> ignored)
{
    QStringList stray;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            bool found = colour == ignored;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = other.valid(x + offset + dx, y + offset + dy) && other.pixel(x + offset + dx, y + offset + dy) == colour;
            if (!found)
                stray << QStringLiteral("%1,%2").arg(x).arg(y);
        }
    return stray;
}

QString describe(const Primitive& p)
{
    const auto n = [](float v) { return conv::numberText(v); };
    const QString colour = QStringLiteral("#%1").arg(p.color, 6, 16, QLatin1Char('0'));
    QString text = p.kind == Primitive::Kind::Circle
        ? QStringLiteral("C %1,%2 r%3 %4").arg(n(p.x1), n(p.y1), n(p.r), colour)
        : QStringLiteral("L %1,%2 %3,%4 %5").arg(n(p.x1), n(p.y1), n(p.x2), n(p.y2), colour);
    if (p.penWidth != 1)
        text += QStringLiteral(" w%1").arg(p.penWidth);
    return text;
}

QStringList drawn(const ViewSurface& view)
{
    QStringList list;
    for (const Primitive& p : view.primitives())
        list << describe(p);
    return list;
}

Snapshot Snapshot::of(Session& s)
{
    return {s.state, s.cdlDrawing.Color, s.cdlColorGrid.Color, s.cdlGridBg.Color, s.cdl3dObject.Color,
            {s.picFront.DrawWidth(), s.picSide.DrawWidth(), s.picTop.DrawWidth(), s.pic3dView.DrawWidth()},
            s.caption, s.sbStatus.text(StatusPanel::ObjectPoints), s.sbStatus.text(StatusPanel::SavedPath),
            s.picFront.renderedView(), s.picSide.renderedView(), s.picTop.renderedView(), s.pic3dView.renderedView()};
}

QStringList Snapshot::differencesFrom(const Snapshot& o) const
{
    const WorkspaceState &a = state, &b = o.state;
    using Fields = std::vector<std::pair<const char*, bool>>;
    const Fields stateFields = {
        {"pPoints", a.pPoints == b.pPoints}, {"PointCount", a.PointCount == b.PointCount},
        {"Dimension", a.Dimension == b.Dimension}, {"Depth", a.Depth == b.Depth}, {"ClickX", a.ClickX == b.ClickX},
        {"ClickY", a.ClickY == b.ClickY}, {"PointRadius", a.PointRadius == b.PointRadius},
        {"DeclaredPointCount", a.DeclaredPointCount == b.DeclaredPointCount}, {"GridState", a.GridState == b.GridState},
        {"DrawMode", a.DrawMode == b.DrawMode}, {"MinX", a.MinX == b.MinX && a.MaxX == b.MaxX},
        {"ExtrudeMode", a.ExtrudeMode == b.ExtrudeMode}, {"PointObjectMode", a.PointObjectMode == b.PointObjectMode},
        {"DraggingDepth", a.DraggingDepth == b.DraggingDepth}, {"GridCount", a.GridCount == b.GridCount},
        {"SelectedCommand", a.SelectedCommand == b.SelectedCommand},
        {"view offsets", a.MinY == b.MinY && a.MaxY == b.MaxY && a.SideOffsetX == b.SideOffsetX && a.TopOffsetY == b.TopOffsetY},
        {"folders", a.ProgramFolder == b.ProgramFolder && a.ObjectsFolder == b.ObjectsFolder && a.WorkspacesFolder == b.WorkspacesFolder},
        {"CurrentFilePath", a.CurrentFilePath == b.CurrentFilePath}, {"SaveObjectPath", a.SaveObjectPath == b.SaveObjectPath}};
    const Fields windowFields = {
        {"colours", lines == o.lines && grid == o.grid && background == o.background && object3d == o.object3d},
        {"pen widths", penWidths == o.penWidths},
        {"caption", caption == o.caption}, {"status bar", panel3 == o.panel3 && panel7 == o.panel7},
        {"views", front == o.front && side == o.side && top == o.top && view3d == o.view3d}};
    QStringList differences;
    for (const auto& [name, same] : stateFields)
        if (!same)
            differences << QString::fromLatin1(name);
    // A field added to the state and not yet named above still counts.
    if (differences.isEmpty() && !(a == b))
        differences << QStringLiteral("state");
    for (const auto& [name, same] : windowFields)
        if (!same)
            differences << QString::fromLatin1(name);
    return differences;
}
