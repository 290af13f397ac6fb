// The command box: typed command lines run with Execute Command, the lines refused with a
// message that change nothing, and the command list with its F12 help and the Command Box menu.
#include "commands/CommandList.h"
#include "fakes/TestCore.h"
#include "views/Rendering.h"

#include <QTest>

namespace {
constexpr int Extruded = 0, Fresh = 1, Full = 2;   // what the session holds before a line

// A triangle placed by typed commands and drawn extruded (depth 200).
[[nodiscard]] bool extrudedTriangle(TestCore& s)
{
    for (const char* line : {"PutPoint 100,1000", "PutPoint 900,1000", "PutPoint 500,300"})
        if (command(s, QLatin1String(line)).refused)
            return false;
    return act(s, [&] { mnuDraw3D_Click(s->views); });
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void refused_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString box = QStringLiteral("Command Box"), app = QStringLiteral("Brondelwick");
        const QString put = QStringLiteral("PutPoint needs an X and a Y coordinate after it, separated by a comma "
                                           "without spaces, for example PutPoint 1300,1400.\r\n");
        const QString reset = QStringLiteral("ResetPoint needs a point number, an X and a Y coordinate after it, "
                                             "separated by commas without spaces, for example ResetPoint 1,500,600.\r\n");
        const QString depth = QStringLiteral("ObjectDepth needs a depth after it, separated by a single space, for "
                                             "example ObjectDepth 1000.\r\n");
        const QString get = QStringLiteral("GetPointCoords needs a point number after it, for example GetPointCoords 1.\r\n");
        const QString in16 = QStringLiteral(" is out of range: it must lie between -32768 and 32767.");
        QTest::addRow("empty line") << Extruded << "" << box << "The command line is empty.\r\nType a command such as "
                                                                "PutPoint 1300,1400, then press the Execute Command button.";
        QTest::addRow("PutPoint alone") << Extruded << "PutPoint" << box << put + "The X coordinate is missing.";
        QTest::addRow("PutPoint Y past 16 bits") << Extruded << "PutPoint 1300,32768" << box
                                                 << put + "The Y coordinate 32768" + in16;
        QTest::addRow("PutPoint X past 32 bits") << Extruded << "PutPoint 2147483648,0" << box << put
                + "The X coordinate 2147483648 is out of range: it must lie between -2147483648 and 2147483647.";
        QTest::addRow("PutPoint on a full object") << Full << "PutPoint 1,2" << box
            << "PutPoint cannot add a point: the object holds the most points it can (32767).";
        QTest::addRow("ResetPoint past the last point") << Extruded << "ResetPoint 3,500,600" << box
            << reset + "There is no point 3; the points are numbered 0 to 2.";
        QTest::addRow("ResetPoint negative point") << Extruded << "ResetPoint -1,500,600" << box
            << reset + "There is no point -1; the points are numbered 0 to 2.";
        QTest::addRow("ResetPoint point not a number") << Extruded << "ResetPoint one,5,5" << box
            << reset + "The point number \"one\" is not a number.";
        QTest::addRow("ObjectDepth alone") << Extruded << "ObjectDepth" << box << depth + "The depth is missing.";
        QTest::addRow("ObjectDepth word not split at commas") << Extruded << "ObjectDepth 10,20" << box
            << depth + "The depth \"10,20\" is not a number.";
        QTest::addRow("ObjectDepth past 16 bits") << Extruded << "ObjectDepth 32768" << box
                                                  << depth + "The depth 32768" + in16;
        QTest::addRow("a pasted depth of 40000 digits, quoted short") << Extruded << "ObjectDepth " + QString(40000, '9') << box
                                                                      << depth + "The depth " + QString(39, '9') + QChar(0x2026) + in16;
        QTest::addRow("GetPointCoords alone") << Extruded << "GetPointCoords" << box << get + "The point number is missing.";
        QTest::addRow("GetPointCoords past the only point") << Fresh << "GetPointCoords 1" << box
            << get + "There is no point 1; the only point is number 0.";
        QTest::addRow("command word matched with case") << Extruded << "putpoint 1300,1400" << app
            << "No such command, Please check spelling and try again.";
        QTest::addRow("ManualSet") << Extruded << "ManualSet 1,2" << app << "Command line argument not currently created.";
    }

    void refused()
    {
        QFETCH(int, setup);
        QFETCH(QString, line);
        TestCore s;
        if (setup == Extruded)
            QVERIFY(extrudedTriangle(s));
        if (setup == Full)
            setObject(s.state(), std::vector<PointRecord>(32767, PointRecord{10, 20}));
        const Snapshot before = Snapshot::of(s.core());
        s.dialogs().expectMessage();
        const CommandResult result = command(s, line);
        QTEST(s.dialogs().lastMessage().title, "title");
        QTEST(s.dialogs().lastMessage().text, "text");
        QCOMPARE(result.refused, std::optional(s.dialogs().lastMessage().text));
        QVERIFY(!result.answer);
        QCOMPARE(Snapshot::of(s.core()).differencesFrom(before), QStringList());
    }

    void run_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");   // shown by the drawing
        QTest::addColumn<QString>("answer");   // of the last line, empty for none
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("depth");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("front");   // the last thing drawn in the front and side views
        QTest::addColumn<QString>("side");
        const QString triangle = QStringLiteral("100,1000 900,1000 500,300"), six = QStringLiteral("Object Points: 6");
        const QString outline = QStringLiteral("L 500,300 100,1000 #ffffff"), flat = QStringLiteral("L 1235,1000 1235,300 #ffffff");
        const QString back = QStringLiteral("L 1435,1000 1435,300 #ffffff");
        QTest::addRow("PutPoint: the last word, X half to even, marked as typed") << QStringList{"PutPoint a b 100.5,2.5"}
            << "" << "" << triangle + " 100,2" << "200" << six << "C 100.5,2 r20 #0000ff" << back;
        QTest::addRow("ResetPoint moves a point and draws flat") << QStringList{"ResetPoint 1,500,600"} << ""
            << "" << "100,1000 500,600 500,300" << "200" << "Object Points: 3" << outline << flat;
        QTest::addRow("ResetPoint keeps what the views refuse, GetPointCoords reads it")
            << QStringList{"ResetPoint 1,2147483647,40000", "GetPointCoords 1"}
            << "The object cannot be drawn: the largest Y of its points (40000) is outside the range -32768 to 32767."
            << "Point #1   X:2147483647  Y:40000" << "100,1000 2147483647,40000 500,300" << "200" << six << outline << back;
        QTest::addRow("ObjectDepth redraws at the depth typed") << QStringList{"ObjectDepth -300"} << ""
            << "" << triangle << "-300" << six << outline << "L 935,1000 935,300 #ffffff";
        QTest::addRow("ObjectDepth the drawing refuses keeps the depth") << QStringList{"ObjectDepth 32767"}
            << "The object cannot be drawn: its back face in the top view would lie at 1235 + 32767 = 34002, outside "
               "the range -32768 to 32767."
            << "" << triangle << "200" << six << outline << back;
        QTest::addRow("ObjectDepth ignored after a flat drawing") << QStringList{"ResetPoint 0,100,1000", "ObjectDepth deep"}
            << "" << "" << triangle << "200" << "Object Points: 3" << outline << flat;
        QTest::addRow("GetPointCoords echoes the number typed") << QStringList{"GetPointCoords +2"} << ""
            << "Point #+2   X:500  Y:300" << triangle << "200" << six << outline << back;
    }

    // After an extruded triangle made by typed commands.
    void run()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        TestCore s;
        QVERIFY(extrudedTriangle(s));
        if (!message.isEmpty())
            s.dialogs().expectMessage();
        CommandResult result;
        for (const QString& line : lines)
            result = command(s, line);
        if (!message.isEmpty())
            QCOMPARE(s.dialogs().lastMessage().text, message);
        // A line the drawing refuses gives the refusal it showed.
        if (result.refused)
            QCOMPARE(*result.refused, message);
        QStringList points;
        for (const PointRecord& p : s.state().pPoints)
            points << QStringLiteral("%1,%2").arg(p.X).arg(p.Y);
        QTEST(result.answer.value_or(QString()), "answer");
        QTEST(points.join(QLatin1Char(' ')), "points");
        QTEST(s.state().Depth.toText(), "depth");
        QTEST(s->sbStatus.text(StatusPanel::ObjectPoints), "status");
        QTEST(drawn(s->picFront).last(), "front");
        QTEST(drawn(s->picSide).last(), "side");
    }

    void help_data()
    {
        QTest::addColumn<int>("row");   // -1: none chosen yet
        QTest::addColumn<QString>("help");
        QTest::addRow("nothing chosen: PutPoint's")
            << -1 << "You must type in an X and Y coordinate after the word PutPoint\r\nFor Example: PutPoint 1300,1400";
        QTest::addRow("ResetPoint") << 1 << "You must type in a Point Number then an X and Y coordinate after the word "
                                            "ResetPoint";
        QTest::addRow("ObjectDepth") << 2 << "You must type in number representing desired Object depth after the word "
                                             "ObjectDepth\r\nFor Example: ObjectDepth 1000";
        QTest::addRow("GetPointCoords has none") << 3 << "Sorry there is currently no help available for the item you "
                                                         "selected";
    }

    // F12 on the list shows the help of the command chosen last; other keys show nothing.
    void help()
    {
        QFETCH(int, row);
        TestCore s;
        if (row >= 0)
            lstCommand_Click(s->commands, row);
        lstCommand_KeyDown(s->commands, 122);
        lstCommand_KeyDown(s->commands, 'P');
        QCOMPARE(s.dialogs().shown().size(), std::size_t(0));
        s.dialogs().expectMessage();
        lstCommand_KeyDown(s->commands, 123);
        QTEST(s.dialogs().lastMessage().text, "help");
        QCOMPARE(s.dialogs().lastMessage().title, QStringLiteral("Command Box"));
    }

    void list_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selected");   // SelectedCommand after a click of the row
        QTest::addColumn<QString>("word");   // what a double click gives, empty for nothing
        QTest::addRow("first word") << 0 << 0 << "PutPoint";
        QTest::addRow("last word") << 4 << 4 << "ManualSet";
        QTest::addRow("no row chosen") << -1 << -1 << "";
        QTest::addRow("past the list keeps the choice") << 5 << 2 << "";
    }

    // A click chooses the command whose help F12 shows; a double click gives its word and
    // runs nothing.
    void list()
    {
        QFETCH(int, row);
        TestCore s;
        lstCommand_Click(s->commands, 2);
        lstCommand_Click(s->commands, row);
        QTEST(int(s.state().SelectedCommand), "selected");
        QTEST(lstCommand_DblClick(s->commands, row).value_or(QString()), "word");
        QCOMPARE(s.state().PointCount, std::int16_t(0));
    }

    // The Command Box menu shows and hides the box; a second choice of either changes nothing.
    void showAndHide()
    {
        TestCore s;
        QVERIFY(s->picCommandVisible);
        mnuComm_Click(s->commands, 1);
        mnuComm_Click(s->commands, 1);
        QVERIFY(!s->picCommandVisible);
        mnuComm_Click(s->commands, 0);
        QVERIFY(s->picCommandVisible);
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
