// The drawing surface of a view: its picture with the line objects above it, clearing and
// recolouring, and several surfaces drawn together exactly as each alone.
#include "fakes/TestCore.h"

#include <QTest>
#include <random>

namespace {
const QColor Grey(128, 128, 128);
} // namespace

class TestSurface : public QObject {
    Q_OBJECT
private slots:
    // Line objects lie above the drawing and survive Cls and a new background; hidden ones and
    // the parts beyond the inner area do not show.
    void pictureAndLineObjects()
    {
        ViewSurface view({75, 60, 5000, 5000}, 0x808080, true);
        view.Line(0, 300, 1500, 300, 0xFFFFFF);
        view.setDrawWidth(3);
        view.Circle(3000, 3000, 300, 0x0000FF);
        LineObject* shown = view.addLineObject();
        shown->setEnds(150, 0, 150, 9000);
        shown->setBorderColor(0x00FF00);
        shown->setVisible(true);
        LineObject* hidden = view.addLineObject();
        hidden->setEnds(0, 450, 4000, 450);
        QCOMPARE(drawn(view), (QStringList{"L 0,300 1500,300 #ffffff", "C 3000,3000 r300 #0000ff w3"}));
        const QImage seen = view.renderedView();
        QCOMPARE(seen.pixelColor(10, 20), QColor(Qt::green));
        QCOMPARE(seen.pixelColor(50, 20), QColor(Qt::white));
        QCOMPARE(seen.pixelColor(50, 30), Grey);
        QCOMPARE(seen.pixelColor(220, 200), QColor(Qt::red));
        QCOMPARE(seen.pixelColor(222, 200), Grey);
        QCOMPARE(seen.pixelColor(200, 200), Grey);
        QCOMPARE(view.picture().pixelColor(10, 20), QColor(Qt::white));

        view.Cls();
        QVERIFY(view.primitives().empty());
        QCOMPARE(pixelAt(view, 750, 300), Grey);
        QCOMPARE(pixelAt(view, 150, 4000), QColor(Qt::green));
        view.Line(0, 0, 4000, 0, 0xFFFFFF);
        view.setBackColor(0x0000FF);
        QCOMPARE(view.BackColor(), ColorRef(0x0000FF));
        QVERIFY(view.primitives().empty());
        QCOMPARE(pixelAt(view, 750, 0), QColor(Qt::red));
        QCOMPARE(pixelAt(view, 150, 4000), QColor(Qt::green));
    }

    // Every change of what a surface shows is told once: a drawing call once for its whole
    // batch until the picture is brought up to date; Cls, a new background, a pointer and a
    // line object's change each once.
    void changesTold()
    {
        ViewSurface view({0, 0, 3000, 3000}, 0x808080, true);
        int told = 0;
        view.changed = [&told] { ++told; };
        view.Line(0, 0, 100, 100, 0xFFFFFF);
        for (int i = 0; i < 50; ++i)
            view.Circle(float(i * 30), 500, 20, 0x0000FF);
        QCOMPARE(told, 1);
        view.picture();
        view.Line(0, 0, 100, 100, 0xFFFFFF);
        QCOMPARE(told, 2);
        view.Cls();
        view.setBackColor(0x00FF00);
        view.setMousePointer(3);
        LineObject* line = view.addLineObject();
        line->setVisible(true);
        line->setBorderColor(0x00FF00);
        line->setEnds(0, 0, 100, 100);
        QCOMPARE(told, 8);
    }

    // The surfaces of a session are drawn together, on the machine's cores, when their owner
    // asks: each must have exactly the pixels its primitives give drawn alone,
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
        ViewSurface a({0, 0, 4000, 3000}, 0x808080, true), b({4000, 0, 2000, 3000}, 0x000000, true),
            c({0, 3000, 6000, 1500}, 0xFFFFFF, false);
        const std::vector<ViewSurface*> views{&a, &b, &c};
        std::mt19937 random(19);
        const ColorRef colours[] = {0xFFFFFF, 0x0000FF, 0x00FFFF};
        for (ViewSurface* view : views) {
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
        ViewSurface::drawTogether(views);
        for (std::size_t i = 0; i < views.size(); ++i) {
            QImage alone(views[i]->picture().size(), QImage::Format_RGB32);
            alone.fill(toQColor(views[i]->BackColor()));
            rasterize(alone, views[i]->primitives());
            QVERIFY(sameImage(views[i]->picture(), alone, QStringLiteral("surfaces-together-%1-%2").arg(i).arg(QTest::currentDataTag())));
        }
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
