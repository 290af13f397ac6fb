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

void TestSurface::mouseNotifications_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("releaseOutside");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("left click") << int(Qt::LeftButton) << false
                                << QStringList{"move 0 150,300", "down 1 150,300", "up 1 150,300", "click"};
    QTest::newRow("right click") << int(Qt::RightButton) << false
                                 << QStringList{"move 0 150,300", "down 2 150,300", "up 2 150,300", "click"};
    QTest::newRow("middle button gives no click") << int(Qt::MiddleButton) << false
                                                  << QStringList{"move 0 150,300", "down 4 150,300", "up 4 150,300"};
    QTest::newRow("release outside gives no click") << int(Qt::LeftButton) << true
                                                    << QStringList{"move 0 150,300", "down 1 150,300", "move 1 -1500,300", "up 1 -1500,300"};
}

void TestSurface::mouseNotifications()
{
    QFETCH(int, button);
    QFETCH(bool, releaseOutside);
    QFETCH(QStringList, expected);
    LoneView v;
    MouseLog log;
    log.attach(v.view);
    const auto b = Qt::MouseButton(button);
    mouseMove(v.view, 150, 300);
    mousePress(v.view, 150, 300, b);
    if (releaseOutside) {
        mouseMove(v.view, -1500, 300, b);
        mouseRelease(v.view, -1500, 300, b);
    } else {
        mouseRelease(v.view, 150, 300, b);
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
