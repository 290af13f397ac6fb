// The flat and extruded drawings in the four views, clearing and centring, the Draw Polygon
// and object colour menus, and the drawings refused for values that do not fit.
#include "fakes/TestSupport.h"
#include "platform/Conversions.h"
#include "views/Rendering.h"

#include <QTest>

namespace {
constexpr ColorRef Red = 0x0000FF;
constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef Yellow = 0x00FFFF;

QString C(double x, double y, ColorRef colour = Red, double r = 20)
{
    return describe({Primitive::Kind::Circle, float(x), float(y), float(x), float(y), float(r), colour, 1});
}

QString L(double x1, double y1, double x2, double y2, ColorRef colour = White)
{
    return describe({Primitive::Kind::Line, float(x1), float(y1), float(x2), float(y2), 0.0f, colour, 1});
}

void placePoints(TestWindow& w, const QList<QPoint>& points)
{
    for (const QPoint& p : points)
        mouseClick(w->picFront, float(p.x()), float(p.y()));
}

// Some colour of `colour` within a pixel of the twip position, in the picture without grid lines.
bool colourNear(PictureBox* view, float x, float y, ColorRef colour)
{
    const QImage& image = view->picture();
    const int px = int(x / 15), py = int(y / 15);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(px + dx, py + dy) && image.pixelColor(px + dx, py + dy) == toQColor(colour))
                return true;
    saveTestImage(image, QStringLiteral("colour-near-%1-%2").arg(x).arg(y));
    return false;
}

struct Snapshot {
    QStringList front, side, top, view3d;
    QString status;
    std::int16_t dimension, drawMode;
    TaggedValue depth;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(TestWindow& w)
{
    return {drawn(w->picFront), drawn(w->picSide), drawn(w->picTop), drawn(w->pic3dView),
            w->sbStatus->panelText(3), w.state().Dimension, w.state().DrawMode, w.state().Depth};
}
} // namespace

using PointList = QList<QPoint>;

class TestRendering : public QObject {
    Q_OBJECT
private slots:
    void viewOffsets_data();
    void viewOffsets();
    void topOffsetRoundsHalfToEven();
    void clearViewsKeepsGridLines();
    void offsetsClampOutsideADrawing();

    void draw2D_data();
    void draw2D();
    void draw3DTriangle();
    void draw3DSmallObjects_data();
    void draw3DSmallObjects();
    void draw3DDepths_data();
    void draw3DDepths();
    void skippedForNegativeFirstX();
    void draw3DMenuDepth_data();
    void draw3DMenuDepth();
    void draw2DKeepsDepth();
    void modeTransitions();

    void refused_data();
    void refused();
    void refusedMenuKeepsDepth();
    void largestObjectsDraw();

    void objectColour();
    void objectColourCancelled();
    void colour3D_data();
    void colour3D();

    void pixels();
};

void TestRendering::viewOffsets_data()
{
    QTest::addColumn<PointList>("points");
    QTest::addColumn<int>("minX");
    QTest::addColumn<int>("maxX");
    QTest::addColumn<int>("minY");
    QTest::addColumn<int>("maxY");
    QTest::newRow("no points") << PointList{} << 0 << 0 << 0 << 0;
    QTest::newRow("one point") << PointList{{700, 400}} << 700 << 700 << 400 << 400;
    QTest::newRow("any order") << PointList{{100, 500}, {300, 200}, {200, 900}} << 100 << 300 << 200 << 900;
    QTest::newRow("equal values") << PointList{{300, 900}, {300, 200}, {100, 900}} << 100 << 300 << 200 << 900;
}

void TestRendering::viewOffsets()
{
    QFETCH(PointList, points);
    TestWindow w;
    placePoints(w, points);
    ClearViews(w->views());
    QTEST(int(w.state().MinX), "minX");
    QTEST(int(w.state().MaxX), "maxX");
    QTEST(int(w.state().MinY), "minY");
    QTEST(int(w.state().MaxY), "maxY");
    QCOMPARE(w->picSide->ScaleWidth(), 4940.0f);
    QCOMPARE(w.state().SideOffsetX, 1235.0f);
    QCOMPARE(w.state().TopOffsetY, std::int16_t(1235));
}

void TestRendering::topOffsetRoundsHalfToEven()
{
    // A top view 4970 twips high puts the front face at a quarter, 1242.5, stored as 1242.
    TestWindow w;
    PictureBox tallTop(nullptr, 0, 0, 5000, 5030, 0x808080, true);
    QCOMPARE(tallTop.ScaleHeight(), 4970.0f);
    ViewContext& v = w->views();
    ViewContext views{v.state, v.picFront, v.picSide, tallTop, v.pic3dView, v.grid, v.cdlColorGrid,
                      v.cdlGridBg, v.cdlDrawing, v.cdl3dObject, v.sbStatus, v.dialogs};
    ClearViews(views);
    QCOMPARE(w.state().TopOffsetY, std::int16_t(1242));
}

void TestRendering::clearViewsKeepsGridLines()
{
    TestWindow fresh;
    TestWindow w;
    placePoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
    w->mnuDraw3D->trigger();

    ClearViews(w->views());
    const std::array<std::pair<PictureBox*, PictureBox*>, 4> views{
        {{w->picFront, fresh->picFront}, {w->picSide, fresh->picSide}, {w->picTop, fresh->picTop},
         {w->pic3dView, fresh->pic3dView}}};
    int index = 0;
    for (const auto& [cleared, blank] : views) {
        QVERIFY(cleared->primitives().empty());
        QVERIFY(sameImage(cleared->renderedView(), blank->renderedView(), QStringLiteral("cleared-%1").arg(index++)));
    }
}

void TestRendering::offsetsClampOutsideADrawing()
{
    // The grid size menu clears the views for any object, drawable or not; the fields then
    // hold the nearest value they can.
    TestWindow w;
    w.state().pPoints = {{-40000, 50000}, {2'000'000'000, -50000}};
    w.state().PointCount = 2;
    ClearViews(w->views());
    QCOMPARE(w.state().MinX, std::int16_t(-32768));
    QCOMPARE(w.state().MaxX, 2'000'000'000);
    QCOMPARE(w.state().MinY, std::int16_t(-32768));
    QCOMPARE(w.state().MaxY, std::int16_t(32767));
}

void TestRendering::draw2D_data()
{
    QTest::addColumn<PointList>("points");
    QTest::addColumn<QStringList>("front");
    QTest::addColumn<QStringList>("side");
    QTest::addColumn<QStringList>("top");
    QTest::addColumn<QString>("status");

    QTest::newRow("no points: element 0 at the origin")
        << PointList{} << QStringList{C(0, 0), L(0, 0, 0, 0)} << QStringList{C(1235, 0), L(1235, 0, 1235, 0)}
        << QStringList{C(0, 1235), L(0, 1235, 0, 1235)} << QStringLiteral("Object Points: 0");
    QTest::newRow("one point closes on itself")
        << PointList{{600, 450}} << QStringList{C(600, 450), L(600, 450, 600, 450)}
        << QStringList{C(1235, 450), L(1235, 450, 1235, 450)} << QStringList{C(600, 1235), L(600, 1235, 600, 1235)}
        << QStringLiteral("Object Points: 1");
    QTest::newRow("two points: the segment twice")
        << PointList{{200, 300}, {800, 900}}
        << QStringList{C(200, 300), L(200, 300, 800, 900), C(800, 900), L(800, 900, 200, 300)}
        << QStringList{C(1235, 300), C(1235, 900), L(1235, 900, 1235, 300)}
        << QStringList{C(200, 1235), C(800, 1235), L(800, 1235, 200, 1235)} << QStringLiteral("Object Points: 2");
    QTest::newRow("triangle")
        << PointList{{100, 1000}, {900, 1000}, {500, 300}}
        << QStringList{C(100, 1000), L(100, 1000, 900, 1000), C(900, 1000), L(900, 1000, 500, 300), C(500, 300),
                       L(500, 300, 100, 1000)}
        << QStringList{C(1235, 1000), C(1235, 1000), C(1235, 300), L(1235, 1000, 1235, 300)}
        << QStringList{C(100, 1235), C(900, 1235), C(500, 1235), L(900, 1235, 100, 1235)}
        << QStringLiteral("Object Points: 3");
}

void TestRendering::draw2D()
{
    QFETCH(PointList, points);
    TestWindow w;
    placePoints(w, points);
    w->mnuDrawPoly->trigger();
    QTEST(drawn(w->picFront), "front");
    QTEST(drawn(w->picSide), "side");
    QTEST(drawn(w->picTop), "top");
    QCOMPARE(drawn(w->pic3dView), QStringList{});
    QTEST(w->sbStatus->panelText(3), "status");
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QVERIFY(w.state().Depth.isEmpty());
}

void TestRendering::draw3DTriangle()
{
    TestWindow w;
    placePoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
    w->mnuDraw3D->trigger();

    QCOMPARE(drawn(w->picFront), (QStringList{C(100, 1000), L(100, 1000, 900, 1000), C(900, 1000),
                                              L(900, 1000, 500, 300), C(500, 300), L(500, 300, 100, 1000)}));
    QCOMPARE(drawn(w->picSide),
             (QStringList{C(1235, 1000), C(1435, 1000), L(1235, 1000, 1435, 1000), C(1235, 1000), C(1435, 1000),
                          L(1235, 1000, 1435, 1000), C(1235, 300), C(1435, 300), L(1235, 300, 1435, 300),
                          L(1235, 1000, 1235, 300), L(1435, 1000, 1435, 300)}));
    QCOMPARE(drawn(w->picTop),
             (QStringList{C(100, 1435), C(100, 1235), L(100, 1235, 100, 1435), C(900, 1435), C(900, 1235),
                          L(900, 1235, 900, 1435), C(500, 1435), C(500, 1235), L(500, 1235, 500, 1435),
                          L(900, 1235, 100, 1235), L(900, 1435, 100, 1435)}));
    // Back face (300, 800), (1100, 800), (700, 100); lateral edges; the front face last.
    QCOMPARE(drawn(w->pic3dView),
             (QStringList{L(300, 800, 1100, 800, Yellow), L(1100, 800, 700, 100, Yellow), L(700, 100, 300, 800, Yellow),
                          L(100, 1000, 300, 800, Yellow), L(900, 1000, 1100, 800, Yellow), L(500, 300, 700, 100, Yellow),
                          L(100, 1000, 900, 1000, Yellow), L(900, 1000, 500, 300, Yellow), L(500, 300, 100, 1000, Yellow)}));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
    QCOMPARE(w.state().Dimension, std::int16_t(3));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

void TestRendering::draw3DSmallObjects_data()
{
    QTest::addColumn<PointList>("points");
    QTest::addColumn<QStringList>("front");
    QTest::addColumn<QStringList>("side");
    QTest::addColumn<QStringList>("top");
    QTest::addColumn<QStringList>("view3d");
    QTest::addColumn<QString>("status");

    QTest::newRow("no points")
        << PointList{} << QStringList{C(0, 0), L(0, 0, 0, 0)}
        << QStringList{C(1235, 0), C(1435, 0), L(1235, 0, 1435, 0), L(1235, 0, 1235, 0), L(1435, 0, 1435, 0)}
        << QStringList{C(0, 1435), C(0, 1235), L(0, 1235, 0, 1435), L(0, 1235, 0, 1235), L(0, 1435, 0, 1435)}
        << QStringList{L(200, -200, 200, -200, Yellow), L(0, 0, 200, -200, Yellow), L(0, 0, 0, 0, Yellow)}
        << QStringLiteral("Object Points: 0");
    QTest::newRow("one point")
        << PointList{{600, 450}} << QStringList{C(600, 450), L(600, 450, 600, 450)}
        << QStringList{C(1235, 450), C(1435, 450), L(1235, 450, 1435, 450), L(1235, 450, 1235, 450),
                       L(1435, 450, 1435, 450)}
        << QStringList{C(600, 1435), C(600, 1235), L(600, 1235, 600, 1435), L(600, 1235, 600, 1235),
                       L(600, 1435, 600, 1435)}
        << QStringList{L(800, 250, 800, 250, Yellow), L(600, 450, 800, 250, Yellow), L(600, 450, 600, 450, Yellow)}
        << QStringLiteral("Object Points: 2");
    QTest::newRow("two points: each face edge twice")
        << PointList{{200, 300}, {800, 900}}
        << QStringList{C(200, 300), L(200, 300, 800, 900), C(800, 900), L(800, 900, 200, 300)}
        << QStringList{C(1235, 300), C(1435, 300), L(1235, 300, 1435, 300), C(1235, 900), C(1435, 900),
                       L(1235, 900, 1435, 900), L(1235, 900, 1235, 300), L(1435, 900, 1435, 300)}
        << QStringList{C(200, 1435), C(200, 1235), L(200, 1235, 200, 1435), C(800, 1435), C(800, 1235),
                       L(800, 1235, 800, 1435), L(800, 1235, 200, 1235), L(800, 1435, 200, 1435)}
        << QStringList{L(400, 100, 1000, 700, Yellow), L(1000, 700, 400, 100, Yellow), L(200, 300, 400, 100, Yellow),
                       L(800, 900, 1000, 700, Yellow), L(200, 300, 800, 900, Yellow), L(800, 900, 200, 300, Yellow)}
        << QStringLiteral("Object Points: 4");
}

void TestRendering::draw3DSmallObjects()
{
    QFETCH(PointList, points);
    TestWindow w;
    placePoints(w, points);
    w->mnuDraw3D->trigger();
    QTEST(drawn(w->picFront), "front");
    QTEST(drawn(w->picSide), "side");
    QTEST(drawn(w->picTop), "top");
    QTEST(drawn(w->pic3dView), "view3d");
    QTEST(w->sbStatus->panelText(3), "status");
}

void TestRendering::draw3DDepths_data()
{
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<int>("d");
    QTest::newRow("empty: 200, kept") << TaggedValue() << 200;
    QTest::newRow("zero: faces coincide") << TaggedValue(std::int16_t(0)) << 0;
    QTest::newRow("negative: left, above, down-left") << TaggedValue(std::int16_t(-300)) << -300;
    QTest::newRow("150.5 to even") << TaggedValue(QStringLiteral("150.5")) << 150;
    QTest::newRow("151.5 to even") << TaggedValue(QStringLiteral("151.5")) << 152;
    QTest::newRow("single 150.5") << TaggedValue(150.5f) << 150;
    QTest::newRow("32-bit 400") << TaggedValue(std::int32_t(400)) << 400;
}

// DrawObject3D itself draws whatever depth it finds (the menu makes it positive first).
void TestRendering::draw3DDepths()
{
    QFETCH(TaggedValue, depth);
    QFETCH(int, d);
    TestWindow w;
    placePoints(w, {{600, 450}});
    w.state().Depth = depth;
    QVERIFY(DrawObject3D(w->views()));
    const double back = 1235 + d;
    QCOMPARE(drawn(w->picSide), (QStringList{C(1235, 450), C(back, 450), L(1235, 450, back, 450),
                                             L(1235, 450, 1235, 450), L(back, 450, back, 450)}));
    QCOMPARE(drawn(w->picTop), (QStringList{C(600, back), C(600, 1235), L(600, 1235, 600, back),
                                            L(600, 1235, 600, 1235), L(600, back, 600, back)}));
    QCOMPARE(drawn(w->pic3dView),
             (QStringList{L(600 + d, 450 - d, 600 + d, 450 - d, Yellow), L(600, 450, 600 + d, 450 - d, Yellow),
                          L(600, 450, 600, 450, Yellow)}));
    QCOMPARE(w.state().Depth, depth.isEmpty() ? TaggedValue(std::int16_t(200)) : depth);
}

void TestRendering::skippedForNegativeFirstX()
{
    TestWindow w;
    placePoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
    w->mnuDrawPoly->trigger();
    w.state().pPoints[0].X = -10;

    QVERIFY(DrawObject3D(w->views()));
    for (PictureBox* view : {w->picFront, w->picSide, w->picTop, w->pic3dView})
        QVERIFY(view->primitives().empty());
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 3"));
    QCOMPARE(w.state().MinX, std::int16_t(-10));
}

void TestRendering::draw3DMenuDepth_data()
{
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<TaggedValue>("after");
    const TaggedValue fallback(std::int16_t(200));
    QTest::newRow("empty") << TaggedValue() << fallback;
    QTest::newRow("zero") << TaggedValue(std::int16_t(0)) << fallback;
    QTest::newRow("negative") << TaggedValue(std::int16_t(-50)) << fallback;
    QTest::newRow("zero text") << TaggedValue(QStringLiteral("0")) << fallback;
    QTest::newRow("positive kept") << TaggedValue(std::int16_t(350)) << TaggedValue(std::int16_t(350));
    QTest::newRow("positive text kept") << TaggedValue(QStringLiteral("350")) << TaggedValue(QStringLiteral("350"));
}

void TestRendering::draw3DMenuDepth()
{
    QFETCH(TaggedValue, depth);
    QFETCH(TaggedValue, after);
    TestWindow w;
    placePoints(w, {{600, 450}});
    w.state().Depth = depth;
    w->mnuDraw3D->trigger();
    QTEST(w.state().Depth, "after");
    const double d = *after.toNumber();
    QCOMPARE(drawn(w->pic3dView).value(1), L(600, 450, 600 + d, 450 - d, Yellow));
}

void TestRendering::draw2DKeepsDepth()
{
    TestWindow w;
    placePoints(w, {{600, 450}});
    w.state().Depth = std::int16_t(350);
    w->mnuDraw3D->trigger();
    w->mnuDrawPoly->trigger();
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(350)));
    w->mnuDraw3D->trigger();
    QCOMPARE(drawn(w->pic3dView).value(1), L(600, 450, 950, 100, Yellow));
}

void TestRendering::modeTransitions()
{
    TestWindow w;
    QCOMPARE(w.state().Dimension, std::int16_t(0));
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
    placePoints(w, {{600, 450}});
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().Dimension, std::int16_t(3));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    w->mnuDrawPoly->trigger();
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));

    // A dimension read from a file stays until the next drawing sets both.
    w.state().Dimension = 3;
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

void TestRendering::refused_data()
{
    QTest::addColumn<QList<PointRecord>>("points");
    QTest::addColumn<int>("pointCount");
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("message");

    const QList<PointRecord> triangle{{100, 1000}, {900, 1000}, {500, 300}};
    const TaggedValue d200(std::int16_t(200));
    const QString range16 = QStringLiteral("is outside the range -32768 to 32767.");

    QTest::newRow("flat: smallest X")
        << QList<PointRecord>{{100, 1000}, {-32769, 1000}, {500, 300}} << 3 << d200 << true
        << QStringLiteral("The object cannot be drawn: the smallest X of its points (-32769) ") + range16;
    QTest::newRow("flat: smallest Y")
        << QList<PointRecord>{{100, -40000}, {900, 1000}} << 2 << d200 << true
        << QStringLiteral("The object cannot be drawn: the smallest Y of its points (-40000) ") + range16;
    QTest::newRow("flat: largest Y")
        << QList<PointRecord>{{100, 1000}, {900, 32768}} << 2 << d200 << true
        << QStringLiteral("The object cannot be drawn: the largest Y of its points (32768) ") + range16;
    QTest::newRow("extruded: smallest X")
        << QList<PointRecord>{{100, 1000}, {-32769, 1000}} << 2 << d200 << false
        << QStringLiteral("The object cannot be drawn: the smallest X of its points (-32769) ") + range16;
    QTest::newRow("extruded: largest Y")
        << QList<PointRecord>{{100, 1000}, {900, 100000}} << 2 << d200 << false
        << QStringLiteral("The object cannot be drawn: the largest Y of its points (100000) ") + range16;
    QTest::newRow("extruded: depth not a number")
        << triangle << 3 << TaggedValue(QStringLiteral("deep")) << false
        << QStringLiteral("The object cannot be drawn: its depth \"deep\" is not a number.");
    QTest::newRow("extruded: depth beyond 16 bits")
        << triangle << 3 << TaggedValue(std::int32_t(40000)) << false
        << QStringLiteral("The object cannot be drawn: its depth (40000) ") + range16;
    QTest::newRow("extruded: depth of a million")
        << triangle << 3 << TaggedValue(1e6) << false
        << QStringLiteral("The object cannot be drawn: its depth (1000000) ") + range16;
    QTest::newRow("extruded: depth rounds beyond 16 bits")
        << triangle << 3 << TaggedValue(QStringLiteral("32767.5")) << false
        << QStringLiteral("The object cannot be drawn: its depth (32767.5) ") + range16;
    QTest::newRow("extruded: back face in the top view")
        << triangle << 3 << TaggedValue(std::int16_t(31533)) << false
        << QStringLiteral("The object cannot be drawn: its back face in the top view would lie at 1235 + 31533 = "
                          "32768, outside the range -32768 to 32767.");
    QTest::newRow("extruded: X plus depth")
        << QList<PointRecord>{{100, 1000}, {2147483600, 1000}} << 2 << d200 << false
        << QStringLiteral("The object cannot be drawn: a point's X plus the depth, 2147483600 + 200 (2147483800), is "
                          "outside the range -2147483648 to 2147483647.");
}

// Every refusal tells the user and leaves the views, the modes, the status text and the depth.
void TestRendering::refused()
{
    QFETCH(QList<PointRecord>, points);
    QFETCH(int, pointCount);
    QFETCH(TaggedValue, depth);
    QFETCH(bool, flat);
    QFETCH(QString, message);

    TestWindow w;
    placePoints(w, {{300, 400}, {700, 800}});
    w->mnuDraw3D->trigger();
    w->mnuDrawPoly->trigger();
    std::vector<PointRecord> all(points.begin(), points.end());
    all.resize(std::max<std::size_t>(all.size(), std::size_t(pointCount)), PointRecord{400, 400});
    w.state().pPoints = all;
    w.state().PointCount = std::int16_t(pointCount);
    w.state().Depth = depth;
    const Snapshot before = snapshot(w);

    w.dialogs().expectMessage();
    QVERIFY(!(flat ? DrawObject2D(w->views()) : DrawObject3D(w->views())));
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, message);
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    QVERIFY(snapshot(w) == before);
}

void TestRendering::refusedMenuKeepsDepth()
{
    // Draw 3D would default the depth, but a refused drawing leaves it as the user had it.
    TestWindow w;
    w.state().pPoints = {{100, 40000}};
    w.state().PointCount = 1;
    w.state().Depth = std::int16_t(-50);
    w.dialogs().expectMessage();
    w->mnuDraw3D->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(-50)));
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points:"));
}

void TestRendering::largestObjectsDraw()
{
    // Values at the very ends of their ranges still draw.
    TestWindow w;
    w.state().pPoints = {{2147483447, -32768}, {-32768, 32767}};
    w.state().PointCount = 2;
    w.state().Depth = std::int16_t(200);
    QVERIFY(DrawObject3D(w->views()));
    QCOMPARE(w.state().MinX, std::int16_t(-32768));
    QCOMPARE(w.state().MaxX, 2147483447);
    QCOMPARE(w.state().MinY, std::int16_t(-32768));
    QCOMPARE(w.state().MaxY, std::int16_t(32767));
    QCOMPARE(drawn(w->pic3dView).value(2), L(2147483447, -32768, 2147483647.0, -32968, Yellow));

    // Every object the list can hold draws extruded; its corners are counted past 16 bits.
    w.state().pPoints.assign(32767, PointRecord{10, 10});
    w.state().PointCount = 32767;
    w.state().Depth = std::int16_t(31532);
    w->mnuDraw3D->trigger();
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 65534"));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

void TestRendering::objectColour()
{
    TestWindow w;
    placePoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
    w->mnuDrawPoly->trigger();
    const QStringList before = drawn(w->picFront);

    w.dialogs().answerColor(0x00FF00);
    w->mnuObjColor->trigger();
    QCOMPARE(w.dialogs().shown(ScriptedDialogs::Kind::Color).at(0).offered, White);
    QCOMPARE(w->cdlDrawing.Color, ColorRef(0x00FF00));
    QCOMPARE(drawn(w->picFront), before);

    w->mnuDrawPoly->trigger();
    QCOMPARE(drawn(w->picFront).mid(0, 2), (QStringList{C(100, 1000), L(100, 1000, 900, 1000, 0x00FF00)}));
    QCOMPARE(drawn(w->picSide).last(), L(1235, 1000, 1235, 300, 0x00FF00));
    QCOMPARE(drawn(w->picTop).last(), L(900, 1235, 100, 1235, 0x00FF00));
    w->mnuDraw3D->trigger();
    QCOMPARE(drawn(w->pic3dView).first(), L(300, 800, 1100, 800, Yellow));
}

void TestRendering::objectColourCancelled()
{
    TestWindow w;
    w.dialogs().answerColor(std::nullopt);
    w->mnuObjColor->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w->cdlDrawing.Color, White);
    QVERIFY(w->picFront->primitives().empty());
}

void TestRendering::colour3D_data()
{
    QTest::addColumn<int>("drawing");   // 1 nothing yet, 2 flat, 3 extruded
    QTest::addColumn<std::optional<ColorRef>>("answer");
    QTest::addColumn<int>("drawMode");
    QTest::addColumn<QStringList>("view3d");
    const std::optional<ColorRef> blue = 0xFF0000;
    const std::optional<ColorRef> cancel;
    const QStringList yellowPrism{L(800, 250, 800, 250, Yellow), L(600, 450, 800, 250, Yellow),
                                  L(600, 450, 600, 450, Yellow)};
    const QStringList bluePrism{L(800, 250, 800, 250, 0xFF0000), L(600, 450, 800, 250, 0xFF0000),
                                L(600, 450, 600, 450, 0xFF0000)};
    QTest::newRow("nothing drawn yet") << 1 << blue << 1 << QStringList{};
    QTest::newRow("after flat: flat again") << 2 << blue << 2 << QStringList{};
    QTest::newRow("after extruded: new colour") << 3 << blue << 3 << bluePrism;
    QTest::newRow("after extruded, cancelled: redrawn unchanged") << 3 << cancel << 3 << yellowPrism;
}

void TestRendering::colour3D()
{
    QFETCH(int, drawing);
    QFETCH(std::optional<ColorRef>, answer);
    TestWindow w;
    placePoints(w, {{600, 450}});
    if (drawing == 2)
        w->mnuDrawPoly->trigger();
    if (drawing == 3)
        w->mnuDraw3D->trigger();
    // Leave a mark that only a redraw removes.
    w->picFront->Line(0, 0, 4000, 4000, 0x123456);
    w->cdl3dObject.CancelError = true;

    w.dialogs().answerColor(answer);
    w->mnu3dColor->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().shown(ScriptedDialogs::Kind::Color).at(0).offered, Yellow);
    QVERIFY(!w->cdl3dObject.CancelError);
    QCOMPARE(w->cdl3dObject.Color, answer.value_or(Yellow));
    QTEST(int(w.state().DrawMode), "drawMode");
    QTEST(drawn(w->pic3dView), "view3d");
    const bool redrawn = !drawn(w->picFront).contains(L(0, 0, 4000, 4000, 0x123456));
    QCOMPARE(redrawn, drawing != 1);
}

void TestRendering::pixels()
{
    TestWindow w;
    placePoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
    w->mnuDraw3D->trigger();
    // White edge of the front face, red mark outline on the radius, yellow back edge in 3D.
    QVERIFY(colourNear(w->picFront, 500, 1000, White));
    QVERIFY(colourNear(w->picFront, 500 + 20, 300, Red) || colourNear(w->picFront, 500 - 20, 300, Red));
    QVERIFY(colourNear(w->pic3dView, 700, 800, Yellow));
    QVERIFY(colourNear(w->pic3dView, 200, 900, Yellow));
    QVERIFY(colourNear(w->picSide, 1335, 1000, White));
    QVERIFY(colourNear(w->picTop, 500, 1335, White));
    QCOMPARE(w->pic3dView->picture().pixelColor(10, 10), QColor(Qt::black));

    // A large mark is a ring: red on the circle, background in its middle.
    w.state().PointRadius = 300;
    w->mnuDrawPoly->trigger();
    QVERIFY(colourNear(w->picFront, 500, 300 - 300, Red) || colourNear(w->picFront, 500, 300 + 300, Red));
    QVERIFY(colourNear(w->picFront, 500 + 300, 300, Red));
    QCOMPARE(w->picFront->picture().pixelColor(int(500 / 15) + 10, int(300 / 15)), toQColor(w->picFront->BackColor()));
}

QTEST_MAIN(TestRendering)
#include "tst_rendering.moc"
