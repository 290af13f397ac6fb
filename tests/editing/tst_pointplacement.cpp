// The coordinate readout over the views, points placed by clicks in the front view (and the
// clicks refused), and the Draw Polygon pop-up of the right button.
#include "fakes/TestSupport.h"

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

    // A press inside a view holds it, so that moves outside it are reported too.
    void readout()
    {
        QFETCH(int, view);
        QFETCH(QPointF, at);
        TestWindow w;
        PictureBox* views[] = {w->picFront, w->picSide, w->picTop, w->pic3dView, w->picContainer};
        if (view < 4)
            mousePress(views[view], 10, 10);
        mouseMove(views[view], float(at.x()), float(at.y()), view < 4 ? Qt::LeftButton : Qt::NoButton);
        QTEST(w->sbStatus->panelText(4), "name");
        QTEST(w->sbStatus->panelText(5), "position");
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
        TestWindow w;
        if (placed > 0)
            setObject(w, std::vector<PointRecord>(std::size_t(placed), PointRecord{10, 20}));
        mouseMove(w->picFront, float(press.x()), float(press.y()));
        mousePress(w->picFront, float(press.x()), float(press.y()));
        mouseMove(w->picFront, float(held.x()), float(held.y()), Qt::LeftButton);
        const WindowSnapshot before = WindowSnapshot::of(w);
        if (!message.isEmpty())
            w.dialogs().expectMessage();
        mouseRelease(w->picFront, float(press.x()), float(press.y()));
        if (!message.isEmpty()) {
            QCOMPARE(w.dialogs().lastMessage().text, message);
            QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
            return;
        }
        const PointRecord last = w.state().pPoints.back();
        QTEST(QStringLiteral("%1,%2").arg(last.X).arg(last.Y), "last");
        QCOMPARE(int(w.state().PointCount), placed + 1);
        QTEST(drawn(w->picFront).join(QLatin1Char(';')), "mark");
        QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points:"));
    }

    void popUp_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("status");
        QTest::addRow("closed unchosen") << "" << "Object Points:";
        QTest::addRow("Draw 2D") << "Draw 2D" << "Object Points: 3";
        QTest::addRow("Draw 3D") << "Draw 3D" << "Object Points: 6";
    }

    // The menu opens at the pointer and closes before the click places the fourth point.
    void popUp()
    {
        QFETCH(QString, choice);
        TestWindow w;
        clickPoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
        w.dialogs().answerPopup(choice);
        mouseClick(w->picFront, 2000, 2000, Qt::RightButton);
        const ScriptedDialogs::Shown popup = w.dialogs().shown().at(0);
        QCOMPARE(popup.title, QStringLiteral("Draw Polygon"));
        QCOMPARE(popup.position, w->picFront->mapToGlobal(QPoint(135, 135)));
        QTEST(w->sbStatus->panelText(3), "status");
        QCOMPARE(w.state().PointCount, std::int16_t(4));
        QCOMPARE(drawn(w->picFront).last(), QStringLiteral("C 2000,2000 r20 #0000ff"));
    }
};

QTEST_MAIN(TestPointPlacement)
#include "tst_pointplacement.moc"
