// The flat and extruded drawings as the Draw Polygon menu makes them, the depth Draw 3D uses,
// the drawings refused for values that do not fit, and the two object colour menus.
#include "fakes/TestCore.h"

#include <QTest>

namespace {
QString C(int x, int y) { return QStringLiteral("C %1,%2 r20 #0000ff").arg(x).arg(y); }
QString L(int x1, int y1, int x2, int y2, const char* colour = "ffffff")
{
    return QStringLiteral("L %1,%2 %3,%4 #%5").arg(x1).arg(y1).arg(x2).arg(y2).arg(QLatin1String(colour));
}
QString Y(int x1, int y1, int x2, int y2) { return L(x1, y1, x2, y2, "00ffff"); }

const QList<QPoint> Triangle{{100, 1000}, {900, 1000}, {500, 300}};
} // namespace

class TestRendering : public QObject {
    Q_OBJECT
private slots:
    void draw_data()
    {
        QTest::addColumn<bool>("extruded");
        QTest::addColumn<QStringList>("side");
        QTest::addColumn<QStringList>("top");
        QTest::addColumn<QStringList>("view3d");
        QTest::addColumn<QString>("status");
        QTest::addRow("flat: marks and one segment beside the front view")
            << false << QStringList{C(1235, 1000), C(1235, 1000), C(1235, 300), L(1235, 1000, 1235, 300)}
            << QStringList{C(100, 1235), C(900, 1235), C(500, 1235), L(900, 1235, 100, 1235)} << QStringList{}
            << "Object Points: 3";
        QTest::addRow("extruded: both faces, the back face up and right in 3D")
            << true
            << QStringList{C(1235, 1000), C(1435, 1000), L(1235, 1000, 1435, 1000), C(1235, 1000), C(1435, 1000),
                           L(1235, 1000, 1435, 1000), C(1235, 300), C(1435, 300), L(1235, 300, 1435, 300),
                           L(1235, 1000, 1235, 300), L(1435, 1000, 1435, 300)}
            << QStringList{C(100, 1435), C(100, 1235), L(100, 1235, 100, 1435), C(900, 1435), C(900, 1235),
                           L(900, 1235, 900, 1435), C(500, 1435), C(500, 1235), L(500, 1235, 500, 1435),
                           L(900, 1235, 100, 1235), L(900, 1435, 100, 1435)}
            << QStringList{Y(300, 800, 1100, 800), Y(1100, 800, 700, 100), Y(700, 100, 300, 800),
                           Y(100, 1000, 300, 800), Y(900, 1000, 1100, 800), Y(500, 300, 700, 100),
                           Y(100, 1000, 900, 1000), Y(900, 1000, 500, 300), Y(500, 300, 100, 1000)}
            << "Object Points: 6";
    }

    // The click marks are wiped: a drawing starts from empty views.
    void draw()
    {
        QFETCH(bool, extruded);
        TestCore w;
        clickPoints(w, Triangle);
        QVERIFY(act(w, [&] { extruded ? mnuDraw3D_Click(w->views) : mnuDrawPoly_Click(w->views); }));
        QCOMPARE(drawn(w->picFront), (QStringList{C(100, 1000), L(100, 1000, 900, 1000), C(900, 1000),
                                                  L(900, 1000, 500, 300), C(500, 300), L(500, 300, 100, 1000)}));
        QTEST(drawn(w->picSide), "side");
        QTEST(drawn(w->picTop), "top");
        QTEST(drawn(w->pic3dView), "view3d");
        QTEST(w->sbStatus.text(StatusPanel::ObjectPoints), "status");
    }

    void limits_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<TaggedValue>("depth");
        QTest::addColumn<bool>("extruded");
        QTest::addColumn<QString>("message");   // empty: not refused
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("depthAfter");
        using Points = std::vector<PointRecord>;
        const Points triangle{{100, 1000}, {900, 1000}, {500, 300}};
        const auto d = [](int v) { return TaggedValue(std::int16_t(v)); };
        const QString no = QStringLiteral("The object cannot be drawn: ");
        const QString range = QStringLiteral(" is outside the range -32768 to 32767.");
        QTest::addRow("every extent at its limit draws") << Points{{0, 32767}, {-32768, -32768}, {2147483447, 0}, {5, 5}}
            << d(200) << true << "" << "Object Points: 8" << "200";
        QTest::addRow("flat: largest X at 32 bits draws, the depth unchecked") << Points{{2147483647, 0}, {0, 0}}
            << TaggedValue(QStringLiteral("deep")) << false << "" << "Object Points: 2" << "deep";
        QTest::addRow("the most points the list holds") << Points(32767, {10, 20}) << d(300) << true << ""
                                                        << "Object Points: 65534" << "300";
        QTest::addRow("a single point") << Points{{300, 400}} << d(200) << true << "" << "Object Points: 2" << "200";
        QTest::addRow("zero depth becomes 200") << triangle << d(0) << true << "" << "Object Points: 6" << "200";
        QTest::addRow("back face at the top view's limit: depth half to even")
            << triangle << TaggedValue(QStringLiteral("31532.5")) << true << "" << "Object Points: 6" << "31532.5";
        QTest::addRow("negative first X skips silently") << Points{{-1, 500}, {300, 400}} << TaggedValue() << true << ""
            << "Object Points: 6" << "200";
        QTest::addRow("smallest X past 16 bits") << Points{{0, 0}, {-32769, 0}} << d(200) << false
            << no + "the smallest X of its points (-32769)" + range;
        QTest::addRow("smallest Y past 16 bits") << Points{{0, 0}, {0, -32769}} << d(200) << false
            << no + "the smallest Y of its points (-32769)" + range;
        QTest::addRow("largest Y past 16 bits: the depth put back") << Points{{0, 32768}, {0, 0}} << d(-50) << true
            << no + "the largest Y of its points (32768)" + range;
        QTest::addRow("depth not a number") << triangle << TaggedValue(QStringLiteral("deep")) << true
            << no + "its depth \"deep\" is not a number.";
        QTest::addRow("a long depth quoted short") << triangle << TaggedValue(QString(100000, 'd')) << true
            << no + "its depth \"" + QString(39, 'd') + QChar(0x2026) + "\" is not a number.";
        QTest::addRow("depth rounding past 16 bits") << triangle << TaggedValue(QStringLiteral("32767.5")) << true
            << no + "its depth (32767.5)" + range;
        QTest::addRow("back face past the top view's limit") << triangle << d(31533) << true
            << no + "its back face in the top view would lie at 1235 + 31533 = 32768, outside the range -32768 to 32767.";
        QTest::addRow("X plus depth past 32 bits: the depth put back") << Points{{2147483448, 0}, {0, 0}} << d(0) << true
            << no + "a point's X plus the depth, 2147483448 + 200 (2147483648), is outside the range -2147483648 to "
                    "2147483647.";
    }

    // After an extruded triangle; a refused drawing tells why and changes nothing at all.
    void limits()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(TaggedValue, depth);
        QFETCH(bool, extruded);
        QFETCH(QString, message);
        TestCore w;
        clickPoints(w, Triangle);
        QVERIFY(act(w, [&] { mnuDraw3D_Click(w->views); }));
        setObject(w.state(), points, depth, 3);
        const Snapshot before = Snapshot::of(w.core());
        if (!message.isEmpty())
            w.dialogs().expectMessage();
        QVERIFY(act(w, [&] { extruded ? mnuDraw3D_Click(w->views) : mnuDrawPoly_Click(w->views); }));
        if (!message.isEmpty()) {
            QCOMPARE(w.dialogs().lastMessage().text, message);
            QCOMPARE(Snapshot::of(w.core()).differencesFrom(before), QStringList());
            return;
        }
        QTEST(w->sbStatus.text(StatusPanel::ObjectPoints), "status");
        QTEST(w.state().Depth.toText(), "depthAfter");
    }

    void colourMenus_data()
    {
        QTest::addColumn<bool>("object3d");   // Render Window > Object Color, or the drawing's Object Color
        QTest::addColumn<int>("drawing");     // none, Draw 2D, Draw 3D
        QTest::addColumn<std::optional<ColorRef>>("answer");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("backEdge");
        QTest::addColumn<QString>("laterLine");   // the first edge of a Draw 2D after the menu
        const std::optional<ColorRef> green = 0x00FF00, blue = 0xFF0000, cancel;
        const QString white = L(100, 1000, 900, 1000);
        QTest::addRow("Object Color: no redraw, later lines in it")
            << false << 2 << green << "Object Points: 6" << Y(300, 800, 1100, 800) << L(100, 1000, 900, 1000, "00ff00");
        QTest::addRow("3D, nothing drawn yet: nothing redrawn") << true << 0 << blue << "Object Points:" << "" << white;
        QTest::addRow("3D after Draw 2D: redrawn flat") << true << 1 << blue << "Object Points: 4" << "" << white;
        QTest::addRow("3D after Draw 3D: redrawn in the new colour")
            << true << 2 << blue << "Object Points: 8" << L(300, 800, 1100, 800, "ff0000") << white;
        QTest::addRow("3D cancelled: redrawn as it was") << true << 2 << cancel << "Object Points: 8"
                                                         << Y(300, 800, 1100, 800) << white;
    }

    // A fourth point placed after the drawing shows whether the menu redrew it.
    void colourMenus()
    {
        QFETCH(bool, object3d);
        QFETCH(int, drawing);
        TestCore w;
        clickPoints(w, Triangle);
        if (drawing > 0)
            QVERIFY(act(w, [&] { drawing == 1 ? mnuDrawPoly_Click(w->views) : mnuDraw3D_Click(w->views); }));
        frontClick(w, 2000, 2000);
        QFETCH(std::optional<ColorRef>, answer);
        w.dialogs().answerColor(answer);
        QVERIFY(act(w, [&] { object3d ? mnu3dColor_Click(w->views) : mnuObjColor_Click(w->views); }));
        QCOMPARE(w.dialogs().shown().front().offered, ColorRef(object3d ? 0x00FFFF : 0xFFFFFF));
        QTEST(w->sbStatus.text(StatusPanel::ObjectPoints), "status");
        QTEST(drawn(w->pic3dView).value(0), "backEdge");
        QVERIFY(act(w, [&] { mnuDrawPoly_Click(w->views); }));
        QTEST(drawn(w->picFront).value(1), "laterLine");
    }
};

QTEST_GUILESS_MAIN(TestRendering)
#include "tst_rendering.moc"
