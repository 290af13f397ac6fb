// Every menu item, browser button and the Execute Command button reached as the user reaches
// them, with scripted dialog answers, each showing one effect: none is wired to nothing.
#include "fakes/TestSupport.h"

#include <QDir>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

namespace {
// The action at a menu path such as "Grid Configuration/Grid Size/Small".
QAction* itemAt(frmMain& w, const QString& path)
{
    QList<QAction*> actions = w.menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& caption : path.split(QLatin1Char('/'))) {
        const auto it = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == caption; });
        if (it == actions.end())
            return nullptr;
        found = *it;
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

QString hex(ColorRef c) { return QString::number(c, 16); }

// What the window shows and keeps, as "key=value" words that each row picks one of.
QString summary(TestWindow& w)
{
    const WorkspaceState& s = w.state();
    QStringList styles;
    for (QAction* style : w->mnuStyle)
        styles << (style->isChecked() ? QStringLiteral("x") : QStringLiteral("-"));
    const QStringList files = QDir(w.objectsFolder()).entryList(QDir::Files) + QDir(w.workspacesFolder()).entryList(QDir::Files);
    return QStringList{
        QStringLiteral("points=%1").arg(s.PointCount), QStringLiteral("drawn=%1").arg(s.DrawMode),
        QStringLiteral("declared=%1").arg(s.DeclaredPointCount), QStringLiteral("radius=%1").arg(s.PointRadius),
        QStringLiteral("lines=%1").arg(hex(w.core().cdlDrawing.Color)), QStringLiteral("obj3d=%1").arg(hex(w.core().cdl3dObject.Color)),
        QStringLiteral("grid=%1").arg(hex(w.core().cdlColorGrid.Color)), QStringLiteral("viewbg=%1").arg(hex(w.core().picFront.BackColor())),
        QStringLiteral("gridcount=%1").arg(s.GridCount), QStringLiteral("gridshown=%1").arg(w.core().grid.Grid[1]->Visible()),
        QStringLiteral("box=%1").arg(w->picCommand->isVisible()), QStringLiteral("style=%1").arg(styles.join(QString())),
        QStringLiteral("pen=%1").arg(w.core().pic3dView.DrawWidth()), QStringLiteral("pointer=%1").arg(w->picSide->cursor().shape() == Qt::IBeamCursor ? 3 : 0),
        QStringLiteral("files=%1").arg(files.join(QLatin1Char(','))), QStringLiteral("caption=%1").arg(QFileInfo(w.w().windowHandle()->title()).fileName())}
        .join(QLatin1Char(' '));
}
} // namespace

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    // "before": an item chosen first so that the item under test has something to change.
    // Answers: "input:5", "colour:00ff00", "open:Objects/house.obj", "save:Workspaces/new.wks".
    // Items "CmdObj(0)", "CmdWrk(0)" and "cmdExecute:PutPoint 1,2" are buttons.
    void everyItemDoesItsWork_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("effect");
        const auto row = [](const char* before, const char* item, const char* answer, const char* effect) {
            QTest::addRow("%s", item) << QString::fromLatin1(before) << QString::fromLatin1(item) << QString::fromLatin1(answer) << QString::fromLatin1(effect);
        };
        row("", "File/Open Object", "open:Objects/house.obj", "points=5");
        row("", "File/Save Object", "save:Objects/new.obj", "files=[*].obj,house.obj,new.obj,colours.wks");
        row("", "File/Open Workspace", "open:Workspaces/colours.wks", "radius=35");
        row("", "File/Save Workspace", "save:Workspaces/new.wks", "files=[*].obj,house.obj,colours.wks,new.wks");
        row("", "File/Clear", "", "points=0");
        row("", "Edit/Extrude Object", "", "pointer=3");
        row("Edit/Command Box/Hide Command Box", "Edit/Command Box/Show Command Box", "", "box=1");
        row("", "Edit/Command Box/Hide Command Box", "", "box=0");
        row("Edit/Drawing Style/Current Lines", "Edit/Drawing Style/Straight Lines", "", "style=x---");
        row("", "Edit/Drawing Style/Current Lines", "", "style=---x");
        row("", "Objects/Point Object", "input:4", "declared=4");
        row("", "Grid Configuration/Point Radius", "input:33", "radius=33");
        row("", "Grid Configuration/Grid Size/Small", "", "gridcount=60");
        row("Grid Configuration/Grid Size/Small", "Grid Configuration/Grid Size/Medium", "", "gridcount=50");
        row("", "Grid Configuration/Grid Size/Large", "", "gridcount=40");
        row("", "Grid Configuration/Grid Size/Extra Large", "", "gridcount=30");
        row("", "Grid Configuration/BackGround Color", "colour:00ff00", "viewbg=ff00");
        row("", "Grid Configuration/Object Color", "colour:123456", "lines=123456");
        row("", "Grid Configuration/Line Color", "colour:654321", "grid=654321");
        row("Grid Configuration/Lines/Off", "Grid Configuration/Lines/On", "", "gridshown=1");
        row("", "Grid Configuration/Lines/Off", "", "gridshown=0");
        row("", "Grid Configuration/Lines/Line Width", "input:7", "pen=7");
        row("", "Render Window/Object Color", "colour:abcdef", "obj3d=abcdef");
        row("", "Draw Polygon/Draw 2D", "", "drawn=2");
        row("", "Draw Polygon/Draw 3D", "", "drawn=3");
        row("", "CmdObj(0)", "", "caption=[*].obj]");
        row("", "CmdWrk(0)", "", "radius=35");
        row("", "cmdExecute:PutPoint 1,2", "", "points=4");
    }

    void everyItemDoesItsWork()
    {
        QFETCH(QString, before);
        QFETCH(QString, item);
        QFETCH(QString, answer);
        QFETCH(QString, effect);
        TestWindow w(std::function([](const QString& folder) {
            writeFileBytes(folder + QStringLiteral("/Objects/house.obj"), fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/house.obj")));
            writeFileBytes(folder + QStringLiteral("/Objects/[*].obj"), fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/house.obj")));
            writeFileBytes(folder + QStringLiteral("/Workspaces/colours.wks"), fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks")));
        }));
        clickPoints(w, {{100, 1000}, {900, 1000}, {500, 300}});
        if (!before.isEmpty())
            QVERIFY(choose(w, itemAt(w.w(), before)));
        QVERIFY2(!summary(w).contains(effect), qPrintable(summary(w)));

        const QString kind = answer.section(QLatin1Char(':'), 0, 0), value = answer.section(QLatin1Char(':'), 1);
        if (kind == QLatin1String("input"))
            w.dialogs().answerInput(value);
        else if (kind == QLatin1String("colour"))
            w.dialogs().answerColor(ColorRef(value.toUInt(nullptr, 16)));
        else if (kind == QLatin1String("open"))
            w.dialogs().answerOpen(w.programFolder() + QLatin1Char('/') + value);
        else if (kind == QLatin1String("save"))
            w.dialogs().answerSave(w.programFolder() + QLatin1Char('/') + value);
        if (item.startsWith(QLatin1String("Cmd"))) {
            QTest::mouseClick(item.startsWith(QLatin1String("CmdObj")) ? w->CmdObj[0] : w->CmdWrk[0], Qt::LeftButton);
        } else if (item.startsWith(QLatin1String("cmdExecute:"))) {
            QVERIFY(runCommand(w, item.section(QLatin1Char(':'), 1)));
        } else {
            QAction* action = itemAt(w.w(), item);
            QVERIFY2(action, qPrintable(item));
            QVERIFY(choose(w, action));
        }
        QCOMPARE(w.dialogs().pending(), 0);
        QVERIFY2(summary(w).contains(effect), qPrintable(summary(w)));
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
