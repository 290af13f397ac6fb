// The grid lines of the front, side and top views for each grid size, On and Off, the Line
// Color menu, and the BackGround Color menu.
#include "fakes/TestCore.h"

#include <QTest>

namespace {
const QList<QPoint> Triangle{{100, 1000}, {900, 1000}, {500, 300}};

// Line i of the six arrays, Grid and Gridv (front), sLine and sLinev (side), tLine and tLinev
// (top): "0,98 5000,98 #404040" or "hidden".
QStringList linesAt(TestCore& w, std::size_t i)
{
    QStringList lines;
    for (auto array : {&GridLines::Grid, &GridLines::Gridv, &GridLines::sLine, &GridLines::sLinev, &GridLines::tLine,
                       &GridLines::tLinev}) {
        const LineObject* line = (w->grid.*array)[i];
        lines << (!line->Visible() ? QStringLiteral("hidden")
                                   : QStringLiteral("%1,%2 %3,%4 #%5").arg(line->X1()).arg(line->Y1()).arg(line->X2())
                                         .arg(line->Y2()).arg(line->BorderColor(), 6, 16, QLatin1Char('0')));
    }
    return lines;
}

// The six lines at pos across their views (front 5000 x 4980 twips, side and top 5000 x 5000).
QStringList placed(int pos, const QString& colour = QStringLiteral("404040"))
{
    const QString across = QStringLiteral("0,%1 5000,%1 #%2"), down = QStringLiteral("%1,0 %1,%3 #%2");
    return {across.arg(pos).arg(colour), down.arg(pos).arg(colour).arg(4980), across.arg(pos).arg(colour),
            down.arg(pos).arg(colour).arg(5000), across.arg(pos).arg(colour), down.arg(pos).arg(colour).arg(5000)};
}

const QStringList Hidden(6, QStringLiteral("hidden"));
} // namespace

class TestGridLayout : public QObject {
    Q_OBJECT
private slots:
    void gridSize_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("spacing");
        QTest::addRow("Small: 4920 / 60") << 0 << 60 << 82;
        QTest::addRow("Medium: 98.4 rounds to 98") << 1 << 50 << 98;
        QTest::addRow("Large: 4920 / 40") << 2 << 40 << 123;
        QTest::addRow("Extra Large: 4920 / 30") << 3 << 30 << 164;
    }

    // Lines 1 to count - 1 show a spacing apart, the others are hidden; the views are left empty.
    void gridSize()
    {
        QFETCH(int, item);
        QFETCH(int, count);
        QFETCH(int, spacing);
        TestCore w;
        clickPoints(w, Triangle);
        QVERIFY(act(w, [&] { mnuDraw3D_Click(w->views); }));
        QVERIFY(act(w, [&] { mnuGridsize_Click(w->views, std::size_t(item)); }));
        QCOMPARE(linesAt(w, 1), placed(spacing));
        QCOMPARE(linesAt(w, std::size_t(count - 1)), placed((count - 1) * spacing));
        QCOMPARE(linesAt(w, std::size_t(count)), Hidden);
        for (ViewSurface* view : {&w->picFront, &w->picSide, &w->picTop, &w->pic3dView})
            QCOMPARE(drawn(view), QStringList());
    }

    void offAndOn()
    {
        TestCore w;
        for (const ViewSurface* view : {&w->picFront, &w->picSide, &w->picTop})
            QCOMPARE(view->lineObjects().size(), std::size_t(2 * GridLines::LinesPerArray));
        QCOMPARE(pixelAt(w->picFront, 2000, 490), QColor(0x40, 0x40, 0x40));
        QVERIFY(act(w, [&] { mnuLneOff_Click(w->views); }));
        QCOMPARE(linesAt(w, 1), Hidden);
        QCOMPARE(linesAt(w, 49), Hidden);
        QCOMPARE(pixelAt(w->picFront, 2000, 490), QColor(0x80, 0x80, 0x80));
        QVERIFY(act(w, [&] { mnuLneOn_Click(w->views); }));
        QCOMPARE(linesAt(w, 49), placed(4802));
    }

    void lineColour_data()
    {
        QTest::addColumn<int>("drawing");   // none, Draw 2D, Draw 3D
        QTest::addColumn<bool>("refused");   // a point moved past 16 bits first
        QTest::addColumn<std::optional<ColorRef>>("answer");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("status");
        QTest::addRow("nothing drawn: the lines in the new colour") << 0 << false << std::optional<ColorRef>(0x00FF00)
                                                                    << "00ff00" << "Object Points:";
        QTest::addRow("chosen after Draw 2D: redrawn, the lines in the new colour") << 1 << false << std::optional<ColorRef>(0x00FF00)
                                                                                 << "00ff00" << "Object Points: 4";
        QTest::addRow("cancelled after Draw 3D: redrawn, the colour kept") << 2 << false << std::optional<ColorRef>()
                                                                           << "404040" << "Object Points: 8";
        QTest::addRow("refused redraw: the lines as they were") << 1 << true << std::optional<ColorRef>(0x00FF00)
                                                                << "404040" << "Object Points: 3";
    }

    // A fourth point placed after the drawing shows whether the menu redrew it.
    void lineColour()
    {
        QFETCH(int, drawing);
        QFETCH(std::optional<ColorRef>, answer);
        QFETCH(QString, colour);
        TestCore w;
        clickPoints(w, Triangle);
        if (drawing > 0)
            QVERIFY(act(w, [&] { drawing == 1 ? mnuDrawPoly_Click(w->views) : mnuDraw3D_Click(w->views); }));
        frontClick(w, 2000, 2000);
        QFETCH(bool, refused);
        if (refused) {
            w.dialogs().expectMessage();
            command(w, QStringLiteral("ResetPoint 1,900,40000"));
        }
        w.dialogs().answerColor(answer);
        if (refused)
            w.dialogs().expectMessage();
        QVERIFY(act(w, [&] { mnuGrdColor_Click(w->views); }));
        QTEST(w->sbStatus.text(StatusPanel::ObjectPoints), "status");
        QCOMPARE(linesAt(w, 5), placed(490, colour));
        QCOMPARE(pixelAt(w->picSide, 2000, 490), QColor(QStringLiteral("#") + colour));
    }

    void backgroundColour_data()
    {
        QTest::addColumn<bool>("extruded");
        QTest::addColumn<std::optional<ColorRef>>("answer");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<int>("front");
        QTest::addRow("cancelled at first: its first colour, the marks erased")
            << false << std::optional<ColorRef>() << QColor(0xFF, 0xC0, 0xC0) << 0;
        QTest::addRow("chosen after Draw 3D: the object redrawn on it")
            << true << std::optional<ColorRef>(0x00C000) << QColor(0, 0xC0, 0) << 6;
    }

    void backgroundColour()
    {
        QFETCH(std::optional<ColorRef>, answer);
        QFETCH(QColor, background);
        TestCore w;
        clickPoints(w, Triangle);
        QFETCH(bool, extruded);
        if (extruded)
            QVERIFY(act(w, [&] { mnuDraw3D_Click(w->views); }));
        w.dialogs().answerColor(answer);
        QVERIFY(act(w, [&] { mnuBgColor_Click(w->views); }));
        QCOMPARE(w.dialogs().shown().front().offered, ColorRef(0xC0C0FF));
        for (ViewSurface* view : {&w->picFront, &w->picSide, &w->picTop})
            QCOMPARE(pixelAt(view, 4000, 4000), background);
        QCOMPARE(pixelAt(w->pic3dView, 4000, 4000), QColor(0, 0, 0));
        QTEST(int(drawn(w->picFront).size()), "front");
        QCOMPARE(linesAt(w, 5), placed(490));
    }
};

QTEST_GUILESS_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
