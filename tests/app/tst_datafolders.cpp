// Where the Objects and Workspaces folders are: beside a writable program folder, else in the
// user's data folder named as the program names itself; made at start-up; none for the tool.
#include "app/DataFolders.h"
#include "export/HeadlessSession.h"
#include "platform/ProgramNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(DataFolders)

class TestDataFolders : public QObject {
    Q_OBJECT
private slots:
    void chosenFolders_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("userData");
        QTest::addColumn<DataFolders>("expected");
        QTest::addRow("writable program folder: beside the program")
            << true << "/home/ann/.local/share/brondelwick"
            << DataFolders{"/opt/brondelwick/Objects", "/opt/brondelwick/Workspaces"};
        QTest::addRow("program folder users cannot write: the user's own")
            << false << "/home/ann/.local/share/brondelwick"
            << DataFolders{"/home/ann/.local/share/brondelwick/Objects", "/home/ann/.local/share/brondelwick/Workspaces"};
        QTest::addRow("writable program folder, no home: beside the program")
            << true << "" << DataFolders{"/opt/brondelwick/Objects", "/opt/brondelwick/Workspaces"};
        QTest::addRow("neither: none") << false << "" << DataFolders{};
    }

    void chosenFolders()
    {
        QFETCH(bool, writable);
        QFETCH(QString, userData);
        QFETCH(DataFolders, expected);
        const DataFolders chosen = chooseDataFolders(QStringLiteral("/opt/brondelwick"), writable, userData);
        QCOMPARE(chosen.objects, expected.objects);
        QCOMPARE(chosen.workspaces, expected.workspaces);
    }

    // The program's names give ~/.local/share/brondelwick (or $XDG_DATA_HOME/brondelwick),
    // whatever names the process had before.
    void userDataFolderIsTheProgramsName_data()
    {
        QTest::addColumn<QString>("dataHome"); // relative to the home folder; empty: unset
        QTest::addColumn<QString>("expected");
        QTest::addRow("XDG_DATA_HOME unset") << "" << ".local/share/brondelwick";
        QTest::addRow("XDG_DATA_HOME set") << "data" << "data/brondelwick";
    }

    void userDataFolderIsTheProgramsName()
    {
        QFETCH(QString, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        if (dataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(dataHome)));
        QCoreApplication::setOrganizationName(QStringLiteral("Someone"));
        QCoreApplication::setApplicationName(AppTitle);
        nameProgram();
        const QString found = userDataFolder();
        qputenv("HOME", oldHome);
        if (oldData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldData);
        QCOMPARE(found, home.filePath(expected));
    }

    // The user's data folder is made with the folders above it at the first start.
    void foldersAreMadeWithTheFoldersAbove()
    {
        QTemporaryDir home;
        const DataFolders folders = chooseDataFolders(QString(), false, home.filePath(QStringLiteral(".local/share/brondelwick")));
        QVERIFY(makeDataFolders(folders));
        QVERIFY(QFileInfo(home.filePath(QStringLiteral(".local/share/brondelwick/Objects"))).isDir());
        QVERIFY(QFileInfo(home.filePath(QStringLiteral(".local/share/brondelwick/Workspaces"))).isDir());
    }

    // The tool's session keeps no files: it names no folder, makes none beside the tool nor in
    // the user's home, and its browser lists nothing.
    void toolSessionHasNoFolders()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const bool besideBefore = QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Objects"));
        HeadlessSession session;
        qputenv("HOME", oldHome);
        QCOMPARE(session.state().ObjectsFolder, QString());
        QCOMPARE(session.state().WorkspacesFolder, QString());
        QCOMPARE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Objects")), besideBefore);
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QCOMPARE(session.core().fleObj.ListCount() + session.core().fleWork.ListCount(), 0);
    }
};

QTEST_MAIN(TestDataFolders)
#include "tst_datafolders.moc"
