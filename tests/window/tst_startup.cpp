// The window as it opens: every control's place, size and colours from the layout table, the
// menu tree, the status panels, the icon, the caption and the state start-up leaves.
#include "fakes/TestSupport.h"

#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

namespace {
// The colour most pixels of the image have: a control's background under its text and frame.
QColor mostCommonColour(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first);
}

// The menu tree as "path [states]" lines, states among checked, disabled, hidden.
void listMenu(const QList<QAction*>& actions, const QString& path, QStringList& out)
{
    for (QAction* a : actions) {
        const QString name = path + (a->isSeparator() ? QStringLiteral("-") : a->text());
        QString line = name;
        for (const auto& [state, set] : {std::pair{"checked", a->isChecked()}, {"disabled", !a->isEnabled() && a->isVisible()},
                                         {"hidden", !a->isVisible()}, {"shortcut", !a->shortcut().isEmpty()}})
            line += set ? QStringLiteral(" [%1]").arg(QLatin1String(state)) : QString();
        out << line;
        if (a->menu())
            listMenu(a->menu()->actions(), name + QLatin1Char('/'), out);
    }
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // The pixel rectangle within its parent is the layout table's twips divided by 15; views add
    // their two-pixel frame around an inner area of the outer size less 60 twips.
    void layout_data()
    {
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<int>("background"); // 0x00BBGGRR, -1 for the platform's own
        QTest::addColumn<QRectF>("twips");   // of a drawing surface: Left, Top, Width, Height
        const auto row = [](const char* name, QRect pixels, int background, QRectF twips = {}) {
            QTest::newRow(name) << pixels << background << twips;
        };
        row("picCommand", {3, 346, 265, 142}, -1, {45, 5190, 3975, 2130});
        row("Label1", {0, -1, 262, 30}, 0x800000);
        row("lstCommand", {3, 52, 254, 41}, 0xE0E0E0);
        row("cmdExecute", {3, 96, 254, 19}, -1);
        row("txtCommand", {3, 114, 254, 19}, -1);
        row("picIcon", {315, 1, 20, 15}, 0x808080, {4725, 15, 300, 225});
        row("sstMiscDrawing", {3, 2, 157, 342}, 0x404040);
        row("Picture1(1)", {5, 25, 146, 311}, 0x808080, {75, 375, 2190, 4665});
        row("CmdWrk(0)", {1, 1, 139, 19}, -1);
        row("CmdWrk(15)", {1, 286, 139, 19}, -1);
        row("Picture1(0)", {5, 26, 146, 311}, 0x808080, {75, 390, 2190, 4665});
        row("CmdObj(0)", {9, 29, 139, 19}, -1);
        row("CmdObj(15)", {9, 314, 139, 19}, -1);
        row("picContainer", {335, 1, 684, 681}, -1, {5025, 15, 10260, 10215});
        row("pic3dView", {345, 4, 334, 334}, 0x000000, {5175, 60, 5000, 5000});
        row("picTop", {344, 343, 334, 334}, 0x808080, {5160, 5145, 5000, 5000});
        row("picFront", {5, 4, 334, 332}, 0x808080, {75, 60, 5000, 4980});
        row("picSide", {5, 343, 334, 334}, 0x808080, {75, 5145, 5000, 5000});
        row("txtDepth", {96, 50, 64, 18}, 0xE0E0E0);
    }

    void layout()
    {
        QFETCH(QRect, pixels);
        QFETCH(int, background);
        QFETCH(QRectF, twips);
        TestWindow w;
        QWidget* control = w.w().findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
        if (auto* surface = qobject_cast<PictureBox*>(control))
            QCOMPARE(QRectF(surface->Left(), surface->Top(), surface->Width(), surface->Height()), twips);
        if (auto* surface = qobject_cast<PictureBox*>(control); surface && background >= 0) {
            QCOMPARE(surface->BackColor(), ColorRef(background));
            if (surface->view())
                QCOMPARE(surface->grab().toImage().pixelColor(5, 5), toQColor(ColorRef(background)));
        } else if (!surface && background >= 0) {
            QImage own(control->size(), QImage::Format_ARGB32);
            own.fill(Qt::transparent);
            control->render(&own, {}, {}, {}); // without its children, and its background only if it fills it
            QCOMPARE(mostCommonColour(own), toQColor(ColorRef(background)));
        }
        QCOMPARE(w.w().centralWidget()->size(), QSize(1016, 703));
        QCOMPARE(w.w().centralWidget()->palette().color(QPalette::Window), QColor(64, 64, 64));
        QCOMPARE(w->Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(w->sbStatus->geometry().top(), w.w().centralWidget()->geometry().bottom() + 1);
        QCOMPARE(QSizeF(w.core().picFront.ScaleWidth(), w.core().picFront.ScaleHeight()), QSizeF(4940, 4920));
    }

    void menuTree()
    {
        TestWindow w;
        QStringList tree;
        listMenu(w.w().menuBar()->actions(), QString(), tree);
        QCOMPARE(tree, (QStringList{
            "File", "File/Open Object", "File/Save Object", "File/Open Workspace", "File/Save Workspace", "File/Clear", "File/-",
            "File/Recent Files", "File/Recent Files/recent [hidden]", "File/Recent Files/recent [hidden]",
            "File/Recent Files/recent [hidden]", "File/Recent Files/recent [hidden]", "File/Recent Files/recent [hidden]",
            "Edit", "Edit/Extrude Object", "Edit/Command Box", "Edit/Command Box/Show Command Box",
            "Edit/Command Box/Hide Command Box", "Edit/Drawing Style", "Edit/Drawing Style/Straight Lines [checked]",
            "Edit/Drawing Style/Smooth Lines [disabled]", "Edit/Drawing Style/Complex Lines [disabled]",
            "Edit/Drawing Style/Current Lines", "Objects", "Objects/Point Object", "Grid Configuration",
            "Grid Configuration/Point Radius", "Grid Configuration/Grid Size", "Grid Configuration/Grid Size/Small",
            "Grid Configuration/Grid Size/Medium", "Grid Configuration/Grid Size/Large",
            "Grid Configuration/Grid Size/Extra Large", "Grid Configuration/BackGround Color",
            "Grid Configuration/Object Color", "Grid Configuration/Line Color", "Grid Configuration/Lines",
            "Grid Configuration/Lines/On", "Grid Configuration/Lines/Off", "Grid Configuration/Lines/Line Width",
            "ToolBar [hidden]", "Render Window", "Render Window/Object Color", "Draw Polygon", "Draw Polygon/Draw 2D",
            "Draw Polygon/Draw 3D"}));
        QCOMPARE(w->mnuPopUp->title(), QStringLiteral("Draw Polygon"));
    }

    // Panels 1 and 2 keep the time and date, told again every second; 3 to 7 start with their
    // texts. Panels 1 to 6 keep the layout's widths whatever they show and panel 7 the rest of
    // the bar, so no text shifts a panel or widens the window.
    void statusPanels()
    {
        TestWindow w;
        const QList<QLabel*> panels = w->sbStatus->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(panels.size(), 7);
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(panels[0]->text() == QLocale().toString(now.time(), QLocale::ShortFormat)
                || panels[0]->text() == QLocale().toString(now.addSecs(-60).time(), QLocale::ShortFormat));
        QVERIFY(panels[1]->text() == QLocale().toString(now.date(), QLocale::ShortFormat)
                || panels[1]->text() == QLocale().toString(now.addSecs(-60).date(), QLocale::ShortFormat));
        w->sbStatus->setPanelText(1, QStringLiteral("stale"));
        QTRY_VERIFY_WITH_TIMEOUT(panels[0]->text() != QLatin1String("stale"), 5000); // the clock keeps running
        QStringList texts;
        for (int panel = 3; panel <= 7; ++panel)
            texts << w->sbStatus->panelText(panel);
        QCOMPARE(texts, (QStringList{"Object Points:", "Views", "[X:    Y:    ]", "Last Object:", ""}));
        const int seventhAt = panels[6]->x(), windowWidth = w.w().width();
        w.dialogs().answerPopup(QString());
        mousePress(w->picFront, 300, 300, Qt::RightButton);
        mouseMove(w->picFront, 12345, -2000000, Qt::RightButton);
        mouseRelease(w->picFront, 12345, -2000000, Qt::RightButton);
        QCOMPARE(w->sbStatus->panelText(5), QStringLiteral("[12345 : -2000000]"));
        w->sbStatus->setPanelText(7, QString(300, QLatin1Char('x')));
        QCoreApplication::processEvents();
        QList<int> widths;
        for (QLabel* panel : panels)
            widths << panel->width();
        QCOMPARE(widths.mid(0, 6), (QList<int>{96, 96, 133, 133, 96, 133}));
        QVERIFY(widths[6] >= 267);
        QCOMPARE(panels[6]->x() + panels[6]->width(), w->sbStatus->width());
        QCOMPARE(panels[6]->x(), seventhAt);
        QCOMPARE(w.w().width(), windowWidth);
    }

    // The icon reaches the window, the picture left of the views and the browser buttons; the
    // caption carries the version.
    void iconAndCaption()
    {
        TestWindow w;
        QVERIFY(!w.w().windowIcon().availableSizes().isEmpty());
        QVERIFY(!w->CmdObj[0]->icon().availableSizes().isEmpty());
        const QImage icon = w->picIcon->grab().toImage();
        QVERIFY(countPixels(icon, QColor(128, 128, 128)) < icon.width() * icon.height() - 40);
        QCOMPARE(w.w().windowHandle()->title(), QStringLiteral("PLANOVEXTRIUM  v.1.0.0"));
        QCOMPARE(Session::versionedCaption(2, 3, 17), QStringLiteral("PLANOVEXTRIUM  v.2.3.17"));
    }

    void stateAfterStartup()
    {
        TestWindow w;
        const WorkspaceState& s = w.state();
        QCOMPARE(s.pPoints, (std::vector<PointRecord>{{0, 0}}));
        QCOMPARE(QList<int>({s.PointCount, s.Dimension, s.DrawMode, s.GridCount, s.GridState, s.PointRadius}), QList<int>({0, 0, 1, 50, 1, 20}));
        QVERIFY(s.Depth.isEmpty() && s.ClickX.isEmpty());
        QCOMPARE(s.ObjectsFolder, w.programFolder() + QDir::separator() + QStringLiteral("Objects"));
        QCOMPARE(s.WorkspacesFolder, w.programFolder() + QDir::separator() + QStringLiteral("Workspaces"));
        QCOMPARE(w->sstMiscDrawing->currentTab(), 0);
        QVERIFY(w->sstMiscDrawing->page(0)->isAncestorOf(w->CmdObj[15]) && w->sstMiscDrawing->page(1)->isAncestorOf(w->CmdWrk[15]));
        const QTabBar* tabs = w->sstMiscDrawing->tabBar();
        QCOMPARE(tabs->tabText(1), QStringLiteral("Workspaces"));
        QCOMPARE(QList<int>({tabs->tabRect(0).left(), tabs->tabRect(1).right()}), QList<int>({0, tabs->width() - 1})); // the two fill the bar
        QVERIFY(w->sstMiscDrawing->page(0)->isVisible() && !w->sstMiscDrawing->page(1)->isVisible());
        QStringList commands;
        for (int i = 0; i < w->lstCommand->count(); ++i)
            commands << w->lstCommand->item(i)->text();
        QCOMPARE(commands, (QStringList{"PutPoint", "ResetPoint", "ObjectDepth", "GetPointCoords", "ManualSet"}));
        QCOMPARE(w->Label1->text(), QStringLiteral("Click or type in a command, then press the       \"Execute Command\" button"));
        QCOMPARE(w->cmdExecute->text(), QStringLiteral("Execute Command"));
        // The caption wraps to two lines: text in its top rows and in its bottom rows.
        const QImage label = w->Label1->grab().toImage();
        QVERIFY(countPixels(label.copy(0, 2, 262, 3), QColor(0, 0, 0x80)) < 262 * 3);
        QVERIFY(countPixels(label.copy(0, 22, 262, 4), QColor(0, 0, 0x80)) < 262 * 4);
        QVERIFY(w.core().picFront.primitives().empty() && w.core().pic3dView.primitives().empty());
    }

    // Without the two folders beside a program folder it may write, start-up makes them there
    // and the browser is empty.
    void missingFoldersAreMade()
    {
        TestWindow w(TestWindow::Folders::Missing);
        QCOMPARE(w.core().fleObj.ListCount() + w.core().fleWork.ListCount(), 0);
        QVERIFY(QFileInfo(w.objectsFolder()).isDir());
        QVERIFY(QFileInfo(w.workspacesFolder()).isDir());
        QCOMPARE(w->lstCommand->count(), 5);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
