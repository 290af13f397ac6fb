// A whole session as a user has it, through real mouse and keyboard events and the scripted
// dialogs: outline, extrude, drag the depth, type a point, save, clear and reopen the object
// from its browser button and from the recent menu, with a screenshot of every step.
#include "fakes/TestSupport.h"

#include <QDir>
#include <QTest>


class TestWholeSession : public QObject {
    Q_OBJECT
private slots:
    void wholeSession();

private:
    void screenshot(frmMain& w, const QString& step);
    int step_ = 0;
};

void TestWholeSession::screenshot(frmMain& w, const QString& step)
{
    QDir().mkpath(QStringLiteral("session-screenshots"));
    w.grab().save(QStringLiteral("session-screenshots/%1-%2.png").arg(++step_, 2, 10, QLatin1Char('0')).arg(step));
}

void TestWholeSession::wholeSession()
{
    TestWindow t;
    frmMain& w = t.w();
    screenshot(w, QStringLiteral("start"));

    // A triangle placed with the mouse, then drawn extruded from the Draw Polygon menu.
    clickPoints(t, {{100, 1000}, {900, 1000}, {500, 300}});
    QCOMPARE(t.state().PointCount, std::int16_t(3));
    screenshot(w, QStringLiteral("triangle"));
    QVERIFY(choose(t, t->mnuDraw3D));
    QCOMPARE(t.state().DrawMode, std::int16_t(3));
    QCOMPARE(t->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
    screenshot(w, QStringLiteral("extruded"));

    // Drag the depth in the side view to 1000.
    QVERIFY(choose(t, t->mnuExtrude));
    drag(t->picSide, {1500, 1800, 2235}, 2000);
    QCOMPARE(t.state().Depth.toNumber(), std::optional<double>(1000));
    QCOMPARE(t->txtDepth->text(), QStringLiteral("1000"));
    screenshot(w, QStringLiteral("dragged"));

    // Type a fourth point and draw again.
    QVERIFY(runCommand(t, QStringLiteral("PutPoint 700,1200")));
    QCOMPARE(t.state().PointCount, std::int16_t(4));
    QVERIFY(choose(t, t->mnuDraw3D));
    screenshot(w, QStringLiteral("typed-point"));
    const WindowSnapshot typed = WindowSnapshot::of(t);

    // Save the object and a workspace.
    const QString object = t.objectsFolder() + QStringLiteral("/house.obj");
    t.dialogs().answerSave(object);
    QVERIFY(choose(t, t->mnuSave));
    QVERIFY(QFile::exists(object));
    QCOMPARE(t->sbStatus->panelText(7), object);
    QVERIFY(t->CmdObj[0]->isVisible());
    QCOMPARE(t->CmdObj[0]->text(), QStringLiteral("house.obj"));
    QVERIFY(t->mnuRecent[1]->isVisible());
    QCOMPARE(t->mnuRecent[1]->text(), QStringLiteral("Object #1: house.obj"));
    t.dialogs().answerSave(t.workspacesFolder() + QStringLiteral("/desk.wks"));
    QVERIFY(choose(t, t->mnuSaveWork));
    QVERIFY(QFile::exists(t.workspacesFolder() + QStringLiteral("/desk.wks")));
    screenshot(w, QStringLiteral("saved"));

    // Clear, then reopen from the object's button: the views come back pixel for pixel.
    QVERIFY(choose(t, t->mnuClear));
    QCOMPARE(t.state().PointCount, std::int16_t(0));
    screenshot(w, QStringLiteral("cleared"));
    QTest::mouseClick(t->CmdObj[0], Qt::LeftButton);
    QCOMPARE(t->CmdObj[0]->BackColor(), ColorRef(0xC46200));
    QCOMPARE(w.windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(object));
    QCOMPARE(WindowSnapshot::of(t).differencesFrom(typed), (QStringList{"SaveObjectPath", "caption", "status bar", "window title"}));
    screenshot(w, QStringLiteral("reopened-from-button"));

    // Clear, then reopen from the recent menu.
    QVERIFY(choose(t, t->mnuClear));
    QVERIFY(choose(t, t->mnuRecent[1]));
    QCOMPARE(WindowSnapshot::of(t).differencesFrom(typed), (QStringList{"CurrentFilePath", "SaveObjectPath", "caption", "status bar", "window title"}));
    screenshot(w, QStringLiteral("reopened-from-recent"));
    QCOMPARE(t.dialogs().pending(), 0);
}

QTEST_MAIN(TestWholeSession)
#include "tst_session.moc"
