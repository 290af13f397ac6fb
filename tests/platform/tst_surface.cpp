// The drawing surface as a view: its picture with the line objects above it, clearing and
// recolouring, the frame and the mouse notifications.
#include "fakes/TestSupport.h"

#include <QTest>
#include <random>

namespace {
const QColor Grey(128, 128, 128);

// A framed 5000 x 5000 twip view on its own, shown, as the main window's views are. A test
// goes on only when it was exposed: QVERIFY(v.exposed).
struct LoneView {
    QWidget parent;
    PictureBox* view = new PictureBox(&parent, 75, 60, 5000, 5000, 0x808080, true);
    bool exposed;
    LoneView()
    {
        parent.resize(400, 400);
        parent.show();
        exposed = QTest::qWaitForWindowExposed(&parent);
    }
};
// Counts the events of one type its object receives.
struct EventCounter : QObject {
    EventCounter(QEvent::Type type, int& count, QObject* parent) : QObject(parent), type_(type), count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        count_ += event->type() == type_ ? 1 : 0;
        return false;
    }
    QEvent::Type type_;
    int& count_;
};
} // namespace

class TestSurface : public QObject {
    Q_OBJECT
private slots:
    // Line objects lie above the drawing and survive Cls and a new background; hidden ones and
    // the parts beyond the inner area do not show.
    void pictureAndLineObjects()
    {
        LoneView v;
        QVERIFY(v.exposed);
        v.view->Line(0, 300, 1500, 300, 0xFFFFFF);
        v.view->setDrawWidth(3);
        v.view->Circle(3000, 3000, 300, 0x0000FF);
        LineObject* shown = v.view->addLineObject();
        shown->setEnds(150, 0, 150, 9000);
        shown->setBorderColor(0x00FF00);
        shown->setVisible(true);
        LineObject* hidden = v.view->addLineObject();
        hidden->setEnds(0, 450, 4000, 450);
        QCOMPARE(drawn(v.view), (QStringList{"L 0,300 1500,300 #ffffff", "C 3000,3000 r300 #0000ff w3"}));
        QImage view = v.view->renderedView();
        QCOMPARE(view.pixelColor(10, 20), QColor(Qt::green));
        QCOMPARE(view.pixelColor(50, 20), QColor(Qt::white));
        QCOMPARE(view.pixelColor(50, 30), Grey);
        QCOMPARE(view.pixelColor(220, 200), QColor(Qt::red));
        QCOMPARE(view.pixelColor(222, 200), Grey);
        QCOMPARE(view.pixelColor(200, 200), Grey);
        QCOMPARE(v.view->picture().pixelColor(10, 20), QColor(Qt::white));

        v.view->Cls();
        QVERIFY(v.view->primitives().empty());
        QCOMPARE(pixelAt(v.view, 750, 300), Grey);
        QCOMPARE(pixelAt(v.view, 150, 4000), QColor(Qt::green));
        v.view->Line(0, 0, 4000, 0, 0xFFFFFF);
        v.view->setBackColor(0x0000FF);
        QCOMPARE(v.view->BackColor(), ColorRef(0x0000FF));
        QVERIFY(v.view->primitives().empty());
        QCOMPARE(pixelAt(v.view, 750, 0), QColor(Qt::red));
        QCOMPARE(pixelAt(v.view, 150, 4000), QColor(Qt::green));
    }

    // On screen: a sunken two-pixel frame around the picture, the icon's picture at the inner
    // corner, and line objects cut at the frame.
    void paintedWithFrameAndIcon()
    {
        LoneView v;
        QVERIFY(v.exposed);
        QCOMPARE(v.view->geometry(), QRect(5, 4, 334, 334));
        QPixmap icon(4, 4);
        icon.fill(Qt::blue);
        v.view->setPicture(icon);
        LineObject* line = v.view->addLineObject();
        line->setEnds(-1000, 750, 99999, 750);
        line->setBorderColor(0xFFFFFF);
        line->setVisible(true);
        const QImage screen = v.view->grab().toImage();
        const std::pair<QPoint, QColor> expected[] = {
            {{0, 0}, Grey}, {{1, 1}, QColor(64, 64, 64)}, {{333, 333}, Qt::white}, {{332, 332}, QColor(212, 208, 200)},
            {{2, 2}, Qt::blue}, {{5, 5}, Qt::blue}, {{6, 6}, Grey}, {{1, 52}, QColor(64, 64, 64)}, {{2, 52}, Qt::white},
            {{331, 52}, Qt::white}, {{332, 52}, QColor(212, 208, 200)},
            {{333, 52}, Qt::white}, {{333, 1}, Qt::white}};
        for (const auto& [at, colour] : expected)
            QVERIFY2(screen.pixelColor(at) == colour, qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
    }

    // Drawing asks for a repaint so that it shows, once for a whole batch of primitives.
    void oneRepaintPerBatch()
    {
        LoneView v;
        QVERIFY(v.exposed);
        QCoreApplication::processEvents();
        int paints = 0;
        v.view->installEventFilter(new EventCounter(QEvent::Paint, paints, v.view));
        v.view->Line(0, 0, 100, 100, 0xFFFFFF);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 1);
        for (int i = 0; i < 50; ++i)
            v.view->Circle(float(i * 30), 500, 20, 0x0000FF);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 2);
    }

    // The surfaces of a window are drawn together, on the machine's cores, when one of them
    // needs its picture: each must have exactly the pixels its primitives give drawn alone,
    // for shapes cut by the pictures' edges, lying off them or reaching far beyond them, and
    // for every pen.
    void surfacesDrawnTogetherAsAlone_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("reach"); // how far beyond a picture shapes may lie, in pictures
        QTest::newRow("one-pixel pen on the pictures") << 1 << 0.0;
        QTest::newRow("one-pixel pen, ends off the pictures") << 1 << 1.0;
        QTest::newRow("ends beyond 2^30 pixels") << 1 << 1e8;
        QTest::newRow("wide pen, ends off the pictures") << 4 << 1.0;
    }

    void surfacesDrawnTogetherAsAlone()
    {
        QFETCH(int, width);
        QFETCH(double, reach);
        QWidget window;
        const std::vector<PictureBox*> views{new PictureBox(&window, 0, 0, 4000, 3000, 0x808080, true),
                                             new PictureBox(&window, 4000, 0, 2000, 3000, 0x000000, true),
                                             new PictureBox(&window, 0, 3000, 6000, 1500, 0xFFFFFF, false)};
        std::mt19937 random(19);
        const ColorRef colours[] = {0xFFFFFF, 0x0000FF, 0x00FFFF};
        for (PictureBox* view : views) {
            std::uniform_real_distribution<double> x(-reach * view->ScaleWidth(), (1 + reach) * view->ScaleWidth());
            std::uniform_real_distribution<double> y(-reach * view->ScaleHeight(), (1 + reach) * view->ScaleHeight());
            view->setDrawWidth(width);
            for (int i = 0; i < 3000; ++i) {
                const ColorRef colour = colours[i % 3];
                if (i % 10 == 0)
                    view->Circle(float(x(random)), float(y(random)), i % 20 == 0 ? 300.0f : 20.0f * float(i % 7), colour);
                else
                    view->Line(float(x(random)), float(y(random)), float(x(random)), float(y(random)), colour);
            }
        }
        views.back()->picture();
        for (std::size_t i = 0; i < views.size(); ++i) {
            QImage alone(views[i]->picture().size(), QImage::Format_RGB32);
            alone.fill(toQColor(views[i]->BackColor()));
            rasterize(alone, views[i]->primitives());
            QVERIFY(sameImage(views[i]->picture(), alone, QStringLiteral("surfaces-together-%1-%2").arg(i).arg(QTest::currentDataTag())));
        }
    }

    // Each step is an event at a pixel of the view, frame included (the drawing area starts at
    // pixel 2): "move 12,22", "move L -98,22" (left button held), "press R 12,22", "release R 1,22".
    void mouseNotifications_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("left click") << QStringList{"move 12,22", "press L 12,22", "release L 12,22"}
                                    << QStringList{"move 0 150,300", "down 1 150,300", "up 1 150,300", "click"};
        QTest::newRow("right click") << QStringList{"press R 12,22", "release R 12,22"}
                                     << QStringList{"down 2 150,300", "up 2 150,300", "click"};
        QTest::newRow("middle button gives no click") << QStringList{"press M 12,22", "move M 13,22", "release M 12,22"}
                                                      << QStringList{"down 4 150,300", "move 4 165,300", "up 4 150,300"};
        QTest::newRow("held button reports outside, no click")
            << QStringList{"press L 12,22", "move L -98,22", "release L -98,22"}
            << QStringList{"down 1 150,300", "move 1 -1500,300", "up 1 -1500,300"};
        QTest::newRow("release on the frame gives no click") << QStringList{"press L 12,22", "release L 1,22"}
                                                             << QStringList{"down 1 150,300", "up 1 -15,300"};
        QTest::newRow("a second button's release clicks not")
            << QStringList{"press L 12,22", "press R 12,22", "release R 12,22", "release L 12,22"}
            << QStringList{"down 1 150,300", "down 2 150,300", "up 2 150,300", "up 1 150,300", "click"};
        QTest::newRow("the frame is not the view")
            << QStringList{"move 1,22", "move 333,100", "press L 0,22", "release L 0,22", "press R 22,332", "release R 22,332"}
            << QStringList{};
    }

    void mouseNotifications()
    {
        QFETCH(QStringList, steps);
        LoneView v;
        QVERIFY(v.exposed);
        QStringList log;
        const auto record = [&log](const char* what) {
            return [&log, what](int b, int, float x, float y) { log << QStringLiteral("%1 %2 %3,%4").arg(QLatin1String(what)).arg(b).arg(x).arg(y); };
        };
        v.view->MouseDown = record("down");
        v.view->MouseMove = record("move");
        v.view->MouseUp = record("up");
        v.view->Click = [&log] { log << QStringLiteral("click"); };
        const QHash<QString, Qt::MouseButton> buttons{{"L", Qt::LeftButton}, {"R", Qt::RightButton}, {"M", Qt::MiddleButton}};
        Qt::MouseButtons held;
        for (const QString& step : steps) {
            const QStringList parts = step.split(QLatin1Char(' '));
            const QStringList xy = parts.last().split(QLatin1Char(','));
            const QPointF pixel(xy[0].toDouble(), xy[1].toDouble());
            const Qt::MouseButton button = parts.size() == 3 ? buttons.value(parts[1]) : Qt::NoButton;
            if (parts[0] == QLatin1String("move")) {
                sendMouse(v.view, QEvent::MouseMove, pixel, Qt::NoButton, button);
            } else if (parts[0] == QLatin1String("press")) {
                held |= button;
                sendMouse(v.view, QEvent::MouseButtonPress, pixel, button, held);
            } else {
                held &= ~button;
                sendMouse(v.view, QEvent::MouseButtonRelease, pixel, button, held);
            }
        }
        QTEST(log, "expected");
    }
};

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
