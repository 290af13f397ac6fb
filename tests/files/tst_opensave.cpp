// Open and save through the File menu with the scripted file dialog and real files in a
// temporary program folder: round trips of objects and workspaces, files that are damaged,
// foreign, empty or missing (each told and changing nothing), saves that cannot complete
// (each told and leaving the old file), and files that earlier versions wrote.
#include "files/FileCommands.h"
#include "files/FileRecord.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "files/FileTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QWindow>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(TaggedValue)
Q_DECLARE_METATYPE(std::vector<PointRecord>)

namespace {

const QString kObjectFormatText = QStringLiteral("There was an error in the format of the Object file");
const QString kObjectFormatTitle = QStringLiteral("OBJECT FILE FORMAT ERROR");
const QString kWorkspaceFormatText = QStringLiteral("There was an error in the format of the Workspace file");
const QString kWorkspaceFormatTitle = QStringLiteral("WORKSPACE FILE FORMAT ERROR");

const std::vector<PointRecord> kTriangle{{1300, 1400}, {-20, 35}, {500, -700}};

// Chooses a File menu item whose file dialog answers with path, expecting that many
// message boxes after it.
void chooseFile(TestWindow& w, QAction* item, bool opening, const QString& path, int messages)
{
    if (opening)
        w.dialogs().answerOpen(path);
    else
        w.dialogs().answerSave(path);
    for (int i = 0; i < messages; ++i)
        w.dialogs().expectMessage();
    item->trigger();
}

void openObject(TestWindow& w, const QString& path, int messages = 0) { chooseFile(w, w->mnuOpen, true, path, messages); }
void saveObject(TestWindow& w, const QString& path, int messages = 0) { chooseFile(w, w->mnuSave, false, path, messages); }
void openWorkspace(TestWindow& w, const QString& path, int messages = 0) { chooseFile(w, w->mnuOpenWork, true, path, messages); }
void saveWorkspace(TestWindow& w, const QString& path, int messages = 0) { chooseFile(w, w->mnuSaveWork, false, path, messages); }

int circlesIn(PictureBox* view)
{
    int n = 0;
    for (const Primitive& p : view->primitives())
        n += p.kind == Primitive::Kind::Circle ? 1 : 0;
    return n;
}

// Gives the window a drawn extruded object and settings unlike the start-up ones, so that a
// refused file visibly changes nothing.
void drawSomething(TestWindow& w)
{
    placeObject(w, kTriangle, TaggedValue(std::int16_t(300)), 0, 1);
    w->cdlDrawing.Color = 0x00A0A0;
    w.state().PointRadius = 45;
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

QString dataFile(const QString& name)
{
    return QStringLiteral(BRONDELWICK_TEST_DATA "/") + name;
}

// Lowers the largest file this process may write, so that a save fails part-way as on a
// full disk; the write then fails instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit old_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

class OpenSaveTest : public QObject {
    Q_OBJECT

private slots:
    void dialogsAreSetUp_data();
    void dialogsAreSetUp();
    void cancelledDialogsChangeNothing();
    void placedObjectSavesAndOpensAgain();
    void objectRoundTrip_data();
    void objectRoundTrip();
    void largestObjectRoundTrips();
    void zeroPointObjectOpensAsTheEmptyObject();
    void objectBeyondTheViewsStaysLoaded();
    void workspaceRoundTripRedrawsNothing();
    void malformedObjectFiles_data();
    void malformedObjectFiles();
    void objectTruncatedAtEveryLength();
    void objectWithAFlippedByteAnywhere();
    void malformedWorkspaceFiles_data();
    void malformedWorkspaceFiles();
    void workspaceTruncatedAtEveryLength();
    void missingFileIsToldAndNotCreated_data();
    void missingFileIsToldAndNotCreated();
    void notARegularFile_data();
    void notARegularFile();
    void longTextsAreQuotedShort();
    void captionShowsThePathAsWritten();
    void fileHoldingNothingChangesNothing_data();
    void fileHoldingNothingChangesNothing();
    void savingOverALongerFileLeavesNoTail();
    void readOnlyObjectFileIsNotSaved();
    void readOnlyWorkspaceFileIsReplaced();
    void saveThatCannotStartIsTold_data();
    void saveThatCannotStartIsTold();
    void interruptedSaveKeepsTheOldFile();
    void filesWrittenEarlierStillOpen_data();
    void filesWrittenEarlierStillOpen();
    void workspaceWrittenEarlierStillOpens();
    void writerStillWritesTheEarlierBytes();
};

void OpenSaveTest::dialogsAreSetUp_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("objectsFolder");
    QTest::newRow("Open Object") << 0 << false << "Object Files (*.obj)|*.obj" << true;
    QTest::newRow("Save Object") << 1 << true << "Object Files (*.obj)|*.obj" << true;
    QTest::newRow("Open Workspace") << 2 << false << "Object Files (*.wks)|*.wks" << false;
    QTest::newRow("Save Workspace") << 3 << true << "Workspace Files (*.wks)|*.wks" << false;
}

void OpenSaveTest::dialogsAreSetUp()
{
    QFETCH(int, command);
    QFETCH(bool, saving);
    QFETCH(QString, filter);
    QFETCH(bool, objectsFolder);
    TestWindow w;
    QAction* actions[] = {w->mnuOpen, w->mnuSave, w->mnuOpenWork, w->mnuSaveWork};
    if (saving)
        w.dialogs().answerSave(QString());
    else
        w.dialogs().answerOpen(QString());
    actions[command]->trigger();
    const auto shown = w.dialogs().shown(saving ? ScriptedDialogs::Kind::Save : ScriptedDialogs::Kind::Open);
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].filter, filter);
    QCOMPARE(shown[0].initDir, objectsFolder ? w.state().ObjectsFolder : w.state().WorkspacesFolder);
    QCOMPARE(w->cdlOpen.CancelError, false);
}

void OpenSaveTest::cancelledDialogsChangeNothing()
{
    TestWindow w;
    drawSomething(w);
    w.state().CurrentFilePath = QStringLiteral("earlier");
    w.state().SaveObjectPath = QStringLiteral("earlier");
    const WindowSnapshot before = WindowSnapshot::of(w);
    for (QAction* open : {w->mnuOpen, w->mnuOpenWork}) {
        w.dialogs().answerOpen(QString());
        open->trigger();
    }
    for (QAction* save : {w->mnuSave, w->mnuSaveWork}) {
        w.dialogs().answerSave(QString());
        save->trigger();
    }
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
    QCOMPARE(w.state().CurrentFilePath, QString());
    QCOMPARE(w.state().SaveObjectPath, QString());
    QCOMPARE(QDir(w.objectsFolder()).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(w.workspacesFolder()).entryList(QDir::Files), QStringList());
}

// The user's way: click three points, draw the prism, save, clear, open again.
void OpenSaveTest::placedObjectSavesAndOpensAgain()
{
    TestWindow w;
    mouseClick(w->picFront, 1500, 1500);
    mouseClick(w->picFront, 3000, 1500);
    mouseClick(w->picFront, 2250, 3000);
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    w->mnuDraw3D->trigger();
    const std::vector<PointRecord> placed = w.state().pPoints;
    const QImage drawn3d = w->pic3dView->picture();
    const QString path = w.objectsFolder() + QStringLiteral("/prism.obj");
    saveObject(w, path);
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  v.1.0.0"));

    w->mnuClear->trigger();
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    openObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.state().CurrentFilePath, path);
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QVERIFY(w.state().pPoints == placed);
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [") + path + QStringLiteral("]"));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
    QVERIFY(sameImage(w->pic3dView->picture(), drawn3d, QStringLiteral("reopened-prism-3d")));
}

void OpenSaveTest::objectRoundTrip_data()
{
    QTest::addColumn<std::vector<PointRecord>>("points");
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<int>("dimension");
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("drawnAs");
    QTest::newRow("one point, empty depth, flat") << std::vector<PointRecord>{{2500, 2500}} << TaggedValue() << 2 << 1 << 2;
    QTest::newRow("negative points, i16 depth") << kTriangle << TaggedValue(std::int16_t(400)) << 3 << 1 << 3;
    QTest::newRow("u8 depth") << kTriangle << TaggedValue(std::uint8_t(90)) << 3 << 0 << 3;
    QTest::newRow("i32 depth") << kTriangle << TaggedValue(std::int32_t(1200)) << 3 << 1 << 3;
    QTest::newRow("single depth") << kTriangle << TaggedValue(350.25f) << 3 << 1 << 3;
    QTest::newRow("double depth") << kTriangle << TaggedValue(777.5) << 3 << 1 << 3;
    QTest::newRow("text depth 1000") << kTriangle << TaggedValue(QStringLiteral("1000")) << 3 << 1 << 3;
    QTest::newRow("flat with a depth") << kTriangle << TaggedValue(std::int16_t(500)) << 2 << 1 << 2;
    QTest::newRow("dimension 0 is drawn flat") << kTriangle << TaggedValue() << 0 << 2 << 2;
    QTest::newRow("dimension 7 is drawn flat") << kTriangle << TaggedValue() << 7 << 1 << 2;
}

void OpenSaveTest::objectRoundTrip()
{
    QFETCH(std::vector<PointRecord>, points);
    QFETCH(TaggedValue, depth);
    QFETCH(int, dimension);
    QFETCH(int, grid);
    QFETCH(int, drawnAs);
    TestWindow w;
    placeObject(w, points, depth, std::int16_t(dimension), std::uint8_t(grid));
    const QString path = w.objectsFolder() + QStringLiteral("/round.obj");
    saveObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    const QByteArray written = fileBytes(path);
    QCOMPARE(written.left(4).toHex(), QByteArray("11200100"));
    QCOMPARE(qFromLittleEndian<quint32>(written.constData() + 4), quint32(written.size() - 12));
    QCOMPARE(written.mid(8, 4).toHex(), QByteArray("00000000"));

    placeObject(w, {{1, 1}, {2, 2}}, TaggedValue(QStringLiteral("other")), 5, 9);
    openObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    const WorkspaceState& s = w.state();
    QCOMPARE(s.PointCount, std::int16_t(points.size()));
    QCOMPARE(pointsText(s.pPoints), pointsText(points));
    QVERIFY2(s.Depth == depth, qPrintable(valueText(s.Depth)));
    QCOMPARE(s.GridState, std::uint8_t(grid));
    QCOMPARE(s.DrawMode, std::int16_t(drawnAs));
    QCOMPARE(s.Dimension, std::int16_t(drawnAs));
    QCOMPARE(circlesIn(w->picFront), int(points.size()));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: %1").arg(points.size() * (drawnAs == 3 ? 2 : 1)));
}

void OpenSaveTest::largestObjectRoundTrips()
{
    TestWindow w;
    std::vector<PointRecord> points;
    for (int i = 0; i < 32767; ++i)
        points.push_back({100 + i % 4000, 200 + (i * 7) % 4500});
    placeObject(w, points, TaggedValue(std::int16_t(250)), 2, 1);
    const QString path = w.objectsFolder() + QStringLiteral("/big.obj");
    saveObject(w, path);
    placeObject(w, {}, TaggedValue(), 0, 1);
    openObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.state().PointCount, std::int16_t(32767));
    QVERIFY(w.state().pPoints == points);
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 32767"));
}

void OpenSaveTest::zeroPointObjectOpensAsTheEmptyObject()
{
    TestWindow w;
    drawSomething(w);
    w->mnuClear->trigger();
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    const QString path = w.objectsFolder() + QStringLiteral("/cleared.obj");
    saveObject(w, path);

    placeObject(w, kTriangle, TaggedValue(std::int16_t(100)), 2, 1);
    w.state().Dimension = 2;
    openObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    QVERIFY(w.state().pPoints == std::vector<PointRecord>{PointRecord{}});
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(300)));
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(path));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 0"));
}

void OpenSaveTest::objectBeyondTheViewsStaysLoaded()
{
    TestWindow w;
    const std::vector<PointRecord> far{{-100000, 40}, {2000000000, -2000000000}, {300, 300}};
    placeObject(w, far, TaggedValue(std::int16_t(100)), 2, 1);
    const QString path = w.objectsFolder() + QStringLiteral("/far.obj");
    saveObject(w, path);
    placeObject(w, kTriangle, TaggedValue(), 2, 1);
    w->mnuDrawPoly->trigger();
    const QImage drawn = w->picFront->picture();

    openObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    const auto message = w.dialogs().lastMessage();
    QVERIFY2(message.text != kObjectFormatText && message.title != kObjectFormatTitle, qPrintable(message.text));
    QVERIFY(w.state().pPoints == far);
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(path));
    QVERIFY(sameImage(w->picFront->picture(), drawn, QStringLiteral("refused-drawing-front")));

    // Still the user's object: it saves and opens again unchanged.
    const QString again = w.objectsFolder() + QStringLiteral("/far-again.obj");
    saveObject(w, again);
    QCOMPARE(fileBytes(again), fileBytes(path));
}

void OpenSaveTest::workspaceRoundTripRedrawsNothing()
{
    TestWindow w;
    w->cdlDrawing.Color = 0x0000FF;
    w->cdlColorGrid.Color = 0x00FF00;
    w->cdlGridBg.Color = 0xFF0000;
    w->cdl3dObject.Color = 0x123456;
    w.state().PointRadius = 35;
    w.state().GridState = 0;
    const QString path = w.workspacesFolder() + QStringLiteral("/mine.wks");
    saveWorkspace(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(fileBytes(path), writeWorkspaceFile(WorkspaceFileValues{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 35, 0}));
    QCOMPARE(w.state().CurrentFilePath, QString());

    w->cdlDrawing.Color = 0xFFFFFF;
    w->cdlColorGrid.Color = 0x404040;
    w->cdlGridBg.Color = 0xC0C0FF;
    w->cdl3dObject.Color = 0x00FFFF;
    w.state().PointRadius = 20;
    w.state().GridState = 1;
    drawSomething(w);
    const QImage front = w->picFront->renderedView();
    const ColorRef background = w->picFront->BackColor();
    openWorkspace(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w->cdlDrawing.Color, ColorRef(0x0000FF));
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(0x00FF00));
    QCOMPARE(w->cdlGridBg.Color, ColorRef(0xFF0000));
    QCOMPARE(w->cdl3dObject.Color, ColorRef(0x123456));
    QCOMPARE(w.state().PointRadius, std::int16_t(35));
    QCOMPARE(w.state().GridState, std::uint8_t(0));
    QCOMPARE(w.state().CurrentFilePath, path);
    QCOMPARE(w->picFront->BackColor(), background);
    QVERIFY(sameImage(w->picFront->renderedView(), front, QStringLiteral("workspace-opened-front")));
}

void OpenSaveTest::malformedObjectFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    const std::pair<QString, TaggedValue> one{QStringLiteral("Points"), std::int16_t(1)};
    QTest::newRow("text file") << QByteArray("This is not an object.\r\nPoints=3\r\n");
    QTest::newRow("foreign bytes") << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
    QTest::newRow("workspace file") << writeWorkspaceFile(WorkspaceFileValues{});
    QTest::newRow("one byte") << QByteArray("\x11");
    QTest::newRow("record of another type") << QByteArray::fromHex("03000100") + QByteArray(8, '\0');
    QTest::newRow("record longer than the file") << filerecord::encode(QByteArray(30, 'x')).left(25);
    QTest::newRow("Points missing") << fileOf({{QStringLiteral("Point0"), TaggedValue(QStringLiteral("1,2"))}});
    QTest::newRow("Points negative") << fileOf({{QStringLiteral("Points"), std::int16_t(-3)}});
    QTest::newRow("Points above 32767") << fileOf({{QStringLiteral("Points"), std::int32_t(40000)}});
    QTest::newRow("point entry missing") << fileOf({one});
    QTest::newRow("point entry 57") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("57"))}});
    QTest::newRow("coordinate not a number") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("x,1"))}});
    QTest::newRow("coordinate beyond 32 bits") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("1,-2147483649"))}});
    QTest::newRow("Grid 300") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("1,1"))}, {QStringLiteral("Grid"), std::int16_t(300)}});
    QTest::newRow("more values than the largest object holds") << [] {
        QList<std::pair<QString, TaggedValue>> values{{QStringLiteral("Points"), std::int16_t(1)},
                                                      {QStringLiteral("Point0"), TaggedValue(QStringLiteral("1,1"))}};
        for (int i = 0; i < 32770; ++i)
            values.append({QStringLiteral("Note%1").arg(i), TaggedValue()});
        return fileOf(values);
    }();
    QTest::newRow("second point bad after a good first")
        << fileOf({{QStringLiteral("Points"), std::int16_t(2)}, {QStringLiteral("Dimension"), std::int16_t(3)},
                   {QStringLiteral("Grid"), std::uint8_t(0)}, {QStringLiteral("Depth"), std::int16_t(999)},
                   {QStringLiteral("Point0"), TaggedValue(QStringLiteral("10,10"))},
                   {QStringLiteral("Point1"), TaggedValue(QStringLiteral("10"))}});
}

void OpenSaveTest::malformedObjectFiles()
{
    QFETCH(QByteArray, file);
    TestWindow w;
    drawSomething(w);
    const QString path = w.objectsFolder() + QStringLiteral("/bad.obj");
    writeFileBytes(path, file);
    const WindowSnapshot before = WindowSnapshot::of(w);
    openObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, kObjectFormatText);
    QCOMPARE(w.dialogs().lastMessage().title, kObjectFormatTitle);
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
    QCOMPARE(fileBytes(path), file);
}

void OpenSaveTest::objectTruncatedAtEveryLength()
{
    TestWindow w;
    placeObject(w, {{100, 200}, {-300, 400}}, TaggedValue(std::int16_t(150)), 3, 1);
    const QString good = w.objectsFolder() + QStringLiteral("/good.obj");
    saveObject(w, good);
    const QByteArray file = fileBytes(good);
    QVERIFY(file.size() > 60);
    drawSomething(w);
    const WindowSnapshot before = WindowSnapshot::of(w);
    const QString path = w.objectsFolder() + QStringLiteral("/cut.obj");
    for (qsizetype length = 0; length < file.size(); ++length) {
        writeFileBytes(path, file.left(length));
        w.dialogs().clear();
        if (length > 0)
            openObject(w, path, 1);
        const QByteArray where = "cut at " + QByteArray::number(length);
        QVERIFY2(w.dialogs().pending() == 0, where);
        QVERIFY2(int(w.dialogs().shown(ScriptedDialogs::Kind::Message).size()) == (length > 0 ? 1 : 0), where);
        if (length > 0)
            QVERIFY2(w.dialogs().lastMessage().text == kObjectFormatText, where);
        QVERIFY2(WindowSnapshot::of(w).differencesFrom(before).isEmpty(), where);
    }
}

void OpenSaveTest::objectWithAFlippedByteAnywhere()
{
    TestWindow w;
    placeObject(w, {{100, 200}, {-300, 400}}, TaggedValue(QStringLiteral("75")), 2, 1);
    const QString good = w.objectsFolder() + QStringLiteral("/good.obj");
    saveObject(w, good);
    const QByteArray file = fileBytes(good);
    drawSomething(w);
    const WindowSnapshot before = WindowSnapshot::of(w);
    const QString path = w.objectsFolder() + QStringLiteral("/flipped.obj");
    for (qsizetype at = 0; at < file.size(); ++at) {
        QByteArray damaged = file;
        damaged[at] = char(damaged[at] ^ 0x5A);
        writeFileBytes(path, damaged);
        w.dialogs().clear();
        openObject(w, path, 1);
        const QByteArray where = "byte " + QByteArray::number(at);
        QVERIFY2(w.dialogs().pending() == 0, where);
        QVERIFY2(w.dialogs().lastMessage().title == kObjectFormatTitle, where);
        QVERIFY2(WindowSnapshot::of(w).differencesFrom(before).isEmpty(), where);
    }
}

void OpenSaveTest::malformedWorkspaceFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("text file") << QByteArray("[Workspace]\nLinesC=255\n");
    QTest::newRow("object file") << writeObjectFile(WorkspaceState{});
    QTest::newRow("foreign bytes") << QByteArray::fromHex("ffd8ffe000104a464946");
    QTest::newRow("colour beyond 24 bits") << fileOf({{QStringLiteral("LinesC"), std::int32_t(0x01000000)}});
    QTest::newRow("radius negative") << fileOf({{QStringLiteral("Radius"), std::int16_t(-1)}});
    QTest::newRow("a seventh value") << fileOf({{QStringLiteral("LinesC"), std::int32_t(1)}, {QStringLiteral("GridLinesC"), std::int32_t(2)},
                                                 {QStringLiteral("GridBGC"), std::int32_t(3)}, {QStringLiteral("ObjColor"), std::int32_t(4)},
                                                 {QStringLiteral("Radius"), std::int16_t(5)}, {QStringLiteral("GridState"), std::uint8_t(1)},
                                                 {QStringLiteral("Extra"), std::uint8_t(1)}});
    QTest::newRow("bad grid state after good colours")
        << fileOf({{QStringLiteral("LinesC"), std::int32_t(1)}, {QStringLiteral("GridLinesC"), std::int32_t(2)},
                   {QStringLiteral("GridBGC"), std::int32_t(3)}, {QStringLiteral("ObjColor"), std::int32_t(4)},
                   {QStringLiteral("Radius"), std::int16_t(5)}, {QStringLiteral("GridState"), std::int32_t(1000)}});
}

void OpenSaveTest::malformedWorkspaceFiles()
{
    QFETCH(QByteArray, file);
    TestWindow w;
    drawSomething(w);
    const QString path = w.workspacesFolder() + QStringLiteral("/bad.wks");
    writeFileBytes(path, file);
    const WindowSnapshot before = WindowSnapshot::of(w);
    openWorkspace(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, kWorkspaceFormatText);
    QCOMPARE(w.dialogs().lastMessage().title, kWorkspaceFormatTitle);
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
}

void OpenSaveTest::workspaceTruncatedAtEveryLength()
{
    TestWindow w;
    w->cdlGridBg.Color = 0x010203;
    const QString good = w.workspacesFolder() + QStringLiteral("/good.wks");
    saveWorkspace(w, good);
    const QByteArray file = fileBytes(good);
    w->cdlGridBg.Color = 0xC0C0FF;
    drawSomething(w);
    const WindowSnapshot before = WindowSnapshot::of(w);
    const QString path = w.workspacesFolder() + QStringLiteral("/cut.wks");
    for (qsizetype length = 1; length < file.size(); ++length) {
        writeFileBytes(path, file.left(length));
        w.dialogs().clear();
        openWorkspace(w, path, 1);
        const QByteArray where = "cut at " + QByteArray::number(length);
        QVERIFY2(w.dialogs().pending() == 0, where);
        QVERIFY2(w.dialogs().lastMessage().text == kWorkspaceFormatText, where);
        QVERIFY2(WindowSnapshot::of(w).differencesFrom(before).isEmpty(), where);
    }
}

void OpenSaveTest::missingFileIsToldAndNotCreated_data()
{
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("object") << false << "Objects/nowhere.obj";
    QTest::newRow("object in a missing folder") << false << "Gone/nowhere.obj";
    QTest::newRow("workspace") << true << "Workspaces/nowhere.wks";
}

void OpenSaveTest::missingFileIsToldAndNotCreated()
{
    QFETCH(bool, workspace);
    QFETCH(QString, relativePath);
    TestWindow w;
    drawSomething(w);
    const QString path = w.programFolder() + QLatin1Char('/') + relativePath;
    const WindowSnapshot before = WindowSnapshot::of(w);
    if (workspace)
        openWorkspace(w, path, 1);
    else
        openObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The file \"%1\" cannot be found.").arg(path));
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
}

// Only a regular file is read: a folder, a device or a named pipe gets the format message at
// once (a pipe would block the reading, a device never end it).
void OpenSaveTest::notARegularFile_data()
{
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QString>("path");
    QTest::newRow("a folder") << false << "Objects";
    QTest::newRow("an endless device") << false << "/dev/zero";
    QTest::newRow("a named pipe") << false << "Objects/pipe.obj";
    QTest::newRow("a named pipe as workspace") << true << "Workspaces/pipe.wks";
}

void OpenSaveTest::notARegularFile()
{
    QFETCH(bool, workspace);
    QFETCH(QString, path);
    TestWindow w;
    if (!path.startsWith(QLatin1Char('/')))
        path = w.programFolder() + QLatin1Char('/') + path;
    if (path.contains(QStringLiteral("pipe")))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    drawSomething(w);
    const WindowSnapshot before = WindowSnapshot::of(w);
    if (workspace)
        openWorkspace(w, path, 1);
    else
        openObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, workspace ? kWorkspaceFormatText : kObjectFormatText);
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
}

// A value of a million characters from a file is quoted by its first few in the message.
void OpenSaveTest::longTextsAreQuotedShort()
{
    TestWindow w;
    const QString path = w.objectsFolder() + QStringLiteral("/deep.obj");
    writeFileBytes(path, fileOf({{QStringLiteral("Points"), std::int16_t(1)}, {QStringLiteral("Dimension"), std::int16_t(3)},
                                 {QStringLiteral("Depth"), TaggedValue(QString(1000000, QLatin1Char('x')))},
                                 {QStringLiteral("Point0"), TaggedValue(QStringLiteral("10,10"))}}));
    openObject(w, path, 1);
    QCOMPARE(w.dialogs().lastMessage().text,
             QStringLiteral("The object cannot be drawn: its depth \"%1\" is not a number.").arg(QString(39, QLatin1Char('x')) + QChar(0x2026)));
}

// The window shows the path as written, "[*]" included (Qt's sign of unsaved changes).
void OpenSaveTest::captionShowsThePathAsWritten()
{
    TestWindow w;
    QVERIFY(QDir(w.objectsFolder()).mkdir(QStringLiteral("[*]")));
    const QString path = w.objectsFolder() + QStringLiteral("/[*]/a[*][*].obj");
    writeFileBytes(path, fileBytes(dataFile(QStringLiteral("house.obj"))));
    openObject(w, path);
    QCOMPARE(w->windowHandle()->title(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(path));
}

void OpenSaveTest::fileHoldingNothingChangesNothing_data()
{
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("zero-byte object") << false << QByteArray();
    QTest::newRow("object record of type 0") << false << QByteArray::fromHex("0000112233");
    QTest::newRow("zero-byte workspace") << true << QByteArray();
    QTest::newRow("workspace record of type 0") << true << QByteArray::fromHex("0000");
}

void OpenSaveTest::fileHoldingNothingChangesNothing()
{
    QFETCH(bool, workspace);
    QFETCH(QByteArray, file);
    TestWindow w;
    drawSomething(w);
    const QString path = (workspace ? w.workspacesFolder() : w.objectsFolder()) + QStringLiteral("/empty");
    writeFileBytes(path, file);
    const WindowSnapshot before = WindowSnapshot::of(w);
    if (workspace)
        openWorkspace(w, path);
    else
        openObject(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QVERIFY(w.dialogs().shown(ScriptedDialogs::Kind::Message).empty());
    QCOMPARE(WindowSnapshot::of(w).differencesFrom(before), QStringList());
    QCOMPARE(fileBytes(path), file);
}

void OpenSaveTest::savingOverALongerFileLeavesNoTail()
{
    TestWindow w;
    const QString path = w.objectsFolder() + QStringLiteral("/shrinks.obj");
    placeObject(w, std::vector<PointRecord>(40, PointRecord{1234, 2345}), TaggedValue(), 2, 1);
    saveObject(w, path);
    const qint64 longer = QFileInfo(path).size();
    placeObject(w, kTriangle, TaggedValue(), 2, 1);
    saveObject(w, path);
    QCOMPARE(fileBytes(path), writeObjectFile(w.state()));
    QVERIFY(QFileInfo(path).size() < longer);

    const QString wks = w.workspacesFolder() + QStringLiteral("/shrinks.wks");
    writeFileBytes(wks, QByteArray(5000, 'x'));
    saveWorkspace(w, wks);
    QCOMPARE(QFileInfo(wks).size(), qint64(writeWorkspaceFile(WorkspaceFileValues{0xFFFFFF, 0x404040, 0xC0C0FF, 0x00FFFF, 20, 1}).size()));
    QCOMPARE(w.dialogs().pending(), 0);
}

// The file appeared after start-up, so a refreshed browser would show it; it must not.
void OpenSaveTest::readOnlyObjectFileIsNotSaved()
{
    TestWindow w;
    const QString path = w.objectsFolder() + QStringLiteral("/locked.obj");
    const QByteArray old = QByteArray("an older object, read-only");
    writeFileBytes(path, old);
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    w.state().SaveObjectPath = QStringLiteral("before");
    placeObject(w, kTriangle, TaggedValue(), 2, 1);

    saveObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The file \"%1\" could not be saved: the file is read-only.").arg(path));
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(w->sbStatus->panelText(7), QString());
    QCOMPARE(w.state().SaveObjectPath, QStringLiteral("before"));
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brondelwick"), QStringLiteral("Brondelwick"));
    QCOMPARE(store.value(QStringLiteral("Recent Files/File1")).toString(), QString());
    QVERIFY(!w->mnuRecent[1]->isVisible());
    QVERIFY(w->CmdObj[0]->isHidden());
    QCOMPARE(QDir(w.objectsFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("locked.obj")});
}

void OpenSaveTest::readOnlyWorkspaceFileIsReplaced()
{
    TestWindow w;
    const QString path = w.workspacesFolder() + QStringLiteral("/locked.wks");
    writeFileBytes(path, QByteArray("an older workspace, read-only"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    w->cdl3dObject.Color = 0x00AB00;
    saveWorkspace(w, path);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(fileBytes(path), writeWorkspaceFile(WorkspaceFileValues{0xFFFFFF, 0x404040, 0xC0C0FF, 0x00AB00, 20, 1}));
    QCOMPARE(QDir(w.workspacesFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("locked.wks")});
}

void OpenSaveTest::saveThatCannotStartIsTold_data()
{
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reason");
    QTest::newRow("object into a missing folder") << false << "Gone/a.obj" << "the folder \"%1/Gone\" does not exist";
    QTest::newRow("workspace into a missing folder") << true << "Gone/a.wks" << "the folder \"%1/Gone\" does not exist";
    QTest::newRow("object onto a folder") << false << "Objects" << "a folder of that name is there";
    QTest::newRow("workspace onto a folder") << true << "Workspaces" << "a folder of that name is there";
}

void OpenSaveTest::saveThatCannotStartIsTold()
{
    QFETCH(bool, workspace);
    QFETCH(QString, relativePath);
    QFETCH(QString, reason);
    TestWindow w;
    placeObject(w, kTriangle, TaggedValue(), 2, 1);
    const QString path = w.programFolder() + QLatin1Char('/') + relativePath;
    if (workspace)
        saveWorkspace(w, path, 1);
    else
        saveObject(w, path, 1);
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text,
             QStringLiteral("The file \"%1\" could not be saved: %2.").arg(path, reason.arg(w.programFolder())));
    QCOMPARE(w->sbStatus->panelText(7), QString());
    QCOMPARE(w.state().SaveObjectPath, QString());
    QVERIFY(!w->mnuRecent[1]->isVisible());
    QCOMPARE(QDir(w.programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{QStringLiteral("Objects"), QStringLiteral("Workspaces")}));
}

void OpenSaveTest::interruptedSaveKeepsTheOldFile()
{
    TestWindow w;
    const QString path = w.objectsFolder() + QStringLiteral("/old.obj");
    placeObject(w, kTriangle, TaggedValue(std::int16_t(10)), 2, 1);
    saveObject(w, path);
    const QByteArray old = fileBytes(path);
    const QString panel7 = w->sbStatus->panelText(7);

    std::vector<PointRecord> many;
    for (int i = 0; i < 20000; ++i)
        many.push_back({i, -i});
    placeObject(w, many, TaggedValue(), 2, 1);
    const QString newPath = w.objectsFolder() + QStringLiteral("/new.obj");
    {
        const FileSizeLimit limit(16 * 1024);
        saveObject(w, path, 1);    // over an existing file
        saveObject(w, newPath, 1); // a new file
    }
    QCOMPARE(w.dialogs().pending(), 0);
    const auto messages = w.dialogs().shown(ScriptedDialogs::Kind::Message);
    QVERIFY2(messages[0].text.startsWith(QStringLiteral("The file \"%1\" could not be saved: ").arg(path)), qPrintable(messages[0].text));
    QVERIFY2(messages[1].text.startsWith(QStringLiteral("The file \"%1\" could not be saved: ").arg(newPath)), qPrintable(messages[1].text));
    QVERIFY2(!messages[0].text.contains(QStringLiteral("Unknown error")), qPrintable(messages[0].text));
    QCOMPARE(fileBytes(path), old);
    QVERIFY(!QFileInfo::exists(newPath));
    QCOMPARE(QDir(w.objectsFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.obj")});
    QCOMPARE(w->sbStatus->panelText(7), panel7);
    QCOMPARE(w->CmdObj[1]->isHidden(), true);

    // With room again the same save goes through.
    saveObject(w, newPath);
    QCOMPARE(fileBytes(newPath), writeObjectFile(w.state()));
}

// Files the program wrote when these tests were first written; if a later change stops
// reading them, users' saved files would stop opening too.
void OpenSaveTest::filesWrittenEarlierStillOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::vector<PointRecord>>("points");
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("drawnAs");
    QTest::newRow("house.obj") << "house.obj"
                               << std::vector<PointRecord>{{1000, 3000}, {3000, 3000}, {3000, 1500}, {2000, 700}, {1000, 1500}}
                               << TaggedValue(std::int16_t(600)) << 1 << 3;
    QTest::newRow("textdepth.obj") << "textdepth.obj" << std::vector<PointRecord>{{1300, 1400}, {-20, 35}, {500, -700}}
                                   << TaggedValue(QStringLiteral("1000")) << 0 << 2;
    QTest::newRow("realdepth.obj") << "realdepth.obj" << std::vector<PointRecord>{{2500, 2500}} << TaggedValue(250.5) << 1 << 3;
    QTest::newRow("empty.obj") << "empty.obj" << std::vector<PointRecord>{PointRecord{}} << TaggedValue() << 1 << 2;
}

void OpenSaveTest::filesWrittenEarlierStillOpen()
{
    QFETCH(QString, name);
    QFETCH(std::vector<PointRecord>, points);
    QFETCH(TaggedValue, depth);
    QFETCH(int, grid);
    QFETCH(int, drawnAs);
    TestWindow w;
    openObject(w, dataFile(name));
    QCOMPARE(w.dialogs().pending(), 0);
    QVERIFY(w.dialogs().shown(ScriptedDialogs::Kind::Message).empty());
    QCOMPARE(pointsText(w.state().pPoints), pointsText(points));
    QCOMPARE(int(w.state().PointCount), name == QStringLiteral("empty.obj") ? 0 : int(points.size()));
    QVERIFY2(w.state().Depth == depth, qPrintable(valueText(w.state().Depth)));
    QCOMPARE(w.state().GridState, std::uint8_t(grid));
    QCOMPARE(w.state().DrawMode, std::int16_t(drawnAs));
}

void OpenSaveTest::workspaceWrittenEarlierStillOpens()
{
    TestWindow w;
    openWorkspace(w, dataFile(QStringLiteral("colours.wks")));
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w->cdlDrawing.Color, ColorRef(0x0000FF));
    QCOMPARE(w->cdlColorGrid.Color, ColorRef(0x00FF00));
    QCOMPARE(w->cdlGridBg.Color, ColorRef(0xFF0000));
    QCOMPARE(w->cdl3dObject.Color, ColorRef(0x123456));
    QCOMPARE(w.state().PointRadius, std::int16_t(35));
    QCOMPARE(w.state().GridState, std::uint8_t(0));
}

// The same objects saved today give the same bytes as the stored files.
void OpenSaveTest::writerStillWritesTheEarlierBytes()
{
    TestWindow w;
    placeObject(w, {{1000, 3000}, {3000, 3000}, {3000, 1500}, {2000, 700}, {1000, 1500}}, TaggedValue(std::int16_t(600)), 3, 1);
    QCOMPARE(writeObjectFile(w.state()).toHex(), fileBytes(dataFile(QStringLiteral("house.obj"))).toHex());
    placeObject(w, {}, TaggedValue(), 2, 1);
    QCOMPARE(writeObjectFile(w.state()).toHex(), fileBytes(dataFile(QStringLiteral("empty.obj"))).toHex());
    QCOMPARE(writeWorkspaceFile(WorkspaceFileValues{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 35, 0}).toHex(),
             fileBytes(dataFile(QStringLiteral("colours.wks"))).toHex());
}

QTEST_MAIN(OpenSaveTest)
#include "tst_opensave.moc"
