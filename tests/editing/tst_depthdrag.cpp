// Extrude Object and the drag in the side view: the depth that follows the pointer, the
// extruded drawing and grid layout on release, and the pointer shape.
#include "editing/DepthDrag.h"
#include "fakes/TestCore.h"
#include "views/Rendering.h"

#include <QTest>

class TestDepthDrag : public QObject {
    Q_OBJECT
private slots:
    void drag_data()
    {
        QTest::addColumn<int>("arming");   // times Extrude Object is chosen
        QTest::addColumn<QList<float>>("xs");
        QTest::addColumn<TaggedValue>("depth");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("sideEdge");   // the third thing drawn in the side view
        QTest::addColumn<QString>("readout");
        QTest::addColumn<ColorRef>("grid");
        const QString flat = QStringLiteral("C 1235,300 r20 #0000ff"), clicked = QStringLiteral("[0500 : 0300]");
        const ColorRef green = 0x00FF00;
        const auto d = [](int v) { return TaggedValue(std::int16_t(v)); };
        QTest::addRow("right of the front face") << 1 << QList<float>{1435, 3000, 2235} << d(1000) << "1000" << ""
                                                 << "L 1235,1000 2235,1000 #ffffff" << clicked << green;
        QTest::addRow("left of it: negative") << 1 << QList<float>{1435, 985} << d(-250) << "-250" << ""
                                              << "L 1235,1000 985,1000 #ffffff" << clicked << green;
        QTest::addRow("half to even") << 1 << QList<float>{1435, 1245.5} << d(10) << "10" << ""
                                      << "L 1235,1000 1245,1000 #ffffff" << clicked << green;
        QTest::addRow("far right clamps, the drawing refused")
            << 1 << QList<float>{1435, 40000} << d(32767) << "32767"
            << "The object cannot be drawn: its back face in the top view would lie at 1235 + 32767 = 34002, outside the "
               "range -32768 to 32767."
            << flat << clicked << green;
        QTest::addRow("far left clamps") << 1 << QList<float>{1435, -40000} << d(-32768) << "-32768" << ""
                                         << "L 1235,1000 -31533,1000 #ffffff" << clicked << green;
        QTest::addRow("no move: an empty depth becomes 200") << 1 << QList<float>{3000} << d(200) << "" << ""
                                                             << "L 1235,1000 1435,1000 #ffffff" << clicked << green;
        QTest::addRow("chosen twice is off: only the readout") << 2 << QList<float>{1435, 2500} << TaggedValue() << ""
                                                               << "" << flat << "[2500 : 2000]" << ColorRef(0x404040);
    }

    // After a flat triangle; a grid colour not yet laid out shows whether the release lays out.
    void drag()
    {
        QFETCH(int, arming);
        QFETCH(QList<float>, xs);
        QFETCH(TaggedValue, depth);
        QFETCH(QString, message);
        TestCore s;
        clickPoints(s, {{100, 1000}, {900, 1000}, {500, 300}});
        QVERIFY(act(s, [&] { mnuDrawPoly_Click(s->views); }));
        s->cdlColorGrid.Color = 0x00FF00;
        for (int i = 0; i < arming; ++i)
            mnuExtrude_Click(s->editing);
        QCOMPARE(s->picSide.MousePointer(), 3);
        if (!message.isEmpty())
            s.dialogs().expectMessage();
        sideDrag(s, xs, 2000);
        if (!message.isEmpty())
            QCOMPARE(s.dialogs().lastMessage().text, message);
        QCOMPARE(s.state().Depth, depth);
        QTEST(s->txtDepth.Text, "text");
        QTEST(drawn(s->picSide).value(2), "sideEdge");
        QTEST(s->sbStatus.text(StatusPanel::Position), "readout");
        QTEST(s->grid.sLine[1]->BorderColor(), "grid");
        QCOMPARE(s->picSide.MousePointer(), 0);

        // One drag per arming.
        sideDrag(s, {1435, 3435}, 2000);
        QCOMPARE(s.state().Depth, depth);
    }
};

QTEST_GUILESS_MAIN(TestDepthDrag)
#include "tst_depthdrag.moc"
