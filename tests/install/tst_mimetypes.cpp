// The file types a desktop gives our files once the package's MIME definitions are installed
// beside Debian's: Qt's QMimeDatabase (as KDE reads it) and GLib's gio (as GNOME reads it)
// each name the type of our files and of the others that share their extensions.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Ran {
    int status = -1;
    QString out, err;
};

Ran run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {-1, {}, program + QStringLiteral(" did not run: ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestMimeTypes : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

    QString path(const QString& name) const { return folder.filePath(name); }

private slots:
    // A share/mime of Debian's definitions and ours, compiled by update-mime-database, is
    // the only one either reader sees.
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        const QString packages = path(QStringLiteral("share/mime/packages"));
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                            packages + QStringLiteral("/freedesktop.org.xml")));
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_MIME_XML), packages + QStringLiteral("/brondelwick.xml")));
        const Ran compiled = run(QStringLiteral("update-mime-database"), {path(QStringLiteral("share/mime"))});
        QVERIFY2(compiled.status == 0, qPrintable(compiled.err));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path(QStringLiteral("share"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("home"))));
        qputenv("GIO_USE_VFS", "local");

        const QString data = QStringLiteral(BRONDELWICK_TEST_DATA "/");
        QVERIFY(QFile::copy(data + QStringLiteral("house.obj"), path(QStringLiteral("house.obj"))));
        QVERIFY(QFile::copy(data + QStringLiteral("house.obj"), path(QStringLiteral("house.dat"))));
        QVERIFY(QFile::copy(data + QStringLiteral("colours.wks"), path(QStringLiteral("colours.wks"))));
        const auto write = [this](const QString& name, const QByteArray& bytes) {
            QFile file(path(name));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(write(QStringLiteral("cube.obj"), "# a triangle\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
        QVERIFY(write(QStringLiteral("empty.obj"), {}));
        // A Lotus 1-2-3 worksheet's first bytes, which freedesktop.org.xml knows it by.
        QVERIFY(write(QStringLiteral("budget.wks"),
                      QByteArray("\x00\x00\x02\x00\x06\x04\x06\x00\x08\x00\x00\x00\x00\x00", 14) + QByteArray(50, 'x')));
    }

    // Each file, and the type both readers give it; an empty expectation is "neither of ours".
    void fileType_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("our object named .obj") << "house.obj" << "application/x-brondelwick-object";
        QTest::newRow("a Wavefront model named .obj") << "cube.obj" << "model/obj";
        QTest::newRow("our workspace named .wks") << "colours.wks" << "application/x-brondelwick-workspace";
        QTest::newRow("a Lotus worksheet named .wks") << "budget.wks" << "application/vnd.lotus-1-2-3";
        QTest::newRow("our object under another name") << "house.dat" << "application/x-brondelwick-object";
        QTest::newRow("an empty .obj is not ours") << "empty.obj" << "";
    }
    void fileType()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const Ran gio = run(QStringLiteral("gio"), {QStringLiteral("info"), QStringLiteral("-a"),
                                                    QStringLiteral("standard::content-type"), path(file)});
        QVERIFY2(gio.status == 0, qPrintable(gio.err));
        const QString marker = QStringLiteral("standard::content-type: ");
        const qsizetype at = gio.out.indexOf(marker);
        QVERIFY2(at >= 0, qPrintable(gio.out));
        const QString byGio = gio.out.mid(at + marker.size()).section(QLatin1Char('\n'), 0, 0).trimmed();
        const QString byQt = QMimeDatabase().mimeTypeForFile(path(file)).name();
        if (expected.isEmpty()) {
            QVERIFY2(!byQt.startsWith(QStringLiteral("application/x-brondelwick-")), qPrintable(byQt));
            QVERIFY2(!byGio.startsWith(QStringLiteral("application/x-brondelwick-")), qPrintable(byGio));
        } else {
            QCOMPARE(byQt, expected);
            QCOMPARE(byGio, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestMimeTypes)
#include "tst_mimetypes.moc"
