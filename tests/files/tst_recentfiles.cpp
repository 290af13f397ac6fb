// The recent-files list: keys File1 (newest) to File6 in the settings store, File0 read and
// never written, the four newest in File > Recent Files, what counts as already listed, and
// choosing an item to open and draw its object again.
#include "files/FileCommands.h"
#include "files/ObjectFile.h"
#include "files/FileTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace {

// File0 to File6 as stored; "<none>" for a key never written.
QStringList storedKeys()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brondelwick"), QStringLiteral("Brondelwick"));
    QStringList keys;
    for (int i = 0; i <= 6; ++i) {
        const QString key = QStringLiteral("Recent Files/File%1").arg(i);
        keys << (s.contains(key) ? s.value(key).toString() : QStringLiteral("<none>"));
    }
    return keys;
}

// The five items as shown: caption for a visible item, "-" for a hidden one.
QStringList menuItems(TestWindow& w)
{
    QStringList items;
    for (const QAction* item : w->mnuRecent)
        items << (item->isVisible() ? item->text() : QStringLiteral("-"));
    return items;
}

void seed(const QList<std::pair<int, QString>>& values)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brondelwick"), QStringLiteral("Brondelwick"));
    for (const auto& [key, value] : values)
        s.setValue(QStringLiteral("Recent Files/File%1").arg(key), value);
}

void save(TestWindow& w, const QString& path)
{
    w.dialogs().answerSave(path);
    w->mnuSave->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
}

std::function<void(const QString&)> seeded(const QList<std::pair<int, QString>>& values)
{
    return [values](const QString&) { seed(values); };
}

} // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void emptyStoreHidesEveryItem();
    void keysShiftThroughSevenSaves();
    void savingAListedPathChangesNothing();
    void pathOnlyInFile6CountsAsNew();
    void letterCaseMakesADifferentEntry();
    void file0IsShownButNeverWritten();
    void captionsTakeTheNameAfterTheLastSeparator_data();
    void captionsTakeTheNameAfterTheLastSeparator();
    void choosingAnItemOpensAndDraws();
    void choosingADeletedFileTellsAndDrawsTheStateAsItStands();
    void openingAndWorkspacesLeaveTheListAlone();
    void objectTheViewsRefuseIsToldOnce();
};

void RecentFilesTest::emptyStoreHidesEveryItem()
{
    TestWindow w;
    QCOMPARE(menuItems(w), (QStringList{"-", "-", "-", "-", "-"}));
    QCOMPARE(storedKeys(), QStringList(7, QStringLiteral("<none>")));
}

void RecentFilesTest::keysShiftThroughSevenSaves()
{
    TestWindow w;
    placeObject(w, {{100, 100}});
    QStringList paths;
    for (int i = 0; i < 7; ++i)
        paths << w.objectsFolder() + QStringLiteral("/%1.obj").arg(QChar(u'a' + i));

    const QString none = QStringLiteral("<none>");
    const QList<QStringList> expectedKeys{
        {none, paths[0], "", "", "", "", ""},
        {none, paths[1], paths[0], "", "", "", ""},
        {none, paths[2], paths[1], paths[0], "", "", ""},
        {none, paths[3], paths[2], paths[1], paths[0], "", ""},
        {none, paths[4], paths[3], paths[2], paths[1], paths[0], ""},
        {none, paths[5], paths[4], paths[3], paths[2], paths[1], paths[0]},
        {none, paths[6], paths[5], paths[4], paths[3], paths[2], paths[1]},
    };
    for (int i = 0; i < 7; ++i) {
        save(w, paths[i]);
        QCOMPARE(storedKeys(), expectedKeys[i]);
        QCOMPARE(w->sbStatus->panelText(7), paths[i]);
        QStringList items{QStringLiteral("-")};
        for (int k = 1; k <= 4; ++k)
            items << (k <= i + 1 ? QStringLiteral("Object #%1: %2.obj").arg(k).arg(QChar(u'a' + i + 1 - k)) : QStringLiteral("-"));
        QCOMPARE(menuItems(w), items);
    }
    QCOMPARE(w->mnuRecent[1]->data().toString(), paths[6]);
    QCOMPARE(w->mnuRecent[4]->data().toString(), paths[3]);
}

void RecentFilesTest::savingAListedPathChangesNothing()
{
    TestWindow w;
    placeObject(w, {{100, 100}});
    const QString a = w.objectsFolder() + QStringLiteral("/a.obj");
    const QString b = w.objectsFolder() + QStringLiteral("/b.obj");
    const QString c = w.objectsFolder() + QStringLiteral("/c.obj");
    save(w, a);
    save(w, b);
    save(w, c);
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: c.obj", "Object #2: b.obj", "Object #3: a.obj", "-"}));
    const QStringList keys = storedKeys();

    // The saved file itself changes; its place in the list and the status bar do not.
    placeObject(w, {{200, 200}, {300, 300}});
    save(w, a);
    QCOMPARE(fileBytes(a), writeObjectFile(w.state()));
    QCOMPARE(storedKeys(), keys);
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: c.obj", "Object #2: b.obj", "Object #3: a.obj", "-"}));
    QCOMPARE(w->sbStatus->panelText(7), c);
    QCOMPARE(w.state().SaveObjectPath, a);
}

void RecentFilesTest::pathOnlyInFile6CountsAsNew()
{
    TestWindow w(seeded({{1, "/p/5.obj"}, {2, "/p/4.obj"}, {3, "/p/3.obj"}, {4, "/p/2.obj"}, {5, "/p/1.obj"}}));
    // File6 names a file of this window's folder, known only now.
    const QString oldest = w.objectsFolder() + QStringLiteral("/0.obj");
    seed({{6, oldest}});
    placeObject(w, {{100, 100}});
    save(w, oldest);
    QCOMPARE(storedKeys(), (QStringList{"<none>", oldest, "/p/5.obj", "/p/4.obj", "/p/3.obj", "/p/2.obj", "/p/1.obj"}));
    QCOMPARE(w->sbStatus->panelText(7), oldest);
}

void RecentFilesTest::letterCaseMakesADifferentEntry()
{
    TestWindow w;
    placeObject(w, {{100, 100}});
    const QString lower = w.objectsFolder() + QStringLiteral("/house.obj");
    const QString upper = w.objectsFolder() + QStringLiteral("/House.obj");
    save(w, lower);
    save(w, upper);
    QCOMPARE(storedKeys().mid(1, 3), (QStringList{upper, lower, ""}));
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: House.obj", "Object #2: house.obj", "-", "-"}));
}

void RecentFilesTest::file0IsShownButNeverWritten()
{
    TestWindow w(seeded({{0, "/old/zero.obj"}, {1, "/old/one.obj"}, {2, "/old/two.obj"}, {3, "/old/three.obj"},
                         {4, "/old/four.obj"}}));
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: zero.obj", "Object #2: one.obj", "Object #3: two.obj",
                                        "Object #4: three.obj"}));
    QCOMPARE(w->mnuRecent[1]->data().toString(), QStringLiteral("/old/zero.obj"));

    placeObject(w, {{100, 100}});
    const QString path = w.objectsFolder() + QStringLiteral("/new.obj");
    save(w, path);
    QCOMPARE(storedKeys(), (QStringList{"/old/zero.obj", path, "/old/one.obj", "/old/two.obj", "/old/three.obj",
                                        "/old/four.obj", ""}));
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: zero.obj", "Object #2: new.obj", "Object #3: one.obj",
                                        "Object #4: two.obj"}));

    // File0 alone does not count as listed: saving its path adds it under File1.
    QVERIFY(!FindRecentFile(w->files(), QStringLiteral("/old/zero.obj")));
    QVERIFY(FindRecentFile(w->files(), QStringLiteral("/old/four.obj")));
}

void RecentFilesTest::captionsTakeTheNameAfterTheLastSeparator_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");
    QTest::newRow("slashes") << "/home/user/Objects/house.obj" << "Object #1: house.obj";
    QTest::newRow("backslashes") << "C:\\Brondelwick\\Objects\\house.obj" << "Object #1: house.obj";
    QTest::newRow("both, backslash last") << "/mnt/share\\Objects\\barn.obj" << "Object #1: barn.obj";
    QTest::newRow("no separator") << "plain.obj" << "Object #1: plain.obj";
    QTest::newRow("ampersand shown as written") << "/x/R&D.obj" << "Object #1: R&&D.obj";
}

void RecentFilesTest::captionsTakeTheNameAfterTheLastSeparator()
{
    QFETCH(QString, path);
    QFETCH(QString, caption);
    TestWindow w(seeded({{1, path}}));
    QCOMPARE(menuItems(w), (QStringList{"-", caption, "-", "-", "-"}));
    QCOMPARE(w->mnuRecent[1]->data().toString(), path);
}

void RecentFilesTest::choosingAnItemOpensAndDraws()
{
    TestWindow w;
    const std::vector<PointRecord> prism{{1000, 1000}, {2500, 1000}, {1800, 2500}};
    placeObject(w, prism, TaggedValue(std::int16_t(400)), 3, 1);
    const QString path = w.objectsFolder() + QStringLiteral("/prism.obj");
    save(w, path);
    w->mnuClear->trigger();
    w.state().Dimension = 2;

    w->mnuRecent[1]->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QVERIFY(w.dialogs().shown().size() == 1); // the save dialog only
    QCOMPARE(w.state().CurrentFilePath, path);
    QVERIFY(w.state().pPoints == prism);
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  [%1]").arg(path));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
}

void RecentFilesTest::choosingADeletedFileTellsAndDrawsTheStateAsItStands()
{
    TestWindow w;
    const QString path = w.objectsFolder() + QStringLiteral("/gone.obj");
    placeObject(w, {{1000, 1000}, {2000, 2000}}, TaggedValue(), 2, 1);
    save(w, path);
    QVERIFY(QFile::remove(path));
    QCOMPARE(w.state().DrawMode, std::int16_t(1));

    w.dialogs().expectMessage();
    w->mnuRecent[1]->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The file \"%1\" cannot be found.").arg(path));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(w.state().PointCount, std::int16_t(2));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 2"));
    QCOMPARE(w->windowTitle(), QStringLiteral("PLANOVEXTRIUM  v.1.0.0"));
    QCOMPARE(menuItems(w), (QStringList{"-", "Object #1: gone.obj", "-", "-", "-"}));
}

void RecentFilesTest::openingAndWorkspacesLeaveTheListAlone()
{
    TestWindow w;
    placeObject(w, {{100, 100}});
    const QString path = w.objectsFolder() + QStringLiteral("/kept.obj");
    writeFileBytes(path, writeObjectFile(w.state()));
    w.dialogs().answerOpen(path);
    w->mnuOpen->trigger();
    w.dialogs().answerSave(w.workspacesFolder() + QStringLiteral("/w.wks"));
    w->mnuSaveWork->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(storedKeys(), QStringList(7, QStringLiteral("<none>")));
    QCOMPARE(menuItems(w), (QStringList{"-", "-", "-", "-", "-"}));
    QCOMPARE(w->sbStatus->panelText(7), QString());
}

// Its own drawing has just refused the object; the redraw would only say the same again.
void RecentFilesTest::objectTheViewsRefuseIsToldOnce()
{
    TestWindow w;
    const std::vector<PointRecord> far{{-90000, 100}, {500, 500}};
    placeObject(w, far, TaggedValue(std::int16_t(100)), 3, 1);
    const QString path = w.objectsFolder() + QStringLiteral("/far.obj");
    save(w, path);
    placeObject(w, {}, TaggedValue(), 0, 1);

    w.dialogs().expectMessage();
    w->mnuRecent[1]->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    QCOMPARE(int(w.dialogs().shown(ScriptedDialogs::Kind::Message).size()), 1);
    QVERIFY(w.state().pPoints == far);
    QCOMPARE(w.state().DrawMode, std::int16_t(1));
}

QTEST_MAIN(RecentFilesTest)
#include "tst_recentfiles.moc"
