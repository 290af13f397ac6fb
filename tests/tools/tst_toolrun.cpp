// brondelwick-tool run and info, and the command line, run as a user runs them: a script
// saves the very bytes the window saves after the same lines; a refused line, a bad option
// or a bad input file is told on standard error and writes nothing.
#include "tools/ToolTestSupport.h"

#include <QTemporaryDir>

namespace {

// The window's way of running a script line: a menu item, or the line typed into the
// command box and executed; false as runCommand() gives it.
[[nodiscard]] bool runInWindow(TestWindow& w, const QString& line)
{
    if (line == QLatin1String("Draw 2D"))
        w->mnuDrawPoly->trigger();
    else if (line == QLatin1String("Draw 3D"))
        w->mnuDraw3D->trigger();
    else if (line == QLatin1String("Clear"))
        w->mnuClear->trigger();
    else
        return runCommand(w, line);
    return true;
}

const std::vector<PointRecord> Triangle{{100, 1000}, {900, 1000}, {500, 300}};

} // namespace

class ToolRunTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.emplace().isValid()); }
    void savesWhatTheWindowSaves_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("answers");
        QTest::addRow("points, Draw 3D, ObjectDepth")
            << QStringList{"PutPoint 100,1000", "PutPoint 900,1000", "PutPoint 500,300", "Draw 3D", "ObjectDepth 600"} << "";
        QTest::addRow("reset, flat, cleared and again")
            << QStringList{"PutPoint 100,1000", "PutPoint 900,1000", "GetPointCoords 1", "ResetPoint 1,950,1100", "Draw 2D",
                           "Clear", "PutPoint -5,7", "PutPoint 2.5,3.5", "Draw 3D", "GetPointCoords 0"}
            << "Point #1   X:900  Y:1000\nPoint #0   X:-5  Y:7\n";
    }

    // The script also holds a comment, a blank line and CR LF line ends, which the window never sees.
    void savesWhatTheWindowSaves()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, answers);
        writeFileBytes(path("script.txt"), ("# made by hand\r\n\r\n" + lines.join("\r\n") + "\r\n").toUtf8());
        const Ran ran = runTool({"run", path("script.txt"), "-o", path("tool.obj")});
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        QCOMPARE(ran.out, answers);

        TestWindow w;
        for (const QString& line : lines)
            QVERIFY(runInWindow(w, line));
        w.dialogs().answerSave(path("window.obj"));
        w->mnuSave->trigger();
        QCOMPARE(w.dialogs().shown(ScriptedDialogs::Kind::Message).size(), std::size_t(0));
        QCOMPARE(fileBytes(path("tool.obj")), fileBytes(path("window.obj")));
    }

    void refusedLineStopsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::addRow("unknown word") << "Draw3D" << "No such command, Please check spelling and try again.";
        QTest::addRow("menu word of another case") << "draw 3D" << "No such command, Please check spelling and try again.";
        QTest::addRow("ManualSet") << "ManualSet 1" << "Command line argument not currently created.";
        QTest::addRow("interpreter's check")
            << "PutPoint 7"
            << "PutPoint needs an X and a Y coordinate after it, separated by a comma without spaces, for example "
               "PutPoint 1300,1400. The Y coordinate is missing.";
        QTest::addRow("drawing refused")
            << "ResetPoint 0,10,40000"
            << "The object cannot be drawn: the smallest Y of its points (40000) is outside the range -32768 to 32767.";
    }

    void refusedLineStopsAndWritesNothing()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        writeFileBytes(path("bad.txt"), QStringLiteral("PutPoint 1,2\n# note\n%1\nPutPoint 3,4\n").arg(line).toUtf8());
        const Ran ran = runTool({"run", path("bad.txt"), "-o", path("out.obj")});
        QCOMPARE(ran.err, path("bad.txt") + ":3: " + message + "\n");
        QCOMPARE(ran.status, 1);
        QVERIFY(!QFile::exists(path("out.obj")));
    }

    void scriptFromStandardInputAndObjectToStartFrom()
    {
        writeObject(path("start.obj"), Triangle, depthOf(300));
        const Ran ran = runTool({"run", "-", "--from", path("start.obj"), "-o", path("more.obj")}, "Draw 3D\nPutPoint 40,50\n");
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        ObjectFileValues saved;
        QCOMPARE(readObjectFile(fileBytes(path("more.obj")), saved), ReadResult::Loaded);
        QCOMPARE(saved.points, (std::vector<PointRecord>{{100, 1000}, {900, 1000}, {500, 300}, {40, 50}}));
        QCOMPARE(saved.Dimension, std::int16_t(3));
        QCOMPARE(saved.Depth, depthOf(300));

        const Ran refused = runTool({"run", "-", "-o", path("none.obj")}, "PutPoint 1,2\nGetPointCoords 4\n");
        QCOMPARE(refused.out, QString());
        QCOMPARE(refused.err, "<stdin>:2: GetPointCoords needs a point number after it, for example GetPointCoords 1. "
                              "There is no point 4; the only point is number 0.\n");
        QCOMPARE(refused.status, 1);
    }

    void badCommandLineOrInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("status");
        QTest::addRow("no command") << QStringList{} << "brondelwick-tool: give a command: info, run or export\n"
                                    "Run \"brondelwick-tool --help\" for help." << 2;
        QTest::addRow("unknown command") << QStringList{"draw"} << "brondelwick-tool: unknown command \"draw\"\n"
                                         "Run \"brondelwick-tool --help\" for help." << 2;
        QTest::addRow("unknown option") << QStringList{"run", "script.txt", "-o", "out.obj", "--fast"}
                                        << "brondelwick-tool run: unknown option \"--fast\"\n"
                                           "Run \"brondelwick-tool run --help\" for help." << 2;
        QTest::addRow("option without its value") << QStringList{"run", "script.txt", "-o"}
                                                  << "brondelwick-tool run: --output needs a value\n"
                                                     "Run \"brondelwick-tool run --help\" for help." << 2;
        QTest::addRow("flag with a value") << QStringList{"info", "--json=yes", "house.obj"}
                                           << "brondelwick-tool info: --json takes no value\n"
                                              "Run \"brondelwick-tool info --help\" for help." << 2;
        QTest::addRow("no output") << QStringList{"run", "script.txt"}
                                   << "brondelwick-tool run: give the object file to write with -o OUT.obj\n"
                                      "Run \"brondelwick-tool run --help\" for help." << 2;
        QTest::addRow("missing script") << QStringList{"run", "nowhere.txt", "-o", "out.obj"}
                                        << "The file \"nowhere.txt\" cannot be found." << 2;
        QTest::addRow("malformed object to start from") << QStringList{"run", "script.txt", "--from", "colours.wks", "-o", "out.obj"}
                                                        << "There was an error in the format of the Object file" << 2;
        QTest::addRow("object to start from that cannot be drawn")
            << QStringList{"run", "script.txt", "--from", "far.obj", "-o", "out.obj"}
            << "far.obj: The object cannot be drawn: the smallest Y of its points (-99999) is outside the range -32768 to 32767."
            << 1;
        QTest::addRow("info of a damaged workspace") << QStringList{"info", "damaged.wks"}
                                                     << "There was an error in the format of the Workspace file" << 2;
        QTest::addRow("info of a folder") << QStringList{"info", "."} << "There was an error in the format of the Object file" << 2;
        QTest::addRow("output cannot be written") << QStringList{"run", "script.txt", "-o", "nowhere/out.obj"}
                                                  << "The file \"nowhere/out.obj\" could not be saved: the folder \"DIR/nowhere\" does not exist." << 1;
    }

    // Run in a folder holding a script, an object beyond the views and damaged files.
    void badCommandLineOrInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(int, status);
        writeFileBytes(path("script.txt"), "PutPoint 1,2\n");
        writeObject(path("far.obj"), {{0, -99999}, {5, 5}}, NoDepth, 2);
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        writeFileBytes(path("damaged.wks"), "\x11\x20\x01\x00\x05\x00\x00\x00\x00\x00\x00\x00BWPB!");
        const QStringList before = QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const Ran ran = runTool(arguments, {}, dir->path());
        QCOMPARE(ran.err, message.replace("DIR", dir->path()) + "\n");
        QCOMPARE(ran.out, QString());
        QCOMPARE(ran.status, status);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    void infoTellsWhatAFileHolds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("json");
        QTest::addColumn<QString>("told");
        QTest::addRow("object") << "object.obj" << false
                                << "Kind: object\nPoints: 2\nDepth: \"2.5\" (text), drawn extruded 2 twips deep\n"
                                   "Dimension: 3 (drawn extruded)\nGrid: 1 (grid lines shown)\n  Point0: -20, 35\n  Point1: 7, 8\n";
        QTest::addRow("object as JSON") << "object.obj" << true
                                        << R"({"Depth":"2.5","DepthType":"text","Dimension":3,"DrawnDepth":2,"Grid":1,)"
                                           R"("Points":2,"file":"FILE","kind":"object","points":[[-20,35],[7,8]]})" "\n";
        QTest::addRow("object without depth as JSON") << "flat.obj" << true
                                                      << R"({"Depth":null,"DepthType":"empty","Dimension":2,"DrawnDepth":200,)"
                                                         R"("Grid":1,"Points":0,"file":"FILE","kind":"object","points":[]})" "\n";
        QTest::addRow("workspace") << "colours.wks" << false
                                   << "Kind: workspace\nObject line colour: #ff0000\nGrid line colour: #00ff00\n"
                                      "Background colour: #0000ff\n3D object colour: #563412\nPoint radius: 35 twips\n"
                                      "Grid: 0 (grid lines hidden)\n";
        QTest::addRow("workspace as JSON") << "colours.wks" << true
                                           << R"({"GridBGC":"#0000ff","GridLinesC":"#00ff00","GridState":0,"LinesC":"#ff0000",)"
                                              R"("ObjColor":"#563412","Radius":35,"file":"FILE","kind":"workspace"})" "\n";
        QTest::addRow("empty file") << "empty.obj" << false << "Kind: empty (it holds nothing to open)\n";
    }

    void infoTellsWhatAFileHolds()
    {
        QFETCH(QString, file);
        QFETCH(bool, json);
        QFETCH(QString, told);
        writeObject(path("object.obj"), {{-20, 35}, {7, 8}}, TaggedValue(QStringLiteral("2.5")));
        writeObject(path("flat.obj"), {}, NoDepth, 2);
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        writeFileBytes(path("empty.obj"), {});
        const Ran ran = runTool(json ? QStringList{"info", "--json", path(file)} : QStringList{"info", path(file)});
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        QCOMPARE(ran.out, json ? QString(told).replace("FILE", path(file)) : "File: " + path(file) + "\n" + told);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::optional<QTemporaryDir> dir;
};

QTEST_MAIN(ToolRunTest)
#include "tst_toolrun.moc"
