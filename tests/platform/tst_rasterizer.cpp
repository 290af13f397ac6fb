// The surfaces' fast rasteriser: exact pixels for simple lines, marks and edges, drawing
// order, and agreement with the one-painter-call-per-primitive reference for every pen.
#include "fakes/TestSupport.h"
#include "platform/Primitive.h"

#include <QTest>
#include <cmath>
#include <random>

namespace {
using Drawing = std::vector<Primitive>;

constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef Red = 0x0000FF;
constexpr ColorRef Yellow = 0x00FFFF;
constexpr ColorRef Grey = 0x808080;
constexpr int Twips = 15;

Primitive L(double x1, double y1, double x2, double y2, ColorRef colour = White, int width = 1)
{
    return {Primitive::Kind::Line, float(x1), float(y1), float(x2), float(y2), 0.0f, colour, width};
}

Primitive C(double x, double y, double r, ColorRef colour = Red, int width = 1)
{
    return {Primitive::Kind::Circle, float(x), float(y), float(x), float(y), float(r), colour, width};
}

// A line or circle given in whole pixels, at the middle of their twips.
Primitive Lp(int x1, int y1, int x2, int y2, ColorRef colour = White, int width = 1)
{
    return L(x1 * Twips + 7, y1 * Twips + 7, x2 * Twips + 7, y2 * Twips + 7, colour, width);
}

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(toQColor(Grey));
    return image;
}

// Drawn into the middle rows of a larger buffer, whose two rows above and below must stay
// untouched: the rasteriser never writes outside the picture.
QImage fast(const Drawing& drawing, QSize size)
{
    constexpr QRgb Sentinel = 0xFF123456;
    std::vector<QRgb> buffer(std::size_t(size.width() * (size.height() + 4)), Sentinel);
    QImage image(reinterpret_cast<uchar*>(buffer.data() + 2 * size.width()), size.width(), size.height(),
                 size.width() * 4, QImage::Format_RGB32);
    image.fill(toQColor(Grey));
    rasterize(image, drawing);
    const auto outside = std::count_if(buffer.begin(), buffer.begin() + 2 * size.width(), [](QRgb p) { return p != Sentinel; })
        + std::count_if(buffer.end() - 2 * size.width(), buffer.end(), [](QRgb p) { return p != Sentinel; });
    if (outside != 0)
        QTest::qFail(qPrintable(QStringLiteral("%1 pixels written outside the picture").arg(outside)), __FILE__, __LINE__);
    return image.copy();
}

// The textbook walk in whites, every step of it, keeping the pixels that fall on the image.
void bresenham(QImage& image, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    const std::int64_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1), sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    std::int64_t error = major / 2, px = x1, py = y1;
    for (std::int64_t i = 0; i <= major; ++i) {
        if (px >= 0 && py >= 0 && px < image.width() && py < image.height())
            image.setPixelColor(int(px), int(py), toQColor(White));
        error -= minor;
        const bool minorStep = error < 0;
        if (minorStep)
            error += major;
        px += xMajor ? sx : (minorStep ? sx : 0);
        py += xMajor ? (minorStep ? sy : 0) : sy;
    }
}

QImage painted(const Drawing& drawing, QSize size)
{
    QImage image = blank(size);
    rasterizeWithPainter(image, drawing);
    return image;
}

// The coloured pixels, row by row, as "x,y" texts; or their bounding box and count.
QString pixelList(const QImage& image, bool box = false)
{
    QStringList list;
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != toQColor(Grey).rgb()) {
                list << QStringLiteral("%1,%2").arg(x).arg(y);
                bounds |= QRect(x, y, 1, 1);
            }
    if (!box)
        return list.join(QLatin1Char(' '));
    return QStringLiteral("box %1,%2 %3x%4 %5").arg(bounds.left()).arg(bounds.top()).arg(bounds.width()).arg(bounds.height()).arg(list.size());
}

} // namespace

Q_DECLARE_METATYPE(Drawing)

class TestRasterizer : public QObject {
    Q_OBJECT
private slots:
    // A picture of 40 x 30 pixels: the coloured pixels listed, or for larger shapes ("box ...")
    // their bounding box and count.
    void exactPixels_data()
    {
        QTest::addColumn<Drawing>("drawing");
        QTest::addColumn<QString>("pixels");
        QTest::newRow("horizontal line, both ends") << Drawing{Lp(2, 5, 6, 5)} << "2,5 3,5 4,5 5,5 6,5";
        QTest::newRow("vertical line drawn upwards") << Drawing{Lp(3, 8, 3, 5)} << "3,5 3,6 3,7 3,8";
        QTest::newRow("diagonal") << Drawing{Lp(4, 1, 1, 4)} << "4,1 3,2 2,3 1,4";
        QTest::newRow("shallow line steps where it passes half a pixel") << Drawing{Lp(0, 0, 5, 1)} << "0,0 1,0 2,0 3,1 4,1 5,1";
        QTest::newRow("steep line") << Drawing{Lp(0, 0, 1, 4)} << "0,0 0,1 0,2 1,3 1,4";
        QTest::newRow("twips fall into the pixel holding them") << Drawing{L(44, 29, 44, 29), L(-1, 75, -1, 75), L(-15, 90, -15, 90)} << "2,1";
        QTest::newRow("radius-20-twip mark") << Drawing{C(10 * Twips, 10 * Twips, 20)} << "9,9 10,9 11,9 9,10 11,10 9,11 10,11 11,11";
        QTest::newRow("below half a pixel is its centre pixel") << Drawing{C(10 * Twips + 14, 10 * Twips, 7)} << "10,10";
        QTest::newRow("radius 0 with a 2-pixel pen") << Drawing{C(10 * Twips, 10 * Twips, 0, Red, 2)} << "9,9 10,9 9,10 10,10";
        QTest::newRow("circle of 2 pixels")
            << Drawing{C(10 * Twips, 10 * Twips, 2 * Twips)} << "9,8 10,8 11,8 8,9 12,9 8,10 12,10 8,11 12,11 9,12 10,12 11,12";
        QTest::newRow("circle around the corner is cut to its quarter") << Drawing{C(0, 0, 5 * Twips)} << "5,0 5,1 5,2 4,3 3,4 0,5 1,5 2,5";
        QTest::newRow("circle centred beyond the left edge, its flat top showing") << Drawing{C(-20 * Twips, 60 * Twips, 50 * Twips)}
                                                                                   << "box 0,14 20x16 21";
        QTest::newRow("circle at the far corner") << Drawing{C(39 * Twips, 29 * Twips, 2 * Twips)} << "38,27 39,27 37,28 37,29";
        QTest::newRow("line ending off the picture keeps its slope") << Drawing{Lp(-4, -2, 4, 2)} << "0,0 1,0 2,1 3,1 4,2";
        QTest::newRow("line leaving at the far corner") << Drawing{Lp(36, 26, 44, 34)} << "36,26 37,27 38,28 39,29";
        QTest::newRow("lines ending one pixel past the edges") << Drawing{Lp(5, 27, 5, 30), Lp(37, 1, 40, 1), Lp(9, 27, 12, 30)}
                                                               << "37,1 38,1 39,1 5,27 9,27 5,28 10,28 5,29 11,29";
        QTest::newRow("far outside draws nothing")
            << Drawing{L(-1e9, -1e9, -1e9 + 9000, -1e9), C(1.5e7, 0, 3000), L(-3000, 0, -3000, 1e6), C(300, 225, 1.5e6),
                   L(-1e11, -3000, 1e11, -3000), L(-3000, -1e11, -3000, 1e11)} << "";
        QTest::newRow("8-pixel pen: 4 above, 3 below, square caps") << Drawing{Lp(5, 10, 12, 10, White, 8)} << "box 1,6 15x8 120";
        QTest::newRow("3-pixel pen, horizontal") << Drawing{Lp(2, 10, 8, 10, White, 3)} << "box 1,9 9x3 27";
        QTest::newRow("2-pixel pen, vertical") << Drawing{Lp(5, 2, 5, 9, White, 2)} << "box 4,1 2x9 18";
        QTest::newRow("3-pixel pen, zero length") << Drawing{Lp(5, 5, 5, 5, White, 3)} << "box 4,4 3x3 9";
        QTest::newRow("circle of 5 pixels") << Drawing{C(20 * Twips, 15 * Twips, 5 * Twips)} << "box 15,10 11x11 28";
        QTest::newRow("cut at the left and right edges") << Drawing{L(-1.5e6, 5 * Twips, 1.5e6, 5 * Twips)} << "box 0,5 40x1 40";
        QTest::newRow("cut at the top and bottom edges") << Drawing{L(39 * Twips, 1.5e6, 39 * Twips, -1.5e6)} << "box 39,0 1x30 30";
        QTest::newRow("wide line cut at the edges") << Drawing{L(-1.5e6, 29 * Twips, 1.5e6, 29 * Twips, White, 4)} << "box 0,27 40x3 120";
        QTest::newRow("32-bit diagonal") << Drawing{L(-2147483648.0, -2147483648.0, 2147483648.0, 2147483648.0)} << "box 0,0 30x30 30";
        QTest::newRow("beyond 2^30 pixels, cut ends rounded") << Drawing{L(-1e11, 10 * Twips, 1e11, 10 * Twips)} << "box 0,10 40x1 40";
        QTest::newRow("huge circle's flat bottom") << Drawing{C(20 * Twips, -99990 * Twips, 100000 * Twips)} << "box 0,10 40x1 40";
        QTest::newRow("circle around the whole picture") << Drawing{C(20 * Twips, 15 * Twips, 2000 * Twips, Red, 5)} << "";
    }

    void exactPixels()
    {
        QFETCH(Drawing, drawing);
        QFETCH(QString, pixels);
        const QImage image = fast(drawing, QSize(40, 30));
        const QString actual = pixelList(image, pixels.startsWith(QLatin1String("box ")));
        if (actual != pixels)
            saveTestImage(image, QStringLiteral("rasterizer-exact-%1").arg(QString::fromLatin1(QTest::currentDataTag())));
        QCOMPARE(actual, pixels);
    }

    void laterLiesOverEarlier()
    {
        const Primitive across = Lp(0, 5, 39, 5, White), down = Lp(5, 0, 5, 29, Yellow);
        const Primitive mark = C(5 * Twips, 6 * Twips, 20, Red), thick = Lp(0, 6, 39, 6, Yellow, 5);
        QCOMPARE(fast({across, down}, QSize(40, 30)).pixelColor(5, 5), toQColor(Yellow));
        QCOMPARE(fast({down, across}, QSize(40, 30)).pixelColor(5, 5), toQColor(White));
        QCOMPARE(fast({across, mark}, QSize(40, 30)).pixelColor(5, 5), toQColor(Red));
        QCOMPARE(fast({mark, thick}, QSize(40, 30)).pixelColor(4, 6), toQColor(Yellow));
    }

    // A line of any pen width up to 64 at any slope, square ends included, has the painter's
    // pixels to within one pixel both ways; so does a circle stroked with such a pen.
    void widePensMatchThePainter_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("degrees");
        for (const int width : {1, 2, 8, 20, 40, 64})
            for (const int degrees : {0, 10, 30, 45, 60, 80, 90, 135, 200, 315, -1})
                QTest::addRow("pen %d at %d degrees", width, degrees) << width << degrees;
    }

    void widePensMatchThePainter()
    {
        QFETCH(int, width);
        QFETCH(int, degrees);
        constexpr double Length = 60;
        const QSize size(240, 240);
        const double angle = degrees * M_PI / 180;
        const int dx = int(std::lround(Length * std::cos(angle))), dy = int(std::lround(Length * std::sin(angle)));
        // Degrees -1 stands for a circle of radius 30 pixels stroked with the pen.
        const Drawing drawing{degrees < 0 ? C(120 * Twips, 120 * Twips, 30 * Twips, White, width)
                                          : Lp(120 - dx / 2, 120 - dy / 2, 120 + (dx - dx / 2), 120 + (dy - dy / 2), White, width)};
        const QImage ours = fast(drawing, size), theirs = painted(drawing, size);
        const QStringList oursStray = strayPixels(ours.copy(1, 1, size.width() - 2, size.height() - 2), theirs, 1, toQColor(Grey).rgb());
        const QStringList theirsStray = strayPixels(theirs.copy(1, 1, size.width() - 2, size.height() - 2), ours, 1, toQColor(Grey).rgb());
        if (!oursStray.isEmpty() || !theirsStray.isEmpty()) {
            saveTestImage(ours, QStringLiteral("rasterizer-pen-%1-%2-fast").arg(width).arg(degrees));
            saveTestImage(theirs, QStringLiteral("rasterizer-pen-%1-%2-painter").arg(width).arg(degrees));
        }
        QCOMPARE(oursStray.size(), 0);
        QCOMPARE(theirsStray.size(), 0);
    }

    // Marks repeat the same radius and pen all over a drawing; each one drawn among many has
    // exactly the pixels it has when drawn alone, near the edges too.
    void repeatedCirclesMatchLoneOnes_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("width");
        QTest::newRow("point marks") << 20 << 1;
        QTest::newRow("point marks, 3-pixel pen") << 20 << 3;
        QTest::newRow("30 pixels") << 450 << 1;
    }

    void repeatedCirclesMatchLoneOnes()
    {
        QFETCH(int, radius);
        QFETCH(int, width);
        const QSize size(100, 80);
        Drawing drawing;
        for (int i = 0; i < 40; ++i)
            drawing.push_back(C((i * 37 % 110 - 5) * Twips + i, (i * 23 % 90 - 5) * Twips, radius, i % 2 ? Red : Yellow, width));
        QImage alone = blank(size);
        for (const Primitive& p : drawing)
            rasterize(alone, std::span(&p, 1));
        QVERIFY(sameImage(fast(drawing, size), alone, QStringLiteral("rasterizer-repeated-%1-%2").arg(radius).arg(width)));
        // A picture of another pixel format is drawn through the painter, to the same pixels.
        QImage other = blank(size).convertToFormat(QImage::Format_RGB888);
        rasterize(other, drawing);
        QVERIFY(sameImage(other, painted(drawing, size), QStringLiteral("rasterizer-other-format-%1-%2").arg(radius).arg(width)));
    }

    // A one-pixel line has the pixels of the textbook Bresenham walk from its first end to its
    // second (the error starting at half the major length), those on the picture and no
    // others: for lines on the picture, lines cut by its edges, and lines so long that the
    // walk no longer takes its fixed-point shortcut. Seeded, against a plain walk over every
    // step of the whole line. Lines off the picture pass through a point on it.
    void thinLinesHaveBresenhamPixels_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("reach"); // how far from the picture the ends may lie, in pictures
        QTest::addColumn<int>("lines");
        QTest::newRow("ends on the picture") << QSize(83, 61) << 0.0 << 3000;
        QTest::newRow("ends off the picture") << QSize(83, 61) << 40.0 << 2000;
        QTest::newRow("millions of pixels long") << QSize(1200, 40) << 2500.0 << 12;
    }

    void thinLinesHaveBresenhamPixels()
    {
        QFETCH(QSize, size);
        QFETCH(double, reach);
        QFETCH(int, lines);
        std::mt19937 random(23);
        const auto within = [&](double lo, double hi) { return std::int64_t(std::uniform_real_distribution<double>(lo, hi)(random)); };
        for (int i = 0; i < lines; ++i) {
            std::int64_t x1 = within(0, size.width()), y1 = within(0, size.height()), x2 = within(0, size.width()),
                         y2 = within(0, size.height());
            if (reach > 0) {
                const std::int64_t dx = within(-reach * size.width(), reach * size.width());
                const std::int64_t dy = within(-reach * size.height(), reach * size.height());
                x2 = x1 - dx, y2 = y1 - dy;
                x1 += dx, y1 += dy;
            }
            const Primitive line = L(double(x1 * Twips + 7), double(y1 * Twips + 7), double(x2 * Twips + 7), double(y2 * Twips + 7));
            QImage expected = blank(size);
            bresenham(expected, std::int64_t(toPixel(line.x1)), std::int64_t(toPixel(line.y1)), std::int64_t(toPixel(line.x2)),
                      std::int64_t(toPixel(line.y2)));
            const QImage actual = fast({line}, size);
            if (actual != expected) {
                saveTestImage(expected, QStringLiteral("rasterizer-bresenham-%1-expected").arg(i));
                QVERIFY(sameImage(actual, expected, QStringLiteral("rasterizer-bresenham-%1").arg(i)));
            }
        }
    }
};

QTEST_MAIN(TestRasterizer)
#include "tst_rasterizer.moc"
