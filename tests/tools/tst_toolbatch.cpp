// brondelwick-tool export into --output-dir: every output the bytes of the single export of
// its input, on one thread and on several; failures told one by one and counted at the end;
// refused command lines writing nothing; a stop by signal keeping finished outputs only.
#include "tools/ToolTestSupport.h"

#include <QTemporaryDir>
#include <csignal>

namespace {

const std::vector<PointRecord> Triangle{{100, 1000}, {900, 1000}, {500, 300}};
const std::vector<PointRecord> BowTie{{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}};

} // namespace

class ToolBatchTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.emplace().isValid()); }

    void outputsAreThoseOfSingleExports_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("options");
        for (const char* jobs : {"1", "3"}) {
            QTest::addRow("STL, %s jobs", jobs) << "stl" << QStringList{"-j", jobs};
            QTest::addRow("3MF in inches, %s jobs", jobs) << "3mf" << QStringList{"-j", jobs, "--unit", "in"};
            QTest::addRow("SVG, %s jobs", jobs) << "svg" << QStringList{"-j", jobs, "--grid"};
        }
        QTest::addRow("DXF, jobs of the machine's cores") << "dxf" << QStringList{"--prism"};
    }

    void outputsAreThoseOfSingleExports()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, options);
        const QStringList inputs = someObjects(12);
        QVERIFY(QDir(dir->path()).mkdir("out"));
        const Ran ran = runTool(QStringList{"export"} + inputs + QStringList{"--output-dir", "out", "--format", format} + options, {},
                                dir->path());
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden).size(), inputs.size());
        QStringList singleOptions = options;
        if (const qsizetype jobs = singleOptions.indexOf("-j"); jobs >= 0)
            singleOptions.remove(jobs, 2);
        for (const QString& input : inputs) {
            const QString single = path("single." + format);
            QCOMPARE(runTool(QStringList{"export", input, "-o", single} + singleOptions, {}, dir->path()).status, 0);
            const QString output = path("out/" + QFileInfo(input).completeBaseName() + "." + format);
            QVERIFY2(fileBytes(output) == fileBytes(single), qPrintable(output));
        }
    }

    // Each failure is told as the single export tells it; the others are written.
    void failuresDoNotStopTheOthers()
    {
        writeObject(path("good.obj"), Triangle, depthOf(600));
        writeObject(path("flat.obj"), Triangle, depthOf(600), 2);
        writeObject(path("also good.obj"), BowTie, depthOf(300));
        QVERIFY(QDir(dir->path()).mkdir("out"));
        const QStringList inputs{"good.obj", "missing.obj", "flat.obj", "also good.obj"};
        const Ran ran = runTool(QStringList{"export"} + inputs + QStringList{"--output-dir", "out", "--format", "3mf", "-j", "2"}, {},
                                dir->path());
        QCOMPARE(ran.status, 1);
        QStringList lines = ran.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.takeLast(), "brondelwick-tool: 2 of 4 failed");
        QStringList expected;
        for (const QString& failing : {"missing.obj", "flat.obj"})
            expected << runTool({"export", failing, "-o", "single.3mf"}, {}, dir->path()).err.trimmed();
        lines.sort();
        expected.sort();
        QCOMPARE(lines, expected);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), (QStringList{"also good.3mf", "good.3mf"}));
    }

    // On a terminal the progress line is rewritten and cleared at the end; elsewhere (every
    // other test) nothing of it is written.
    void progressOnATerminal()
    {
        const QStringList inputs = someObjects(6);
        QVERIFY(QDir(dir->path()).mkdir("out"));
        QStringList quoted;
        for (const QString& input : inputs)
            quoted << "'" + input + "'";
        const Ran ran = runProgram("script", {"-qec", QStringLiteral(BRONDELWICK_TOOL) + " export " + quoted.join(' ') + " --output-dir out --format stl -j 2",
                                              "/dev/null"}, {}, dir->path());
        QCOMPARE(ran.status, 0);
        QVERIFY2(ran.out.contains("\r\x1b[K0 of 6 exported, 0 failed"), qPrintable(ran.out));
        QVERIFY2(ran.out.contains("\r\x1b[K6 of 6 exported, 0 failed"), qPrintable(ran.out));
        QVERIFY2(ran.out.endsWith("\r\x1b[K"), qPrintable(ran.out));
    }

    // Names one a line from a file or from standard input, CR LF and blank lines allowed.
    void inputsFromAList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QByteArray>("standardInput");
        QTest::addRow("from a file") << "list.txt" << QByteArray();
        QTest::addRow("from standard input") << "-" << QByteArray("a.obj\r\n\r\nb.obj\n");
    }

    void inputsFromAList()
    {
        QFETCH(QString, list);
        QFETCH(QByteArray, standardInput);
        writeObject(path("a.obj"), Triangle, depthOf(600));
        writeObject(path("b.obj"), BowTie, depthOf(300));
        writeObject(path("c.obj"), BowTie, depthOf(200));
        writeFileBytes(path("list.txt"), "a.obj\r\n\r\nb.obj\n");
        QVERIFY(QDir(dir->path()).mkdir("out"));
        const Ran ran = runTool({"export", "c.obj", "--files-from", list, "--output-dir", "out", "--format", "stl"}, standardInput,
                                dir->path());
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), (QStringList{"a.stl", "b.stl", "c.stl"}));
    }

    void refusedBeforeAnyWork_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString help = QStringLiteral("\nRun \"brondelwick-tool export --help\" for help.");
        QTest::addRow("two inputs for one output") << QStringList{"a.obj", "sub/a.obj", "--output-dir", "out", "--format", "stl"}
            << "brondelwick-tool export: the inputs \"a.obj\" and \"sub/a.obj\" would both be written to \"out/a.stl\"; rename one" + help;
        QTest::addRow("an output that is an input") << QStringList{"a.obj", "out/b.stl", "--output-dir", "out", "--format", "stl"}
            << "brondelwick-tool export: the output \"out/b.stl\" is an input; write into another folder" + help;
        QTest::addRow("standard input as an input") << QStringList{"a.obj", "-", "--output-dir", "out", "--format", "stl"}
            << "brondelwick-tool export: standard input is no input of an export into --output-dir; give its names with --files-from -" + help;
        QTest::addRow("no format") << QStringList{"a.obj", "--output-dir", "out"}
                                   << "brondelwick-tool export: give the format of the outputs with --format" + help;
        QTest::addRow("a folder that is none") << QStringList{"a.obj", "--output-dir", "a.obj", "--format", "stl"}
                                               << "brondelwick-tool export: the output folder \"a.obj\" is not a folder" + help;
        QTest::addRow("both -o and --output-dir") << QStringList{"a.obj", "-o", "a.stl", "--output-dir", "out", "--format", "stl"}
                                                  << "brondelwick-tool export: give either -o OUT or --output-dir DIR, not both" + help;
        QTest::addRow("no inputs") << QStringList{"--output-dir", "out", "--format", "stl"}
                                   << "brondelwick-tool export: give the object files to export into \"out\"" + help;
        QTest::addRow("0 jobs") << QStringList{"a.obj", "--output-dir", "out", "--format", "stl", "-j", "0"}
                                << "brondelwick-tool export: the number of jobs must be a whole number from 1 to 1024" + help;
        QTest::addRow("jobs of a single export") << QStringList{"a.obj", "-o", "a.stl", "-j", "2"}
                                                 << "brondelwick-tool export: -j applies to an export into --output-dir" + help;
        QTest::addRow("3MF in twips") << QStringList{"a.obj", "--output-dir", "out", "--format", "3mf", "--unit", "twip"}
            << "brondelwick-tool export: 3MF has no unit of twips (its units are the micron, millimetre, centimetre, inch, foot and "
               "metre): give --unit mm or in" + help;
        QTest::addRow("a list that is missing") << QStringList{"--files-from", "none.txt", "--output-dir", "out", "--format", "stl"}
                                                << "brondelwick-tool: none.txt: No such file or directory";
    }

    void refusedBeforeAnyWork()
    {
        QFETCH(QStringList, arguments);
        writeObject(path("a.obj"), Triangle, depthOf(600));
        QVERIFY(QDir(dir->path()).mkpath("sub") && QDir(dir->path()).mkpath("out"));
        writeObject(path("sub/a.obj"), Triangle, depthOf(600));
        writeObject(path("out/b.stl"), Triangle, depthOf(600));
        const Ran ran = runTool(QStringList{"export"} + arguments, {}, dir->path());
        QFETCH(QString, message);
        QCOMPARE(ran.err, message + "\n");
        QCOMPARE(ran.status, 2);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"b.stl"});
        QVERIFY(!QFile::exists(path("a.stl")));
    }

    // A stop asked for by a signal starts no more exports and leaves no temporary file; the
    // outputs there are are whole.
    void aSignalStopsCleanly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("status");
        QTest::addRow("interrupt") << SIGINT << 130;
        QTest::addRow("terminate") << SIGTERM << 143;
    }

    void aSignalStopsCleanly()
    {
        QFETCH(int, signal);
        QStringList inputs;
        for (int i = 0; i < 400; ++i) {
            inputs << QStringLiteral("ring%1.obj").arg(i);
            writeObject(path(inputs.last()), ring(2000, 2000), depthOf(300));
        }
        QVERIFY(QDir(dir->path()).mkdir("out"));
        QProcess tool;
        tool.setWorkingDirectory(dir->path());
        tool.start(QStringLiteral(BRONDELWICK_TOOL), QStringList{"export"} + inputs + QStringList{"--output-dir", "out", "--format", "stl", "-j", "2"});
        QVERIFY(tool.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return QDir(path("out")).entryList(QDir::Files).size() >= 2; }, 60000));
        ::kill(pid_t(tool.processId()), signal);
        QVERIFY(tool.waitForFinished(60000));
        QTEST(tool.exitCode(), "status");
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).startsWith("brondelwick-tool: stopped by a signal: "));
        const QStringList written = QDir(path("out")).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(written.size() < inputs.size(), "the run ended before the signal came");
        for (const QString& name : written) {
            const QString input = QFileInfo(name).completeBaseName() + ".obj";
            QCOMPARE(runTool({"export", input, "-o", "single.stl"}, {}, dir->path()).status, 0);
            QVERIFY2(fileBytes(path("out/" + name)) == fileBytes(path("single.stl")), qPrintable(name));
        }
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    // Object files of n outlines of several kinds (rings, triangles, bow ties), in the folder.
    QStringList someObjects(int n)
    {
        QStringList names;
        for (int i = 0; i < n; ++i) {
            names << QStringLiteral("object %1.obj").arg(i);
            writeObject(path(names.last()), i % 3 == 0 ? ring(100 + 50 * i, 1500) : i % 3 == 1 ? Triangle : BowTie, depthOf(100 + 37 * i));
        }
        return names;
    }

    std::optional<QTemporaryDir> dir;
};

QTEST_MAIN(ToolBatchTest)
#include "tst_toolbatch.moc"
