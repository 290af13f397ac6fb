// The grid lines of the three orthographic views: their layout for each grid size, On and
// Off, the grid line colour, and the background colour of the views.
#include "fakes/TestSupport.h"
#include "views/GridLayout.h"

#include <QTest>

namespace {
constexpr ColorRef StartGridColour = 0x404040;
constexpr ColorRef StartViewGrey = 0x808080;
constexpr ColorRef StartBackground = 0xC0C0FF;
constexpr ColorRef White = 0xFFFFFF;

// One line object as a short text, so that a difference names the line and what is wrong.
QString describe(const LineObject* line)
{
    if (!line->Visible())
        return QStringLiteral("hidden");
    return QStringLiteral("%1,%2 %3,%4 #%5")
        .arg(line->X1())
        .arg(line->Y1())
        .arg(line->X2())
        .arg(line->Y2())
        .arg(line->BorderColor(), 6, 16, QLatin1Char('0'));
}

struct NamedArray {
    const char* name;
    GridLines::Array GridLines::*lines;
    PictureBox* frmMain::*view;
    bool horizontal;
};

const std::array<NamedArray, 6> Arrays{{
    {"Grid", &GridLines::Grid, &frmMain::picFront, true},
    {"Gridv", &GridLines::Gridv, &frmMain::picFront, false},
    {"sLine", &GridLines::sLine, &frmMain::picSide, true},
    {"sLinev", &GridLines::sLinev, &frmMain::picSide, false},
    {"tLine", &GridLines::tLine, &frmMain::picTop, true},
    {"tLinev", &GridLines::tLinev, &frmMain::picTop, false},
}};

// Every line of the six arrays, "Grid(7): 0,686 5000,686 #404040" or "... hidden".
QStringList layout(TestWindow& w)
{
    QStringList list;
    for (const NamedArray& a : Arrays)
        for (std::size_t i = 1; i <= 60; ++i)
            list << QStringLiteral("%1(%2): %3").arg(QLatin1String(a.name)).arg(i).arg(describe((w->grid.*a.lines)[i]));
    return list;
}

// The layout expected with lines 1 to visible shown `spacing` apart in `colour`.
QStringList expectedLayout(TestWindow& w, int visible, int spacing, ColorRef colour)
{
    QStringList list;
    for (const NamedArray& a : Arrays) {
        PictureBox* view = w.w().*a.view;
        for (int i = 1; i <= 60; ++i) {
            QString line = QStringLiteral("hidden");
            if (i <= visible) {
                const int pos = i * spacing;
                const QString colourText = QStringLiteral("#%1").arg(colour, 6, 16, QLatin1Char('0'));
                line = a.horizontal ? QStringLiteral("0,%1 %2,%1 %3").arg(pos).arg(view->Width()).arg(colourText)
                                    : QStringLiteral("%1,0 %1,%2 %3").arg(pos).arg(view->Height()).arg(colourText);
            }
            list << QStringLiteral("%1(%2): %3").arg(QLatin1String(a.name)).arg(i).arg(line);
        }
    }
    return list;
}

int visibleLines(TestWindow& w, GridLines::Array GridLines::*lines)
{
    int count = 0;
    for (std::size_t i = 1; i <= 60; ++i)
        count += (w->grid.*lines)[i]->Visible() ? 1 : 0;
    return count;
}

// The pixel of the picture alone (no grid lines) at a position in twips.
QColor drawnPixel(PictureBox* view, float x, float y) { return view->picture().pixelColor(int(x / 15), int(y / 15)); }

std::array<PictureBox*, 3> orthographic(TestWindow& w) { return {w->picFront, w->picSide, w->picTop}; }
} // namespace

class TestGridLayout : public QObject {
    Q_OBJECT
private slots:
    void startsWithMediumGrid();
    void gridSizes_data();
    void gridSizes();
    void spacingRoundsHalfToEven_data();
    void spacingRoundsHalfToEven();
    void smallToExtraLargeAndBack();
    void gridSizeClearsTheViews();
    void offAndOn();
    void threeDViewHasNoGrid();

    void lineColour_data();
    void lineColour();
    void lineColourWhileHidden();
    void lineColourRedraws_data();
    void lineColourRedraws();
    void lineColourStopsAtARefusedDrawing();

    void backgroundColour_data();
    void backgroundColour();
    void backgroundErasesMarksBeforeAnyDrawing();
    void backgroundRedraws();
    void backgroundRefusedDrawing();

    void gridLiesAboveTheDrawing();
};

void TestGridLayout::startsWithMediumGrid()
{
    TestWindow w;
    QCOMPARE(w->picFront->ScaleHeight(), 4920.0f);
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, StartGridColour));
}

void TestGridLayout::gridSizes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("gridCount");
    QTest::addColumn<int>("spacing");
    // 4920 divided by the count: 82, 98.4, 123, 164.
    QTest::newRow("Small") << 0 << 60 << 82;
    QTest::newRow("Medium") << 1 << 50 << 98;
    QTest::newRow("Large") << 2 << 40 << 123;
    QTest::newRow("Extra Large") << 3 << 30 << 164;
}

void TestGridLayout::gridSizes()
{
    QFETCH(int, index);
    QFETCH(int, gridCount);
    QFETCH(int, spacing);
    TestWindow w;
    QCOMPARE(w->mnuGridsize[std::size_t(index)]->text(), QString::fromLatin1(QTest::currentDataTag()));
    w->mnuGridsize[std::size_t(index)]->trigger();

    QCOMPARE(w.state().GridCount, std::int16_t(gridCount));
    QCOMPARE(layout(w), expectedLayout(w, gridCount - 1, spacing, StartGridColour));
    for (const NamedArray& a : Arrays)
        QCOMPARE(visibleLines(w, a.lines), gridCount - 1);
}

void TestGridLayout::spacingRoundsHalfToEven_data()
{
    QTest::addColumn<int>("gridCount");
    QTest::addColumn<float>("lastLine");
    QTest::newRow("124.5 goes down to 124") << 40 << 39 * 124.0f;
    QTest::newRow("99.6 goes up to 100") << 50 << 49 * 100.0f;
    QTest::newRow("166 exactly") << 30 << 29 * 166.0f;
}

void TestGridLayout::spacingRoundsHalfToEven()
{
    QFETCH(int, gridCount);
    QFETCH(float, lastLine);
    // A front view 4980 twips high inside; the spacing comes from it alone.
    TestWindow w;
    PictureBox tallFront(nullptr, 0, 0, 5000, 5040, StartViewGrey, true);
    QCOMPARE(tallFront.ScaleHeight(), 4980.0f);
    ViewContext& v = w->views();
    ViewContext views{v.state, tallFront, v.picSide, v.picTop, v.pic3dView, v.grid, v.cdlColorGrid,
                      v.cdlGridBg, v.cdlDrawing, v.cdl3dObject, v.sbStatus, v.dialogs};
    w.state().GridCount = std::int16_t(gridCount);
    LayoutGridLines(views);
    const std::size_t last = std::size_t(gridCount - 1);
    QCOMPARE(w->grid.sLine[last]->Y1(), lastLine);
    QCOMPARE(w->grid.tLinev[last]->X1(), lastLine);
    QCOMPARE(w->grid.Grid[last]->X2(), 5000.0f);
    QCOMPARE(w->grid.Gridv[last]->Y2(), tallFront.Height());
    QVERIFY(!w->grid.sLine[last + 1]->Visible());
}

void TestGridLayout::smallToExtraLargeAndBack()
{
    TestWindow w;
    w->mnuGridsize[0]->trigger();
    QCOMPARE(layout(w), expectedLayout(w, 59, 82, StartGridColour));
    w->mnuGridsize[3]->trigger();
    QCOMPARE(layout(w), expectedLayout(w, 29, 164, StartGridColour));
    w->mnuGridsize[0]->trigger();
    QCOMPARE(layout(w), expectedLayout(w, 59, 82, StartGridColour));
    QVERIFY(!w->grid.Grid[60]->Visible());
    QVERIFY(!w->grid.tLinev[60]->Visible());
    QVERIFY(w->grid.sLine[30]->Visible());
}

void TestGridLayout::gridSizeClearsTheViews()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().DrawMode, std::int16_t(3));

    w->mnuGridsize[2]->trigger();
    for (PictureBox* view : {w->picFront, w->picSide, w->picTop, w->pic3dView})
        QVERIFY(view->primitives().empty());
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QCOMPARE(w.state().PointCount, std::int16_t(3));
}

void TestGridLayout::offAndOn()
{
    TestWindow w;
    w->mnuGridsize[2]->trigger();
    const QStringList shown = layout(w);

    w->mnuLneOff->trigger();
    QCOMPARE(w.state().GridState, std::uint8_t(0));
    for (const NamedArray& a : Arrays)
        QCOMPARE(visibleLines(w, a.lines), 0);
    // Hidden lines keep their places and colours.
    QCOMPARE(w->grid.Gridv[39]->X1(), 4797.0f);
    QCOMPARE(w->grid.sLine[1]->BorderColor(), StartGridColour);

    w->mnuLneOn->trigger();
    QCOMPARE(w.state().GridState, std::uint8_t(1));
    QCOMPARE(layout(w), shown);
}

void TestGridLayout::threeDViewHasNoGrid()
{
    TestWindow w;
    QCOMPARE(w->pic3dView->renderedView(), w->pic3dView->picture());
    QCOMPARE(countPixels(w->pic3dView->renderedView(), toQColor(StartGridColour)), 0);
}

void TestGridLayout::lineColour_data()
{
    QTest::addColumn<QList<int>>("answers");   // -1 cancels the dialog
    QTest::addColumn<int>("colour");
    QTest::newRow("chosen") << QList<int>{0x00FF00} << 0x00FF00;
    QTest::newRow("cancelled") << QList<int>{-1} << int(StartGridColour);
    QTest::newRow("chosen then cancelled") << QList<int>{0xFF0000, -1} << 0xFF0000;
    QTest::newRow("chosen twice") << QList<int>{0xFF0000, 0x0000FF} << 0x0000FF;
}

void TestGridLayout::lineColour()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, colour);
    TestWindow w;
    for (const int answer : answers) {
        w.dialogs().answerColor(answer < 0 ? std::nullopt : std::optional<ColorRef>(ColorRef(answer)));
        w->mnuGrdColor->trigger();
    }
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(colour));
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, ColorRef(colour)));
    QCOMPARE(pixelAt(w->picSide, 2000, 98 * 5), toQColor(ColorRef(colour)));
}

void TestGridLayout::lineColourWhileHidden()
{
    TestWindow w;
    w->mnuLneOff->trigger();
    w.dialogs().answerColor(0x00FF00);
    w->mnuGrdColor->trigger();
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(0x00FF00));
    QCOMPARE(w->grid.Grid[1]->BorderColor(), StartGridColour);
    for (const NamedArray& a : Arrays)
        QCOMPARE(visibleLines(w, a.lines), 0);

    w->mnuLneOn->trigger();
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, 0x00FF00));
}

void TestGridLayout::lineColourRedraws_data()
{
    QTest::addColumn<QString>("drawing");   // the Draw Polygon item used, or none
    QTest::addColumn<int>("drawMode");
    QTest::addColumn<int>("sidePrimitives");
    QTest::newRow("nothing drawn") << QString() << 1 << 0;
    // Flat: three marks and one line; extruded: two marks and a line per point, two closing lines.
    QTest::newRow("flat") << QStringLiteral("Draw 2D") << 2 << 4;
    QTest::newRow("extruded") << QStringLiteral("Draw 3D") << 3 << 11;
}

void TestGridLayout::lineColourRedraws()
{
    QFETCH(QString, drawing);
    QFETCH(int, drawMode);
    QFETCH(int, sidePrimitives);
    TestWindow w;
    placeTriangle(w);
    if (drawing == QStringLiteral("Draw 2D"))
        w->mnuDrawPoly->trigger();
    else if (drawing == QStringLiteral("Draw 3D"))
        w->mnuDraw3D->trigger();
    // The grid size erases the drawing; the colour command brings it back.
    w->mnuGridsize[1]->trigger();
    QVERIFY(w->picSide->primitives().empty());

    w.dialogs().answerColor(std::nullopt);
    w->mnuGrdColor->trigger();
    QCOMPARE(w.state().DrawMode, std::int16_t(drawMode));
    QCOMPARE(int(w->picSide->primitives().size()), sidePrimitives);
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, StartGridColour));
}

void TestGridLayout::lineColourStopsAtARefusedDrawing()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    w.state().Depth = TaggedValue(QStringLiteral("deep"));

    w.dialogs().answerColor(0x00FF00);
    w.dialogs().expectMessage();
    w->mnuGrdColor->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QVERIFY(w.dialogs().lastMessage().text.contains(QStringLiteral("deep")));
    // The colour was chosen, but the layout after the refused drawing did not run.
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(0x00FF00));
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, StartGridColour));
}

void TestGridLayout::backgroundColour_data()
{
    QTest::addColumn<QList<int>>("answers");   // -1 cancels the dialog
    QTest::addColumn<int>("background");
    QTest::newRow("first cancelled") << QList<int>{-1} << int(StartBackground);
    QTest::newRow("chosen") << QList<int>{0x00C000} << 0x00C000;
    QTest::newRow("chosen then cancelled") << QList<int>{0x00C000, -1} << 0x00C000;
    QTest::newRow("chosen twice") << QList<int>{0x00C000, 0x303030} << 0x303030;
}

void TestGridLayout::backgroundColour()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, background);
    TestWindow w;
    for (PictureBox* view : orthographic(w))
        QCOMPARE(view->BackColor(), StartViewGrey);

    for (const int answer : answers) {
        w.dialogs().answerColor(answer < 0 ? std::nullopt : std::optional<ColorRef>(ColorRef(answer)));
        w->mnuBgColor->trigger();
    }
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().shown(ScriptedDialogs::Kind::Color).front().offered, StartBackground);
    QCOMPARE(w->cdlGridBg.Color, ColorRef(background));
    for (PictureBox* view : orthographic(w)) {
        QCOMPARE(view->BackColor(), ColorRef(background));
        QCOMPARE(pixelAt(view, 40, 40), toQColor(ColorRef(background)));
    }
    QCOMPARE(w->pic3dView->BackColor(), ColorRef(0x000000));
    QCOMPARE(layout(w), expectedLayout(w, 49, 98, StartGridColour));
}

void TestGridLayout::backgroundErasesMarksBeforeAnyDrawing()
{
    TestWindow w;
    placeTriangle(w);
    QCOMPARE(int(w->picFront->primitives().size()), 3);

    w.dialogs().answerColor(std::nullopt);
    w->mnuBgColor->trigger();
    QVERIFY(w->picFront->primitives().empty());
    QCOMPARE(drawnPixel(w->picFront, 500 + 20, 300), toQColor(StartBackground));
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QCOMPARE(w.state().pPoints.size(), std::size_t(3));
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
}

void TestGridLayout::backgroundRedraws()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDraw3D->trigger();
    const QStringList front = drawn(w->picFront);
    const QStringList view3d = drawn(w->pic3dView);

    w.dialogs().answerColor(0x00C000);
    w->mnuBgColor->trigger();
    QCOMPARE(drawn(w->picFront), front);
    QCOMPARE(drawn(w->pic3dView), view3d);
    QCOMPARE(drawnPixel(w->picFront, 500, 1000), toQColor(White));
    QCOMPARE(drawnPixel(w->picFront, 2500, 2550), QColor(0, 0xC0, 0));
}

void TestGridLayout::backgroundRefusedDrawing()
{
    TestWindow w;
    placeTriangle(w);
    w->mnuDrawPoly->trigger();
    // A point beyond the 16-bit extents refuses the flat drawing with a message.
    w.state().pPoints[1].Y = 40000;

    w.dialogs().answerColor(0x00C000);
    w.dialogs().expectMessage();
    w->mnuBgColor->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    for (PictureBox* view : orthographic(w))
        QCOMPARE(view->BackColor(), ColorRef(0x00C000));
    QVERIFY(w->picFront->primitives().empty());
}

void TestGridLayout::gridLiesAboveTheDrawing()
{
    TestWindow w;
    // A white edge along the tenth horizontal grid line (980) and one across the vertical
    // lines, then extruded so that every view has something under its grid.
    for (const QPoint p : {QPoint(200, 980), QPoint(3000, 980), QPoint(1600, 2500)})
        mouseClick(w->picFront, float(p.x()), float(p.y()));
    w->mnuDraw3D->trigger();

    const QColor grid = toQColor(StartGridColour);
    QCOMPARE(drawnPixel(w->picFront, 1500, 980), toQColor(White));
    QCOMPARE(pixelAt(w->picFront, 1500, 980), grid);
    QCOMPARE(drawnPixel(w->picFront, 98 * 20, 980), toQColor(White));
    QCOMPARE(pixelAt(w->picFront, 98 * 20, 980 + 10), grid);
    // The side view's edge at 980 runs from 1235 to 1435; its grid line lies over it.
    QCOMPARE(drawnPixel(w->picSide, 1300, 980), toQColor(White));
    QCOMPARE(pixelAt(w->picSide, 1300, 980), grid);
    // Between the lines the view's own background shows.
    QCOMPARE(pixelAt(w->picFront, 98 * 20 + 49, 98 * 30 + 49), toQColor(StartViewGrey));

    const QImage before = w->picFront->renderedView();
    w->picFront->Cls();
    w->picSide->Cls();
    QCOMPARE(pixelAt(w->picFront, 1500, 980), grid);
    QCOMPARE(pixelAt(w->picSide, 1300, 980), grid);
    QCOMPARE(drawnPixel(w->picFront, 1500, 1000), toQColor(StartViewGrey));
    QCOMPARE(countPixels(w->picFront->renderedView(), grid), countPixels(before, grid));
}

QTEST_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
