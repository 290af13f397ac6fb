// Placing points with real mouse clicks in the front view, the coordinate readout over every
// view and the container, and the Draw Polygon pop-up of the right button.
#include "editing/PointPlacement.h"
#include "fakes/TestSupport.h"
#include "platform/Conversions.h"

#include <QTest>

namespace {
constexpr ColorRef Red = 0x0000FF;

QString mark(double x, double y, double r = 20)
{
    return describe({Primitive::Kind::Circle, float(x), float(y), float(x), float(y), float(r), Red, 1});
}

QString line(double x1, double y1, double x2, double y2)
{
    return describe({Primitive::Kind::Line, float(x1), float(y1), float(x2), float(y2), 0.0f, 0xFFFFFF, 1});
}

using Points = std::vector<PointRecord>;
} // namespace

class TestPointPlacement : public QObject {
    Q_OBJECT
private slots:
    void readout_data();
    void readout();
    void readoutOverContainer();
    void positionText_data();
    void positionText();

    void clicksPlacePoints();
    void clickWithoutMovement();
    void halfToEven_data();
    void halfToEven();
    void clickAfterPutPointText();
    void clickAfterClear();
    void dragFarOutsideClampsClickY();
    void leftReleaseShowsNoMenu();
    void rightButtonPopUp_data();
    void rightButtonPopUp();
    void pointObjectMode();
    void fullObjectRefusesAPoint();
    void unusableClickXRefused_data();
    void unusableClickXRefused();
    void redMarkOnScreen();
};

void TestPointPlacement::readout_data()
{
    QTest::addColumn<int>("view");   // 0 front, 1 top, 2 3D
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::newRow("front") << 0 << 120.0f << 45.0f << "FRONT VIEW" << "[0120 : 0045]";
    QTest::newRow("four digits") << 0 << 1245.0f << 3000.0f << "FRONT VIEW" << "[1245 : 3000]";
    QTest::newRow("five digits not cut") << 0 << 12345.0f << 7.0f << "FRONT VIEW" << "[12345 : 0007]";
    QTest::newRow("origin") << 0 << 0.0f << 0.0f << "FRONT VIEW" << "[0000 : 0000]";
    QTest::newRow("negative, zeros before the sign") << 0 << -15.0f << 30.0f << "FRONT VIEW" << "[0-15 : 0030]";
    QTest::newRow("fractions") << 0 << 7.5f << 1000.5f << "FRONT VIEW" << "[07.5 : 1000.5]";
    QTest::newRow("top") << 1 << 4500.0f << 90.0f << "TOP VIEW" << "[4500 : 0090]";
    QTest::newRow("top negative fraction") << 1 << -7.5f << 15.0f << "TOP VIEW" << "[-7.5 : 0015]";
    QTest::newRow("3D") << 2 << 30.0f << 4905.0f << "3D VIEW" << "[0030 : 4905]";
}

// Positions outside a view arrive while a button pressed over it is held.
void TestPointPlacement::readout()
{
    QFETCH(int, view);
    QFETCH(float, x);
    QFETCH(float, y);
    TestWindow w;
    PictureBox* views[] = {w->picFront, w->picTop, w->pic3dView};
    mousePress(views[view], 10, 10);
    mouseMove(views[view], x, y, Qt::LeftButton);
    QTEST(w->sbStatus->panelText(4), "name");
    QTEST(w->sbStatus->panelText(5), "position");
}

void TestPointPlacement::readoutOverContainer()
{
    TestWindow w;
    mouseMove(w->picFront, 300, 300);
    QCOMPARE(w->sbStatus->panelText(4), QStringLiteral("FRONT VIEW"));
    // Between the front and the side view.
    mouseMove(w->picContainer, 2000, 5100);
    QCOMPARE(w->sbStatus->panelText(4), QStringLiteral("None"));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[0000:0000]"));
    QCOMPARE(w.state().ClickX, TaggedValue(300.0f));
}

void TestPointPlacement::positionText_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("text");
    QTest::newRow("long negative") << -1234.5f << -32768.0f << "[-1234.5 : -32768]";
    QTest::newRow("one digit") << 5.0f << 0.25f << "[0005 : 0.25]";
    QTest::newRow("far outside, plain decimals") << 600000.0f << -1000000.0f << "[600000 : -1000000]";
    QTest::newRow("negative zero") << -0.0f << 9.0f << "[0000 : 0009]";
}

void TestPointPlacement::positionText()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QTEST(PositionText(x, y), "text");
}

void TestPointPlacement::clicksPlacePoints()
{
    TestWindow w;
    mouseClick(w->picFront, 300, 400);
    mouseClick(w->picFront, 900, 1050);
    mouseClick(w->picFront, 600, 195);
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QCOMPARE(w.state().pPoints, (Points{{300, 400}, {900, 1050}, {600, 195}}));
    QCOMPARE(drawn(w->picFront), (QStringList{mark(300, 400), mark(900, 1050), mark(600, 195)}));
    // No outline and no count until the object is drawn.
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points:"));
    QVERIFY(w->picSide->primitives().empty());
    QVERIFY(w->picTop->primitives().empty());
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
}

void TestPointPlacement::clickWithoutMovement()
{
    TestWindow w;
    mousePress(w->picFront, 700, 700);
    mouseRelease(w->picFront, 700, 700);
    QCOMPARE(w.state().PointCount, std::int16_t(1));
    QCOMPARE(w.state().pPoints, (Points{{0, 0}}));
    QCOMPARE(drawn(w->picFront), QStringList{mark(0, 0)});
}

void TestPointPlacement::halfToEven_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("storedX");
    QTest::addColumn<int>("storedY");
    QTest::addColumn<float>("markY");
    QTest::newRow("100.5 down to even") << 100.5f << 100.5f << 100 << 100 << 100.0f;
    QTest::newRow("101.5 up to even") << 101.5f << 101.5f << 102 << 102 << 102.0f;
    QTest::newRow("other fractions to nearest") << 10.2f << 4000.8f << 10 << 4001 << 4001.0f;
}

// The stored point is rounded; the mark sits at the unrounded X and at the stored Y.
void TestPointPlacement::halfToEven()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, storedX);
    QFETCH(int, storedY);
    QFETCH(float, markY);
    TestWindow w;
    mouseClick(w->picFront, x, y);
    QCOMPARE(w.state().ClickX, TaggedValue(x));
    QCOMPARE(w.state().pPoints, (Points{{storedX, storedY}}));
    QCOMPARE(drawn(w->picFront), QStringList{mark(x, markY)});
}

void TestPointPlacement::clickAfterPutPointText()
{
    // The command box writes its typed X as text and the Y as a number, then clicks.
    TestWindow w;
    w.state().ClickX = QStringLiteral("250.5");
    w.state().ClickY = 640;
    picFront_Click(w->editing());
    QCOMPARE(w.state().pPoints, (Points{{250, 640}}));
    QCOMPARE(drawn(w->picFront), QStringList{mark(250.5, 640)});
}

void TestPointPlacement::clickAfterClear()
{
    TestWindow w;
    mouseClick(w->picFront, 300, 400);
    mouseClick(w->picFront, 500, 600);
    w.state().pPoints.assign(1, PointRecord{});
    w.state().PointCount = 0;
    mouseClick(w->picFront, 800, 900);
    QCOMPARE(w.state().pPoints, (Points{{800, 900}}));
    QCOMPARE(w.state().PointCount, std::int16_t(1));
}

void TestPointPlacement::dragFarOutsideClampsClickY()
{
    TestWindow w;
    mousePress(w->picFront, 100, 100);
    mouseMove(w->picFront, 150, 600000, Qt::LeftButton);
    QCOMPARE(w.state().ClickY, std::int16_t(32767));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[0150 : 600000]"));
    mouseMove(w->picFront, 150, -600000, Qt::LeftButton);
    QCOMPARE(w.state().ClickY, std::int16_t(-32768));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[0150 : -600000]"));
    // Released outside the view: no click, no point.
    mouseRelease(w->picFront, 150, -600000);
    QCOMPARE(w.state().PointCount, std::int16_t(0));
}

void TestPointPlacement::leftReleaseShowsNoMenu()
{
    TestWindow w;
    mouseClick(w->picFront, 400, 400);
    QVERIFY(w.dialogs().shown().empty());
    QCOMPARE(w.state().PointCount, std::int16_t(1));
}

void TestPointPlacement::rightButtonPopUp_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QStringList>("front");
    QTest::addColumn<int>("drawMode");
    const QStringList triangle{mark(100, 1000), line(100, 1000, 900, 1000), mark(900, 1000),
                               line(900, 1000, 500, 300), mark(500, 300), line(500, 300, 100, 1000)};
    QTest::newRow("closed unchosen") << QString() << QStringList{mark(100, 1000), mark(900, 1000), mark(500, 300), mark(2000, 2000)} << 1;
    QTest::newRow("Draw 2D") << QStringLiteral("Draw 2D") << triangle + QStringList{mark(2000, 2000)} << 2;
    QTest::newRow("Draw 3D") << QStringLiteral("Draw 3D") << triangle + QStringList{mark(2000, 2000)} << 3;
}

// The menu closes before the click: the drawing has the earlier points only, and the new
// point's mark lies over it.
void TestPointPlacement::rightButtonPopUp()
{
    QFETCH(QString, choice);
    TestWindow w;
    mouseClick(w->picFront, 100, 1000);
    mouseClick(w->picFront, 900, 1000);
    mouseClick(w->picFront, 500, 300);
    w.dialogs().answerPopup(choice);
    mouseClick(w->picFront, 2000, 2000, Qt::RightButton);

    QCOMPARE(w.dialogs().pending(), 0);
    const ScriptedDialogs::Shown popup = w.dialogs().shown(ScriptedDialogs::Kind::Popup).at(0);
    QCOMPARE(popup.title, QStringLiteral("Draw Polygon"));
    QCOMPARE(popup.position, w->picFront->mapToGlobal(QPoint(2000 / 15 + 2, 2000 / 15 + 2)));
    QTEST(drawn(w->picFront), "front");
    QTEST(int(w.state().DrawMode), "drawMode");
    QCOMPARE(w.state().PointCount, std::int16_t(4));
    QCOMPARE(w.state().pPoints.back(), (PointRecord{2000, 2000}));
}

void TestPointPlacement::pointObjectMode()
{
    // With four points declared, the fifth click draws points 0 to 3 flat, then places point 4.
    TestWindow w;
    w.state().PointObjectMode = true;
    w.state().DeclaredPointCount = 4;
    const QList<QPoint> clicks{{100, 100}, {900, 100}, {900, 900}, {100, 900}};
    for (const QPoint& p : clicks)
        mouseClick(w->picFront, float(p.x()), float(p.y()));
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
    QCOMPARE(w->picFront->primitives().size(), std::size_t(4));

    mouseClick(w->picFront, 500, 500);
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 4"));
    QCOMPARE(drawn(w->picFront).size(), 9);
    QCOMPARE(drawn(w->picFront).last(), mark(500, 500));
    QCOMPARE(w.state().PointCount, std::int16_t(5));

    mouseClick(w->picFront, 600, 600);
    QCOMPARE(drawn(w->picFront).size(), 10);
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 4"));
}

void TestPointPlacement::fullObjectRefusesAPoint()
{
    TestWindow w;
    w.state().pPoints.assign(32767, PointRecord{10, 20});
    w.state().PointCount = 32767;
    w.dialogs().expectMessage();
    mouseClick(w->picFront, 300, 300);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The object holds the most points it can (32767); no point was added."));
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    QCOMPARE(w.state().PointCount, std::int16_t(32767));
    QCOMPARE(w.state().pPoints.size(), std::size_t(32767));
    QVERIFY(w->picFront->primitives().empty());

    // One short of full still takes the point.
    w.state().PointCount = 32766;
    w.state().pPoints.resize(32766);
    mouseClick(w->picFront, 300, 300);
    QCOMPARE(w.state().PointCount, std::int16_t(32767));
    QCOMPARE(w.state().pPoints.back(), (PointRecord{300, 300}));
}

void TestPointPlacement::unusableClickXRefused_data()
{
    QTest::addColumn<TaggedValue>("clickX");
    QTest::addColumn<QString>("message");
    QTest::newRow("text not a number") << TaggedValue(QStringLiteral("abc"))
                                       << "No point was added: its X (abc) is not a number from -2147483648 to 2147483647.";
    QTest::newRow("beyond 32 bits") << TaggedValue(QStringLiteral("3000000000"))
                                    << "No point was added: its X (3000000000) is not a number from -2147483648 to 2147483647.";
}

void TestPointPlacement::unusableClickXRefused()
{
    QFETCH(TaggedValue, clickX);
    TestWindow w;
    w.state().PointObjectMode = true;
    w.state().ClickX = clickX;
    w.dialogs().expectMessage();
    picFront_Click(w->editing());
    QCOMPARE(w.dialogs().pending(), 0);
    QTEST(w.dialogs().lastMessage().text, "message");
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    QCOMPARE(w.state().pPoints, (Points{{0, 0}}));
    QVERIFY(w->picFront->primitives().empty());
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
}

void TestPointPlacement::redMarkOnScreen()
{
    TestWindow w;
    w.state().PointRadius = 150;
    mouseClick(w->picFront, 1500, 1500);
    const QImage view = w->picFront->renderedView();
    // Ten pixels right of the centre pixel (100, 100) lies on the ring; its middle stays background.
    int red = 0;
    for (int dx = -1; dx <= 1; ++dx)
        red += view.pixelColor(110 + dx, 100) == QColor(Qt::red) ? 1 : 0;
    if (red == 0)
        saveTestImage(view, QStringLiteral("red-mark"));
    QVERIFY(red > 0);
    QCOMPARE(w->picFront->picture().pixelColor(103, 100), toQColor(w->picFront->BackColor()));
}

QTEST_MAIN(TestPointPlacement)
#include "tst_pointplacement.moc"
