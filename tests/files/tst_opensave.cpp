// Open and save through the File menu with scripted dialogs and real files: the dialogs set up,
// the stored files opened and saved back, and every file or save that fails told and changing nothing.
#include "fakes/TestCore.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kData = QStringLiteral(BRONDELWICK_TEST_DATA);

// The File menu's items that show the file dialog.
enum class FileItem { Open, Save, OpenWork, SaveWork };

void choose(TestCore& w, FileItem item)
{
    switch (item) {
    case FileItem::Open: return mnuOpen_Click(w->files);
    case FileItem::Save: return mnuSave_Click(w->files);
    case FileItem::OpenWork: return mnuOpenWork_Click(w->files);
    case FileItem::SaveWork: return mnuSaveWork_Click(w->files);
    }
}

// Chooses a File menu item whose file dialog answers path; false as act() gives it.
[[nodiscard]] bool chooseFile(TestCore& w, FileItem item, const QString& path)
{
    if (item == FileItem::Open || item == FileItem::OpenWork)
        w.dialogs().answerOpen(path);
    else
        w.dialogs().answerSave(path);
    return act(w, [&] { choose(w, item); });
}

// An extruded object on screen and a colour of the user's own, so that a refusal could show.
[[nodiscard]] bool drawSomething(TestCore& w)
{
    setObject(w.state(), {{1300, 1400}, {2000, 2500}, {500, 2700}}, std::int16_t(300), 0);
    w->cdlDrawing.Color = 0x00A0A0;
    return act(w, [&] { mnuDraw3D_Click(w->views); });
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Lowers one of this process's limits while it lives: RLIMIT_FSIZE as a full disk would (a write
// past it then fails instead of raising SIGXFSZ), RLIMIT_NOFILE so that no file can be opened.
struct Limit {
    int resource;
    rlimit old{};
    Limit(int which, rlim_t value) : resource(which)
    {
        getrlimit(resource, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lower{value, old.rlim_max};
        setrlimit(resource, &lower);
    }
    ~Limit() { setrlimit(resource, &old); }
};

} // namespace

class OpenSaveTest : public QObject {
    Q_OBJECT
private slots:
    void dialogsSetUpAndCancelChangesNothing()
    {
        TestCore w;
        QVERIFY(drawSomething(w));
        const Snapshot before = Snapshot::of(w.core());
        QStringList shown;
        for (const FileItem item : {FileItem::Open, FileItem::Save, FileItem::OpenWork, FileItem::SaveWork}) {
            QVERIFY(chooseFile(w, item, QString()));
            shown << w.dialogs().shown().back().filter + " in " + QDir(w.programFolder()).relativeFilePath(w.dialogs().shown().back().initDir);
        }
        QCOMPARE(shown, (QStringList{"Object Files (*.obj)|*.obj in Objects", "Object Files (*.obj)|*.obj in Objects",
                                     "Object Files (*.wks)|*.wks in Workspaces", "Workspace Files (*.wks)|*.wks in Workspaces"}));
        QCOMPARE(Snapshot::of(w.core()).differencesFrom(before), QStringList());
        QCOMPARE(entries(w.objectsFolder()) + entries(w.workspacesFolder()), QStringList());
    }

    void storedFilesOpenAndSaveBackByteForByte_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown"); // how it was drawn, status panel 3, caption
        QTest::newRow("house.obj") << "house.obj" << "3 'Object Points: 10' PLANOVEXTRIUM  [<data>/house.obj]";
        QTest::newRow("textdepth.obj") << "textdepth.obj" << "2 'Object Points: 3' PLANOVEXTRIUM  [<data>/textdepth.obj]";
        QTest::newRow("realdepth.obj") << "realdepth.obj" << "3 'Object Points: 2' PLANOVEXTRIUM  [<data>/realdepth.obj]";
        QTest::newRow("empty.obj") << "empty.obj" << "2 'Object Points: 0' PLANOVEXTRIUM  [<data>/empty.obj]";
        QTest::newRow("colours.wks redraws nothing") << "colours.wks" << "1 'Object Points:' PLANOVEXTRIUM  v.1.0.0";
    }

    // Saving what was opened gives the stored bytes back, so every value was taken as stored; the
    // save goes over a longer file, or for a workspace over a read-only one, and replaces it whole.
    void storedFilesOpenAndSaveBackByteForByte()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        TestCore w;
        const bool object = name.endsWith(".obj");
        QVERIFY(chooseFile(w, object ? FileItem::Open : FileItem::OpenWork, kData + '/' + name));
        QCOMPARE(QStringLiteral("%1 '%2' %3").arg(QString::number(w.state().DrawMode), w->sbStatus.text(StatusPanel::ObjectPoints),
                                                  w->caption.replace(kData, "<data>")), shown);

        const QString copy = (object ? w.objectsFolder() : w.workspacesFolder()) + '/' + name;
        writeFileBytes(copy, QByteArray(5000, 'x'));
        if (!object)
            QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner));
        QVERIFY(chooseFile(w, object ? FileItem::Save : FileItem::SaveWork, copy));
        QCOMPARE(fileBytes(copy).toHex(' '), fileBytes(kData + '/' + name).toHex(' '));
        QCOMPARE(entries(w.objectsFolder()) + entries(w.workspacesFolder()), QStringList{name});
    }

    void refusedOpensChangeNothing_data()
    {
        QTest::addColumn<bool>("workspace");
        QTest::addColumn<QString>("file"); // "folder", "pipe", "device", "missing", or the bytes
        QTest::addColumn<QString>("message"); // text, then title
        const QString object = "There was an error in the format of the Object file / OBJECT FILE FORMAT ERROR";
        QTest::newRow("text file as object") << false << "Points=1\r\n" << object;
        QTest::newRow("folder as object") << false << "folder" << object;
        QTest::newRow("device as object") << false << "device" << object;
        QTest::newRow("pipe as workspace") << true << "pipe" << "There was an error in the format of the Workspace file / WORKSPACE FILE FORMAT ERROR";
        QTest::newRow("missing object") << false << "missing" << "The file \"%1\" cannot be found. / Brondelwick";
        QTest::newRow("zero-byte object") << false << "" << "";
        QTest::newRow("type 0 workspace") << true << QString(QChar(0)) + QChar(0) + "rest" << "";
    }

    void refusedOpensChangeNothing()
    {
        QFETCH(bool, workspace);
        QFETCH(QString, file);
        QFETCH(QString, message);
        TestCore w;
        QVERIFY(drawSomething(w));
        const QString path = file == "device" ? "/dev/zero" : (workspace ? w.workspacesFolder() : w.objectsFolder()) + "/f";
        if (file == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (file == "pipe")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (file != "missing" && file != "device")
            writeFileBytes(path, file.toLatin1());
        const Snapshot before = Snapshot::of(w.core());
        w.dialogs().answerOpen(path);
        if (!message.isEmpty())
            w.dialogs().expectMessage();
        QVERIFY(act(w, [&] { choose(w, workspace ? FileItem::OpenWork : FileItem::Open); }));
        if (!message.isEmpty())
            QCOMPARE(w.dialogs().lastMessage().text + " / " + w.dialogs().lastMessage().title, message.replace("%1", path));
        // The path chosen is kept by every open before the file is read.
        QCOMPARE(Snapshot::of(w.core()).differencesFrom(before), QStringList{"CurrentFilePath"});
        QCOMPARE(QFileInfo::exists(path), file != "missing");
    }

    // A name that looks like markup is shown as typed in status panel 7; a recent-files list
    // whose settings file cannot be written is told after the object is saved.
    void savedObjectToldAsTyped_data()
    {
        QTest::addColumn<bool>("settingsWritable");
        QTest::addRow("settings written") << true;
        QTest::addRow("settings file a folder") << false;
    }

    void savedObjectToldAsTyped()
    {
        QFETCH(bool, settingsWritable);
        TestCore w;
        QVERIFY(drawSomething(w));
        const QString settingsFile = QSettings(QSettings::IniFormat, QSettings::UserScope, "Brondelwick", "Brondelwick").fileName();
        if (!settingsWritable)
            QVERIFY(QDir().mkpath(settingsFile));
        const QString path = w.objectsFolder() + "/<b>draft<b>.obj";
        w.dialogs().answerSave(path);
        if (!settingsWritable)
            w.dialogs().expectMessage();
        QVERIFY(act(w, [&] { mnuSave_Click(w->files); }));
        QCOMPARE(w.dialogs().pending(), 0);
        QVERIFY(QFileInfo::exists(path));
        if (!settingsWritable)
            QCOMPARE(w.dialogs().lastMessage().text, "The object was saved, but the recent-files list could not be updated: "
                                                     "the settings file cannot be written.");
        QCOMPARE(w->sbStatus.text(StatusPanel::SavedPath), path);
    }

    void failedSavesChangeNothing_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("limit"); // "size" of a file, "files" open
        QTest::addColumn<QString>("reason"); // the text after "could not be saved: "; "*" for any
        QTest::newRow("read-only object") << "Objects/old.obj" << true << "" << "the file is read-only.";
        QTest::newRow("object into a missing folder") << "Gone/new.obj" << false << "" << "the folder \"<folder>/Gone\" does not exist.";
        QTest::newRow("workspace onto a folder") << "Workspaces" << false << "" << "a folder of that name is there.";
        QTest::newRow("large object on a full disk") << "Objects/old.obj" << false << "size" << "*";
        QTest::newRow("read-only workspace, no file can be opened") << "Workspaces/old.wks" << true << "files" << "*";
        QTest::newRow("small workspace on a full disk") << "Workspaces/old.wks" << false << "size" << "*";
    }

    void failedSavesChangeNothing()
    {
        QFETCH(QString, relativePath);
        QFETCH(bool, readOnly);
        QFETCH(QString, limit);
        QFETCH(QString, reason);
        TestCore w;
        QVERIFY(drawSomething(w));
        w.state().SaveObjectPath = "earlier";
        const QString path = w.programFolder() + '/' + relativePath;
        const bool existing = readOnly || !limit.isEmpty();
        if (existing)
            writeFileBytes(path, "the user's older file");
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        if (limit == "size") // larger than the 16 KiB a file buffers before it writes
            setObject(w.state(), std::vector<PointRecord>(20000, PointRecord{-1000000, 1000000}));
        const QStringList folders = entries(w.objectsFolder()) + entries(w.workspacesFolder());
        const Snapshot before = Snapshot::of(w.core());
        w.dialogs().answerSave(path);
        w.dialogs().expectMessage();
        {
            std::optional<Limit> lowered;
            if (!limit.isEmpty())
                lowered.emplace(limit == "size" ? RLIMIT_FSIZE : RLIMIT_NOFILE, limit == "size" ? 64 : 0);
            choose(w, path.endsWith(".obj") ? FileItem::Save : FileItem::SaveWork);
        }
        QCOMPARE(w.dialogs().pending(), 0);
        const QString told = w.dialogs().lastMessage().text;
        QVERIFY2(QRegularExpression(QRegularExpression::escape("The file \"" + path + "\" could not be saved: ")
                                    + (reason == "*" ? ".+\\." : QRegularExpression::escape(reason.replace("<folder>", w.programFolder())))
                                    + '$').match(told).hasMatch(), qPrintable(told));
        QCOMPARE(Snapshot::of(w.core()).differencesFrom(before), QStringList());
        QCOMPARE(w.state().SaveObjectPath, "earlier");
        QCOMPARE(entries(w.objectsFolder()) + entries(w.workspacesFolder()), folders);
        QCOMPARE(fileBytes(path), QByteArray(existing ? "the user's older file" : ""));
        QCOMPARE(bool(QFileInfo(path).permissions() & QFileDevice::WriteOwner), !readOnly && QFileInfo::exists(path));
        QVERIFY(!QSettings(QSettings::IniFormat, QSettings::UserScope, "Brondelwick", "Brondelwick").contains("Recent Files/File1"));
    }
};

QTEST_GUILESS_MAIN(OpenSaveTest)
#include "tst_opensave.moc"
