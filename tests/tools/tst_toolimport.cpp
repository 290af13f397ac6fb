// brondelwick-tool import, proven by the programs that write and draw drawings: ezdxf writes
// the DXF inputs, rsvg-convert fills the SVG outlines that the program's own front view must
// trace; the DXF export comes back with its points; every refusal writes nothing.
#include "tools/ToolTestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <random>

namespace {

std::vector<PointRecord> objectPoints(const QByteArray& bytes, ObjectFileValues* values = nullptr)
{
    ObjectFileValues read;
    if (readObjectFile(bytes, read) != ReadResult::Loaded)
        return {};
    if (values)
        *values = read;
    return read.PointCount == 0 ? std::vector<PointRecord>{} : read.points;
}

// Runs ezdxf's Python with the script after "doc" is made and before it is saved to path.
void ezdxfWrite(const QString& path, const QString& body)
{
    const QString script = QStringLiteral("import ezdxf, math\n"
                                          "doc = ezdxf.new('R2010', units=4)\nmsp = doc.modelspace()\n%1\ndoc.saveas(%2)\n")
                               .arg(body, QStringLiteral("'%1'").arg(path));
    const Ran ran = runProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script});
    QVERIFY2(ran.status == 0, qPrintable(ran.err));
}

// Lays the points in area order (shoelace) to compare with a curve's area.
double area(const std::vector<PointRecord>& p)
{
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const PointRecord& a = p[i];
        const PointRecord& b = p[(i + 1) % p.size()];
        twice += double(a.X) * b.Y - double(b.X) * a.Y;
    }
    return std::abs(twice) / 2;
}

const QByteArray Square = "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>"
                          "<path id='sq' d='M10 10 H60 V60 H10 Z'/></svg>";

} // namespace

class ToolImportTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir.emplace().isValid());
        QDir::setCurrent(dir->path());
    }

    // What the command-line gives, and the object file it writes.
    void importWritesTheObject_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<int>("dimension");
        QTest::addColumn<QString>("depth");
        const std::vector<PointRecord> square{{150, 150}, {900, 150}, {900, 900}, {150, 900}};
        QTest::addRow("file to file, flat") << QStringList{"sq.svg", "-o", "out.obj"} << QByteArray() << square << 2 << "";
        QTest::addRow("standard input to standard output") << QStringList{"-", "--format", "svg", "-o", "-"} << Square << square << 2 << "";
        QTest::addRow("extruded 400 deep") << QStringList{"sq.svg", "-o", "out.obj", "--depth", "400"} << QByteArray() << square << 3 << "400";
        QTest::addRow("the second subpath picked")
            << QStringList{"two.svg", "-o", "out.obj", "--outline", "p:2"} << QByteArray()
            << std::vector<PointRecord>{{1500, 1500}, {3000, 1500}, {3000, 3000}} << 2 << "";
        QTest::addRow("open path beside the closed one taken") << QStringList{"open.svg", "-o", "out.obj"} << QByteArray() << square << 2 << "";
    }
    void importWritesTheObject()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        writeFile("sq.svg", Square);
        writeFile("two.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path id='p' d='M0 0h10v10zM100 100h100v100z'/></svg>");
        writeFile("open.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'><path id='o' d='M0 0 L50 50'/>"
                              "<path d='M10 10 H60 V60 H10 Z'/></svg>");
        // Standard output goes to out.obj through the shell, as a user's redirection puts it.
        const Ran ran = runProgram(QStringLiteral("sh"), QStringList{"-c", "\"$0\" import \"$@\" > out.obj.stdout", BRONDELWICK_TOOL} + arguments, input);
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        const QByteArray bytes = fileBytes(arguments.contains("-") ? "out.obj.stdout" : "out.obj");
        ObjectFileValues values;
        QTEST(objectPoints(bytes, &values), "points");
        QTEST(int(values.Dimension), "dimension");
        QTEST(values.Depth.toText(), "depth");
    }

    // Every refusal: its exit status and message, and no output written.
    void refusedImportWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("status");
        const QString tool = QStringLiteral("brondelwick-tool import: ");
        QTest::addRow("no drawing") << QStringList{"-o", "out.obj"} << tool + "give one drawing" << 2;
        QTest::addRow("no output") << QStringList{"sq.svg"} << tool + "give the object file to write" << 2;
        QTest::addRow("unknown format") << QStringList{"sq.svg", "-o", "out.obj", "--format", "eps"} << tool + "unknown format \"eps\"" << 2;
        QTest::addRow("standard input without format") << QStringList{"-", "-o", "out.obj"} << tool + "give the format of standard input" << 2;
        QTest::addRow("extension of no drawing") << QStringList{"sq.txt", "-o", "out.obj"} << tool + "cannot tell the format of \"sq.txt\"" << 2;
        QTest::addRow("list with an output") << QStringList{"sq.svg", "--list", "-o", "out.obj"} << tool + "--list prints the outlines" << 2;
        QTest::addRow("tolerance 0") << QStringList{"sq.svg", "-o", "out.obj", "--tolerance", "0"} << tool + "the tolerance must be a number of twips above 0" << 2;
        QTest::addRow("output is the input") << QStringList{"sq.svg", "-o", "sq.svg"} << tool + "the output \"sq.svg\" is the input" << 2;
        QTest::addRow("missing drawing") << QStringList{"none.svg", "-o", "out.obj"} << "brondelwick-tool: none.svg: No such file or directory" << 2;
        QTest::addRow("folder") << QStringList{"folder.svg", "-o", "out.obj"} << "brondelwick-tool: folder.svg: is a folder" << 2;
        QTest::addRow("drawing larger than the tool takes") << QStringList{"large.svg", "-o", "out.obj"} << "brondelwick-tool: large.svg: is larger than any drawing the tool takes (64 MiB)" << 2;
        QTest::addRow("not XML") << QStringList{"bad.svg", "-o", "out.obj"} << "brondelwick-tool: bad.svg: is not an SVG drawing: line 2:" << 2;
        QTest::addRow("root not svg") << QStringList{"html.svg", "-o", "out.obj"} << "brondelwick-tool: html.svg: is not an SVG drawing: line 1: the root element is <html>" << 2;
        QTest::addRow("path data unreadable") << QStringList{"path.svg", "-o", "out.obj"} << "brondelwick-tool: path.svg: is not an SVG drawing: line 1: the path data" << 2;
        QTest::addRow("not DXF") << QStringList{"bad.dxf", "-o", "out.obj"} << "brondelwick-tool: bad.dxf: is not a DXF drawing: line 3: a group code" << 2;
        QTest::addRow("DXF line longer than its reader takes") << QStringList{"long.dxf", "-o", "out.obj"} << "brondelwick-tool: long.dxf: is not a DXF drawing: line 4: longer than the 1023 characters" << 2;
        QTest::addRow("DXF without end") << QStringList{"cut.dxf", "-o", "out.obj"} << "brondelwick-tool: cut.dxf: is not a DXF drawing: line 4: the drawing ends without 0 EOF" << 2;
        QTest::addRow("two closed outlines") << QStringList{"two.svg", "-o", "out.obj"} << "brondelwick-tool: two.svg: the drawing holds 2 closed outlines; pick one with --outline ID[:N]:\n  p:1              path closed  3 points  2.65 x 2.65 mm\n  p:2 " << 1;
        QTest::addRow("empty drawing") << QStringList{"empty.svg", "-o", "out.obj"} << "brondelwick-tool: empty.svg: the drawing holds no closed outline" << 1;
        QTest::addRow("open path only") << QStringList{"open.svg", "-o", "out.obj"} << "brondelwick-tool: open.svg: the drawing holds no closed outline:\n  o:1" << 1;
        QTest::addRow("open path picked") << QStringList{"open.svg", "-o", "out.obj", "--outline", "o"} << "brondelwick-tool: open.svg: the outline \"o\" is open" << 1;
        QTest::addRow("text picked") << QStringList{"text.svg", "-o", "out.obj", "--outline", "t"} << "brondelwick-tool: text.svg: the outline \"t\" is a text, which is not taken" << 1;
        QTest::addRow("unknown outline") << QStringList{"two.svg", "-o", "out.obj", "--outline", "p:3"} << "brondelwick-tool: two.svg: the drawing has no outline \"p:3\"" << 1;
        QTest::addRow("more points than an object holds") << QStringList{"circle.svg", "-o", "out.obj", "--tolerance", "0.0001"}
                                                          << "brondelwick-tool: circle.svg: the outline has " << 1;
        QTest::addRow("curves past what one drawing may flatten into") << QStringList{"circles.svg", "-o", "out.obj", "--tolerance", "1e-9"}
                                                                       << "brondelwick-tool: circles.svg: flattens into more points than the tool takes" << 2;
        QTest::addRow("beyond an object file") << QStringList{"huge.svg", "-o", "out.obj"} << "brondelwick-tool: huge.svg: the outline reaches" << 1;
        QTest::addRow("depth no number") << QStringList{"sq.svg", "-o", "out.obj", "--depth", "deep"} << tool + "ObjectDepth needs a depth" << 2;
        QTest::addRow("depth beyond 16 bits") << QStringList{"sq.svg", "-o", "out.obj", "--depth", "40000"} << tool + "ObjectDepth needs a depth" << 2;
    }
    void refusedImportWritesNothing()
    {
        QFETCH(QStringList, arguments);
        writeFile("sq.svg", Square);
        writeFile("sq.txt", Square);
        QVERIFY(QDir().mkdir("folder.svg"));
        writeFile("bad.svg", "<svg xmlns='http://www.w3.org/2000/svg'>\n<path d='M0 0'></svg>");
        writeFile("html.svg", "<html/>");
        QFile large("large.svg"); // sparse: a gigabyte costs no disk
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(qint64(1) << 30));
        large.close();
        writeFile("path.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path d='M0 0 L 5'/></svg>");
        writeFile("bad.dxf", "  0\nSECTION\nHEADER\n");
        writeFile("long.dxf", "  0\nSECTION\n  2\n" + QByteArray(1100, 'E') + "\n  0\nENDSEC\n  0\nEOF\n");
        writeFile("cut.dxf", "  0\nSECTION\n  2\nENTITIES\n");
        writeFile("two.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path id='p' d='M0 0h10v10zM100 100h100v100z'/></svg>");
        writeFile("empty.svg", "<svg xmlns='http://www.w3.org/2000/svg'/>");
        writeFile("open.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path id='o' d='M0 0 L50 50'/></svg>");
        writeFile("text.svg", "<svg xmlns='http://www.w3.org/2000/svg'><text id='t'>A</text><rect width='5' height='5'/></svg>");
        writeFile("circle.svg", "<svg xmlns='http://www.w3.org/2000/svg'><circle r='1000'/></svg>");
        writeFile("circles.svg", "<svg xmlns='http://www.w3.org/2000/svg'><circle r='100'/><circle r='100'/><circle r='100'/><circle r='100'/>"
                                 "<circle r='100'/><circle r='100'/><circle r='100'/><circle r='100'/><circle r='100'/><circle r='100'/></svg>");
        writeFile("huge.svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect width='1e9' height='5'/></svg>");
        const Ran ran = runTool(QStringList{"import"} + arguments);
        QFETCH(QString, message);
        QVERIFY2(ran.err.startsWith(message), qPrintable(ran.err));
        QTEST(ran.status, "status");
        QVERIFY(!QFile::exists("out.obj"));
        QCOMPARE(fileBytes("sq.svg"), Square);
    }

    // The object's DXF comes back as the same points, for outlines on a small lattice (edges
    // that retrace and meet) and far-reaching ones.
    void dxfExportComesBack_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        for (int seed = 1; seed <= 6; ++seed) {
            std::mt19937 random(seed);
            const int spread = seed % 2 ? 8 : 16000;
            const int step = seed % 2 ? 500 : 2;
            std::uniform_int_distribution<int> coordinate(-spread, spread), count(3, 200);
            std::vector<PointRecord> points(std::size_t(count(random)));
            for (PointRecord& p : points)
                p = {coordinate(random) * step, coordinate(random) * step};
            points.erase(std::unique(points.begin(), points.end()), points.end());
            while (points.size() > 1 && points.back() == points.front())
                points.pop_back();
            QTest::addRow("seed %d", seed) << points;
        }
    }
    void dxfExportComesBack()
    {
        QFETCH(std::vector<PointRecord>, points);
        writeObject("made.obj", points, NoDepth, 2);
        QCOMPARE(runTool({"export", "made.obj", "-o", "made.dxf"}).status, 0);
        const Ran ran = runTool({"import", "made.dxf", "-o", "back.obj"});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QCOMPARE(objectPoints(fileBytes("back.obj")), points);
    }

    // Drawings ezdxf writes: each entity flattened within the tolerance, in the drawing's units.
    // The area may fall short by the perimeter times the tolerance, and the rounding to twips.
    void dxfFromEzdxf_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("expectedArea");    // twips squared
        QTest::addColumn<double>("areaSlack");       // what flattening within the tolerance may lose
        QTest::addColumn<PointRecord>("topLeft");    // of the points' bounding box
        const double mm2 = 1440 / 25.4 * 1440 / 25.4;
        QTest::addRow("lwpolyline in mm") << "msp.add_lwpolyline([(0,0),(20,0),(20,10),(0,10)], close=True)" << QStringList{}
                                          << 200 * mm2 << 1.0 << PointRecord{0, -567};
        QTest::addRow("lwpolyline in inches") << "doc.header['$INSUNITS'] = 1\nmsp.add_lwpolyline([(0,0),(1,0),(1,1)], close=True)" << QStringList{}
                                              << 1440.0 * 1440 / 2 << 1.0 << PointRecord{0, -1440};
        QTest::addRow("bulged: a half disc") << "msp.add_lwpolyline([(0,0,0,0,1),(20,0,0,0,0)], format='xyseb', close=True)" << QStringList{}
                                             << M_PI * 100 / 2 * mm2 << 0.01 << PointRecord{0, 0};
        QTest::addRow("circle, other layers beside") << "doc.layers.add('CUT')\nmsp.add_circle((10,10), 5, dxfattribs={'layer':'CUT'})\nmsp.add_line((0,0),(1,1))"
                                                     << QStringList{} << M_PI * 25 * mm2 << 0.06 << PointRecord{283, -850};
        QTest::addRow("ellipse") << "msp.add_ellipse((0,0), major_axis=(10,0), ratio=0.5)" << QStringList{} << M_PI * 50 * mm2 << 0.06
                                 << PointRecord{-567, -283};
        QTest::addRow("closed spline through a square's corners")
            << "s = msp.add_open_spline([(0,0),(20,0),(20,20),(0,20),(0,0)])\ns.closed = True" << QStringList{} << 771380.0 << 0.03
            << PointRecord{0, -1008}; // area and height as ezdxf's own evaluation of the spline gives them
        QTest::addRow("in metres") << "doc.header['$INSUNITS'] = 6\nmsp.add_lwpolyline([(0,0),(0.02,0),(0.02,0.01),(0,0.01)], close=True)" << QStringList{}
                                   << 200 * mm2 << 1e-3 << PointRecord{0, -567};
        QTest::addRow("polyline picked by its handle among two")
            << "a = msp.add_lwpolyline([(0,0),(5,0),(5,5)], close=True)\nmsp.add_lwpolyline([(0,0),(9,0),(9,9)], close=True)\n"
               "open('handle', 'w').write(a.dxf.handle)" << QStringList{"--outline", "@handle"} << 12.5 * mm2 << 0.01 << PointRecord{0, -283};
    }
    void dxfFromEzdxf()
    {
        QFETCH(QStringList, options);
        QFETCH(double, expectedArea);
        QFETCH(double, areaSlack);
        QFETCH(QString, body);
        ezdxfWrite("drawing.dxf", body);
        if (options.contains("@handle"))
            options.replace(options.indexOf("@handle"), QString::fromLatin1(fileBytes("handle")));
        const Ran ran = runTool(QStringList{"import", "drawing.dxf", "-o", "out.obj"} + options);
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const std::vector<PointRecord> points = objectPoints(fileBytes("out.obj"));
        QVERIFY(points.size() >= 3);
        if (expectedArea > 0)
            QVERIFY2(std::abs(area(points) - expectedArea) <= expectedArea * areaSlack,
                     qPrintable(QStringLiteral("area %1, expected %2").arg(area(points)).arg(expectedArea)));
        PointRecord low = points.front();
        for (const PointRecord& p : points)
            low = {std::min(low.X, p.X), std::min(low.Y, p.Y)};
        QFETCH(PointRecord, topLeft);
        QVERIFY2(std::abs(low.X - topLeft.X) <= 8 && std::abs(low.Y - topLeft.Y) <= 8,
                 qPrintable(QStringLiteral("top left %1,%2").arg(low.X).arg(low.Y)));
    }

    // rsvg-convert fills each drawing's outline; the program's front view of the imported
    // object draws its edge, which must lie on the fill's edge within one pixel, all round.
    void svgTracesRsvgsFill_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("svgAttributes");
        QTest::addRow("every path command") << "<path d='M20 20 L60 20 l10 10 H90 h5 V60 v10 C90 90 70 90 60 80 S 40 60 30 80 "
                                               "s-10 0 -10 -10 Q10 50 15 40 T20 30 q2 -5 3 -5 t-2 -3 A10 5 30 0 1 30 10 a8 8 0 1 0 -10 10 Z'/>" << "";
        QTest::addRow("nested group transforms") << "<g transform='translate(20,10) rotate(30)'><g transform='scale(1.5,0.8) skewX(10)'>"
                                                    "<polygon points='0,0 50,0 40,40 5,30'/></g></g>" << "";
        QTest::addRow("viewBox with units") << "<path d='M10 10 L90 20 L50 90 Z'/>" << "width='50mm' height='1.5in' viewBox='0 0 100 100'";
        QTest::addRow("rounded rect") << "<rect x='10' y='15' width='80' height='60' rx='15' ry='8'/>" << "";
        QTest::addRow("circle") << "<circle cx='50' cy='50' r='40'/>" << "";
        QTest::addRow("ellipse") << "<ellipse cx='50' cy='50' rx='40' ry='20' transform='rotate(20 50 50)'/>" << "";
    }
    void svgTracesRsvgsFill()
    {
        QFETCH(QString, shape);
        QFETCH(QString, svgAttributes);
        const QString svg = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' %1>%2</svg>")
                                .arg(svgAttributes.isEmpty() ? QStringLiteral("width='200' height='200'") : svgAttributes, shape);
        writeFile("shape.svg", svg.toUtf8());
        Ran ran = runProgram(QStringLiteral("rsvg-convert"), {"--background-color=white", "-o", "fill.png", "shape.svg"});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        ran = runTool({"import", "shape.svg", "-o", "shape.obj"});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        ran = runTool({"export", "shape.obj", "-o", "front.png", "--view", "front"});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const QImage fill(QStringLiteral("fill.png")), front(QStringLiteral("front.png"));
        QVERIFY(!fill.isNull() && !front.isNull());
        const QRgb background = front.pixel(front.width() - 1, front.height() - 1);
        const auto filled = [&](int x, int y) { return fill.valid(x, y) && qGray(fill.pixel(x, y)) < 128; };
        // Anything drawn (the outline, and the point marks over it), and the outline's own grey.
        const auto drawn = [&](int x, int y) { return front.valid(x, y) && front.pixel(x, y) != background; };
        const auto outline = [&](int x, int y) {
            const QRgb c = front.pixel(x, y);
            return drawn(x, y) && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
        };
        const auto near = [](const auto& test, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (test(x + dx, y + dy))
                        return true;
            return false;
        };
        // An edge pixel of the fill: filled with an unfilled neighbour.
        const auto fillEdge = [&](int x, int y) { return filled(x, y) && (!filled(x + 1, y) || !filled(x - 1, y) || !filled(x, y + 1) || !filled(x, y - 1)); };
        int edges = 0;
        for (int y = 1; y < std::min(fill.height(), front.height()) - 1; ++y)
            for (int x = 1; x < std::min(fill.width(), front.width()) - 1; ++x) {
                if (fillEdge(x, y)) {
                    ++edges;
                    QVERIFY2(near(drawn, x, y), qPrintable(QStringLiteral("the fill's edge at %1,%2 is not drawn").arg(x).arg(y)));
                }
                if (outline(x, y))
                    QVERIFY2(near(fillEdge, x, y),
                             qPrintable(QStringLiteral("a drawn pixel at %1,%2 is off the fill's edge").arg(x).arg(y)));
            }
        QVERIFY(edges > 50);
    }

private:
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    std::optional<QTemporaryDir> dir;
};

QTEST_GUILESS_MAIN(ToolImportTest)
#include "tst_toolimport.moc"
