// brondelwick-tool run and info, and the command line, run as a user runs them: a script
// saves the very bytes the window saves after the same lines; a refused line, a bad option
// or a bad input file is told on standard error and writes nothing.
#include "tools/ToolTestSupport.h"

#include <QTemporaryDir>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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
        QCOMPARE(ran.err, "brondelwick-tool: " + path("bad.txt") + ":3: " + message + "\n");
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
        QCOMPARE(refused.err, "brondelwick-tool: standard input:2: GetPointCoords needs a point number after it, for example GetPointCoords 1. "
                              "There is no point 4; the only point is number 0.\n");
        QCOMPARE(refused.status, 1);
    }

    // Each row: the command line; how a shell runs it ("$0" "$@" is the tool; empty: as is),
    // what it reads on standard input; the one file it may write ("" none); the exit status;
    // how standard error starts ("" nothing said); what standard output holds. Every other
    // entry of the folder (files, a link, a device, a named pipe) is left as it was.
    void commandLineIsSafeAndHonest_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("out");
        const QString help = QStringLiteral("\nRun \"brondelwick-tool --help\" for help.\n");
        const QString runHelp = QStringLiteral("\nRun \"brondelwick-tool run --help\" for help.\n");
        const QByteArray script = "PutPoint 1,2\nGetPointCoords 0\n";
        const QByteArray square = "<svg xmlns='http://www.w3.org/2000/svg'><path d='M10 10 H60 V60 H10 Z'/></svg>";
        // Special files as the output
        QTest::addRow("device written into, never replaced") << QStringList{"export", "sample.obj", "-o", "null", "--format", "stl"}
                                                             << "" << QByteArray() << "" << 0 << "" << "";
        QTest::addRow("named pipe written into") << QStringList{"export", "sample.obj", "-o", "pipe", "--format", "stl"}
                                                 << "cat pipe > piped.stl & \"$0\" \"$@\"; s=$?; wait; exit $s" << QByteArray()
                                                 << "piped.stl" << 0 << "" << "";
        QTest::addRow("import into a device, never replaced") << QStringList{"import", "-", "--format", "svg", "-o", "null"} << ""
                                                              << square << "" << 0 << "" << "";
        QTest::addRow("import into a named pipe") << QStringList{"import", "-", "--format", "svg", "-o", "pipe"}
                                                  << "cat pipe > piped.obj & \"$0\" \"$@\"; s=$?; wait; exit $s" << square << "piped.obj"
                                                  << 0 << "" << "";
        QTest::addRow("loop of links refused") << QStringList{"export", "sample.obj", "-o", "loop1.stl"} << "" << QByteArray() << ""
                                               << 1 << "brondelwick-tool: loop1.stl: cannot be written: Too many levels of symbolic links\n"
                                               << "";
        QTest::addRow("name of 255 bytes replaced") << QStringList{"export", "sample.obj", "-o", QString(251, 'n') + ".stl"} << ""
                                                    << QByteArray() << QString(251, 'n') + ".stl" << 0 << "" << "";
        QTest::addRow("full device: the system's reason") << QStringList{"export", "sample.obj", "-o", "/dev/full", "--format", "stl"}
                                                          << "" << QByteArray() << "" << 1
                                                          << "brondelwick-tool: /dev/full: cannot be written: No space left on device\n" << "";
        QTest::addRow("file size limit: the system's reason") << QStringList{"export", "sample.obj", "-o", "big.stl", "--ascii"}
                                                              << "ulimit -f 1; trap '' XFSZ; exec \"$0\" \"$@\"" << QByteArray() << "" << 1
                                                              << "brondelwick-tool: big.stl: cannot be written: File too large\n" << "";
        QTest::addRow("link: its file replaced, the link kept") << QStringList{"export", "sample.obj", "-o", "link.stl"} << ""
                                                                << QByteArray() << "real.stl" << 0 << "" << "";
        // The output is an input
        QTest::addRow("export over its input through a hard link")
            << QStringList{"export", "hard.obj", "-o", "sample.obj", "--format", "stl", "--force-format"} << "" << QByteArray() << ""
            << 2 << "brondelwick-tool export: the output \"sample.obj\" is the input \"hard.obj\"" << "";
        QTest::addRow("run over its script named with ./") << QStringList{"run", "script.txt", "-o", "./script.txt"} << ""
                                                           << QByteArray() << "" << 2
                                                           << "brondelwick-tool run: the output \"./script.txt\" is the input" << "";
        QTest::addRow("run edits an object in place") << QStringList{"run", "script.txt", "--from", "sample.obj", "-o", "sample.obj"}
                                                      << "" << QByteArray() << "sample.obj" << 0 << "" << "Point #0   X:1000  Y:3800\n";
        QTest::addRow("export over standard input's file")
            << QStringList{"export", "-", "-o", "sample.obj", "--format", "stl", "--force-format"} << "exec \"$0\" \"$@\" < hard.obj"
            << QByteArray() << "" << 2 << "brondelwick-tool export: the output \"sample.obj\" is standard input's file" << "";
        QTest::addRow("run over standard input's file") << QStringList{"run", "-", "-o", "script.txt"} << "exec \"$0\" \"$@\" < script.txt"
                                                        << QByteArray() << "" << 2
                                                        << "brondelwick-tool run: the output \"script.txt\" is standard input's file" << "";
        QTest::addRow("run into /dev/stdin") << QStringList{"run", "-", "-o", "/dev/stdin"} << "exec \"$0\" \"$@\" < script.txt"
                                             << QByteArray() << "" << 2
                                             << "brondelwick-tool run: the output \"/dev/stdin\" is standard input's file" << "";
        // Names the tool cannot keep byte for byte
        QTest::addRow("output name not UTF-8") << QStringList{} << "exec \"$0\" export sample.obj -o $'x\\xff.stl'" << QByteArray() << ""
                                               << 2 << "brondelwick-tool: the name \"x\\xff.stl\" is not UTF-8" << "";
        QTest::addRow("input name not UTF-8") << QStringList{}
                                              << "cp sample.obj $'in\\xff.obj'; \"$0\" info $'in\\xff.obj'; s=$?; rm $'in\\xff.obj'; exit $s"
                                              << QByteArray() << "" << 2 << "brondelwick-tool: the name \"in\\xff.obj\" is not UTF-8" << "";
        // Failures of standard input and output
        QTest::addRow("script from closed standard input") << QStringList{"run", "-", "-o", "new.obj"} << "exec \"$0\" \"$@\" <&-"
                                                           << QByteArray() << "" << 2 << "brondelwick-tool: standard input: is closed\n" << "";
        QTest::addRow("script from a folder") << QStringList{"run", "-", "-o", "new.obj"} << "exec \"$0\" \"$@\" < ." << QByteArray()
                                              << "" << 2 << "brondelwick-tool: standard input: is a folder\n" << "";
        QTest::addRow("info into a full device") << QStringList{"info", "sample.obj"} << "exec \"$0\" \"$@\" > /dev/full" << QByteArray()
                                                 << "" << 1 << "brondelwick-tool: standard output: No space left on device\n" << "";
        QTest::addRow("help into a full device") << QStringList{"--help"} << "exec \"$0\" \"$@\" > /dev/full" << QByteArray() << ""
                                                 << 1 << "brondelwick-tool: standard output: No space left on device\n" << "";
        QTest::addRow("answers into a full device: no object written") << QStringList{"run", "script.txt", "-o", "new.obj"}
                                                                        << "exec \"$0\" \"$@\" > /dev/full" << QByteArray() << "" << 1
                                                                        << "brondelwick-tool: standard output: No space left" << "";
        // The command line is the tool's alone
        QTest::addRow("platform without a display named") << QStringList{"info", "sample.obj"}
                                                          << "QT_QPA_PLATFORM=xcb DISPLAY= WAYLAND_DISPLAY= exec \"$0\" \"$@\""
                                                          << QByteArray() << "" << 0 << "" << "Kind: object\n";
        QTest::addRow("toolkit's option after the command") << QStringList{"info", "-reverse", "sample.obj"} << "" << QByteArray() << ""
                                                            << 2 << "brondelwick-tool info: unknown option \"-reverse\"\n" << "";
        QTest::addRow("toolkit's option before the command") << QStringList{"-platform", "offscreen", "info", "sample.obj"} << ""
                                                             << QByteArray() << "" << 2
                                                             << "brondelwick-tool: unknown option \"-platform\"" + help << "";
        QTest::addRow("value joined to a short option") << QStringList{"export", "sample.obj", "-osample.svg"} << "" << QByteArray()
                                                        << "sample.svg" << 0 << "" << "";
        QTest::addRow("-v") << QStringList{"-v"} << "" << QByteArray() << "" << 0 << "" << "brondelwick-tool 1.";
        QTest::addRow("help COMMAND") << QStringList{"help", "run"} << "" << QByteArray() << "" << 0 << ""
                                      << "Usage: brondelwick-tool run SCRIPT -o OUT.obj [--from IN.obj]\n";
        QTest::addRow("--help COMMAND") << QStringList{"--help", "info"} << "" << QByteArray() << "" << 0 << ""
                                        << "Usage: brondelwick-tool info FILE [--json]\n";
        QTest::addRow("help help") << QStringList{"help", "help"} << "" << QByteArray() << "" << 0 << ""
                                   << "Usage: brondelwick-tool COMMAND [OPTIONS]\n";
        QTest::addRow("help of an unknown command") << QStringList{"-h", "draw"} << "" << QByteArray() << "" << 2
                                                    << "brondelwick-tool: unknown command \"draw\"" + help << "";
        QTest::addRow("help with a word too many") << QStringList{"help", "run", "extra"} << "" << QByteArray() << "" << 2
                                                   << "brondelwick-tool: help takes one command at most, not also \"extra\"" + help << "";
        QTest::addRow("--version with a word") << QStringList{"--version", "x"} << "" << QByteArray() << "" << 2
                                               << "brondelwick-tool: --version takes no other words, not \"x\"" + help << "";
        QTest::addRow("--help-all with a word") << QStringList{"--help-all", "x"} << "" << QByteArray() << "" << 2
                                                << "brondelwick-tool: --help-all takes no other words, not \"x\"" + help << "";
        QTest::addRow("command's --help with a word") << QStringList{"run", "--help", "extra"} << "" << QByteArray() << "" << 2
                                                      << "brondelwick-tool run: --help takes no other words, not \"extra\"" + runHelp << "";
        QTest::addRow("no command") << QStringList{} << "" << QByteArray() << "" << 2
                                    << "brondelwick-tool: give a command: info, run, export or import" + help << "";
        QTest::addRow("unknown command") << QStringList{"draw"} << "" << QByteArray() << "" << 2
                                         << "brondelwick-tool: unknown command \"draw\"" + help << "";
        QTest::addRow("unknown option") << QStringList{"run", "script.txt", "-o", "out.obj", "--fast"} << "" << QByteArray() << ""
                                        << 2 << "brondelwick-tool run: unknown option \"--fast\"" + runHelp << "";
        QTest::addRow("option given twice") << QStringList{"run", "script.txt", "-o", "a.obj", "--output=b.obj"} << ""
                                            << QByteArray() << "" << 2 << "brondelwick-tool run: --output is given twice" + runHelp << "";
        QTest::addRow("option without its value") << QStringList{"run", "script.txt", "-o"} << "" << QByteArray() << "" << 2
                                                  << "brondelwick-tool run: Missing value after '-o'." + runHelp << "";
        QTest::addRow("flag with a value") << QStringList{"info", "--json=yes", "sample.obj"} << "" << QByteArray() << "" << 2
                                           << "brondelwick-tool info: Unexpected value after '--json'." << "";
        QTest::addRow("no output") << QStringList{"run", "script.txt"} << "" << QByteArray() << "" << 2
                                   << "brondelwick-tool run: give the object file to write with -o OUT.obj" + runHelp << "";
        // Standard input and output as files
        QTest::addRow("SVG on standard output, drawn by rsvg-convert")
            << QStringList{"export", "sample.obj", "-o", "-", "--format", "svg"} << "set -o pipefail; \"$0\" \"$@\" | rsvg-convert | python3 -c 'import sys; print(sys.stdin.buffer.read()[:4])'"
            << QByteArray() << "" << 0 << "" << "b'\\x89PNG'";
        QTest::addRow("standard output needs --format") << QStringList{"export", "sample.obj", "-o", "-"} << "" << QByteArray() << ""
                                                        << 2 << "brondelwick-tool export: give the format of standard output" << "";
        QTest::addRow("binary STL not written to a terminal")
            << QStringList{"export", "sample.obj", "-o", "-", "--format", "stl"} << "exec script -qec \"$0 $*\" /dev/null"
            << QByteArray() << "" << 2 << "" << "brondelwick-tool export: standard output is a terminal";
        QTest::addRow("3MF not written to a terminal")
            << QStringList{"export", "sample.obj", "-o", "-", "--format", "3mf"} << "exec script -qec \"$0 $*\" /dev/null"
            << QByteArray() << "" << 2 << "" << "brondelwick-tool export: standard output is a terminal";
        QTest::addRow("object from standard input, checked then drawn") << QStringList{"export", "-", "-o", "piped.png"} << ""
                                                                        << fileBytes(docs("sample.obj")) << "piped.png" << 0 << "" << "";
        QTest::addRow("run to standard output, info from standard input") << QStringList{"run", "-", "-o", "-"}
                                                                           << "set -o pipefail; \"$0\" \"$@\" | \"$0\" info -" << script << ""
                                                                           << 0 << "Point #0   X:1  Y:2\n"
                                                                           << "File: standard input\nKind: object\nPoints: 1\n";
        QTest::addRow("object to start from in a pipe") << QStringList{} << "exec \"$0\" run script.txt --from <(cat sample.obj) -o new.obj"
                                                        << QByteArray() << "new.obj" << 0 << "" << "Point #0   X:1000  Y:3800\n";
        QTest::addRow("object to start from as /dev/stdin") << QStringList{"run", "script.txt", "--from", "/dev/stdin", "-o", "new.obj"}
                                                            << "" << fileBytes(docs("sample.obj")) << "new.obj" << 0 << ""
                                                            << "Point #0   X:1000  Y:3800\n";
        QTest::addRow("workspace in a pipe") << QStringList{} << "exec \"$0\" export sample.obj -o piped.png --workspace <(cat colours.wks)"
                                             << QByteArray() << "piped.png" << 0 << "" << "";
        QTest::addRow("workspace from standard input") << QStringList{"export", "sample.obj", "-o", "piped.png", "--workspace", "-"}
                                                       << "exec \"$0\" \"$@\" < colours.wks" << QByteArray() << "piped.png" << 0 << "" << "";
        QTest::addRow("standard input twice, once by name") << QStringList{"run", "-", "--from", "/dev/stdin", "-o", "new.obj"} << ""
                                                            << script << "" << 2
                                                            << "brondelwick-tool run: standard input can be read once" << "";
        QTest::addRow("script with lone CR line ends") << QStringList{"run", "-", "-o", "new.obj"} << ""
                                                       << QByteArray("PutPoint 10,20\rPutPoint 30,40\r\r\nGetPointCoords 1\r") << "new.obj"
                                                       << 0 << "" << "Point #1   X:30  Y:40\n";
        QTest::addRow("script over the size limit") << QStringList{"run", "big.txt", "-o", "new.obj"}
                                                    << "truncate -s 65M big.txt; \"$0\" \"$@\"; s=$?; rm big.txt; exit $s" << QByteArray()
                                                    << "" << 2 << "brondelwick-tool: big.txt: is larger than any script the tool takes (64 MiB)\n"
                                                    << "";
        // --format against the output's name
        QTest::addRow("format and extension disagree") << QStringList{"export", "sample.obj", "--format", "stl", "-o", "x.png"} << ""
                                                       << QByteArray() << "" << 2
                                                       << "brondelwick-tool export: the output \"x.png\" is named for PNG, not STL" << "";
        QTest::addRow("format forced") << QStringList{"export", "sample.obj", "--format", "stl", "-o", "x.png", "--force-format"} << ""
                                       << QByteArray() << "x.png" << 0 << "" << "";
        // Texts from files, shown safely
        QTest::addRow("control characters of a text escaped") << QStringList{"info", "escape.obj"} << "" << QByteArray() << "" << 0 << ""
                                                              << "Depth: \"\\x1b]0;title\\x07\\x1b[2J\" (text)";
        QTest::addRow("C1 control and bidirectional override escaped")
            << QStringList{"info", "odd\u202e\u009bname.obj"} << "" << QByteArray() << "" << 0 << "" << "File: odd\\u202e\\x9bname.obj\n";
        QTest::addRow("the same escaped in JSON") << QStringList{"info", "--json", "odd\u202e\u009bname.obj"} << "" << QByteArray() << ""
                                                  << 0 << "" << "\"file\":\"odd\\u202e\\u009bname.obj\"";
        QTest::addRow("a name XML forbids gives valid SVG") << QStringList{"export", "odd\x01name.obj", "-o", "odd.svg"}
                                                            << "\"$0\" \"$@\" && xmllint --noout odd.svg" << QByteArray() << "odd.svg"
                                                            << 0 << "" << "";
        // Messages name the file and the reason
        QTest::addRow("folder") << QStringList{"info", "."} << "" << QByteArray() << "" << 2 << "brondelwick-tool: .: is a folder\n" << "";
        QTest::addRow("workspace where an object belongs") << QStringList{"export", "colours.wks", "-o", "out.stl"} << "" << QByteArray()
                                                           << "" << 2 << "brondelwick-tool: colours.wks: is a workspace file, not an object\n"
                                                           << "";
        QTest::addRow("damaged workspace") << QStringList{"info", "damaged.wks"} << "" << QByteArray() << "" << 2
                                           << "brondelwick-tool: damaged.wks: not a workspace file: file record declares 5 bytes but 1 follow" << "";
        QTest::addRow("missing script") << QStringList{"run", "nowhere.txt", "-o", "out.obj"} << "" << QByteArray() << "" << 2
                                        << "brondelwick-tool: nowhere.txt: No such file or directory\n" << "";
        QTest::addRow("object to start from that cannot be drawn") << QStringList{"run", "script.txt", "--from", "far.obj", "-o", "out.obj"}
                                                                    << "" << QByteArray() << "" << 1
                                                                    << "brondelwick-tool: far.obj: The object cannot be drawn: the "
                                                                       "smallest Y of its points (-99999) is outside the range" << "";
        QTest::addRow("output cannot be written") << QStringList{"run", "script.txt", "-o", "nowhere/out.obj"} << "" << QByteArray() << ""
                                                  << 1 << "brondelwick-tool: nowhere/out.obj: cannot be written: the folder" << "";
    }

    void commandLineIsSafeAndHonest()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shell);
        QFETCH(QByteArray, input);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QString, out);
        writeFileBytes(path("script.txt"), "PutPoint 1,2\nGetPointCoords 0\n");
        QVERIFY(QFile::copy(docs("sample.obj"), path("sample.obj")));
        QCOMPARE(::link(QFile::encodeName(path("sample.obj")).constData(), QFile::encodeName(path("hard.obj")).constData()), 0);
        QVERIFY(QFile::copy(docs("sample.obj"), path("odd\x01name.obj")));
        QVERIFY(QFile::copy(docs("sample.obj"), path("odd\u202e\u009bname.obj")));
        writeFileBytes(path("x\uFFFD.stl"), "precious");
        writeFileBytes(path(QString(251, 'n') + ".stl"), "solid old\nendsolid old\n");
        QVERIFY(QFile::link("loop2.stl", path("loop1.stl")) && QFile::link("loop1.stl", path("loop2.stl")));
        writeObject(path("far.obj"), {{0, -99999}, {5, 5}}, NoDepth, 2);
        writeObject(path("escape.obj"), Triangle, TaggedValue(QStringLiteral("\x1b]0;title\x07\x1b[2J")));
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        writeFileBytes(path("damaged.wks"), QByteArray::fromHex("11200100050000000000000000"));
        writeFileBytes(path("real.stl"), "solid old\nendsolid old\n");
        QVERIFY(QFile::link("real.stl", path("link.stl")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0644), 0);
        if (::mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0 && arguments.contains("null"))
            QSKIP("making a device file needs root");
        const std::map<QString, QByteArray> before = entries();
        const Ran ran = runProgram("/bin/bash", QStringList{"-c", shell.isEmpty() ? "exec \"$0\" \"$@\"" : shell, BRONDELWICK_TOOL} + arguments,
                                   input, dir->path());
        QVERIFY2(message.isEmpty() ? ran.err.isEmpty() : ran.err.startsWith(message), qPrintable(ran.err));
        QVERIFY2(ran.out.contains(out), qPrintable(ran.out));
        QCOMPARE(ran.status, status);
        std::map<QString, QByteArray> after = entries();
        if (!output.isEmpty()) {
            const auto old = before.find(output);
            QVERIFY(after[output].startsWith("file ") && (old == before.end() || after[output] != old->second));
            after.erase(output);
        }
        std::map<QString, QByteArray> unchanged = before;
        unchanged.erase(output);
        QCOMPARE(after, unchanged);
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
    static QString docs(const QString& name) { return QStringLiteral(BRONDELWICK_TEST_DATA "/../../docs/") + name; }
    // Every entry of the folder by name: a file's bytes, a link's target, or its kind.
    std::map<QString, QByteArray> entries() const
    {
        std::map<QString, QByteArray> found;
        for (const QFileInfo& entry : QDir(dir->path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            const QString name = entry.fileName();
            found[name] = entry.isSymLink() ? "link to " + entry.symLinkTarget().toUtf8()
                        : entry.isFile()    ? "file " + fileBytes(entry.filePath())
                        : entry.isDir()     ? QByteArray("folder")
                                            : QByteArray("special");
        }
        return found;
    }
    std::optional<QTemporaryDir> dir;
};

QTEST_MAIN(ToolRunTest)
#include "tst_toolrun.moc"
