// The object menus: Point Object, Point Radius and Line Width with usable and unusable
// answers, the Drawing Style check mark, and Clear.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {
constexpr ColorRef Red = 0x0000FF;

void click(TestWindow& w, float x, float y) { mouseClick(w->picFront, x, y); }

int countKind(PictureBox* view, Primitive::Kind kind)
{
    int count = 0;
    for (const Primitive& p : view->primitives())
        count += p.kind == kind ? 1 : 0;
    return count;
}

QList<bool> checkMarks(TestWindow& w)
{
    QList<bool> marks;
    for (QAction* item : w->mnuStyle)
        marks << item->isChecked();
    return marks;
}

// The rows shared by the three input boxes: an answer, whether it is used, and the value
// it gives when it is.
struct Answer {
    const char* name;
    QString text;
    bool used;
    int value;
};

void addAnswerColumns()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("used");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("message");
}

// `usable` answers take effect; `unusable` ones get the message (all but Cancel).
void addAnswerRows(const std::vector<Answer>& answers)
{
    for (const Answer& a : answers)
        QTest::newRow(a.name) << a.text << a.used << a.value << (!a.used && !a.text.isEmpty());
}

// The rows every input box has in common.
std::vector<Answer> commonAnswers()
{
    return {
        {"cancel", QString(), false, 0},
        {"not a number", QStringLiteral("many"), false, 0},
        {"number and text", QStringLiteral("12px"), false, 0},
        {"blank", QStringLiteral("  "), false, 0},
        {"too large", QStringLiteral("32768"), false, 0},
        {"rounds past the range", QStringLiteral("32767.5"), false, 0},
        {"far too large", QStringLiteral("1e12"), false, 0},
        {"largest", QStringLiteral("32767"), true, 32767},
        {"rounds into the range", QStringLiteral("32767.4"), true, 32767},
        {"spaces around", QStringLiteral(" 12 "), true, 12},
        {"exponent", QStringLiteral("1e2"), true, 100},
        {"half down to even", QStringLiteral("6.5"), true, 6},
        {"half up to even", QStringLiteral("7.5"), true, 8},
    };
}
} // namespace

class TestObjectMenus : public QObject {
    Q_OBJECT
private slots:
    void pointObject_data();
    void pointObject();
    void pointObjectModeBeforeTheBox();
    void pointObjectClicks_data();
    void pointObjectClicks();

    void pointRadius_data();
    void pointRadius();
    void radiusAppliesToLaterMarks();
    void radiusZeroMarksASinglePoint();

    void lineWidth_data();
    void lineWidth();
    void lineWidthOnlyIn3DView();

    void drawingStyle_data();
    void drawingStyle();

    void clearAfterFivePoints();
};

void TestObjectMenus::pointObject_data()
{
    addAnswerColumns();
    std::vector<Answer> rows = commonAnswers();
    rows.push_back({"three", QStringLiteral("3"), true, 3});
    rows.push_back({"none", QStringLiteral("0"), true, 0});
    rows.push_back({"negative", QStringLiteral("-1"), true, -1});
    rows.push_back({"below 16 bits", QStringLiteral("-32769"), false, 0});
    addAnswerRows(rows);
}

void TestObjectMenus::pointObject()
{
    QFETCH(QString, answer);
    QFETCH(bool, used);
    QFETCH(int, value);
    QFETCH(bool, message);
    TestWindow w;
    w.dialogs().answerInput(QStringLiteral("7"));
    w->mnuPointobj->trigger();
    QCOMPARE(w.state().DeclaredPointCount, std::int16_t(7));

    w.dialogs().answerInput(answer);
    if (message)
        w.dialogs().expectMessage();
    w->mnuPointobj->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    const auto boxes = w.dialogs().shown(ScriptedDialogs::Kind::Input);
    QCOMPARE(boxes.back().text, QStringLiteral("Enter Number of Points"));
    QCOMPARE(boxes.back().title, QStringLiteral("Define the Points"));
    QCOMPARE(w.state().DeclaredPointCount, std::int16_t(used ? value : 7));
    QCOMPARE(w.state().PointObjectMode, true);
    if (message) {
        QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The number of points must be a whole number from -32768 to 32767."));
        QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    }
}

void TestObjectMenus::pointObjectModeBeforeTheBox()
{
    TestWindow w;
    QCOMPARE(w.state().PointObjectMode, false);
    w.dialogs().answerInput(QString());
    w->mnuPointobj->trigger();
    QCOMPARE(w.state().PointObjectMode, true);
    QCOMPARE(w.state().DeclaredPointCount, std::int16_t(0));
    // With none declared and none placed, the first click draws the lone start point first.
    click(w, 1000, 1000);
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: 0"));
}

void TestObjectMenus::pointObjectClicks_data()
{
    QTest::addColumn<int>("declared");
    QTest::newRow("triangle") << 3;
    QTest::newRow("four points") << 4;
}

void TestObjectMenus::pointObjectClicks()
{
    QFETCH(int, declared);
    TestWindow w;
    w.dialogs().answerInput(QString::number(declared));
    w->mnuPointobj->trigger();

    const QList<QPoint> points{{300, 1000}, {1500, 1100}, {1200, 300}, {500, 400}, {2000, 2000}, {2500, 600}};
    for (int i = 0; i < declared; ++i)
        click(w, float(points[i].x()), float(points[i].y()));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), 0);
    QCOMPARE(w.state().DrawMode, std::int16_t(1));

    // The next click draws the declared points flat, then places its own point.
    click(w, float(points[declared].x()), float(points[declared].y()));
    QCOMPARE(w.state().DrawMode, std::int16_t(2));
    QCOMPARE(w->sbStatus->panelText(3), QStringLiteral("Object Points: %1").arg(declared));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), declared);
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Circle), declared + 1);
    QCOMPARE(w.state().PointCount, std::int16_t(declared + 1));

    // The one after only places a point.
    click(w, float(points[declared + 1].x()), float(points[declared + 1].y()));
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Line), declared);
    QCOMPARE(countKind(w->picFront, Primitive::Kind::Circle), declared + 2);
    QCOMPARE(w.state().PointCount, std::int16_t(declared + 2));
}

void TestObjectMenus::pointRadius_data()
{
    addAnswerColumns();
    std::vector<Answer> rows = commonAnswers();
    rows.push_back({"fifty", QStringLiteral("50"), true, 50});
    rows.push_back({"zero", QStringLiteral("0"), true, 0});
    rows.push_back({"negative", QStringLiteral("-1"), false, 0});
    rows.push_back({"smallest negative", QStringLiteral("-32768"), false, 0});
    addAnswerRows(rows);
}

void TestObjectMenus::pointRadius()
{
    QFETCH(QString, answer);
    QFETCH(bool, used);
    QFETCH(int, value);
    QFETCH(bool, message);
    TestWindow w;
    w.dialogs().answerInput(answer);
    if (message)
        w.dialogs().expectMessage();
    w->mnuRadius->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    const auto boxes = w.dialogs().shown(ScriptedDialogs::Kind::Input);
    QCOMPARE(boxes.back().text, QStringLiteral("Please Enter New Radius"));
    QCOMPARE(boxes.back().title, QStringLiteral("Radius Configuration"));
    QCOMPARE(w.state().PointRadius, std::int16_t(used ? value : 20));
    if (message) {
        QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The radius must be a whole number from 0 to 32767."));
        QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    }
}

void TestObjectMenus::radiusAppliesToLaterMarks()
{
    TestWindow w;
    click(w, 500, 500);
    w.dialogs().answerInput(QStringLiteral("50"));
    w->mnuRadius->trigger();
    QCOMPARE(w->picFront->primitives().back().r, 20.0f);
    click(w, 1500, 500);
    QCOMPARE(w->picFront->primitives().back().r, 50.0f);
    QCOMPARE(w->picFront->primitives().front().r, 20.0f);
    w->mnuDrawPoly->trigger();
    for (const Primitive& p : w->picFront->primitives())
        if (p.kind == Primitive::Kind::Circle)
            QCOMPARE(p.r, 50.0f);
}

void TestObjectMenus::radiusZeroMarksASinglePoint()
{
    TestWindow w;
    w.dialogs().answerInput(QStringLiteral("0"));
    w->mnuRadius->trigger();
    click(w, 1500, 1500);
    const QImage& picture = w->picFront->picture();
    QCOMPARE(picture.pixelColor(100, 100), toQColor(Red));
    QCOMPARE(countPixels(picture, toQColor(Red)), 1);
}

void TestObjectMenus::lineWidth_data()
{
    addAnswerColumns();
    std::vector<Answer> rows = commonAnswers();
    rows.push_back({"eight", QStringLiteral("8"), true, 8});
    rows.push_back({"one", QStringLiteral("1"), true, 1});
    rows.push_back({"rounds down to one", QStringLiteral("1.4"), true, 1});
    rows.push_back({"half up to two", QStringLiteral("1.5"), true, 2});
    rows.push_back({"zero", QStringLiteral("0"), false, 0});
    rows.push_back({"rounds to zero", QStringLiteral("0.5"), false, 0});
    rows.push_back({"negative", QStringLiteral("-3"), false, 0});
    addAnswerRows(rows);
}

void TestObjectMenus::lineWidth()
{
    QFETCH(QString, answer);
    QFETCH(bool, used);
    QFETCH(int, value);
    QFETCH(bool, message);
    TestWindow w;
    w.dialogs().answerInput(QStringLiteral("3"));
    w->mnuWidth->trigger();
    w.dialogs().answerInput(answer);
    if (message)
        w.dialogs().expectMessage();
    w->mnuWidth->trigger();
    QCOMPARE(w.dialogs().pending(), 0);
    const auto boxes = w.dialogs().shown(ScriptedDialogs::Kind::Input);
    QCOMPARE(boxes.back().text, QStringLiteral("Enter in a Value from 1 to 5"));
    QCOMPARE(boxes.back().title, QStringLiteral("Drawing Line Width"));
    QCOMPARE(w->pic3dView->DrawWidth(), used ? value : 3);
    if (message) {
        QCOMPARE(w.dialogs().lastMessage().text, QStringLiteral("The line width must be a whole number from 1 to 32767."));
        QCOMPARE(w.dialogs().lastMessage().title, QStringLiteral("Brondelwick"));
    }
}

void TestObjectMenus::lineWidthOnlyIn3DView()
{
    TestWindow w;
    for (const QPoint p : {QPoint(300, 1000), QPoint(1500, 1000), QPoint(900, 300)})
        click(w, float(p.x()), float(p.y()));
    w.dialogs().answerInput(QStringLiteral("8"));
    w->mnuWidth->trigger();
    for (PictureBox* view : {w->picFront, w->picSide, w->picTop})
        QCOMPARE(view->DrawWidth(), 1);
    QCOMPARE(w->pic3dView->DrawWidth(), 8);

    w->mnuDraw3D->trigger();
    for (const Primitive& p : w->pic3dView->primitives())
        QCOMPARE(p.penWidth, 8);
    for (const Primitive& p : w->picSide->primitives())
        QCOMPARE(p.penWidth, 1);
    // The bottom edge of the front face, 8 pixels thick in the 3D view.
    const QImage& picture = w->pic3dView->picture();
    const QColor yellow = toQColor(0x00FFFF);
    QCOMPARE(picture.pixelColor(60, 66 - 3), yellow);
    QCOMPARE(picture.pixelColor(60, 66 + 3), yellow);
    QCOMPARE(w->picFront->picture().pixelColor(60, 66 + 3), toQColor(0x808080));
}

void TestObjectMenus::drawingStyle_data()
{
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<QList<bool>>("checked");
    QTest::newRow("at start") << QList<int>{} << QList<bool>{true, false, false, false};
    QTest::newRow("Current Lines") << QList<int>{3} << QList<bool>{false, false, false, true};
    QTest::newRow("Current then Straight") << QList<int>{3, 0} << QList<bool>{true, false, false, false};
    QTest::newRow("Straight again") << QList<int>{0} << QList<bool>{true, false, false, false};
    QTest::newRow("Current twice") << QList<int>{3, 3} << QList<bool>{false, false, false, true};
}

void TestObjectMenus::drawingStyle()
{
    QFETCH(QList<int>, chosen);
    QFETCH(QList<bool>, checked);
    TestWindow w;
    for (const QPoint p : {QPoint(300, 1000), QPoint(1500, 1000), QPoint(900, 300)})
        click(w, float(p.x()), float(p.y()));
    w->mnuDraw3D->trigger();
    const std::size_t front = w->picFront->primitives().size();
    const std::size_t view3d = w->pic3dView->primitives().size();

    for (const int item : chosen)
        w->mnuStyle[std::size_t(item)]->trigger();
    QCOMPARE(checkMarks(w), checked);
    QVERIFY(!w->mnuStyle[1]->isEnabled());
    QVERIFY(!w->mnuStyle[2]->isEnabled());
    QCOMPARE(w->picFront->primitives().size(), front);
    QCOMPARE(w->pic3dView->primitives().size(), view3d);
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
}

void TestObjectMenus::clearAfterFivePoints()
{
    TestWindow blank;
    TestWindow w;
    w.dialogs().answerColor(std::nullopt);
    w->mnuBgColor->trigger();
    w.dialogs().answerInput(QStringLiteral("9"));
    w->mnuPointobj->trigger();
    w.dialogs().answerInput(QStringLiteral("30"));
    w->mnuRadius->trigger();
    for (const QPoint p : {QPoint(300, 1000), QPoint(1500, 1000), QPoint(1800, 600), QPoint(900, 300), QPoint(200, 500)})
        click(w, float(p.x()), float(p.y()));
    w->mnuDraw3D->trigger();
    const QString status = w->sbStatus->panelText(3);
    QCOMPARE(status, QStringLiteral("Object Points: 10"));

    w->mnuClear->trigger();
    QCOMPARE(w.state().PointCount, std::int16_t(0));
    QCOMPARE(w.state().pPoints, (std::vector<PointRecord>{PointRecord{0, 0}}));
    for (PictureBox* cleared : {w->picFront, w->picSide, w->picTop, w->pic3dView}) {
        QVERIFY(cleared->primitives().empty());
        QCOMPARE(countPixels(cleared->picture(), toQColor(cleared->BackColor())),
                 cleared->picture().width() * cleared->picture().height());
    }
    // The views keep their background and the grid lines.
    QCOMPARE(w->picFront->BackColor(), ColorRef(0xC0C0FF));
    QCOMPARE(w->pic3dView->BackColor(), ColorRef(0x000000));
    QCOMPARE(pixelAt(w->picFront, 980, 1500), toQColor(0x404040));
    QCOMPARE(pixelAt(w->picSide, 980, 1500), toQColor(0x404040));
    QCOMPARE(countPixels(w->picTop->renderedView(), toQColor(0x404040)),
             countPixels(blank->picTop->renderedView(), toQColor(0x404040)));
    // Nothing else changed.
    QCOMPARE(w.state().Depth, TaggedValue(std::int16_t(200)));
    QCOMPARE(w.state().Dimension, std::int16_t(3));
    QCOMPARE(w.state().DrawMode, std::int16_t(3));
    QCOMPARE(w.state().PointRadius, std::int16_t(30));
    QCOMPARE(w.state().PointObjectMode, true);
    QCOMPARE(w.state().DeclaredPointCount, std::int16_t(9));
    QCOMPARE(w->sbStatus->panelText(3), status);

    // The next click places point 0 again.
    click(w, 700, 800);
    QCOMPARE(w.state().PointCount, std::int16_t(1));
    QCOMPARE(w.state().pPoints, (std::vector<PointRecord>{PointRecord{700, 800}}));
    QCOMPARE(w.dialogs().pending(), 0);
}

QTEST_MAIN(TestObjectMenus)
#include "tst_objectmenus.moc"
