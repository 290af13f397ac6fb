// A view's picture box on screen: the frame, the repaints its view asks for, the pointer,
// and the mouse notifications in twips of the drawing area.
#include "fakes/TestSupport.h"

#include <QTest>

namespace {
const QColor Grey(128, 128, 128);

// A framed 5000 x 5000 twip view on its own in a box, shown, as the main window's views are.
// A test goes on only when it was exposed: QVERIFY(v.exposed).
struct LoneView {
    ViewSurface surface{{75, 60, 5000, 5000}, 0x808080, true};
    QWidget parent;
    PictureBox* view = new PictureBox(&parent, surface, [this] { surface.picture(); });
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

class TestPictureBox : public QObject {
    Q_OBJECT
private slots:
    // On screen: a sunken two-pixel frame around the view's picture, and line objects cut at
    // the frame; a panel shows its picture at its corner.
    void paintedWithFrameAndIcon()
    {
        LoneView v;
        QVERIFY(v.exposed);
        QCOMPARE(v.view->geometry(), QRect(5, 4, 334, 334));
        LineObject* line = v.surface.addLineObject();
        line->setEnds(-1000, 750, 99999, 750);
        line->setBorderColor(0xFFFFFF);
        line->setVisible(true);
        const QImage screen = v.view->grab().toImage();
        const std::pair<QPoint, QColor> expected[] = {
            {{0, 0}, Grey}, {{1, 1}, QColor(64, 64, 64)}, {{333, 333}, Qt::white}, {{332, 332}, QColor(212, 208, 200)},
            {{2, 2}, Grey}, {{1, 52}, QColor(64, 64, 64)}, {{2, 52}, Qt::white},
            {{331, 52}, Qt::white}, {{332, 52}, QColor(212, 208, 200)},
            {{333, 52}, Qt::white}, {{333, 1}, Qt::white}};
        for (const auto& [at, colour] : expected)
            QVERIFY2(screen.pixelColor(at) == colour, qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));

        PictureBox panel(&v.parent, {0, 0, 300, 300}, 0x808080);
        QPixmap icon(4, 4);
        icon.fill(Qt::blue);
        panel.setPicture(icon);
        const QImage shown = panel.grab().toImage();
        QCOMPARE(shown.pixelColor(3, 3), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(4, 4), Grey);
    }

    // Drawing repaints the view's box so that it shows, once for a whole batch of primitives;
    // the pointer shape follows the view's.
    void oneRepaintPerBatch()
    {
        LoneView v;
        QVERIFY(v.exposed);
        QCoreApplication::processEvents();
        int paints = 0;
        v.view->installEventFilter(new EventCounter(QEvent::Paint, paints, v.view));
        v.surface.Line(0, 0, 100, 100, 0xFFFFFF);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 1);
        for (int i = 0; i < 50; ++i)
            v.surface.Circle(float(i * 30), 500, 20, 0x0000FF);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 2);
        v.surface.setMousePointer(3);
        QCOMPARE(v.view->cursor().shape(), Qt::IBeamCursor);
        v.surface.setMousePointer(0);
        QCOMPARE(v.view->cursor().shape(), Qt::ArrowCursor);
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

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
