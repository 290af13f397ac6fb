// What the window shows of its session and hands to it: the pop-up menu at the pointer, the
// command box's list, keys and answers, the depth box, captions shown as written, and the
// status bar's panels as plain text, and the pointer's place over each view.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {
void clickRow(QListWidget* list, int row, bool twice = false)
{
    list->scrollToItem(list->item(row));
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
    }
}

QString panelText(TestWindow& w, int panel) { return w->sbStatus->panelText(panel); }
} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
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
        QTEST(panelText(w, 3), "status");
        QCOMPARE(w.state().PointCount, std::int16_t(4));
        QCOMPARE(drawn(w->picFront).last(), QStringLiteral("C 2000,2000 r20 #0000ff"));
    }

    void pointerReadout_data()
    {
        QTest::addColumn<int>("view"); // front, side, top, 3D, the container between them
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::addRow("front view") << 0 << QPointF(120, 45) << "FRONT VIEW" << "[0120 : 0045]";
        QTest::addRow("side view") << 1 << QPointF(1245, 30) << "SIDE VIEW" << "[1245 : 0030]";
        QTest::addRow("top view") << 2 << QPointF(900, 4500) << "TOP VIEW" << "[0900 : 4500]";
        QTest::addRow("3D view") << 3 << QPointF(2000, 7) << "3D VIEW" << "[2000 : 0007]";
        QTest::addRow("between the views") << 4 << QPointF(2000, 5100) << "None" << "[0000:0000]";
    }

    // The pointer moved over each view, or the container between them, shows where it is.
    void pointerReadout()
    {
        QFETCH(int, view);
        QFETCH(QPointF, at);
        TestWindow w;
        PictureBox* const views[] = {w->picFront, w->picSide, w->picTop, w->pic3dView, w->picContainer};
        mouseMove(views[view], float(at.x()), float(at.y()));
        QTEST(panelText(w, 4), "name");
        QTEST(panelText(w, 5), "position");
    }

    // A click on the list chooses the command whose help F12 shows; a double click puts its
    // word in the text box and runs nothing; an answer replaces the typed line; hiding the
    // box keeps its contents.
    void commandBox()
    {
        TestWindow w;
        clickRow(w->lstCommand, 2);
        w.dialogs().expectMessage();
        QTest::keyClick(w->lstCommand, Qt::Key_F12);
        QVERIFY(w.dialogs().lastMessage().text.endsWith(QLatin1String("For Example: ObjectDepth 1000")));
        QTest::keyClick(w->lstCommand, Qt::Key_F11);
        QCOMPARE(w.dialogs().pending(), 0);
        QTest::keyClicks(w->txtCommand, QStringLiteral("PutPoint 1300,1400"));
        clickRow(w->lstCommand, 3, true);
        QCOMPARE(w->txtCommand->text(), QStringLiteral("GetPointCoords"));
        QCOMPARE(w.state().PointCount, std::int16_t(0));
        QVERIFY(runCommand(w, QStringLiteral("GetPointCoords 0")));
        QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #0   X:0  Y:0"));
        QVERIFY(choose(w, w->mnuComm[1]));
        QVERIFY(!w->picCommand->isVisible());
        QVERIFY(choose(w, w->mnuComm[0]));
        QVERIFY(w->picCommand->isVisible());
        QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #0   X:0  Y:0"));
    }

    // The depth box shows the depth the program last wrote; what the user types there stays
    // until the program writes again.
    void depthBox()
    {
        TestWindow w;
        clickPoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
        QVERIFY(choose(w, w->mnuDrawPoly));
        QVERIFY(choose(w, w->mnuExtrude));
        drag(w->picSide, {1435, 2235}, 2000);
        QCOMPARE(w->txtDepth->text(), QStringLiteral("1000"));
        w->txtDepth->setText(QStringLiteral("typed"));
        mouseClick(w->picFront, 2000, 2000);
        QCOMPARE(w->txtDepth->text(), QStringLiteral("typed"));
        QVERIFY(choose(w, w->mnuExtrude));
        drag(w->picSide, {1435, 1735}, 2000);
        QCOMPARE(w->txtDepth->text(), QStringLiteral("500"));
    }

    // Names are shown as written: "&" is no shortcut mark on a button or a menu item, "[*]"
    // no placeholder in the caption, and markup in a status panel stays text.
    void shownAsWritten()
    {
        TestWindow w(std::function([](const QString& folder) {
            writeFileBytes(folder + QStringLiteral("/Objects/R&D [*].obj"), fileOf({{"Points", std::int16_t(1)}, {"Point0", QStringLiteral("100,200")}}));
        }));
        QCOMPARE(w->CmdObj[0]->text(), QStringLiteral("R&&D [*].obj"));
        QVERIFY(w->CmdObj[0]->isVisibleTo(&w.w()) && !w->CmdObj[1]->isVisibleTo(&w.w()));
        QTest::mouseClick(w->CmdObj[0], Qt::LeftButton);
        QCOMPARE(w->CmdObj[0]->BackColor(), ColorRef(0xC46200));
        QCOMPARE(w.w().windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1/R&D [*][*].obj]").arg(w.objectsFolder()));
        const QString path = w.objectsFolder() + QStringLiteral("/<b>R&D<b>.obj");
        w.dialogs().answerSave(path);
        QVERIFY(choose(w, w->mnuSave));
        QCOMPARE(w->mnuRecent[1]->text(), QStringLiteral("Object #1: <b>R&&D<b>.obj"));
        QVERIFY(w->mnuRecent[1]->isVisible() && !w->mnuRecent[2]->isVisible());
        QLabel* panel = nullptr;
        for (QLabel* label : w->sbStatus->findChildren<QLabel*>())
            panel = label->text() == path ? label : panel;
        QVERIFY(panel);
        QCOMPARE(panel->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
