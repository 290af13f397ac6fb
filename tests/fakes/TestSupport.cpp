// Test fixtures: isolated settings, a started window in a temporary folder, mouse events.
#include "fakes/TestSupport.h"

#include "platform/Conversions.h"

#include <QApplication>
#include <QDir>
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

TestWindow::TestWindow(bool makeFolders)
{
    create([makeFolders](const QString& folder) {
        if (makeFolders) {
            QDir(folder).mkdir(QStringLiteral("Objects"));
            QDir(folder).mkdir(QStringLiteral("Workspaces"));
        }
    });
}

TestWindow::TestWindow(const std::function<void(const QString&)>& beforeStart)
{
    create([beforeStart](const QString& folder) {
        QDir(folder).mkdir(QStringLiteral("Objects"));
        QDir(folder).mkdir(QStringLiteral("Workspaces"));
        beforeStart(folder);
    });
}

void TestWindow::create(const std::function<void(const QString&)>& beforeStart)
{
    beforeStart(folder_.path());
    window_ = std::make_unique<frmMain>(dialogs_, settings_, folder_.path());
    window_->start();
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF pixel, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pixel, widget->mapToGlobal(pixel), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

namespace {
void send(PictureBox* view, QEvent::Type type, float x, float y, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    sendMouse(view, type, view->toWidgetPixels(x, y), button, buttons);
}
} // namespace

void mouseMove(PictureBox* view, float x, float y, Qt::MouseButtons held)
{
    send(view, QEvent::MouseMove, x, y, Qt::NoButton, held);
}

void mousePress(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    send(view, QEvent::MouseButtonPress, x, y, button, button);
}

void mouseRelease(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    send(view, QEvent::MouseButtonRelease, x, y, button, Qt::NoButton);
}

void mouseClick(PictureBox* view, float x, float y, Qt::MouseButton button)
{
    mouseMove(view, x, y);
    mousePress(view, x, y, button);
    mouseRelease(view, x, y, button);
}

QColor pixelAt(PictureBox* view, float x, float y)
{
    const QImage image = view->renderedView();
    return image.pixelColor(int(x / 15), int(y / 15));
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

void placeTriangle(TestWindow& w)
{
    for (const QPoint p : {QPoint(100, 1000), QPoint(900, 1000), QPoint(500, 300)})
        mouseClick(w->picFront, float(p.x()), float(p.y()));
}
