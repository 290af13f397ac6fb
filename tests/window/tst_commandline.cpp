// A file named on the program's command line: opened after start-up as File > Open Object or
// Open Workspace opens the same file chosen in its dialog, with the same messages.
#include "fakes/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A malformed object file: a record that holds no property bag.
const QByteArray Malformed("not an object file at all");

// The messages a window showed, as "TITLE: text".
QStringList messages(TestWindow& w)
{
    QStringList shown;
    for (const ScriptedDialogs::Shown& message : w.dialogs().shown(ScriptedDialogs::Kind::Message))
        shown << message.title + QStringLiteral(": ") + message.text;
    return shown;
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    // file: the name given (relative to the files' folder), or none; menu: the open menu that
    // opens the same file after its dialog; changed: what the opening changes; message: the
    // one message shown, "%1" the file's full path.
    void fileOpensAsTheMenuOpensIt_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<QString>("message");
        const QStringList objectOpened{"pPoints", "PointCount", "Dimension", "Depth", "DrawMode", "MinX", "view offsets",
                                       "CurrentFilePath", "caption", "status bar", "views", "window title"};
        const QStringList workspaceOpened{"PointRadius", "GridState", "CurrentFilePath", "colours"};
        QTest::addRow("object file") << QStringList{"house.obj"} << "mnuOpen" << objectOpened << "";
        QTest::addRow("object file without its extension") << QStringList{"house"} << "mnuOpen" << objectOpened << "";
        QTest::addRow("workspace file") << QStringList{"colours.wks"} << "mnuOpenWork"
                                        << workspaceOpened << "";
        QTest::addRow("workspace file, extension in capitals")
            << QStringList{"COLOURS.WKS"} << "mnuOpenWork" << workspaceOpened << "";
        QTest::addRow("malformed object file") << QStringList{"broken.obj"} << "mnuOpen" << QStringList{"CurrentFilePath"}
                                               << "OBJECT FILE FORMAT ERROR: There was an error in the format of the Object file";
        QTest::addRow("malformed workspace file")
            << QStringList{"broken.wks"} << "mnuOpenWork" << QStringList{"CurrentFilePath"}
            << "WORKSPACE FILE FORMAT ERROR: There was an error in the format of the Workspace file";
        QTest::addRow("missing file") << QStringList{"none.obj"} << "mnuOpen" << QStringList{"CurrentFilePath"}
                                      << "Brondelwick: The file \"%1\" cannot be found.";
        QTest::addRow("two files: the first") << QStringList{"house.obj", "colours.wks"} << "mnuOpen" << objectOpened << "";
        QTest::addRow("no file") << QStringList{} << "" << QStringList{} << "";
    }

    void fileOpensAsTheMenuOpensIt()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, menu);
        QFETCH(QStringList, changed);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QByteArray house = fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/house.obj"));
        const QByteArray colours = fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"));
        for (const auto& [name, bytes] : {std::pair{"house.obj", house}, {"house", house}, {"colours.wks", colours}, {"COLOURS.WKS", colours},
                                          {"broken.obj", Malformed}, {"broken.wks", Malformed}})
            writeFileBytes(folder.filePath(QString::fromLatin1(name)), bytes);
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));

        TestWindow byName;
        const WindowSnapshot before = WindowSnapshot::of(byName);
        if (!message.isEmpty())
            byName.dialogs().expectMessage();
        if (files.size() > 1)
            QTest::ignoreMessage(QtWarningMsg, "brondelwick: one file opens at a time; not opened: colours.wks");
        byName.w().openArguments(files);
        QVERIFY(QDir::setCurrent(current));
        QCOMPARE(byName.dialogs().pending(), 0);
        const WindowSnapshot opened = WindowSnapshot::of(byName);
        QVERIFY2(opened.differencesFrom(before) == changed, qPrintable(opened.differencesFrom(before).join(QStringLiteral(", "))));
        const QString path = files.isEmpty() ? QString() : folder.filePath(files.first());
        QCOMPARE(messages(byName), message.isEmpty() ? QStringList{} : QStringList{QString(message).replace(QStringLiteral("%1"), path)});
        if (files.isEmpty())
            return;
        QCOMPARE(byName.state().CurrentFilePath, path);

        TestWindow byMenu;
        byMenu.dialogs().answerOpen(path);
        if (!message.isEmpty())
            byMenu.dialogs().expectMessage();
        QVERIFY(choose(byMenu, byMenu.w().findChild<QAction*>(menu)));
        QCOMPARE(opened.differencesFrom(WindowSnapshot::of(byMenu)), QStringList{"folders"});
        QCOMPARE(messages(byName), messages(byMenu));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
