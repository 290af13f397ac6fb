// Tests of the typed commands, typed into the real command box and run with the Execute
// Command button: what each command does to the object and the views, how the line is split,
// and that every malformed line is refused with a message and changes nothing.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {

constexpr ColorRef Red = 0x0000FF;
constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef Yellow = 0x00FFFF;
const QString BoxTitle = QStringLiteral("Command Box");

// Types a line into the empty command text box, as the user does; a long one is pasted,
// and arrives whole.
void typeCommand(TestWindow& w, const QString& line)
{
    w->txtCommand->clear();
    if (line.size() > 100)
        w->txtCommand->insert(line);
    else
        QTest::keyClicks(w->txtCommand, line);
    QCOMPARE(w->txtCommand->text(), line);
}

void pressExecute(TestWindow& w)
{
    QTest::mouseClick(w->cmdExecute, Qt::LeftButton);
}

// Types a line and presses Execute Command.
void runCommand(TestWindow& w, const QString& line)
{
    typeCommand(w, line);
    pressExecute(w);
}

QString describe(const std::vector<PointRecord>& points)
{
    QStringList parts;
    for (const PointRecord& p : points)
        parts << QStringLiteral("(%1,%2)").arg(p.X).arg(p.Y);
    return parts.join(QLatin1Char(' '));
}

QString describe(const TaggedValue& value)
{
    return QStringLiteral("kind %1: %2").arg(int(value.kind())).arg(value.toText());
}

// A line between two places, either way round.
bool hasLine(PictureBox* view, float x1, float y1, float x2, float y2, ColorRef color)
{
    for (const Primitive& p : view->primitives())
        if (p.kind == Primitive::Kind::Line && p.color == color
            && ((p.x1 == x1 && p.y1 == y1 && p.x2 == x2 && p.y2 == y2) || (p.x1 == x2 && p.y1 == y2 && p.x2 == x1 && p.y2 == y1)))
            return true;
    return false;
}

// Whether any pixel of the view within two pixels of a place is of a colour.
bool colourNear(PictureBox* view, float x, float y, const QColor& colour)
{
    const QImage& picture = view->picture();
    const int px = int(x / 15), py = int(y / 15);
    for (int j = py - 2; j <= py + 2; ++j)
        for (int i = px - 2; i <= px + 2; ++i)
            if (picture.valid(i, j) && picture.pixelColor(i, j) == colour)
                return true;
    return false;
}

int countKind(PictureBox* view, Primitive::Kind kind)
{
    int count = 0;
    for (const Primitive& p : view->primitives())
        count += p.kind == kind ? 1 : 0;
    return count;
}

// Everything a command could change: the state it writes, both text boxes, the point count
// in the status bar and what the four views show.
struct Snapshot {
    QString points, clickX, depth, txtCommand, txtDepth, status;
    int pointCount, clickY, dimension, drawMode;
    QStringList front, side, top, view3d;

    explicit Snapshot(TestWindow& w)
        : points(describe(w.state().pPoints)), clickX(describe(w.state().ClickX)), depth(describe(w.state().Depth)),
          txtCommand(w->txtCommand->text()), txtDepth(w->txtDepth->text()), status(w->sbStatus->panelText(3)),
          pointCount(w.state().PointCount), clickY(w.state().ClickY), dimension(w.state().Dimension),
          drawMode(w.state().DrawMode), front(drawn(w->picFront)), side(drawn(w->picSide)),
          top(drawn(w->picTop)), view3d(drawn(w->pic3dView))
    {
    }
};

void compareSnapshots(const Snapshot& after, const Snapshot& before)
{
    QCOMPARE(after.points, before.points);
    QCOMPARE(after.pointCount, before.pointCount);
    QCOMPARE(after.clickX, before.clickX);
    QCOMPARE(after.clickY, before.clickY);
    QCOMPARE(after.depth, before.depth);
    QCOMPARE(after.dimension, before.dimension);
    QCOMPARE(after.drawMode, before.drawMode);
    QCOMPARE(after.txtCommand, before.txtCommand);
    QCOMPARE(after.txtDepth, before.txtDepth);
    QCOMPARE(after.status, before.status);
    QCOMPARE(after.front, before.front);
    QCOMPARE(after.side, before.side);
    QCOMPARE(after.top, before.top);
    QCOMPARE(after.view3d, before.view3d);
}

// A triangle placed by typed commands and drawn extruded through the Draw 3D menu.
void placeExtrudedTriangle(TestWindow& w)
{
    runCommand(w, QStringLiteral("PutPoint 100,1000"));
    runCommand(w, QStringLiteral("PutPoint 900,1000"));
    runCommand(w, QStringLiteral("PutPoint 500,300"));
    w->mnuDraw3D->trigger();
    QCOMPARE(w.state().Dimension, std::int16_t(3));
}

} // namespace

class CommandInterpreterTest : public QObject {
    Q_OBJECT

private slots:
    void putPointPlacesAPointLikeAClick_data();
    void putPointPlacesAPointLikeAClick();
    void putPointsOnlyMarkUntilDrawn();
    void putPointReachingTheDeclaredCountDrawsFirst();
    void putPointWhenTheObjectIsFullChangesNothing();
    void malformedLineChangesNothing_data();
    void malformedLineChangesNothing();
    void fixedMessages_data();
    void fixedMessages();
    void resetPointMovesThePointAndDrawsFlat_data();
    void resetPointMovesThePointAndDrawsFlat();
    void resetPointOfTheZeroPointBeforeAnyPoint();
    void resetPointKeepsThe32BitRangeTheViewsRefuse();
    void objectDepthIgnoredUnlessDrawnExtruded_data();
    void objectDepthIgnoredUnlessDrawnExtruded();
    void objectDepthRedrawsExtruded_data();
    void objectDepthRedrawsExtruded();
    void objectDepthTheDrawingRefusesKeepsTheDepth();
    void getPointCoordsAnswersInTheTextBox_data();
    void getPointCoordsAnswersInTheTextBox();
    void getPointCoordsOfTheZeroPointAtStart();
};

void CommandInterpreterTest::putPointPlacesAPointLikeAClick_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("clickX");
    QTest::addColumn<float>("markX");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");

    QTest::newRow("plain") << "PutPoint 1300,1400" << "1300" << 1300.0f << 1300 << 1400;
    QTest::newRow("words between are ignored") << "PutPoint a b 1300,1400" << "1300" << 1300.0f << 1300 << 1400;
    QTest::newRow("third item ignored") << "PutPoint 1300,1400,99" << "1300" << 1300.0f << 1300 << 1400;
    QTest::newRow("Y 2.5 rounds to 2") << "PutPoint 100,2.5" << "100" << 100.0f << 100 << 2;
    QTest::newRow("Y 3.5 rounds to 4") << "PutPoint 100,3.5" << "100" << 100.0f << 100 << 4;
    QTest::newRow("X 100.5 stored 100, marked unrounded") << "PutPoint 100.5,7" << "100.5" << 100.5f << 100 << 7;
    QTest::newRow("X 101.5 stored 102") << "PutPoint 101.5,7" << "101.5" << 101.5f << 102 << 7;
    QTest::newRow("negatives") << "PutPoint -15,-20" << "-15" << -15.0f << -15 << -20;
    QTest::newRow("signs") << "PutPoint +5,-0" << "+5" << 5.0f << 5 << 0;
    QTest::newRow("exponents") << "PutPoint 1e3,2E2" << "1e3" << 1000.0f << 1000 << 200;
    QTest::newRow("smallest Y") << "PutPoint 0,-32768" << "0" << 0.0f << 0 << -32768;
    QTest::newRow("largest Y") << "PutPoint 0,32767" << "0" << 0.0f << 0 << 32767;
    QTest::newRow("Y -32768.5 rounds into range") << "PutPoint 0,-32768.5" << "0" << 0.0f << 0 << -32768;
    QTest::newRow("largest X") << "PutPoint 2147483647,0" << "2147483647" << 2147483647.0f << 2147483647 << 0;
    QTest::newRow("smallest X") << "PutPoint -2147483648,0" << "-2147483648" << -2147483648.0f << -2147483647 - 1 << 0;
}

void CommandInterpreterTest::putPointPlacesAPointLikeAClick()
{
    QFETCH(QString, line);
    QFETCH(QString, clickX);
    QFETCH(float, markX);
    QFETCH(int, x);
    QFETCH(int, y);
    TestWindow w;

    typeCommand(w, line);
    QCOMPARE(w->txtCommand->text(), line);
    pressExecute(w);

    QCOMPARE(w.state().PointCount, std::int16_t(1));
    QCOMPARE(describe(w.state().pPoints), describe(std::vector<PointRecord>{PointRecord{x, y}}));
    QVERIFY(w.state().ClickX.isText());
    QCOMPARE(w.state().ClickX.toText(), clickX);
    QCOMPARE(int(w.state().ClickY), y);
    QCOMPARE(drawn(w->picFront), QStringList{describe(Primitive{Primitive::Kind::Circle, markX, float(y), 0, 0, 20, Red, 1})});
    QVERIFY(w->picSide->primitives().empty());
    QVERIFY(w->picTop->primitives().empty());
    QVERIFY(w->pic3dView->primitives().empty());
    QCOMPARE(w->txtCommand->text(), line);
    QVERIFY(w.dialogs().shown().empty());
}

void CommandInterpreterTest::putPointsOnlyMarkUntilDrawn()
{
    TestWindow w;
    runCommand(w, QStringLiteral("PutPoint 100,1000"));
    runCommand(w, QStringLiteral("PutPoint 900,1000"));
    runCommand(w, QStringLiteral("PutPoint 500,300"));

    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QCOMPARE(describe(w.state().pPoints), QStringLiteral("(100,1000) (900,1000) (500,300)"));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Circle), 3);
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), 0);
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points:"));
    QVERIFY(colourNear(w->picFront, 500, 300, Qt::red));
    QVERIFY(!colourNear(w->picFront, 500, 1000, Qt::white));
}

void CommandInterpreterTest::putPointReachingTheDeclaredCountDrawsFirst()
{
    TestWindow w;
    w.state().PointObjectMode = true;
    w.state().DeclaredPointCount = 3;
    runCommand(w, QStringLiteral("PutPoint 100,1000"));
    runCommand(w, QStringLiteral("PutPoint 900,1000"));
    runCommand(w, QStringLiteral("PutPoint 500,300"));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), 0);

    // The fourth point: the three declared ones are drawn flat, then its mark goes on top.
    // A malformed line at this moment must not set off the drawing.
    w.dialogs().expectMessage();
    runCommand(w, QStringLiteral("PutPoint 700,abc"));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), 0);
    QCOMPARE(w.state().Dimension, std::int16_t(0));

    runCommand(w, QStringLiteral("PutPoint 700,700"));
    QCOMPARE(w.state().PointCount, std::int16_t(4));
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 3"));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), 3);
    QVERIFY(hasLine(w->picFront, 500, 300, 100, 1000, White));
    QVERIFY(!hasLine(w->picFront, 500, 300, 700, 700, White));
    QVERIFY(colourNear(w->picFront, 500, 1000, Qt::white));
    QCOMPARE(drawn(w->picFront).last(), describe(Primitive{Primitive::Kind::Circle, 700, 700, 0, 0, 20, Red, 1}));
    QCOMPARE(countKind(w->picSide, Primitive::Kind::Circle), 3);

    // The fifth point adds only its mark.
    const qsizetype before = qsizetype(w->picFront->primitives().size());
    runCommand(w, QStringLiteral("PutPoint 800,800"));
    QCOMPARE(qsizetype(w->picFront->primitives().size()), before + 1);
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 3"));
    QCOMPARE(w.state().PointCount, std::int16_t(5));
}

void CommandInterpreterTest::putPointWhenTheObjectIsFullChangesNothing()
{
    TestWindow w;
    w.state().pPoints.assign(32767, PointRecord{10, 10});
    w.state().PointCount = 32767;
    w.state().ClickX = 55.5f;
    w.state().ClickY = 66;
    typeCommand(w, QStringLiteral("PutPoint 1300,1400"));
    const Snapshot before(w);

    w.dialogs().expectMessage();
    pressExecute(w);

    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
    QCOMPARE(w.dialogs().lastMessage().title, BoxTitle);
    QVERIFY(w.dialogs().lastMessage().text.contains(QStringLiteral("32767")));
    compareSnapshots(Snapshot(w), before);
}

void CommandInterpreterTest::malformedLineChangesNothing_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("problem");

    const QString put = QStringLiteral("PutPoint 1300,1400");
    QTest::newRow("empty line") << "" << put << "The command line is empty.";
    QTest::newRow("PutPoint alone") << "PutPoint" << put << "The X coordinate is missing.";
    QTest::newRow("PutPoint one item") << "PutPoint 1300" << put << "The Y coordinate is missing.";
    QTest::newRow("PutPoint space after comma") << "PutPoint 1300, 1400" << put << "The Y coordinate is missing.";
    QTest::newRow("PutPoint trailing space") << "PutPoint 1300,1400 " << put << "The X coordinate is missing.";
    QTest::newRow("PutPoint empty X") << "PutPoint ,1400" << put << "The X coordinate is missing.";
    QTest::newRow("PutPoint empty Y") << "PutPoint 1300," << put << "The Y coordinate is missing.";
    QTest::newRow("PutPoint X not a number") << "PutPoint abc,1400" << put << "The X coordinate \"abc\" is not a number.";
    QTest::newRow("PutPoint hex X") << "PutPoint 0x10,1400" << put << "The X coordinate \"0x10\" is not a number.";
    QTest::newRow("PutPoint Y not a number") << "PutPoint 1300,1.4.1" << put << "The Y coordinate \"1.4.1\" is not a number.";
    QTest::newRow("PutPoint Y above 16 bits") << "PutPoint 1300,32768" << put << "The Y coordinate 32768 is out of range";
    QTest::newRow("PutPoint Y below 16 bits") << "PutPoint 1300,-32769" << put << "The Y coordinate -32769 is out of range";
    QTest::newRow("PutPoint Y rounds out of 16 bits") << "PutPoint 1300,32767.5" << put << "The Y coordinate 32767.5 is out of range";
    QTest::newRow("PutPoint X above 32 bits") << "PutPoint 2147483648,0" << put << "The X coordinate 2147483648 is out of range";
    QTest::newRow("PutPoint X below 32 bits") << "PutPoint -2147483649,0" << put << "The X coordinate -2147483649 is out of range";
    QTest::newRow("PutPoint X infinite") << "PutPoint 1e400,0" << put << "The X coordinate 1e400 is out of range";
    const QString digits(40000, QLatin1Char('9')), cut = QString(39, QLatin1Char('9')) + QChar(0x2026);
    QTest::newRow("PutPoint 10^309 written out") << "PutPoint 1" + QString(310, QLatin1Char('0')) + "e-1,5" << put
                                                 << "The X coordinate 1" + QString(38, QLatin1Char('0')) + QChar(0x2026) + " is out of range";
    QTest::newRow("PutPoint pasted X of 40000 digits") << "PutPoint " + digits + ",5" << put
                                                       << "The X coordinate " + cut + " is out of range";
    QTest::newRow("PutPoint pasted X of 40000 letters") << "PutPoint " + QString(40000, QLatin1Char('x')) + ",5" << put
                                                        << "The X coordinate \"" + QString(39, QLatin1Char('x')) + QChar(0x2026) + "\" is not";

    const QString reset = QStringLiteral("ResetPoint 1,500,600");
    QTest::newRow("ResetPoint alone") << "ResetPoint" << reset << "The point number is missing.";
    QTest::newRow("ResetPoint two items") << "ResetPoint 1,500" << reset << "The Y coordinate is missing.";
    QTest::newRow("ResetPoint trailing space") << "ResetPoint 1,500,600 " << reset << "The point number is missing.";
    QTest::newRow("ResetPoint point not held") << "ResetPoint 3,500,600" << reset << "There is no point 3; the points are numbered 0 to 2.";
    QTest::newRow("ResetPoint negative point") << "ResetPoint -1,500,600" << reset << "There is no point -1";
    QTest::newRow("ResetPoint point rounds out") << "ResetPoint 2.6,500,600" << reset << "There is no point 2.6";
    QTest::newRow("ResetPoint point beyond 32 bits") << "ResetPoint 99999999999,1,1" << reset << "There is no point 99999999999";
    QTest::newRow("ResetPoint point not a number") << "ResetPoint one,500,600" << reset << "The point number \"one\" is not a number.";
    QTest::newRow("ResetPoint point of 40000 digits") << "ResetPoint " + digits + ",1,1" << reset << "There is no point " + cut + ";";
    QTest::newRow("ResetPoint X not a number") << "ResetPoint 1,x,600" << reset << "The X coordinate \"x\" is not a number.";
    QTest::newRow("ResetPoint Y above 32 bits") << "ResetPoint 1,500,2147483648" << reset << "The Y coordinate 2147483648 is out of range";
    QTest::newRow("ResetPoint X below 32 bits") << "ResetPoint 1,-2147483649,5" << reset << "The X coordinate -2147483649 is out of range";

    const QString depth = QStringLiteral("ObjectDepth 1000");
    QTest::newRow("ObjectDepth alone") << "ObjectDepth" << depth << "The depth is missing.";
    QTest::newRow("ObjectDepth two spaces") << "ObjectDepth  1000" << depth << "The depth is missing.";
    QTest::newRow("ObjectDepth not a number") << "ObjectDepth deep" << depth << "The depth \"deep\" is not a number.";
    QTest::newRow("ObjectDepth comma pair") << "ObjectDepth 10,20" << depth << "The depth \"10,20\" is not a number.";
    QTest::newRow("ObjectDepth above 16 bits") << "ObjectDepth 32768" << depth << "The depth 32768 is out of range";
    QTest::newRow("ObjectDepth below 16 bits") << "ObjectDepth -32769" << depth << "The depth -32769 is out of range";

    const QString get = QStringLiteral("GetPointCoords 1");
    QTest::newRow("GetPointCoords alone") << "GetPointCoords" << get << "The point number is missing.";
    QTest::newRow("GetPointCoords trailing space") << "GetPointCoords 1 " << get << "The point number is missing.";
    QTest::newRow("GetPointCoords not a number") << "GetPointCoords one" << get << "The point number \"one\" is not a number.";
    QTest::newRow("GetPointCoords point not held") << "GetPointCoords 3" << get << "There is no point 3; the points are numbered 0 to 2.";
    QTest::newRow("GetPointCoords negative point") << "GetPointCoords -1" << get << "There is no point -1";
}

// Each line comes after a triangle drawn extruded and a mouse position of its own, so that a
// wrongly accepted line would show in the points, the depth, the mouse position or the views.
void CommandInterpreterTest::malformedLineChangesNothing()
{
    QFETCH(QString, line);
    QFETCH(QString, form);
    QFETCH(QString, problem);
    TestWindow w;
    placeExtrudedTriangle(w);
    w.state().ClickX = 777.5f;
    w.state().ClickY = 888;
    typeCommand(w, line);
    const Snapshot before(w);
    w.dialogs().clear();

    w.dialogs().expectMessage();
    pressExecute(w);

    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
    const auto message = w.dialogs().lastMessage();
    QCOMPARE(message.title, BoxTitle);
    QVERIFY2(message.text.contains(form), qPrintable(message.text));
    QVERIFY2(message.text.contains(problem), qPrintable(message.text));
    compareSnapshots(Snapshot(w), before);
}

void CommandInterpreterTest::fixedMessages_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");

    const QString unknown = QStringLiteral("No such command, Please check spelling and try again.");
    const QString manual = QStringLiteral("Command line argument not currently created.");
    QTest::newRow("lower case") << "putpoint 1300,1400" << unknown;
    QTest::newRow("upper case") << "PUTPOINT 1300,1400" << unknown;
    QTest::newRow("leading space") << " PutPoint 1300,1400" << unknown;
    QTest::newRow("spaces only") << "   " << unknown;
    QTest::newRow("one space") << " " << unknown;
    QTest::newRow("no space before arguments") << "PutPoint1300,1400" << unknown;
    QTest::newRow("command word with comma") << "PutPoint,1300,1400" << unknown;
    QTest::newRow("unknown word") << "Draw 1,2" << unknown;
    QTest::newRow("ManualSet") << "ManualSet" << manual;
    QTest::newRow("ManualSet with arguments") << "ManualSet 1,2" << manual;
    QTest::newRow("ManualSet trailing space") << "ManualSet " << manual;
}

void CommandInterpreterTest::fixedMessages()
{
    QFETCH(QString, line);
    QFETCH(QString, text);
    TestWindow w;
    placeExtrudedTriangle(w);
    typeCommand(w, line);
    const Snapshot before(w);
    w.dialogs().clear();

    w.dialogs().expectMessage();
    pressExecute(w);

    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
    QCOMPARE(w.dialogs().lastMessage().text, text);
    QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    compareSnapshots(Snapshot(w), before);
}

void CommandInterpreterTest::resetPointMovesThePointAndDrawsFlat_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("points");

    QTest::newRow("plain") << "ResetPoint 1,500,600" << "(100,1000) (500,600) (500,300)";
    QTest::newRow("first point") << "ResetPoint 0,200,900" << "(200,900) (900,1000) (500,300)";
    QTest::newRow("exponent and negative") << "ResetPoint 2,1e3,-7" << "(100,1000) (900,1000) (1000,-7)";
    QTest::newRow("halves to even") << "ResetPoint 1,100.5,101.5" << "(100,1000) (100,102) (500,300)";
    QTest::newRow("point number 2.5 is 2") << "ResetPoint 2.5,400,400" << "(100,1000) (900,1000) (400,400)";
    QTest::newRow("extra item ignored") << "ResetPoint 1,500,600,99" << "(100,1000) (500,600) (500,300)";
    QTest::newRow("words between ignored") << "ResetPoint x y 1,500,600" << "(100,1000) (500,600) (500,300)";
}

void CommandInterpreterTest::resetPointMovesThePointAndDrawsFlat()
{
    QFETCH(QString, line);
    QFETCH(QString, points);
    TestWindow w;
    placeExtrudedTriangle(w);
    QVERIFY(!w->pic3dView->primitives().empty());

    runCommand(w, line);

    QCOMPARE(describe(w.state().pPoints), points);
    QCOMPARE(w.state().PointCount, std::int16_t(3));
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QVERIFY(w->pic3dView->primitives().empty());
    const auto& p = w.state().pPoints;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t j = (i + 1) % 3;
        QVERIFY(hasLine(w->picFront, float(p[i].X), float(p[i].Y), float(p[j].X), float(p[j].Y), White));
    }
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 3"));
    QCOMPARE(w->txtCommand->text(), line);
}

// At start the list holds the zero point while no point is placed: ResetPoint 0 writes it,
// and the next point placed overwrites it again.
void CommandInterpreterTest::resetPointOfTheZeroPointBeforeAnyPoint()
{
    TestWindow w;
    runCommand(w, QStringLiteral("ResetPoint 0,500,600"));
    QCOMPARE(describe(w.state().pPoints), QStringLiteral("(500,600)"));
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    QCOMPARE(w.state().Dimension, std::int16_t(2));
    QVERIFY(hasLine(w->picFront, 500, 600, 500, 600, White));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 0"));

    runCommand(w, QStringLiteral("PutPoint 10,20"));
    QCOMPARE(describe(w.state().pPoints), QStringLiteral("(10,20)"));
    QCOMPARE(w.state().PointCount, std::int16_t(1));
}

// A Y beyond 16 bits is stored as typed; the flat drawing then refuses it with its own message
// and leaves the views as they were. GetPointCoords reads the stored value back.
void CommandInterpreterTest::resetPointKeepsThe32BitRangeTheViewsRefuse()
{
    TestWindow w;
    placeExtrudedTriangle(w);
    const QStringList front = drawn(w->picFront);

    w.dialogs().clear();
    w.dialogs().expectMessage();
    runCommand(w, QStringLiteral("ResetPoint 1,2147483647,40000"));
    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
    QVERIFY(w.dialogs().lastMessage().text.contains(QStringLiteral("40000")));
    QCOMPARE(describe(w.state().pPoints), QStringLiteral("(100,1000) (2147483647,40000) (500,300)"));
    QCOMPARE(drawn(w->picFront), front);
    QCOMPARE(w.state().Dimension, std::int16_t(3));

    runCommand(w, QStringLiteral("GetPointCoords 1"));
    QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #1   X:2147483647  Y:40000"));
}

void CommandInterpreterTest::objectDepthIgnoredUnlessDrawnExtruded_data()
{
    QTest::addColumn<bool>("drawFlat");
    QTest::addColumn<QString>("line");

    QTest::newRow("at start") << false << "ObjectDepth 1000";
    QTest::newRow("at start, malformed") << false << "ObjectDepth";
    QTest::newRow("after Draw 2D") << true << "ObjectDepth 1000";
    QTest::newRow("after Draw 2D, not a number") << true << "ObjectDepth deep";
    QTest::newRow("after Draw 2D, out of range") << true << "ObjectDepth 99999";
}

void CommandInterpreterTest::objectDepthIgnoredUnlessDrawnExtruded()
{
    QFETCH(bool, drawFlat);
    QFETCH(QString, line);
    TestWindow w;
    if (drawFlat) {
        runCommand(w, QStringLiteral("PutPoint 100,1000"));
        runCommand(w, QStringLiteral("PutPoint 900,1000"));
        w->mnuDrawPoly->trigger();
        QCOMPARE(w.state().Dimension, std::int16_t(2));
    }
    typeCommand(w, line);
    const Snapshot before(w);

    pressExecute(w);

    QVERIFY(w.dialogs().shown().empty());
    compareSnapshots(Snapshot(w), before);
}

void CommandInterpreterTest::objectDepthRedrawsExtruded_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<int>("d");

    QTest::newRow("plain") << "ObjectDepth 1000" << "1000" << 1000;
    QTest::newRow("trailing space") << "ObjectDepth 1000 " << "1000" << 1000;
    QTest::newRow("second word, not the last") << "ObjectDepth 1000 2000" << "1000" << 1000;
    QTest::newRow("150.5 draws 150") << "ObjectDepth 150.5" << "150.5" << 150;
    QTest::newRow("151.5 draws 152") << "ObjectDepth 151.5" << "151.5" << 152;
    QTest::newRow("negative") << "ObjectDepth -300" << "-300" << -300;
    QTest::newRow("zero") << "ObjectDepth 0" << "0" << 0;
}

void CommandInterpreterTest::objectDepthRedrawsExtruded()
{
    QFETCH(QString, line);
    QFETCH(QString, depth);
    QFETCH(int, d);
    TestWindow w;
    placeExtrudedTriangle(w);
    w->txtDepth->setText(QStringLiteral("345"));

    runCommand(w, line);

    QVERIFY(w.state().Depth.isText());
    QCOMPARE(w.state().Depth.toText(), depth);
    QCOMPARE(w.state().Dimension, std::int16_t(3));
    QCOMPARE(w->txtDepth->text(), QStringLiteral("345"));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 6"));
    const float side = w.state().SideOffsetX;
    QVERIFY(hasLine(w->picSide, side, 1000, side + float(d), 1000, White));
    QVERIFY(hasLine(w->pic3dView, 500, 300, float(500 + d), float(300 - d), Yellow));
    QVERIFY(hasLine(w->pic3dView, float(100 + d), float(1000 - d), float(900 + d), float(1000 - d), Yellow));
}

// A depth within 16 bits that puts the back face out of the top view's range: the drawing
// says why and the depth stays as it was, as after the Draw 3D menu.
void CommandInterpreterTest::objectDepthTheDrawingRefusesKeepsTheDepth()
{
    TestWindow w;
    placeExtrudedTriangle(w);
    const Snapshot before(w);
    w.dialogs().clear();

    w.dialogs().expectMessage();
    runCommand(w, QStringLiteral("ObjectDepth 32767"));

    QCOMPARE(w.dialogs().shown().size(), std::size_t(1));
    QCOMPARE(describe(w.state().Depth), before.depth);
    QCOMPARE(drawn(w->pic3dView), before.view3d);
    QCOMPARE(drawn(w->picSide), before.side);
}

void CommandInterpreterTest::getPointCoordsAnswersInTheTextBox_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("answer");

    QTest::newRow("point 1") << "GetPointCoords 1" << "Point #1   X:30  Y:40";
    QTest::newRow("point 0") << "GetPointCoords 0" << "Point #0   X:10  Y:20";
    QTest::newRow("echoed as typed") << "GetPointCoords 01" << "Point #01   X:30  Y:40";
    QTest::newRow("plus sign echoed") << "GetPointCoords +2" << "Point #+2   X:50  Y:60";
    QTest::newRow("negative coordinates") << "GetPointCoords 3" << "Point #3   X:-15  Y:-25";
    QTest::newRow("fraction rounds, echoed") << "GetPointCoords 1.4" << "Point #1.4   X:30  Y:40";
    QTest::newRow("2.5 is point 2") << "GetPointCoords 2.5" << "Point #2.5   X:50  Y:60";
    QTest::newRow("exponent") << "GetPointCoords 1e0" << "Point #1e0   X:30  Y:40";
    QTest::newRow("extra item ignored") << "GetPointCoords 1,7" << "Point #1   X:30  Y:40";
    QTest::newRow("words between ignored") << "GetPointCoords x 2" << "Point #2   X:50  Y:60";
}

void CommandInterpreterTest::getPointCoordsAnswersInTheTextBox()
{
    QFETCH(QString, line);
    QFETCH(QString, answer);
    TestWindow w;
    runCommand(w, QStringLiteral("PutPoint 10,20"));
    runCommand(w, QStringLiteral("PutPoint 30,40"));
    runCommand(w, QStringLiteral("PutPoint 50,60"));
    runCommand(w, QStringLiteral("PutPoint -15,-25"));
    typeCommand(w, line);
    Snapshot before(w);

    pressExecute(w);

    QCOMPARE(w->txtCommand->text(), answer);
    before.txtCommand = answer;
    compareSnapshots(Snapshot(w), before);
    QVERIFY(w.dialogs().shown().empty());
}

void CommandInterpreterTest::getPointCoordsOfTheZeroPointAtStart()
{
    TestWindow w;
    runCommand(w, QStringLiteral("GetPointCoords 0"));
    QCOMPARE(w->txtCommand->text(), QStringLiteral("Point #0   X:0  Y:0"));

    w.dialogs().expectMessage();
    runCommand(w, QStringLiteral("GetPointCoords 1"));
    QVERIFY(w.dialogs().lastMessage().text.contains(QStringLiteral("There is no point 1; the only point is number 0.")));
    QCOMPARE(w->txtCommand->text(), QStringLiteral("GetPointCoords 1"));
}

QTEST_MAIN(CommandInterpreterTest)
#include "tst_commandinterpreter.moc"
