// The window as it opens: caption, menus, status bar, tabs, command list, geometry, colours
// and the workspace state that start-up leaves.
#include "fakes/TestSupport.h"

#include <QDir>
#include <QMenuBar>
#include <QLabel>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void caption();
    void menuTree();
    void noShortcuts();
    void statusPanels();
    void statusPanelsKeepTheirWidths();
    void iconIsShown();
    void tabsAndCommandBox();
    void geometry_data();
    void geometry();
    void viewColours();
    void stateAfterStartup();
    void missingFoldersListNothing();
};

void TestStartup::caption()
{
    TestWindow w;
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  v.1.0.0"));
    QCOMPARE(frmMain::versionedCaption(2, 3, 17), QStringLiteral("PLANOVEXTRIUM  v.2.3.17"));
}

void TestStartup::menuTree()
{
    TestWindow w;
    QStringList top;
    for (QAction* action : w->menuBar()->actions())
        if (action->isVisible())
            top << action->text();
    QCOMPARE(top, (QStringList{"File", "Edit", "Objects", "Grid Configuration", "Render Window", "Draw Polygon"}));
    QVERIFY(!w->mnuTools->menuAction()->isVisible());
    QCOMPARE(w->mnuTools->menuAction()->text(), QStringLiteral("ToolBar"));
    QVERIFY(w->mnuTools->actions().isEmpty());

    QStringList file;
    for (QAction* action : w->mnuFile->actions())
        file << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(file, (QStringList{"Open Object", "Save Object", "Open Workspace", "Save Workspace", "Clear", "-", "Recent Files"}));
    for (QAction* recent : w->mnuRecent) {
        QCOMPARE(recent->text(), QStringLiteral("recent"));
        QVERIFY(!recent->isVisible());
    }

    QCOMPARE(w->mnuStyle[0]->text(), QStringLiteral("Straight Lines"));
    QVERIFY(w->mnuStyle[0]->isChecked());
    QVERIFY(!w->mnuStyle[1]->isEnabled());
    QVERIFY(!w->mnuStyle[2]->isEnabled());
    QVERIFY(w->mnuStyle[3]->isEnabled());
    QVERIFY(!w->mnuStyle[3]->isChecked());
    QCOMPARE(w->mnuComm[0]->text(), QStringLiteral("Show Command Box"));
    QCOMPARE(w->mnuComm[1]->text(), QStringLiteral("Hide Command Box"));

    QStringList grid;
    for (QAction* action : w->mnuGrdConfig->actions())
        grid << action->text();
    QCOMPARE(grid, (QStringList{"Point Radius", "Grid Size", "BackGround Color", "Object Color", "Line Color", "Lines"}));
    QStringList sizes;
    for (QAction* size : w->mnuGridsize) {
        sizes << size->text();
        QVERIFY(!size->isChecked());
    }
    QCOMPARE(sizes, (QStringList{"Small", "Medium", "Large", "Extra Large"}));
    QCOMPARE(w->mnuLneOn->text(), QStringLiteral("On"));
    QCOMPARE(w->mnuLneOff->text(), QStringLiteral("Off"));
    QCOMPARE(w->mnuWidth->text(), QStringLiteral("Line Width"));
    QVERIFY(!w->mnuLneOn->isChecked() && !w->mnuLneOff->isChecked());
    QCOMPARE(w->mnu3dColor->text(), QStringLiteral("Object Color"));
    QCOMPARE(w->mnuDrawPoly->text(), QStringLiteral("Draw 2D"));
    QCOMPARE(w->mnuDraw3D->text(), QStringLiteral("Draw 3D"));
    QCOMPARE(w->mnuPopUp->title(), QStringLiteral("Draw Polygon"));
}

void TestStartup::noShortcuts()
{
    TestWindow w;
    const auto actions = w->findChildren<QAction*>();
    QVERIFY(!actions.isEmpty());
    for (QAction* action : actions) {
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
        QVERIFY2(!action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
    }
}

void TestStartup::statusPanels()
{
    TestWindow w;
    QVERIFY(!w->sbStatus->panelText(1).isEmpty());
    QVERIFY(!w->sbStatus->panelText(2).isEmpty());
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points:"));
    QCOMPARE(w->sbStatus->panelText(4), QStringLiteral("Views"));
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[X:    Y:    ]"));
    QCOMPARE(w->sbStatus->panelText(6), QStringLiteral("Last Object:"));
    QCOMPARE(w->sbStatus->panelText(7), QString());
}

// Panels 1 to 5 keep the layout's widths whatever they show; 6 and 7 follow their text
// both ways, so nothing after a long readout stays shifted.
void TestStartup::statusPanelsKeepTheirWidths()
{
    TestWindow w;
    const QList<QLabel*> panels = w->sbStatus->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(panels.size(), 7);
    const int sixthAt = panels[5]->x();
    w.dialogs().answerPopup(QString());
    mousePress(w->picFront, 300, 300, Qt::RightButton);
    mouseMove(w->picFront, 12345, -2000, Qt::RightButton);
    mouseRelease(w->picFront, 12345, -2000, Qt::RightButton);
    QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[12345 : -2000]"));
    w->sbStatus->setPanelText(7, QString(300, QLatin1Char('x')));
    QCoreApplication::processEvents();
    QVERIFY(panels[6]->width() > 4000 / 15);
    mouseMove(w->picContainer, 30, 30);
    w->sbStatus->setPanelText(7, QStringLiteral("short"));
    QCoreApplication::processEvents();
    const int widths[] = {1440, 1440, 2000, 2000, 1440, 2000, 4000};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(panels[i]->width(), widths[i] / 15);
    QCOMPARE(panels[5]->x(), sixthAt);
}

// The icon reaches the window, the picture left of the views and the browser buttons.
void TestStartup::iconIsShown()
{
    TestWindow w;
    QVERIFY(!w->windowIcon().availableSizes().isEmpty());
    QVERIFY(!w->CmdObj[0]->icon().availableSizes().isEmpty());
    const QImage icon = w->picIcon->grab().toImage();
    QVERIFY(countPixels(icon, QColor(128, 128, 128)) < icon.width() * icon.height() - 40);
}

void TestStartup::tabsAndCommandBox()
{
    TestWindow w;
    QCOMPARE(w->sstMiscDrawing->currentTab(), 0);
    QCOMPARE(w->sstMiscDrawing->tabBar()->tabText(0), QStringLiteral("Object List"));
    QCOMPARE(w->sstMiscDrawing->tabBar()->tabText(1), QStringLiteral("Workspaces"));
    QStringList commands;
    for (int i = 0; i < w->lstCommand->count(); ++i)
        commands << w->lstCommand->item(i)->text();
    QCOMPARE(commands, (QStringList{"PutPoint", "ResetPoint", "ObjectDepth", "GetPointCoords", "ManualSet"}));
    QCOMPARE(w->Label1->text(), QStringLiteral("Click or type in a command, then press the       \"Execute Command\" button"));
    QCOMPARE(w->cmdExecute->text(), QStringLiteral("Execute Command"));
    QVERIFY(w->picCommand->isVisible());
    QVERIFY(w->txtDepth->isVisible());
    QVERIFY(w->txtCommand->text().isEmpty());
}

void TestStartup::geometry_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("scaleWidth");
    QTest::addColumn<float>("scaleHeight");
    QTest::newRow("front") << "picFront" << 75.f << 60.f << 5000.f << 4980.f << 4940.f << 4920.f;
    QTest::newRow("side") << "picSide" << 75.f << 5145.f << 5000.f << 5000.f << 4940.f << 4940.f;
    QTest::newRow("top") << "picTop" << 5160.f << 5145.f << 5000.f << 5000.f << 4940.f << 4940.f;
    QTest::newRow("3d") << "pic3dView" << 5175.f << 60.f << 5000.f << 5000.f << 4940.f << 4940.f;
    QTest::newRow("container") << "picContainer" << 5025.f << 15.f << 10260.f << 10215.f << 10260.f << 10215.f;
    QTest::newRow("icon touches the container") << "picIcon" << 4725.f << 15.f << 300.f << 225.f << 300.f << 225.f;
    QTest::newRow("command box") << "picCommand" << 45.f << 5190.f << 3975.f << 2130.f << 3975.f << 2130.f;
}

void TestStartup::geometry()
{
    QFETCH(QString, view);
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(float, scaleWidth);
    QFETCH(float, scaleHeight);
    TestWindow w;
    const std::map<QString, PictureBox*> views{{"picFront", w->picFront}, {"picSide", w->picSide}, {"picTop", w->picTop},
                                               {"pic3dView", w->pic3dView}, {"picContainer", w->picContainer},
                                               {"picIcon", w->picIcon}, {"picCommand", w->picCommand}};
    PictureBox* surface = views.at(view);
    QCOMPARE(surface->Left(), left);
    QCOMPARE(surface->Top(), top);
    QCOMPARE(surface->Width(), width);
    QCOMPARE(surface->Height(), height);
    QCOMPARE(surface->ScaleWidth(), scaleWidth);
    QCOMPARE(surface->ScaleHeight(), scaleHeight);
    // On screen the surface sits at its twips divided by 15.
    QCOMPARE(surface->x(), qRound(left / 15));
    QCOMPARE(surface->y(), qRound(top / 15));
    // The inner picture covers the whole inner area.
    QVERIFY(surface->picture().width() * 15 >= scaleWidth);
    QVERIFY(surface->picture().height() * 15 >= scaleHeight);
}

void TestStartup::viewColours()
{
    TestWindow w;
    QCOMPARE(w->picFront->BackColor(), ColorRef(0x808080));
    QCOMPARE(w->picSide->BackColor(), ColorRef(0x808080));
    QCOMPARE(w->picTop->BackColor(), ColorRef(0x808080));
    QCOMPARE(w->pic3dView->BackColor(), ColorRef(0x000000));
    QCOMPARE(w->picIcon->BackColor(), ColorRef(0x808080));
    QCOMPARE(w->picFront->picture().pixelColor(100, 100), QColor(128, 128, 128));
    QCOMPARE(w->pic3dView->picture().pixelColor(100, 100), QColor(0, 0, 0));
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(0x404040));
    QCOMPARE(w->cdlGridBg.Color, ColorRef(0xC0C0FF));
    QCOMPARE(w->cdlDrawing.Color, ColorRef(0xFFFFFF));
    QCOMPARE(w->cdl3dObject.Color, ColorRef(0x00FFFF));
    // Nothing is drawn at start-up.
    QVERIFY(w->picFront->primitives().empty());
    QVERIFY(w->pic3dView->primitives().empty());
}

void TestStartup::stateAfterStartup()
{
    TestWindow w;
    const WorkspaceState& s = w.state();
    QCOMPARE(s.GridCount, std::int16_t(50));
    QCOMPARE(s.GridState, std::uint8_t(1));
    QCOMPARE(s.PointRadius, std::int16_t(20));
    QCOMPARE(s.DrawMode, std::int16_t(1));
    QCOMPARE(s.pPoints, (std::vector<PointRecord>{{0, 0}}));
    QCOMPARE(s.PointCount, std::int16_t(0));
    QCOMPARE(s.Dimension, std::int16_t(0));
    QVERIFY(s.Depth.isEmpty());
    QVERIFY(s.ClickX.isEmpty());
    QCOMPARE(s.ClickY, std::int16_t(0));
    QVERIFY(!s.PointObjectMode && !s.ExtrudeMode && !s.DraggingDepth);
    QCOMPARE(s.DeclaredPointCount, std::int16_t(0));
    QCOMPARE(s.SelectedCommand, std::int16_t(0));
    QCOMPARE(s.ProgramFolder, w.programFolder());
    QCOMPARE(s.ObjectsFolder, w.programFolder() + QDir::separator() + QStringLiteral("Objects"));
    QCOMPARE(s.WorkspacesFolder, w.programFolder() + QDir::separator() + QStringLiteral("Workspaces"));
    QVERIFY(s.CurrentFilePath.isEmpty() && s.SaveObjectPath.isEmpty());
    QCOMPARE(w->fleObj.Path(), s.ObjectsFolder);
    QCOMPARE(w->fleWork.Path(), s.WorkspacesFolder);
    QCOMPARE(w->fleObj.Pattern(), QStringLiteral("*.obj"));
    QCOMPARE(w->fleWork.Pattern(), QStringLiteral("*.wks"));
}

void TestStartup::missingFoldersListNothing()
{
    TestWindow w(false);
    QCOMPARE(w->fleObj.ListCount(), 0);
    QCOMPARE(w->fleWork.ListCount(), 0);
    QVERIFY(!QDir(w.objectsFolder()).exists());
    QVERIFY(w->isVisible());
    QCOMPARE(w->lstCommand->count(), 5);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
