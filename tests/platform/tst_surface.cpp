// The drawing surface contract: the persistent picture, Cls and BackColor, line objects
// above the drawing, clipping, and the mouse notifications with the click after the release.
#include "fakes/TestSupport.h"
#include "platform/CommonDialog.h"
#include "platform/PictureBox.h"

#include <QTest>

namespace {
// A framed 5000 x 5000 twip view on its own, as the main window's views are.
struct LoneView {
    QWidget parent;
    PictureBox* view = new PictureBox(&parent, 0, 0, 5000, 5000, 0x808080, true);
};

struct MouseLog {
    QStringList events;
    void attach(PictureBox* view)
    {
        view->MouseDown = [this](int b, int, float x, float y) { events << QStringLiteral("down %1 %2,%3").arg(b).arg(x).arg(y); };
        view->MouseMove = [this](int b, int, float x, float y) { events << QStringLiteral("move %1 %2,%3").arg(b).arg(x).arg(y); };
        view->MouseUp = [this](int b, int, float x, float y) { events << QStringLiteral("up %1 %2,%3").arg(b).arg(x).arg(y); };
        view->Click = [this] { events << QStringLiteral("click"); };
    }
};
} // namespace

class TestSurface : public QObject {
    Q_OBJECT
private slots:
    void primitivesLandWhereTheirTwipsSay();
    void clsErasesDrawingButNotLineObjects();
    void backColorClears();
    void drawingOutsideIsClipped();
    void pictureSurvivesRepaint();
    void penWidthIsKeptPerPrimitive();
    void mouseNotifications_data();
    void mouseNotifications();
    void colourDialogKeepsItsColour();
    void fileDialogGivesThePathOrNothing();
};

void TestSurface::primitivesLandWhereTheirTwipsSay()
{
    LoneView v;
    v.view->Line(150, 300, 1500, 300, 0xFFFFFF);
    v.view->Circle(3000, 3000, 300, 0x0000FF);
    QCOMPARE(v.view->primitives().size(), std::size_t(2));
    const Primitive line = v.view->primitives().front();
    QCOMPARE(line.kind, Primitive::Kind::Line);
    QCOMPARE(line.x1, 150.f);
    QCOMPARE(line.color, ColorRef(0xFFFFFF));
    const QImage& picture = v.view->picture();
    QCOMPARE(picture.pixelColor(10, 20), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(50, 20), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(50, 21), QColor(128, 128, 128));
    // A circle of 20 pixels around (200, 200): red on its outline, untouched in the middle.
    QCOMPARE(picture.pixelColor(220, 200), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(200, 180), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(200, 200), QColor(128, 128, 128));
}

void TestSurface::clsErasesDrawingButNotLineObjects()
{
    LoneView v;
    LineObject* line = v.view->addLineObject();
    line->setEnds(0, 1500, 5000, 1500);
    line->setBorderColor(0x404040);
    line->setVisible(true);
    v.view->Line(0, 750, 4000, 750, 0xFFFFFF);
    v.view->Line(750, 0, 750, 4000, 0xFFFFFF);
    QCOMPARE(v.view->renderedView().pixelColor(50, 50), QColor(Qt::white));
    // The line object lies above the drawing where they cross.
    QCOMPARE(v.view->renderedView().pixelColor(50, 100), QColor(64, 64, 64));
    v.view->Cls();
    QVERIFY(v.view->primitives().empty());
    const QImage view = v.view->renderedView();
    QCOMPARE(view.pixelColor(20, 50), QColor(128, 128, 128));
    QCOMPARE(view.pixelColor(20, 100), QColor(64, 64, 64));
    line->setVisible(false);
    QCOMPARE(v.view->renderedView().pixelColor(20, 100), QColor(128, 128, 128));
}

void TestSurface::backColorClears()
{
    LoneView v;
    v.view->Line(0, 750, 4000, 750, 0xFFFFFF);
    v.view->setBackColor(0xC0C0FF);
    QCOMPARE(v.view->BackColor(), ColorRef(0xC0C0FF));
    QVERIFY(v.view->primitives().empty());
    QCOMPARE(v.view->picture().pixelColor(20, 50), QColor(255, 192, 192));
}

void TestSurface::drawingOutsideIsClipped()
{
    LoneView v;
    v.view->Line(-100000, 1500, 100000, 1500, 0xFFFFFF);
    v.view->Line(-2e9f, -2e9f, 2e9f, 2e9f, 0x00FF00);
    v.view->Circle(-30000, -30000, 100, 0x0000FF);
    const QImage& picture = v.view->picture();
    QCOMPARE(picture.pixelColor(0, 100), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(picture.width() - 1, 100), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(5, 5), QColor(Qt::green));
    QCOMPARE(countPixels(picture, QColor(Qt::red)), 0);
}

void TestSurface::pictureSurvivesRepaint()
{
    LoneView v;
    v.parent.resize(400, 400);
    v.parent.show();
    v.view->Line(0, 750, 4000, 750, 0xFFFFFF);
    const QImage before = v.view->grab().toImage();
    v.parent.hide();
    v.parent.show();
    v.view->repaint();
    QVERIFY(sameImage(v.view->grab().toImage(), before, QStringLiteral("surface-repaint")));
    QCOMPARE(before.pixelColor(2 + 20, 2 + 50), QColor(Qt::white));
}

void TestSurface::penWidthIsKeptPerPrimitive()
{
    LoneView v;
    v.view->setDrawWidth(8);
    v.view->Line(0, 1500, 4000, 1500, 0x00FFFF);
    v.view->setDrawWidth(1);
    QCOMPARE(v.view->primitives().front().penWidth, 8);
    const QImage& picture = v.view->picture();
    QCOMPARE(picture.pixelColor(100, 100 - 3), QColor(Qt::yellow));
    QCOMPARE(picture.pixelColor(100, 100 + 3), QColor(Qt::yellow));
    QCOMPARE(picture.pixelColor(100, 100 + 6), QColor(128, 128, 128));
}

// Each step is an event at a pixel of the view, frame included (the drawing area starts at
// pixel 2): "move 12,22", "move L -98,22" (left button held), "press R 12,22", "release R 1,22".
void TestSurface::mouseNotifications_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("left click") << QStringList{"move 12,22", "press L 12,22", "release L 12,22"}
                                << QStringList{"move 0 150,300", "down 1 150,300", "up 1 150,300", "click"};
    QTest::newRow("right click") << QStringList{"press R 12,22", "release R 12,22"}
                                 << QStringList{"down 2 150,300", "up 2 150,300", "click"};
    QTest::newRow("middle button gives no click") << QStringList{"press M 12,22", "release M 12,22"}
                                                  << QStringList{"down 4 150,300", "up 4 150,300"};
    QTest::newRow("held button reports outside, no click")
        << QStringList{"press L 12,22", "move L -98,22", "release L -98,22"}
        << QStringList{"down 1 150,300", "move 1 -1500,300", "up 1 -1500,300"};
    QTest::newRow("release on the frame gives no click") << QStringList{"press L 12,22", "release L 1,22"}
                                                         << QStringList{"down 1 150,300", "up 1 -15,300"};
    QTest::newRow("the frame is not the view")
        << QStringList{"move 1,22", "move 333,100", "press L 0,22", "release L 0,22", "press R 22,332", "release R 22,332"}
        << QStringList{};
}

void TestSurface::mouseNotifications()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    LoneView v;
    MouseLog log;
    log.attach(v.view);
    for (const QString& step : steps) {
        const QStringList parts = step.split(QLatin1Char(' '));
        const QStringList xy = parts.last().split(QLatin1Char(','));
        const QPointF pixel(xy[0].toDouble(), xy[1].toDouble());
        const QString b = parts.size() == 3 ? parts[1] : QString();
        const Qt::MouseButton button = b == QLatin1String("L") ? Qt::LeftButton
            : b == QLatin1String("R")                          ? Qt::RightButton
            : b == QLatin1String("M")                          ? Qt::MiddleButton
                                                               : Qt::NoButton;
        if (parts[0] == QLatin1String("move"))
            sendMouse(v.view, QEvent::MouseMove, pixel, Qt::NoButton, button);
        else if (parts[0] == QLatin1String("press"))
            sendMouse(v.view, QEvent::MouseButtonPress, pixel, button, button);
        else
            sendMouse(v.view, QEvent::MouseButtonRelease, pixel, button, Qt::NoButton);
    }
    QCOMPARE(log.events, expected);
}

void TestSurface::colourDialogKeepsItsColour()
{
    ScriptedDialogs dialogs;
    CommonDialog dialog(dialogs, 0x404040);
    dialogs.answerColor(std::nullopt);
    dialog.ShowColor();
    QCOMPARE(dialog.Color, ColorRef(0x404040));
    dialogs.answerColor(0x00FF00);
    dialog.ShowColor();
    QCOMPARE(dialog.Color, ColorRef(0x00FF00));
    QCOMPARE(dialogs.shown(ScriptedDialogs::Kind::Color).back().offered, ColorRef(0x404040));
    QCOMPARE(dialogs.pending(), 0);
}

void TestSurface::fileDialogGivesThePathOrNothing()
{
    ScriptedDialogs dialogs;
    CommonDialog dialog(dialogs);
    dialog.Filter = QStringLiteral("Object Files (*.obj)|*.obj");
    dialog.InitDir = QStringLiteral("/somewhere/Objects");
    dialogs.answerOpen(QStringLiteral("/somewhere/Objects/house.obj"));
    dialog.ShowOpen();
    QCOMPARE(dialog.FileName, QStringLiteral("/somewhere/Objects/house.obj"));
    dialogs.answerSave(QString());
    dialog.ShowSave();
    QCOMPARE(dialog.FileName, QString());
    const auto open = dialogs.shown(ScriptedDialogs::Kind::Open).front();
    QCOMPARE(open.filter, dialog.Filter);
    QCOMPARE(open.initDir, dialog.InitDir);
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
