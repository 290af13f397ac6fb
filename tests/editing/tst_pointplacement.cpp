// The coordinate readout over the views, points placed by clicks in the front view (and the
// clicks refused), and the Draw Polygon pop-up of the right button.
#include "editing/PointPlacement.h"
#include "fakes/TestCore.h"

#include <QTest>

class TestPointPlacement : public QObject {
    Q_OBJECT
private slots:
    void readout_data()
    {
        QTest::addColumn<int>("view");   // front, side, top, 3D, the container between them
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::addRow("front: zeros before short numbers") << 0 << QPointF(120, 45) << "FRONT VIEW" << "[0120 : 0045]";
        QTest::addRow("side: a fraction as it is") << 1 << QPointF(1245.5, 30) << "SIDE VIEW" << "[1245.5 : 0030]";
        QTest::addRow("top, held outside: zeros before a minus") << 2 << QPointF(-15, 4500) << "TOP VIEW"
                                                                 << "[0-15 : 4500]";
        QTest::addRow("3D, held outside: a long number whole") << 3 << QPointF(12345, 7) << "3D VIEW"
                                                               << "[12345 : 0007]";
        QTest::addRow("the container") << 4 << QPointF(2000, 5100) << "None" << "[0000:0000]";
    }

    // A view held with a button reports positions outside it too.
    void readout()
    {
        QFETCH(int, view);
        QFETCH(QPointF, at);
        TestCore s;
        void (*moves[])(EditingContext&, int, int, float, float) = {picFront_MouseMove, picSide_MouseMove,
                                                                     picTop_MouseMove, pic3dView_MouseMove,
                                                                     picContainer_MouseMove};
        moves[view](s->editing, view < 4 ? 1 : 0, 0, float(at.x()), float(at.y()));
        QTEST(s->sbStatus.text(StatusPanel::ViewName), "name");
        QTEST(s->sbStatus.text(StatusPanel::Position), "position");
    }

    void click_data()
    {
        QTest::addColumn<int>("placed");   // points the object holds before
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("held");   // where the pointer went before the release at press
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("mark");
        QTest::addRow("a click places a marked point")
            << 0 << QPointF(300, 400) << QPointF(300, 400) << "" << "300,400" << "C 300,400 r20 #0000ff";
        QTest::addRow("halves to even, X marked as clicked")
            << 0 << QPointF(100.5, 101.5) << QPointF(100.5, 101.5) << "" << "100,102" << "C 100.5,102 r20 #0000ff";
        QTest::addRow("Y held far below clamps to 16 bits")
            << 0 << QPointF(150, 100) << QPointF(150, 600000) << "" << "150,32767" << "C 150,32767 r20 #0000ff";
        QTest::addRow("one short of full takes the point")
            << 32766 << QPointF(300, 300) << QPointF(300, 300) << "" << "300,300" << "C 300,300 r20 #0000ff";
        QTest::addRow("a full object refuses it") << 32767 << QPointF(300, 300) << QPointF(300, 300)
            << "The object holds the most points it can (32767); no point was added.";
        QTest::addRow("X held past 32 bits refused") << 0 << QPointF(150, 100) << QPointF(3e9, 100)
            << "No point was added: its X (3000000000) is not a number from -2147483648 to 2147483647.";
    }

    void click()
    {
        QFETCH(int, placed);
        QFETCH(QPointF, press);
        QFETCH(QPointF, held);
        QFETCH(QString, message);
        TestCore s;
        if (placed > 0)
            setObject(s.state(), std::vector<PointRecord>(std::size_t(placed), PointRecord{10, 20}));
        picFront_MouseMove(s->editing, 0, 0, float(press.x()), float(press.y()));
        picFront_MouseMove(s->editing, 1, 0, float(held.x()), float(held.y()));
        const Snapshot before = Snapshot::of(s.core());
        if (!message.isEmpty())
            s.dialogs().expectMessage();
        picFront_MouseUp(s->editing, 1, 0, float(press.x()), float(press.y()));
        const Refusal refused = picFront_Click(s->editing);
        if (!message.isEmpty()) {
            QCOMPARE(s.dialogs().lastMessage().text, message);
            QCOMPARE(refused, std::optional(message));
            QCOMPARE(Snapshot::of(s.core()).differencesFrom(before), QStringList());
            return;
        }
        QCOMPARE(refused, Refusal());
        const PointRecord last = s.state().pPoints.back();
        QTEST(QStringLiteral("%1,%2").arg(last.X).arg(last.Y), "last");
        QCOMPARE(int(s.state().PointCount), placed + 1);
        QTEST(drawn(s->picFront).join(QLatin1Char(';')), "mark");
        QCOMPARE(s->sbStatus.text(StatusPanel::ObjectPoints), QStringLiteral("Object Points:"));
    }

    // The right button asks for the Draw Polygon menu at the pointer before the click places
    // the fourth point; a session with no window to show menus places it all the same.
    void popUp()
    {
        TestCore s;
        clickPoints(s, {{100, 1000}, {900, 1000}, {500, 300}});
        QList<QPointF> asked;
        s->popupMenu = [&](float x, float y) {
            asked << QPointF(x, y);
            QCOMPARE(s.state().PointCount, std::int16_t(3));
        };
        frontClick(s, 2000, 2000, 2);
        QCOMPARE(asked, (QList<QPointF>{{2000, 2000}}));
        s->popupMenu = nullptr;
        frontClick(s, 2500, 2000, 2);
        QCOMPARE(s.state().PointCount, std::int16_t(5));
        QCOMPARE(drawn(s->picFront).last(), QStringLiteral("C 2500,2000 r20 #0000ff"));
    }
};

QTEST_GUILESS_MAIN(TestPointPlacement)
#include "tst_pointplacement.moc"
