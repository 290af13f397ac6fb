// The object and workspace browser: one button per file in the file list's order (at most
// 16), the mark on the button clicked last, clicks opening their files, and the object
// buttons following a newly saved object.
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "files/FileTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr ColorRef Blue = 0xC46200;
constexpr ColorRef Grey = 0x808080;

// Names that sort one way by letter case and another way without it: "obj00", "OBJ01", ...
QStringList mixedCaseNames(int count, const QString& extension)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << (i % 2 ? QStringLiteral("OBJ%1") : QStringLiteral("obj%1")).arg(i, 2, 10, QLatin1Char('0')) + extension;
    return names;
}

// An object of one point at (100 * (i + 1), 200), so that each file can be told apart.
QByteArray objectNumbered(int i)
{
    WorkspaceState s;
    s.pPoints = {PointRecord{100 * (i + 1), 200}};
    s.PointCount = 1;
    s.Dimension = 2;
    return writeObjectFile(s);
}

// A window whose folders hold the given numbers of object and workspace files (written in
// reverse order, and beside files of other kinds).
std::unique_ptr<TestWindow> windowWith(int objects, int workspaces)
{
    return std::make_unique<TestWindow>([objects, workspaces](const QString& folder) {
        const QStringList objectNames = mixedCaseNames(objects, QStringLiteral(".obj"));
        for (int i = objects - 1; i >= 0; --i)
            writeFileBytes(folder + QStringLiteral("/Objects/") + objectNames[i], objectNumbered(i));
        const QStringList workspaceNames = mixedCaseNames(workspaces, QStringLiteral(".wks"));
        for (int i = workspaces - 1; i >= 0; --i)
            writeFileBytes(folder + QStringLiteral("/Workspaces/") + workspaceNames[i],
                           writeWorkspaceFile(WorkspaceFileValues{ColorRef(i), 0, 0, 0, std::int16_t(20 + i), 1}));
        writeFileBytes(folder + QStringLiteral("/Objects/notes.txt"), "not an object");
        writeFileBytes(folder + QStringLiteral("/Objects/stray.wks"), "not an object");
        writeFileBytes(folder + QStringLiteral("/Workspaces/stray.obj"), "not a workspace");
    });
}

QString colours(const std::array<PictureButton*, 16>& buttons)
{
    QStringList out;
    for (const PictureButton* b : buttons)
        out << (b->BackColor() == Blue ? QStringLiteral("B") : b->BackColor() == Grey ? QStringLiteral("-") : QStringLiteral("?"));
    return out.join(QString());
}

void click(PictureButton* button)
{
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsFollowTheFileLists_data();
    void buttonsFollowTheFileLists();
    void onlyRegularFilesGetButtons();
    void clickMarksOnlyItsOwnButton();
    void objectButtonOpensItsObject();
    void workspaceButtonOpensItsWorkspace();
    void buttonOfAFileRemovedMeanwhile();
    void newObjectGetsItsButtonAtOnce();
    void savedWorkspaceWaitsForTheNextStart();
    void refillKeepsTheMarkInPlace();
    void namesAreShownAsWritten();
};

void BrowserTest::buttonsFollowTheFileLists_data()
{
    QTest::addColumn<int>("objects");
    QTest::addColumn<int>("workspaces");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("3 objects, no workspace") << 3 << 0;
    QTest::newRow("16 objects, 3 workspaces") << 16 << 3;
    QTest::newRow("20 of each") << 20 << 20;
}

void BrowserTest::buttonsFollowTheFileLists()
{
    QFETCH(int, objects);
    QFETCH(int, workspaces);
    auto w = windowWith(objects, workspaces);
    const QStringList objectNames = mixedCaseNames(objects, QStringLiteral(".obj"));
    const QStringList workspaceNames = mixedCaseNames(workspaces, QStringLiteral(".wks"));
    for (int i = 0; i < 16; ++i) {
        const PictureButton* obj = (*w)->CmdObj[std::size_t(i)];
        const PictureButton* wrk = (*w)->CmdWrk[std::size_t(i)];
        QCOMPARE(obj->isHidden(), i >= objects);
        QCOMPARE(wrk->isHidden(), i >= workspaces);
        if (i < objects)
            QCOMPARE(obj->text(), objectNames[i]);
        if (i < workspaces)
            QCOMPARE(wrk->text(), workspaceNames[i]);
        QCOMPARE(obj->BackColor(), Grey);
        QCOMPARE(wrk->BackColor(), Grey);
    }
    QCOMPARE((*w)->fleObj.ListCount(), objects);
}

void BrowserTest::clickMarksOnlyItsOwnButton()
{
    auto w = windowWith(8, 4);
    click((*w)->CmdObj[2]);
    QCOMPARE(colours((*w)->CmdObj), QStringLiteral("--B-------------"));
    click((*w)->CmdObj[5]);
    QCOMPARE(colours((*w)->CmdObj), QStringLiteral("-----B----------"));
    QCOMPARE(colours((*w)->CmdWrk), QStringLiteral("----------------"));

    (*w)->sstMiscDrawing->setCurrentTab(1);
    click((*w)->CmdWrk[3]);
    QCOMPARE(colours((*w)->CmdWrk), QStringLiteral("---B------------"));
    QCOMPARE(colours((*w)->CmdObj), QStringLiteral("-----B----------"));
    QCOMPARE(w->dialogs().pending(), 0);
    QVERIFY(w->dialogs().shown().empty());
}

void BrowserTest::objectButtonOpensItsObject()
{
    auto w = windowWith(4, 0);
    click((*w)->CmdObj[3]);
    const QString path = w->state().ObjectsFolder + QDir::separator() + QStringLiteral("OBJ03.obj");
    QCOMPARE((*w)->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(path));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(w->state().pPoints == (std::vector<PointRecord>{{400, 200}}));
    QCOMPARE(w->state().DrawMode, std::int16_t(2));
    QCOMPARE((*w)->sbStatus->panelText(3), QStringLiteral("Object Points: 1"));
    QCOMPARE(w->state().CurrentFilePath, QString());
}

void BrowserTest::workspaceButtonOpensItsWorkspace()
{
    auto w = windowWith(0, 3);
    (*w)->sstMiscDrawing->setCurrentTab(1);
    click((*w)->CmdWrk[2]);
    QCOMPARE((*w)->cdlDrawing.Color, ColorRef(2));
    QCOMPARE((*w)->cdlColorGrid.Color, ColorRef(0));
    QCOMPARE(w->state().PointRadius, std::int16_t(22));
    QCOMPARE((*w)->windowTitle(), QStringLiteral("PLANOVEXTRIUM  v.1.0.0"));
}

void BrowserTest::buttonOfAFileRemovedMeanwhile()
{
    auto w = windowWith(3, 0);
    const QString path = w->state().ObjectsFolder + QDir::separator() + QStringLiteral("OBJ01.obj");
    QVERIFY(QFile::remove(path));
    const WindowSnapshot before = WindowSnapshot::of(*w);
    w->dialogs().expectMessage();
    click((*w)->CmdObj[1]);
    QCOMPARE(w->dialogs().pending(), 0);
    QCOMPARE(w->dialogs().lastMessage().text, QStringLiteral("The file \"%1\" cannot be found.").arg(path));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(WindowSnapshot::of(*w).differencesFrom(before), QStringList());
    QCOMPARE(colours((*w)->CmdObj), QStringLiteral("-B--------------"));
}

void BrowserTest::newObjectGetsItsButtonAtOnce()
{
    auto w = windowWith(3, 0);
    placeObject(*w, {{10, 10}});
    w->dialogs().answerSave(w->objectsFolder() + QStringLiteral("/obj01a.obj"));
    (*w)->mnuSave->trigger();
    QStringList captions;
    for (const PictureButton* b : (*w)->CmdObj)
        if (!b->isHidden())
            captions << b->text();
    QCOMPARE(captions, (QStringList{"obj00.obj", "OBJ01.obj", "obj01a.obj", "obj02.obj"}));

    // A name without the extension is saved as typed and gets no button.
    w->dialogs().answerSave(w->objectsFolder() + QStringLiteral("/plain"));
    (*w)->mnuSave->trigger();
    QVERIFY(QFileInfo::exists(w->objectsFolder() + QStringLiteral("/plain")));
    QVERIFY((*w)->CmdObj[4]->isHidden());
    QCOMPARE(w->dialogs().pending(), 0);
}

void BrowserTest::savedWorkspaceWaitsForTheNextStart()
{
    auto w = windowWith(0, 1);
    w->dialogs().answerSave(w->workspacesFolder() + QStringLiteral("/aaa.wks"));
    (*w)->mnuSaveWork->trigger();
    QVERIFY(QFileInfo::exists(w->workspacesFolder() + QStringLiteral("/aaa.wks")));
    QCOMPARE((*w)->CmdWrk[0]->text(), QStringLiteral("obj00.wks"));
    QVERIFY((*w)->CmdWrk[1]->isHidden());
}

void BrowserTest::refillKeepsTheMarkInPlace()
{
    auto w = windowWith(3, 0);
    click((*w)->CmdObj[1]);
    QCOMPARE((*w)->CmdObj[1]->text(), QStringLiteral("OBJ01.obj"));
    w->dialogs().answerSave(w->objectsFolder() + QStringLiteral("/first.obj"));
    (*w)->mnuSave->trigger();
    QCOMPARE((*w)->CmdObj[1]->text(), QStringLiteral("obj00.obj"));
    QCOMPARE(colours((*w)->CmdObj), QStringLiteral("-B--------------"));
}

void BrowserTest::namesAreShownAsWritten()
{
    TestWindow w(std::function<void(const QString&)>([](const QString& folder) {
        writeFileBytes(folder + QStringLiteral("/Objects/R&D.obj"), objectNumbered(0));
    }));
    QCOMPARE(w->CmdObj[0]->text(), QStringLiteral("R&&D.obj"));
    QTest::mouseClick(w->CmdObj[0], Qt::LeftButton);
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(w.state().ObjectsFolder + QDir::separator() + QStringLiteral("R&D.obj")));
}

// A pipe, or a link that leads nowhere, named like an object is no file to open.
void BrowserTest::onlyRegularFilesGetButtons()
{
    TestWindow w(std::function([](const QString& folder) {
        const QString objects = folder + QStringLiteral("/Objects/");
        writeFileBytes(objects + QStringLiteral("a.obj"), objectNumbered(0));
        QVERIFY(QFile::link(objects + QStringLiteral("a.obj"), objects + QStringLiteral("b.obj")));
        QVERIFY(QFile::link(objects + QStringLiteral("gone.obj"), objects + QStringLiteral("c.obj")));
        QCOMPARE(mkfifo(QFile::encodeName(objects + QStringLiteral("d.obj")).constData(), 0600), 0);
    }));
    QStringList shown;
    for (PictureButton* button : w->CmdObj)
        if (button->isVisibleTo(w->CmdObj[0]->parentWidget()))
            shown << button->text();
    QCOMPARE(shown, (QStringList{"a.obj", "b.obj"}));
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
