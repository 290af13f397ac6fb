// The browser's buttons over the Objects and Workspaces folders, and the recent-files list in the
// settings store and File > Recent Files: what each shows, and what a click, a save or a choice does.
#include "fakes/TestCore.h"

#include <QSettings>
#include <QTest>

#include <sys/stat.h>

namespace {

// Object files of these names in a folder; a name ending in "|" is made a named pipe.
void makeFiles(const QString& folder, const QString& names)
{
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts))
        if (name.endsWith('|'))
            QCOMPARE(mkfifo(QFile::encodeName(folder + '/' + name.chopped(1)).constData(), 0600), 0);
        else
            writeFileBytes(folder + '/' + name, fileOf({{"Points", std::int16_t(1)}, {"Point0", QStringLiteral("100,200")}}));
}

// The captions of the visible buttons of both tabs: "objects | workspaces".
QString buttons(TestCore& w)
{
    QStringList shown;
    for (const auto* column : {&w->CmdObj, &w->CmdWrk}) {
        for (const BrowserButton& b : *column)
            if (b.Visible)
                shown << b.Caption;
        shown << "|";
    }
    return shown.join(' ').chopped(2);
}

// One letter a button: B marked blue, - grey, ? anything else.
QString marks(const BrowserButtons& column)
{
    QString out;
    for (const BrowserButton& b : column)
        out += b.BackColor == 0xC46200 ? 'B' : b.BackColor == 0x808080 ? '-' : '?';
    return out;
}

// Stores the recent-files keys File0, File1, ... given one a word; "-" leaves a key out.
void store(const QString& keys)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, "Brondelwick", "Brondelwick");
    const QStringList values = keys.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < values.size(); ++i)
        if (values[i] != "-")
            s.setValue(QStringLiteral("Recent Files/File%1").arg(i), values[i]);
}

// What the recent files show: keys File0 to File6 ("-" never written, "_" empty), the five
// items ("-" hidden), status panel 7 and the browser's buttons.
QString recentFiles(TestCore& w)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, "Brondelwick", "Brondelwick");
    QStringList keys, items;
    for (int i = 0; i <= 6; ++i) {
        const QString value = s.value(QStringLiteral("Recent Files/File%1").arg(i), "-").toString();
        keys << (value.isEmpty() ? "_" : value);
    }
    for (const MenuItem& item : w->mnuRecent)
        items << (item.Visible ? item.Caption : "-");
    return QStringList{keys.join(' '), items.join(", "), w->sbStatus.text(StatusPanel::SavedPath), buttons(w)}.join(" / ").replace(w.objectsFolder(), "<O>");
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsShowTheFileLists_data()
    {
        QTest::addColumn<QString>("objects");
        QTest::addColumn<QString>("workspaces");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty folders") << "" << "" << "|";
        QTest::newRow("regular matching files, sorted ignoring case")
            << "b.obj R&D.obj A.obj notes.txt x.wks pipe.obj| .hidden.obj" << "x.obj" << ".hidden.obj A.obj b.obj R&D.obj |";
        QTest::newRow("16 of 17 shown")
            << "q.obj P.obj o.obj N.obj m.obj L.obj k.obj J.obj i.obj H.obj g.obj F.obj e.obj D.obj c.obj B.obj a.obj"
            << "p.wks O.wks n.wks M.wks l.wks K.wks j.wks I.wks h.wks G.wks f.wks E.wks d.wks C.wks b.wks A.wks"
            << "a.obj B.obj c.obj D.obj e.obj F.obj g.obj H.obj i.obj J.obj k.obj L.obj m.obj N.obj o.obj P.obj | A.wks b.wks "
               "C.wks d.wks E.wks f.wks G.wks h.wks I.wks j.wks K.wks l.wks M.wks n.wks O.wks p.wks";
    }

    void buttonsShowTheFileLists()
    {
        QFETCH(QString, objects);
        QFETCH(QString, workspaces);
        QFETCH(QString, expected);
        TestCore w(std::function([&](const QString& folder) {
            makeFiles(folder + "/Objects", objects);
            makeFiles(folder + "/Workspaces", workspaces);
        }));
        QCOMPARE(buttons(w), expected);
        QCOMPARE(marks(w->CmdObj) + marks(w->CmdWrk), QString(32, '-'));
    }

    void clickMarksItsButtonAndOpensItsFile()
    {
        TestCore w(std::function([](const QString& folder) {
            makeFiles(folder + "/Objects", "1.obj 2.obj 3.obj");
            writeFileBytes(folder + "/Workspaces/w.wks", fileOf({{"LinesC", std::int32_t(2)}}));
        }));
        for (const int i : {2, 0})
            CmdObj_Click(w->files, i);
        CmdWrk_Click(w->files, 0);
        QCOMPARE(marks(w->CmdObj) + marks(w->CmdWrk), "B---------------B---------------");
        QCOMPARE(w->caption, "PLANOVEXTRIUM  [" + w.objectsFolder() + "/1.obj]");
        QCOMPARE(w->cdlDrawing.Color, ColorRef(2));
    }

    void savingUpdatesRecentFilesAndButtons_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("expected");
        const QString six = "- <O>/1.obj <O>/2.obj <O>/3.obj <O>/4.obj <O>/5.obj <O>/6.obj";
        QTest::newRow("first object into an empty store") << "" << "<O>/a.obj"
            << "- <O>/a.obj _ _ _ _ _ / -, Object #1: a.obj, -, -, - / <O>/a.obj / a.obj b.obj C.obj | w.wks";
        QTest::newRow("path only in File0 is new, File0 kept")
            << "<O>/0.obj <O>/1.obj /x\\R&D.obj <O>/3.obj <O>/4.obj <O>/5.obj <O>/6.obj" << "<O>/0.obj"
            << "<O>/0.obj <O>/0.obj <O>/1.obj /x\\R&D.obj <O>/3.obj <O>/4.obj <O>/5.obj / "
               "-, Object #1: 0.obj, Object #2: 0.obj, Object #3: 1.obj, Object #4: R&D.obj / <O>/0.obj / 0.obj b.obj C.obj | w.wks";
        QTest::newRow("path only in File6 is new") << six << "<O>/6.obj"
            << "- <O>/6.obj <O>/1.obj <O>/2.obj <O>/3.obj <O>/4.obj <O>/5.obj / "
               "-, Object #1: 6.obj, Object #2: 1.obj, Object #3: 2.obj, Object #4: 3.obj / <O>/6.obj / 6.obj b.obj C.obj | w.wks";
        QTest::newRow("path in File5 changes nothing") << six << "<O>/5.obj"
            << six + " / -, Object #1: 1.obj, Object #2: 2.obj, Object #3: 3.obj, Object #4: 4.obj /  / b.obj C.obj | w.wks";
        QTest::newRow("other letter case is another path") << "- <O>/house.obj" << "<O>/House.obj"
            << "- <O>/House.obj <O>/house.obj _ _ _ _ / -, Object #1: House.obj, Object #2: house.obj, -, - / <O>/House.obj / "
               "b.obj C.obj House.obj | w.wks";
        QTest::newRow("a workspace changes neither") << "" << "w.wks" << "- - - - - - - / -, -, -, -, - /  / b.obj C.obj | w.wks";
    }

    void savingUpdatesRecentFilesAndButtons()
    {
        QFETCH(QString, keys);
        QFETCH(QString, saved);
        QFETCH(QString, expected);
        TestCore w(std::function([&](const QString& folder) {
            makeFiles(folder + "/Objects", "b.obj C.obj");
            makeFiles(folder + "/Workspaces", "w.wks");
            store(QString(keys).replace("<O>", folder + "/Objects"));
        }));
        CmdObj_Click(w->files, 1);
        setObject(w.state(), {{100, 100}});
        const QString path = saved.endsWith(".obj") ? saved.replace("<O>", w.objectsFolder()) : w.workspacesFolder() + '/' + saved;
        w.dialogs().answerSave(path);
        QVERIFY(act(w, [&] { path.endsWith(".obj") ? mnuSave_Click(w->files) : mnuSaveWork_Click(w->files); }));
        QVERIFY(QFile::exists(path));
        QCOMPARE(recentFiles(w), expected);
        QCOMPARE(marks(w->CmdObj), "-B--------------");
    }

    void choosingARecentItemOpensAndDraws_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: there is none
        QTest::addColumn<QString>("expected");
        const auto object = [](std::int16_t dimension, int x) {
            return fileOf({{"Points", std::int16_t(2)}, {"Dimension", dimension}, {"Depth", std::int16_t(100)},
                           {"Point0", QStringLiteral("%1,100").arg(x)}, {"Point1", QStringLiteral("500,500")}});
        };
        QTest::newRow("Dimension 3 extruded") << object(3, 1000) << "drawn 3 'Object Points: 4' [<O>/r.obj] messages 0";
        QTest::newRow("Dimension 2 flat") << object(2, 1000) << "drawn 2 'Object Points: 2' [<O>/r.obj] messages 0";
        QTest::newRow("missing file told, what stands drawn extruded") << QByteArray() << "drawn 3 'Object Points: 2' v.1.0.0 messages 1";
        QTest::newRow("object the views refuse told once") << object(3, -90000) << "drawn 1 'Object Points:' [<O>/r.obj] messages 1";
    }

    void choosingARecentItemOpensAndDraws()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        TestCore w(std::function([&](const QString& folder) {
            if (!file.isEmpty())
                writeFileBytes(folder + "/Objects/r.obj", file);
            store("- " + folder + "/Objects/r.obj");
        }));
        setObject(w.state(), {{1000, 1000}}, {}, 0);
        if (expected.endsWith("messages 1"))
            w.dialogs().expectMessage();
        QVERIFY(act(w, [&] { mnuRecent_Click(w->files, 1); }));
        QCOMPARE(QStringLiteral("drawn %1 '%2' %3 messages %4")
                     .arg(QString::number(w.state().DrawMode), w->sbStatus.text(StatusPanel::ObjectPoints),
                          w->caption.remove("PLANOVEXTRIUM  ").replace(w.objectsFolder(), "<O>"),
                          QString::number(w.dialogs().shown(ScriptedDialogs::Kind::Message).size())),
                 expected);
    }
};

QTEST_GUILESS_MAIN(BrowserTest)
#include "tst_browser.moc"
