// Test fixtures: isolated settings, a started window in a temporary folder, user actions,
// files of given values, pictures and snapshots.
#include "fakes/TestSupport.h"

#include "files/FileRecord.h"
#include "platform/PropertyBag.h"
#include "platform/Conversions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
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

TestWindow::TestWindow(Folders folders)
{
    create(folders, [](const QString&) {});
}

TestWindow::TestWindow(const std::function<void(const QString&)>& beforeStart)
{
    create(Folders::Made, beforeStart);
}

void TestWindow::create(Folders folders, const std::function<void(const QString&)>& beforeStart)
{
    if (folders == Folders::Made) {
        QDir(folder_.path()).mkdir(QStringLiteral("Objects"));
        QDir(folder_.path()).mkdir(QStringLiteral("Workspaces"));
    }
    beforeStart(folder_.path());
    window_ = std::make_unique<frmMain>(dialogs_, settings_, folder_.path());
    window_->start();
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF pixel, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pixel, widget->mapToGlobal(pixel), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void mouseMove(PictureBox* view, float x, float y, Qt::MouseButtons held)
{
    sendMouse(view, QEvent::MouseMove, view->toWidgetPixels(x, y), Qt::NoButton, held);
}

void mousePress(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    sendMouse(view, QEvent::MouseButtonPress, view->toWidgetPixels(x, y), button, button);
}

void mouseRelease(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    sendMouse(view, QEvent::MouseButtonRelease, view->toWidgetPixels(x, y), button, Qt::NoButton);
}

void mouseClick(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    mouseMove(view, x, y);
    mousePress(view, x, y, button);
    mouseRelease(view, x, y, button);
}

void drag(PictureBox* view, const QList<float>& xs, float y, Qt::MouseButton button)
{
    mousePress(view, xs.first(), y, button);
    for (const float x : xs.mid(1))
        mouseMove(view, x, y, button);
    mouseRelease(view, xs.last(), y, button);
}

void clickPoints(TestWindow& w, const QList<QPoint>& points)
{
    for (const QPoint p : points)
        mouseClick(w->picFront, float(p.x()), float(p.y()));
}

bool choose(TestWindow& w, QAction* item)
{
    if (!item->isEnabled()) {
        qWarning("%s is disabled", qPrintable(item->text()));
        return false;
    }
    item->trigger();
    if (w.dialogs().pending() != 0) {
        qWarning("%d answers left after %s", w.dialogs().pending(), qPrintable(item->text()));
        return false;
    }
    return true;
}

bool runCommand(TestWindow& w, const QString& line)
{
    w->txtCommand->clear();
    if (line.size() > 100)
        w->txtCommand->insert(line);
    else
        QTest::keyClicks(w->txtCommand, line);
    if (w->txtCommand->text() != line) {
        qWarning("the command box holds \"%s\" after typing \"%s\"", qPrintable(w->txtCommand->text()), qPrintable(line));
        return false;
    }
    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
    return true;
}

void setObject(TestWindow& w, const std::vector<PointRecord>& points, const TaggedValue& depth, std::int16_t dimension)
{
    WorkspaceState& s = w.state();
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

QColor pixelAt(PictureBox* view, float x, float y)
{
    return view->renderedView().pixelColor(int(x / 15), int(y / 15));
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

QStringList drawn(PictureBox* view)
{
    QStringList list;
    for (const Primitive& p : view->primitives())
        list << describe(p);
    return list;
}

WindowSnapshot WindowSnapshot::of(TestWindow& w)
{
    return {w.state(), w->cdlDrawing.Color, w->cdlColorGrid.Color, w->cdlGridBg.Color, w->cdl3dObject.Color,
            {w->picFront->DrawWidth(), w->picSide->DrawWidth(), w->picTop->DrawWidth(), w->pic3dView->DrawWidth()},
            w->windowTitle(), w->sbStatus->panelText(3), w->sbStatus->panelText(7), w->txtCommand->text(),
            w->picFront->renderedView(), w->picSide->renderedView(), w->picTop->renderedView(), w->pic3dView->renderedView()};
}

QStringList WindowSnapshot::differencesFrom(const WindowSnapshot& o) const
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
        {"command text", command == o.command},
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
