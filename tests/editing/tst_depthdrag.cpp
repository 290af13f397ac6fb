// Extrude mode and the depth drag in the side view, driven by real mouse events: the depth
// that follows the pointer, the redraw on release, the pointer shapes and the mode changes.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {
constexpr float Offset = 1235; // SideOffsetX of the side view, 4940 twips wide inside

// Whether the side view holds the horizontal edge of an extrusion of depth d at height y.
bool hasSideEdge(PictureBox* picSide, float y, float d)
{
    return drawn(picSide).contains(QStringLiteral("L %1,%2 %3,%2 #ffffff").arg(Offset).arg(y).arg(Offset + d));
}

// Arm, press in the side view, drag with the left button held through `path`, release at
// the last point of it.
void drag(TestWindow& w, const QList<float>& path)
{
    w->mnuExtrude->trigger();
    mousePress(w->picSide, path.front(), 2000);
    for (const float x : path)
        mouseMove(w->picSide, x, 2000, Qt::LeftButton);
    mouseRelease(w->picSide, path.back(), 2000);
}
} // namespace

class TestDepthDrag : public QObject {
    Q_OBJECT
private slots:
    void dragSetsTheDepth_data();
    void dragSetsTheDepth();
    void stepsOfADrag();
    void farDragsClamp_data();
    void farDragsClamp();
    void dragBeforeAnyDrawing();
    void pressAndReleaseWithoutMoving();
    void doubleToggle();
    void idleMovesShowTheReadout();
    void idlePressClearsAStaleDrag();
    void oneDragPerArming();
    void releaseLaysOutTheGrid();
    void prismPixelsAtTheNewDepth();
};

void TestDepthDrag::dragSetsTheDepth_data()
{
    QTest::addColumn<float>("releaseX");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("text");
    QTest::newRow("1000 to the right") << 2235.0f << 1000 << QStringLiteral("1000");
    QTest::newRow("250 to the left") << 985.0f << -250 << QStringLiteral("-250");
    QTest::newRow("10.5 rounds to 10") << Offset + 10.5f << 10 << QStringLiteral("10");
    QTest::newRow("11.5 rounds to 12") << Offset + 11.5f << 12 << QStringLiteral("12");
    QTest::newRow("at the front face") << Offset << 0 << QStringLiteral("0");
}

void TestDepthDrag::dragSetsTheDepth()
{
    QFETCH(float, releaseX);
    QFETCH(int, depth);
    QFETCH(QString, text);
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().SideOffsetX, Offset);

    drag(w, {Offset + 200, 3000, releaseX});
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(depth)));
    QCOMPARE(w->txtDepth->text(), text);
    QVERIFY(hasSideEdge(w->picSide, 1000, float(depth)));
    QVERIFY(hasSideEdge(w->picSide, 300, float(depth)));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QCOMPARE(w.state().ExtrudeMode, false);
    QCOMPARE(w.state().DraggingDepth, false);
    QCOMPARE(w->picSide->MousePointer(), 0);
}

void TestDepthDrag::stepsOfADrag()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    mouseMove(w->picSide, 700, 800);
    const QStringList before = drawn(w->picSide);

    w->mnuExtrude->trigger();
    QCOMPARE(w.state().ExtrudeMode, true);
    QCOMPARE(w->picSide->MousePointer(), 3);
    QCOMPARE(w->picSide->cursor().shape(), Qt::IBeamCursor);

    mousePress(w->picSide, 1435, 2000);
    QCOMPARE(w.state().DraggingDepth, true);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));   // only movement sets it

    mouseMove(w->picSide, 1835, 2100, Qt::LeftButton);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(600)));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("600"));
    mouseMove(w->picSide, 1535, 10, Qt::LeftButton);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(300)));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("300"));
    // Nothing is redrawn and the readout stays as it was during the drag.
    QCOMPARE(drawn(w->picSide), before);
    QCOMPARE(w->sbStatus->panelText(4), QStringLiteral("SIDE VIEW"));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[0700 : 0800]"));

    mouseRelease(w->picSide, 4000, 4000);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(300)));   // the release position plays no part
    QVERIFY(hasSideEdge(w->picSide, 1000, 300));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
    QCOMPARE(w->picSide->MousePointer(), 0);
    QVERIFY(!w->picSide->testAttribute(Qt::WA_SetCursor));
}

void TestDepthDrag::farDragsClamp_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("refused");
    // Far to the right the back face would leave the top view's 16-bit range: the depth is
    // kept, and the drawing says why it cannot be made.
    QTest::newRow("far right") << 40000.0f << 32767 << true;
    QTest::newRow("far left") << -40000.0f << -32768 << false;
    QTest::newRow("just inside") << Offset + 32767.0f << 32767 << true;
}

void TestDepthDrag::farDragsClamp()
{
    QFETCH(float, x);
    QFETCH(int, depth);
    QFETCH(bool, refused);
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    if (refused)
        w.dialogs().expectMessage();
    drag(w, {1500, x});
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(depth)));
    QCOMPARE(w->txtDepth->text(), QString::number(depth));
    QCOMPARE(hasSideEdge(w->picSide, 1000, float(depth)), !refused);
    QCOMPARE(w.state().ExtrudeMode, false);
    QCOMPARE(w->picSide->MousePointer(), 0);
}

void TestDepthDrag::dragBeforeAnyDrawing()
{
    TestWindow w;
    placeTriangle(w);
    QCOMPARE(w.state().SideOffsetX, 0.0f);
    drag(w, {100, 500});
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(500)));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("500"));
    // The release draws with the side view's offset, now computed.
    QCOMPARE(w.state().SideOffsetX, Offset);
    QVERIFY(hasSideEdge(w->picSide, 1000, 500));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

void TestDepthDrag::pressAndReleaseWithoutMoving()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    w->mnuDrawPoly->trigger();
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    w->txtDepth->setText(QStringLiteral("typed"));

    w->mnuExtrude->trigger();
    mousePress(w->picSide, 3000, 2000);
    mouseRelease(w->picSide, 3000, 2000);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("typed"));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QVERIFY(hasSideEdge(w->picSide, 1000, 200));
    QCOMPARE(w->picSide->MousePointer(), 0);
}

void TestDepthDrag::doubleToggle()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    w->mnuExtrude->trigger();
    w->mnuExtrude->trigger();
    QCOMPARE(w.state().ExtrudeMode, false);
    QCOMPARE(w->picSide->MousePointer(), 3);
    const QStringList before = drawn(w->picSide);

    mousePress(w->picSide, 1500, 2000);
    QCOMPARE(w.state().DraggingDepth, false);
    mouseMove(w->picSide, 2500, 2000, Qt::LeftButton);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));
    QCOMPARE(w->txtDepth->text(), QString());
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[2500 : 2000]"));
    mouseRelease(w->picSide, 2500, 2000);
    QCOMPARE(drawn(w->picSide), before);
    QCOMPARE(w->picSide->MousePointer(), 0);
}

void TestDepthDrag::idleMovesShowTheReadout()
{
    TestWindow w;
    mouseMove(w->picSide, 1245.5f, 30);
    QCOMPARE(w->sbStatus->panelText(4), QStringLiteral("SIDE VIEW"));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[1245.5 : 0030]"));
    QVERIFY(w.state().Depth.isEmpty());
    QCOMPARE(w->txtDepth->text(), QString());
}

void TestDepthDrag::idlePressClearsAStaleDrag()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    w.state().DraggingDepth = true;
    const QStringList before = drawn(w->picSide);
    mousePress(w->picSide, 1500, 2000);
    QCOMPARE(w.state().DraggingDepth, false);
    mouseRelease(w->picSide, 1500, 2000);
    QCOMPARE(drawn(w->picSide), before);
}

void TestDepthDrag::oneDragPerArming()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    drag(w, {1500, 1735});
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(500)));

    mousePress(w->picSide, 1735, 2000);
    mouseMove(w->picSide, 3235, 2000, Qt::LeftButton);
    mouseRelease(w->picSide, 3235, 2000);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(500)));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("500"));
    QVERIFY(hasSideEdge(w->picSide, 1000, 500));
}

void TestDepthDrag::releaseLaysOutTheGrid()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    // A grid colour that no layout has applied yet; the release's layout applies it.
    w->cdlColorGrid.Color = 0x00FF00;
    QCOMPARE(w->grid.sLine[1]->BorderColor(), ColorRef(0x404040));
    drag(w, {1500, 1735});
    QCOMPARE(w->grid.sLine[1]->BorderColor(), ColorRef(0x00FF00));
    QCOMPARE(w->grid.Gridv[49]->BorderColor(), ColorRef(0x00FF00));
    QVERIFY(w->grid.tLine[49]->Visible());
}

void TestDepthDrag::prismPixelsAtTheNewDepth()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    drag(w, {1500, 2235});
    // The side view's edge reaches the back face 1000 to the right of the front face, the
    // 3D view's back face lies 1000 up and to the right.
    const QImage side = w->picSide->picture();
    const QColor white = toQColor(0xFFFFFF);
    QCOMPARE(side.pixelColor(int(2000 / 15), int(1000 / 15)), white);
    QCOMPARE(side.pixelColor(int(2500 / 15), int(1000 / 15)), toQColor(0x808080));
    const QImage view3d = w->pic3dView->picture();
    const QColor yellow = toQColor(0x00FFFF);
    if (view3d.pixelColor(int(1500 / 15), int(0 / 15)) != yellow)
        saveTestImage(view3d, QStringLiteral("prism-3d-view"));
    QCOMPARE(view3d.pixelColor(int(1500 / 15), int(0 / 15)), yellow);
}

QTEST_MAIN(TestDepthDrag)
#include "tst_depthdrag.moc"
