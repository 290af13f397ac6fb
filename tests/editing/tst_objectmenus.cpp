// The object menus: the answers Point Object, Point Radius and Line Width take or refuse and
// what they change in later drawings, and Clear.
#include "editing/ObjectMenus.h"
#include "fakes/TestCore.h"
#include "views/Rendering.h"

#include <QTest>

class TestObjectMenus : public QObject {
    Q_OBJECT
private slots:
    void inputBox_data()
    {
        QTest::addColumn<int>("menu");   // Point Object, Point Radius, Line Width
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        const QString count = QStringLiteral("The number of points must be a whole number from -32768 to 32767.");
        const QString radius = QStringLiteral("The radius must be a whole number from 0 to 32767.");
        const QString width = QStringLiteral("The line width must be a whole number from 1 to 32767.");
        QTest::addRow("points: the smallest 16-bit count") << 0 << "-32768" << -32768 << "";
        QTest::addRow("points: past 16 bits") << 0 << "-32769" << 0 << count;
        QTest::addRow("radius: 0 is the smallest") << 1 << "0" << 0 << "";
        QTest::addRow("radius: negative") << 1 << "-1" << 20 << radius;
        QTest::addRow("radius: half to even") << 1 << "6.5" << 6 << "";
        QTest::addRow("radius: not a number") << 1 << "12px" << 20 << radius;
        QTest::addRow("width: 1 is the smallest") << 2 << "1" << 1 << "";
        QTest::addRow("width: rounding to 0") << 2 << "0.5" << 1 << width;
        QTest::addRow("width: past the advised 5") << 2 << "8" << 8 << "";
        QTest::addRow("width: cancel") << 2 << "" << 1 << "";
    }

    void inputBox()
    {
        QFETCH(int, menu);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        TestCore s;
        const struct {
            void (*item)(EditingContext&);
            const char* prompt;
            const char* title;
        } menus[] = {{mnuPointobj_Click, "Enter Number of Points", "Define the Points"},
                     {mnuRadius_Click, "Please Enter New Radius", "Radius Configuration"},
                     {mnuWidth_Click, "Enter in a Value from 1 to 5", "Drawing Line Width"}};
        s.dialogs().answerInput(answer);
        if (!message.isEmpty())
            s.dialogs().expectMessage();
        QVERIFY(act(s, [&] { menus[menu].item(s->editing); }));
        QCOMPARE(s.dialogs().shown().at(0).text, QLatin1String(menus[menu].prompt));
        QCOMPARE(s.dialogs().shown().at(0).title, QLatin1String(menus[menu].title));
        if (!message.isEmpty())
            QCOMPARE(s.dialogs().lastMessage().text, message);
        const int values[] = {s.state().DeclaredPointCount, s.state().PointRadius, s->pic3dView.DrawWidth()};
        QTEST(values[menu], "value");
        QCOMPARE(s.state().PointObjectMode, menu == 0);
    }

    // Three points declared: the fourth click draws them flat before placing itself.
    void settingsReachTheDrawing()
    {
        TestCore s;
        const std::pair<void (*)(EditingContext&), const char*> settings[] = {
            {mnuPointobj_Click, "3"}, {mnuRadius_Click, "50"}, {mnuWidth_Click, "8"}};
        for (const auto& [item, answer] : settings) {
            s.dialogs().answerInput(QLatin1String(answer));
            QVERIFY(act(s, [&, item = item] { item(s->editing); }));
        }
        clickPoints(s, {{100, 1000}, {900, 1000}, {500, 300}, {2000, 2000}});
        QCOMPARE(s->sbStatus.text(StatusPanel::ObjectPoints), QStringLiteral("Object Points: 3"));
        QCOMPARE(drawn(s->picFront).mid(4), (QStringList{"C 500,300 r50 #0000ff", "L 500,300 100,1000 #ffffff",
                                                         "C 2000,2000 r50 #0000ff"}));
        QVERIFY(act(s, [&] { mnuDraw3D_Click(s->views); }));
        QCOMPARE(drawn(s->pic3dView).first(), QStringLiteral("L 300,800 1100,800 #00ffff w8"));
        QCOMPARE(drawn(s->picSide).first(), QStringLiteral("C 1235,1000 r50 #0000ff"));
    }

    // The point list starts over and the views are wiped; the grid and all else stay.
    void clear()
    {
        TestCore s;
        clickPoints(s, {{100, 1000}, {900, 1000}, {500, 300}});
        QVERIFY(act(s, [&] { mnuDraw3D_Click(s->views); }));
        const Snapshot before = Snapshot::of(s.core());
        mnuClear_Click(s->editing);
        for (const ViewSurface* view : {&s->picFront, &s->picSide, &s->picTop, &s->pic3dView})
            QCOMPARE(drawn(*view), QStringList());
        QCOMPARE(pixelAt(s->picFront, 500, 1000), QColor(0x80, 0x80, 0x80));
        QCOMPARE(pixelAt(s->picFront, 2000, 490), QColor(0x40, 0x40, 0x40));
        QCOMPARE(Snapshot::of(s.core()).differencesFrom(before), (QStringList{"pPoints", "PointCount", "views"}));
        frontClick(s, 700, 800);
        QCOMPARE(s.state().pPoints, (std::vector<PointRecord>{{700, 800}}));
    }
};

QTEST_GUILESS_MAIN(TestObjectMenus)
#include "tst_objectmenus.moc"
