// brondelwick-tool export, proven by the programs users open its files with: admesh finds
// every STL a closed solid of the filled area times the depth, rsvg-convert draws the SVG on
// the PNG's pixels, ezdxf reads the DXF back, a reader of our own and lib3mf the 3MF; the PNG is the window's own picture. Refused
// exports and bad options write nothing. One file of each format is kept as its reader accepted it.
#include "tools/ToolTestSupport.h"

#include "export/Mesh.h"
#include "export/ViewPictures.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <random>

namespace {

constexpr double MmPerTwip = 25.4 / 1440;

// The numbers admesh reports after its checks and repairs, by their names.
std::map<QString, double> admeshFigures(const QString& report)
{
    std::map<QString, double> figures;
    static const QRegularExpression line(QStringLiteral(R"(^([A-Z][A-Za-z ]+?)\s*:\s*(-?[\d.]+)(?:\s+(-?[\d.]+))?)"),
                                         QRegularExpression::MultilineOption);
    for (auto m = line.globalMatch(report); m.hasNext();) {
        const QRegularExpressionMatch found = m.next();
        figures[found.captured(1)] = found.captured(2).toDouble();
        if (found.hasCaptured(3))
            figures[found.captured(1) + QStringLiteral(" final")] = found.captured(3).toDouble();
    }
    static const QRegularExpression volume(QStringLiteral(R"(Volume\s*:\s*([\d.]+))"));
    figures[QStringLiteral("Volume")] = volume.match(report).captured(1).toDouble();
    return figures;
}

// A file as it was when its reader above accepted it, byte for byte, so that no value of the
// format drifts unseen. A file that differs is kept in the working folder under the reference's name.
void compareWithReference(const QString& made, const QString& reference)
{
    if (reference.isEmpty())
        return;
    const QString stored = QStringLiteral(BRONDELWICK_TEST_DATA "/exports/") + reference;
    if (fileBytes(made) == fileBytes(stored))
        return;
    QFile::remove(reference);
    QFile::copy(made, reference);
    QFAIL(qPrintable(QStringLiteral("%1 differs from %2; it is kept as %3").arg(made, stored, QDir::current().filePath(reference))));
}

// The pixels ("x,y") where two pictures of one size differ beside another differing pixel.
QStringList differingRuns(const QImage& a, const QImage& b)
{
    const auto differs = [&](int x, int y) { return a.valid(x, y) && a.pixel(x, y) != b.pixel(x, y); };
    QStringList runs;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (differs(x, y) && (differs(x + 1, y) || differs(x - 1, y + 1) || differs(x, y + 1) || differs(x + 1, y + 1)))
                runs << QStringLiteral("%1,%2").arg(x).arg(y);
    return runs;
}

// What tests/tools/read_3mf.py finds in a 3MF package.
QJsonObject read3mf(const QString& file)
{
    const Ran read = runProgram("/usr/bin/python3", {QStringLiteral(BRONDELWICK_TOOL_TESTS "/read_3mf.py"), file});
    if (!read.err.isEmpty())
        qWarning("%s", qPrintable(read.err));
    return QJsonDocument::fromJson(read.out.toUtf8()).object();
}

// What lib3mf reads from a package: the model's unit, its first object's name and mesh sizes.
struct ReadBack {
    int unit = -1;
    QString name;
    int vertices = -1, triangles = -1;
};

ReadBack readWithLib3mf(const QString& file)
{
    using namespace NMR;
    ReadBack read;
    PLib3MFModel* model = nullptr;
    PLib3MFModelReader* reader = nullptr;
    PLib3MFModelResourceIterator* objects = nullptr;
    if (lib3mf_createmodel(&model) == LIB3MF_OK && lib3mf_model_queryreader(model, "3mf", &reader) == LIB3MF_OK
        && lib3mf_reader_readfromfileutf8(reader, QFile::encodeName(file).constData()) == LIB3MF_OK
        && lib3mf_model_getmeshobjects(model, &objects) == LIB3MF_OK) {
        BOOL more = false;
        PLib3MFModelResource* object = nullptr;
        DWORD unit = 0, vertices = 0, triangles = 0;
        char name[256] = {};
        ULONG needed = 0;
        if (lib3mf_model_getunit(model, &unit) == LIB3MF_OK && lib3mf_resourceiterator_movenext(objects, &more) == LIB3MF_OK && more
            && lib3mf_resourceiterator_getcurrent(objects, &object) == LIB3MF_OK
            && lib3mf_meshobject_getvertexcount(object, &vertices) == LIB3MF_OK
            && lib3mf_meshobject_gettrianglecount(object, &triangles) == LIB3MF_OK
            && lib3mf_object_getnameutf8(object, name, sizeof name, &needed) == LIB3MF_OK)
            read = {int(unit), QString::fromUtf8(name), int(vertices), int(triangles)};
        if (object)
            lib3mf_release(object);
    }
    for (PLib3MFBase* owned : std::initializer_list<PLib3MFBase*>{objects, reader, model})
        if (owned)
            lib3mf_release(owned);
    return read;
}

// The keys of a freedesktop.org thumbnailer entry's [Thumbnailer Entry] group, their values'
// escapes (\s, \n, \t, \r, \\) undone, as a file manager reads it.
std::map<QString, QString> thumbnailerEntry(const QString& file)
{
    std::map<QString, QString> keys;
    QString group;
    for (const QString& line : QString::fromUtf8(fileBytes(file)).split('\n')) {
        if (line.startsWith('#') || line.trimmed().isEmpty())
            continue;
        if (line.startsWith('[')) {
            group = line;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (group != QLatin1String("[Thumbnailer Entry]") || equals < 0)
            continue;
        QString value;
        const QString raw = line.mid(equals + 1).trimmed();
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QChar c = raw[i];
            if (c != '\\' || i + 1 == raw.size()) {
                value += c;
                continue;
            }
            const QChar next = raw[++i];
            value += next == 's' ? QChar(' ') : next == 'n' ? QChar('\n') : next == 't' ? QChar('\t') : next == 'r' ? QChar('\r') : next;
        }
        keys[line.left(equals).trimmed()] = value;
    }
    return keys;
}

// The words of an Exec value as the desktop entry rules split it: at spaces outside double
// quotes; within them a backslash keeps the next of ", `, $ and \ as it is.
QStringList execWords(const QString& exec)
{
    QStringList words;
    QString word;
    bool quoted = false, started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec[i + 1])) {
            word += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started || !word.isEmpty())
                words << word;
            word.clear();
            started = false;
        } else {
            word += c;
        }
    }
    if (started || !word.isEmpty())
        words << word;
    return words;
}

const std::vector<PointRecord> Triangle{{100, 1000}, {900, 1000}, {500, 300}};
const std::vector<PointRecord> ConcaveL{{0, 0}, {2000, 0}, {2000, 500}, {500, 500}, {500, 2000}, {0, 2000}};
const std::vector<PointRecord> BowTie{{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}};

} // namespace

class ToolExportTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.emplace().isValid()); }
    // The volume expected is the filled area times the depth in the unit asked for (millimetres
    // unless told, 1440 twips to the inch), worked out exactly apart from the tool. The bow tie's
    // two halves meet at one edge.
    void stlIsAClosedSolid_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<TaggedValue>("depth");
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("parts");
        QTest::addColumn<double>("facets"); // the fewest the filled region needs
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("reference");
        QTest::addRow("triangle in inches, ASCII") << Triangle << depthOf(600) << 0.056262860082304525 << 1.0 << 8.0
                                                   << QStringList{"--ascii", "--unit=in"} << "triangle-inches.stl";
        QTest::addRow("concave L in twips") << ConcaveL << TaggedValue(QStringLiteral("1000")) << 1.75e9 << 1.0 << 20.0
                                            << QStringList{"--unit", "twip"} << "";
        QTest::addRow("star, centre filled") << pentagram() << depthOf(400) << 9857.474307708537 << 1.0 << 36.0 << QStringList{} << "";
        QTest::addRow("bow tie, negative depth") << BowTie << depthOf(-300) << 823.1991865997941 << 2.0 << 16.0 << QStringList{} << "";
        QTest::addRow("1000-point ring, 768 corners once collinear runs merge") << ring(1000, 2000) << depthOf(250)
            << 17240.820340406375 << 1.0 << 3068.0 << QStringList{} << "";
        QTest::addRow("collinear points and a spike")
            << std::vector<PointRecord>{{0, 0}, {500, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, 1200}} << depthOf(700)
            << 3841.5962041323723 << 1.0 << 12.0 << QStringList{} << "";
        QTest::addRow("duplicate points, the drawing's depth of 200")
            << std::vector<PointRecord>{{0, 0}, {0, 0}, {1200, 0}, {1200, 0}, {0, 900}, {0, 0}} << NoDepth << 592.7034143518517
            << 1.0 << 8.0 << QStringList{} << "";
    }

    void stlIsAClosedSolid()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(TaggedValue, depth);
        QFETCH(double, volume);
        QFETCH(double, parts);
        QFETCH(double, facets);
        QFETCH(QStringList, options);
        writeObject(path("object.obj"), points, depth);
        const Ran ran = runTool(QStringList{"export", path("object.obj"), "-o", path("object.stl")} + options);
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        const Ran checked = runProgram("admesh", {path("object.stl")});
        QCOMPARE(checked.status, 0);
        QVERIFY(checked.out.contains(options.contains("--ascii") ? "File type          : ASCII STL file"
                                                                 : "File type          : Binary STL file"));
        const std::map<QString, double> figures = admeshFigures(checked.out);
        for (const char* repair : {"Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed",
                                   "Backwards edges", "Normals fixed", "Total disconnected facets"})
            QVERIFY2(figures.at(repair) == 0, repair);
        QCOMPARE(figures.at("Number of parts"), parts);
        QCOMPARE(figures.at("Number of facets"), facets);
        QCOMPARE(figures.at("Number of facets final"), figures.at("Number of facets"));
        QVERIFY2(std::abs(figures.at("Volume") - volume) <= 1e-5 * volume, qPrintable(QString::number(figures.at("Volume"))));
        QFETCH(QString, reference);
        compareWithReference(path("object.stl"), reference);
    }

    // Seeded random outlines full of crossings, whose filled parts touch at points: a reader
    // that pairs the facets at an edge in the file's order (admesh, as slicers do) turns no
    // facet round and finds the volume the export built.
    void selfCrossingSolidsReadAsWritten_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        const int seed = 4;
        std::mt19937 random{seed};
        std::uniform_int_distribution<int> coordinate(0, 4000), size(6, 20);
        for (int row = 0; row < 80; ++row) {
            std::vector<PointRecord> points(std::size_t(size(random)));
            for (PointRecord& p : points)
                p = {coordinate(random), coordinate(random)};
            QTest::addRow("seed %d, outline %d", seed, row) << points;
        }
    }

    void selfCrossingSolidsReadAsWritten()
    {
        QFETCH(std::vector<PointRecord>, points);
        ObjectFileValues object;
        object.points = points;
        object.Dimension = 3;
        const std::variant<Mesh, QString> built = buildPrism(object, LengthUnit::Millimetre);
        QVERIFY(std::holds_alternative<Mesh>(built));
        writeObject(path("object.obj"), points, NoDepth);
        QCOMPARE(runTool({"export", path("object.obj"), "-o", path("object.stl")}).status, 0);
        const Ran checked = runProgram("admesh", {path("object.stl")});
        QCOMPARE(checked.status, 0);
        const std::map<QString, double> figures = admeshFigures(checked.out);
        QCOMPARE(figures.at("Facets reversed"), 0.0);
        QCOMPARE(figures.at("Backwards edges"), 0.0);
        const double volume = std::get<Mesh>(built).volume();
        QVERIFY2(std::abs(figures.at("Volume") - volume) <= 1e-5 * volume, qPrintable(QString::number(figures.at("Volume"))));
    }

    // The package as a reader apart from lib3mf sees it (tests/tools/read_3mf.py): its parts
    // and relationship, the unit asked for, the object named after its file, the program as
    // the application, and a closed mesh of outward parts whose volume is the filled area
    // times the depth (worked out exactly apart from the tool, as for STL).
    void threeMfIsAClosedSolid_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<TaggedValue>("depth");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("volume");
        QTest::addColumn<int>("parts");
        QTest::addColumn<int>("triangles");
        QTest::addColumn<QString>("reference");
        QTest::addRow("triangle in inches") << Triangle << depthOf(600) << QStringList{"-o", "out.3mf", "--unit", "in"} << "inch"
                                            << 0.056262860082304525 << 1 << 8 << "triangle-inches.3mf";
        QTest::addRow("star in millimetres by default") << pentagram() << depthOf(400) << QStringList{"-o", "out.3mf"} << "millimeter"
                                                        << 9857.474307708537 << 1 << 36 << "";
        QTest::addRow("bow tie: two parts apart where they touch")
            << BowTie << depthOf(-300) << QStringList{"-o", "out.3mf"} << "millimeter" << 823.1991865997941 << 2 << 16 << "";
        // A square whose triangular hole touches it at a corner: two fans of one part meet there.
        QTest::addRow("a part touching itself at a corner")
            << std::vector<PointRecord>{{0, 0}, {3000, 0}, {3000, 3000}, {0, 3000}, {0, 0}, {1000, 2000}, {2000, 2000}} << depthOf(400)
            << QStringList{"-o", "out.3mf"} << "millimeter" << 3.2e9 * MmPerTwip * MmPerTwip * MmPerTwip << 1 << 24 << "";
        QTest::addRow("to standard output") << ConcaveL << TaggedValue(QStringLiteral("1000"))
                                            << QStringList{"-o", "-", "--format", "3mf"} << "millimeter" << 1.75e9 * MmPerTwip * MmPerTwip * MmPerTwip << 1 << 20 << "";
    }

    void threeMfIsAClosedSolid()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(TaggedValue, depth);
        QFETCH(QStringList, options);
        writeObject(path("Kite part.obj"), points, depth);
        // Standard output goes to the file by the shell, as a user's redirection does.
        const QString command = QStringLiteral("exec \"$0\" export \"Kite part.obj\" \"$@\"")
            + (options.contains("-") ? QStringLiteral(" > out.3mf") : QString());
        const Ran ran = runProgram("/bin/sh", QStringList{"-c", command, QStringLiteral(BRONDELWICK_TOOL)} + options, {}, dir->path());
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        const QJsonObject package = read3mf(path("out.3mf"));
        QCOMPARE(package["modelType"].toString(), "application/vnd.ms-package.3dmanufacturing-3dmodel+xml");
        QCOMPARE(package["relsType"].toString(), "application/vnd.openxmlformats-package.relationships+xml");
        QCOMPARE(package["targets"].toArray(), QJsonArray{"/3D/3dmodel.model"});
        QTEST(package["unit"].toString(), "unit");
        QCOMPARE(package["application"].toString(), "Brondelwick");
        const QJsonArray objects = package["objects"].toArray();
        QCOMPARE(objects.size(), 1);
        QCOMPARE(package["items"].toArray(), QJsonArray{"1"});
        QCOMPARE(objects[0]["name"].toString(), "Kite part");
        QCOMPARE(objects[0]["type"].toString(), "model");
        QVERIFY(objects[0]["closed"].toBool());
        QVERIFY(objects[0]["manifold"].toBool());
        QVERIFY(objects[0]["discs"].toBool());
        QTEST(objects[0]["parts"].toInt(), "parts");
        QTEST(objects[0]["triangles"].toInt(), "triangles");
        QVERIFY(objects[0]["smallestPartVolume"].toDouble() > 0);
        QFETCH(double, volume);
        const double read = objects[0]["volume"].toDouble();
        QVERIFY2(std::abs(read - volume) <= 1e-5 * volume, qPrintable(QString::number(read, 'g', 17)));
        QFETCH(QString, reference);
        compareWithReference(path("out.3mf"), reference);
    }

    // Seeded random outlines on a small lattice, so that edges overlap, retrace and cross at
    // corners: every package read apart from lib3mf is closed and manifold, each vertex's
    // neighbourhood one disc (a part touching itself at a corner has a corner for each fan
    // there), each part outward, and holds
    // the volume of the solid the STL export builds; an outline the solid refuses is refused.
    void threeMfOfRandomOutlines_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        const int seed = 27;
        std::mt19937 random{seed};
        std::uniform_int_distribution<int> step(0, 4), size(4, 12);
        for (int row = 0; row < 40; ++row) {
            std::vector<PointRecord> points(std::size_t(size(random)));
            for (PointRecord& p : points)
                p = {500 * step(random), 500 * step(random)};
            QTest::addRow("seed %d, outline %d", seed, row) << points;
        }
    }

    void threeMfOfRandomOutlines()
    {
        QFETCH(std::vector<PointRecord>, points);
        ObjectFileValues object;
        object.points = points;
        object.Dimension = 3;
        const std::variant<Mesh, QString> built = buildPrism(object, LengthUnit::Millimetre);
        writeObject(path("object.obj"), points, NoDepth);
        const Ran ran = runTool({"export", path("object.obj"), "-o", path("object.3mf")});
        if (const QString* why = std::get_if<QString>(&built)) {
            QCOMPARE(ran.status, 1);
            QVERIFY2(ran.err.contains(*why), qPrintable(ran.err));
            QVERIFY(!QFile::exists(path("object.3mf")));
            return;
        }
        QCOMPARE(ran.status, 0);
        const QJsonObject object3mf = read3mf(path("object.3mf"))["objects"].toArray()[0].toObject();
        QVERIFY(object3mf["closed"].toBool());
        QVERIFY(object3mf["manifold"].toBool());
        QVERIFY(object3mf["discs"].toBool());
        QVERIFY(object3mf["smallestPartVolume"].toDouble() > 0);
        const double volume = std::get<Mesh>(built).volume();
        QVERIFY2(std::abs(object3mf["volume"].toDouble() - volume) <= 1e-5 * volume, qPrintable(QString::number(object3mf["volume"].toDouble())));
    }

    // lib3mf, which slicers build on, reads the package back: unit, name and mesh sizes.
    void threeMfReadsBackInLib3mf()
    {
        writeObject(path("bow tie.obj"), BowTie, depthOf(300));
        QCOMPARE(runTool({"export", path("bow tie.obj"), "-o", path("bow.3mf"), "--unit", "in"}).status, 0);
        const ReadBack read = readWithLib3mf(path("bow.3mf"));
        QCOMPARE(read.unit, int(NMR::MODELUNIT_INCH));
        QCOMPARE(read.name, "bow tie");
        QCOMPARE(read.vertices, 12); // two triangles' prisms, the point where they touch not shared
        QCOMPARE(read.triangles, 16);
    }

    void refusedExportWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("status");
        const QString solid = QStringLiteral("The object cannot be exported as a solid: ");
        QTest::addRow("flat object") << QStringList{"flat.obj", "-o", "out.stl"}
                                     << "brondelwick-tool: flat.obj: " + solid + "it is flat (last drawn in 2D); draw it in 3D to give it a depth." << 1;
        QTest::addRow("depth of 0") << QStringList{"zero.obj", "-o", "out.stl"} << "brondelwick-tool: zero.obj: " + solid + "its depth is 0." << 1;
        QTest::addRow("depth no number") << QStringList{"text.obj", "-o", "out.stl"}
                                         << "brondelwick-tool: text.obj: " + solid + "its depth \"deep\" is not a number from -32768 to 32767." << 1;
        QTest::addRow("two distinct points") << QStringList{"two.obj", "-o", "out.stl"}
                                             << "brondelwick-tool: two.obj: " + solid + "it has fewer than three distinct points." << 1;
        QTest::addRow("no area") << QStringList{"line.obj", "-o", "out.stl"} << "brondelwick-tool: line.obj: " + solid + "its outline encloses no area." << 1;
        const QString raise = QStringLiteral("; --max-triangles raises the limit.");
        QTest::addRow("star cut into more pieces than the limit")
            << QStringList{"star.obj", "-o", "out.stl", "--max-triangles", "12"}
            << "brondelwick-tool: star.obj: " + solid + "filling its outline takes 13 pieces or more (its edges cut at every corner's height and where they cross), "
                       "more than the limit of 12" + raise << 1;
        QTest::addRow("star's solid over the limit") << QStringList{"star.obj", "-o", "out.stl", "--max-triangles=35"}
                                                     << "brondelwick-tool: star.obj: " + solid + "its solid would have 36 triangles, more than the limit of 35" + raise << 1;
        QTest::addRow("far from the origin") << QStringList{"faraway.obj", "-o", "out.stl", "--unit", "twip"}
                                             << "brondelwick-tool: faraway.obj: " + solid + "single precision in twips would move a corner by 24 twips, "
                                                "more than half a twip; export it in another unit (--unit) or move it nearer the origin." << 1;
        QTest::addRow("DXF of no points") << QStringList{"empty.obj", "-o", "out.dxf"}
                                          << "brondelwick-tool: empty.obj: The object cannot be exported as a drawing: it has no points." << 1;
        QTest::addRow("DXF prism of a flat object")
            << QStringList{"flat.obj", "-o", "out.dxf", "--prism"}
            << "brondelwick-tool: flat.obj: The object cannot be exported as a drawing: it is flat (last drawn in 2D); draw it in 3D to give it a depth." << 1;
        QTest::addRow("views beyond the drawing") << QStringList{"far.obj", "-o", "out.png"}
                                                  << "brondelwick-tool: far.obj: The object cannot be drawn: the largest Y of its points (99999) is outside "
                                                     "the range -32768 to 32767." << 1;
        QTest::addRow("missing object") << QStringList{"none.obj", "-o", "out.svg"} << "brondelwick-tool: none.obj: No such file or directory" << 2;
        QTest::addRow("workspace as object") << QStringList{"colours.wks", "-o", "out.stl"}
                                             << "brondelwick-tool: colours.wks: is a workspace file, not an object" << 2;
        QTest::addRow("empty object file") << QStringList{"void.obj", "-o", "out.dxf"} << "brondelwick-tool: void.obj: holds no object" << 2;
        QTest::addRow("malformed workspace") << QStringList{"flat.obj", "-o", "out.png", "--workspace", "flat.obj"}
                                             << "brondelwick-tool: flat.obj: is an object file, not a workspace" << 2;
        const QString help = QStringLiteral("\nRun \"brondelwick-tool export --help\" for help.");
        QTest::addRow("unknown extension") << QStringList{"flat.obj", "-o", "out.jpg"}
                                           << "brondelwick-tool export: cannot tell the format of \"out.jpg\": name it .stl, "
                                              ".3mf, .svg, .png or .dxf, or give --format" + help << 2;
        QTest::addRow("3MF of a flat object") << QStringList{"flat.obj", "-o", "out.3mf"}
                                              << "brondelwick-tool: flat.obj: " + solid + "it is flat (last drawn in 2D); draw it in 3D to give it a depth." << 1;
        QTest::addRow("3MF in twips") << QStringList{"star.obj", "-o", "out.3mf", "--unit", "twip"}
                                      << "brondelwick-tool export: 3MF has no unit of twips (its units are the micron, millimetre, "
                                         "centimetre, inch, foot and metre): give --unit mm or in" + help << 2;
        QTest::addRow("option of another format") << QStringList{"flat.obj", "-o", "out.png", "--ascii"}
                                                  << "brondelwick-tool export: --ascii does not apply to PNG" + help << 2;
        QTest::addRow("unknown unit") << QStringList{"flat.obj", "-o", "out.stl", "--unit", "cm"}
                                      << "brondelwick-tool export: unknown unit \"cm\": give mm, in or twip" + help << 2;
        QTest::addRow("triangle limit 0") << QStringList{"star.obj", "-o", "out.stl", "--max-triangles", "0"}
                                          << "brondelwick-tool export: the triangle limit must be a whole number from 1 up" + help << 2;
        QTest::addRow("line width not whole") << QStringList{"flat.obj", "-o", "out.svg", "--line-width", "1.5"}
                                      << "brondelwick-tool export: the line width must be a whole number from 1 to 32767" + help << 2;
        QTest::addRow("line width 0") << QStringList{"flat.obj", "-o", "out.svg", "--line-width", "0"}
                                      << "brondelwick-tool export: the line width must be a whole number from 1 to 32767" + help << 2;
        const QString size = QStringLiteral("brondelwick-tool export: the size must be a whole number of pixels from 1 to 4096, not ");
        for (const char* value : {"0", "4097", "12.5", "-3", "1e3", "big", ""})
            QTest::addRow("size \"%s\"", value) << QStringList{"flat.obj", "-o", "out.png", "--size", value}
                                                << size + '"' + value + '"' + help << 2;
        QTest::addRow("size of an SVG") << QStringList{"flat.obj", "-o", "out.svg", "--size", "128"}
                                        << "brondelwick-tool export: --size does not apply to SVG" + help << 2;
    }

    void refusedExportWritesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(int, status);
        writeObject(path("flat.obj"), Triangle, depthOf(600), 2);
        writeObject(path("zero.obj"), Triangle, depthOf(0));
        writeObject(path("text.obj"), Triangle, TaggedValue(QStringLiteral("deep")));
        writeObject(path("two.obj"), {{0, 0}, {100, 0}, {0, 0}, {100, 0}}, NoDepth);
        writeObject(path("line.obj"), {{0, 0}, {100, 100}, {300, 300}, {200, 200}}, NoDepth);
        writeObject(path("star.obj"), pentagram(), NoDepth);
        writeObject(path("empty.obj"), {}, NoDepth);
        writeObject(path("far.obj"), {{0, 0}, {10, 99999}}, NoDepth);
        writeObject(path("faraway.obj"), {{2000000000, 0}, {2000001000, 0}, {2000000000, 1000}}, NoDepth);
        writeFileBytes(path("void.obj"), {});
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        const QStringList before = QDir(dir->path()).entryList(QDir::Files);
        const Ran ran = runTool(QStringList{"export"} + arguments, {}, dir->path());
        QCOMPARE(ran.err, message + "\n");
        QCOMPARE(ran.status, status);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), before);
    }

    void svgDrawsThePngsPixels_data()
    {
        QTest::addColumn<std::vector<PointRecord>>("points");
        QTest::addColumn<std::int16_t>("dimension");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("reference");
        QTest::addRow("one point twice: dots inside their marks")
            << std::vector<PointRecord>{{1000, 1000}, {1000, 1000}} << std::int16_t(2) << QStringList{} << "";
        QTest::addRow("flat L with grid lines") << ConcaveL << std::int16_t(2) << QStringList{"--grid"} << "";
        QTest::addRow("star in a workspace's colours, wide 3D lines")
            << pentagram() << std::int16_t(3) << QStringList{"--workspace", "colours.wks", "--line-width", "4", "--grid"}
            << "star-workspace.svg";
        QTest::addRow("3D view alone, reaching beyond it, a repeated point a wide dot")
            << std::vector<PointRecord>{{300, 300}, {300, 300}, {900000, 4000}, {4800, -2000}} << std::int16_t(3)
            << QStringList{"--view", "3d", "--line-width", "2"} << "3d-alone.svg";
        QTest::addRow("marks and lines beyond every view")
            << std::vector<PointRecord>{{300, 300}, {900000, 4000}, {4800, -2000}} << std::int16_t(3) << QStringList{}
            << "beyond-views.svg";
        QTest::addRow("side view of a ring") << ring(1000, 2000) << std::int16_t(3) << QStringList{"--view", "side"} << "";
        QTest::addRow("marks of the largest radius, around views and across them")
            << std::vector<PointRecord>{{300, 300}, {2500, 4000}, {30000, 200}, {4800, -2000}, {-30000, 9000}} << std::int16_t(3)
            << QStringList{"--workspace", "large.wks"} << "";
    }

    void svgDrawsThePngsPixels()
    {
        QFETCH(std::vector<PointRecord>, points);
        QFETCH(std::int16_t, dimension);
        QFETCH(QStringList, options);
        writeObject(path("object.obj"), points, depthOf(700), dimension);
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        writeWorkspace(path("large.wks"), 32767);
        for (const char* output : {"object.png", "object.svg"})
            QCOMPARE(runTool(QStringList{"export", "object.obj", "-o", output} + options, {}, dir->path()).status, 0);
        const QString svg = QString::fromUtf8(fileBytes(path("object.svg")));
        QVERIFY(svg.contains("shape-rendering=\"crispEdges\""));
        QCOMPARE(runProgram("rsvg-convert", {"object.svg", "-o", "rendered.png"}, {}, dir->path()).status, 0);
        const QImage png(path("object.png")), rendered(path("rendered.png"));
        QCOMPARE(rendered.size(), png.size());
        const QImage a = png.convertToFormat(QImage::Format_RGB32), b = rendered.convertToFormat(QImage::Format_RGB32);
        const QStringList missing = strayPixels(a, b), extra = strayPixels(b, a);
        if (!missing.isEmpty() || !extra.isEmpty())
            saveTestImage(b, QStringLiteral("svg-%1").arg(QTest::currentDataTag()));
        QCOMPARE(missing.size(), 0);
        QCOMPARE(extra.size(), 0);
        QFETCH(QString, reference);
        compareWithReference(path("object.svg"), reference);
    }

    // Every pen width the 3D view is given, odd widths (whose edges run through pixel centres)
    // and even ones alike, on the sample object: the renderer's picture of the SVG has the
    // PNG's pixels, each in its place. Beyond the tolerance of the other picture tests, which
    // a whole edge one pixel off passes, pixels may differ only one by one: a renderer rounds
    // slanted edges to 1/256 pixel and so decides some centres lying that close to one.
    void svgLinesKeepTheirPixelsAtEveryWidth_data()
    {
        QTest::addColumn<int>("width");
        for (int width = 1; width <= 9; ++width)
            QTest::addRow("width %d", width) << width;
    }

    void svgLinesKeepTheirPixelsAtEveryWidth()
    {
        QFETCH(int, width);
        const QString sample = QStringLiteral(BRONDELWICK_TEST_DATA "/../../docs/sample.obj");
        for (const char* output : {"sample.png", "sample.svg"})
            QCOMPARE(runTool({"export", sample, "--view", "3d", "--line-width", QString::number(width), "-o", output}, {}, dir->path()).status, 0);
        QCOMPARE(runProgram("rsvg-convert", {"sample.svg", "-o", "rendered.png"}, {}, dir->path()).status, 0);
        const QImage png = QImage(path("sample.png")).convertToFormat(QImage::Format_RGB32);
        const QImage rendered = QImage(path("rendered.png")).convertToFormat(QImage::Format_RGB32);
        const QStringList stray = strayPixels(png, rendered) + strayPixels(rendered, png);
        const QStringList runs = differingRuns(png, rendered);
        if (!stray.isEmpty() || !runs.isEmpty())
            saveTestImage(rendered, QStringLiteral("svg-width-%1").arg(width));
        QCOMPARE(stray, QStringList());
        QCOMPARE(runs, QStringList());
    }

    // The largest point radius draws marks that reach across every view from anywhere: each
    // is one element, the circle's pixels written once, and marks around a view are left out.
    // The bound is 300 bytes a point: every pixel of every mark written out makes hundreds of
    // megabytes, and the marks around the views written as well half a megabyte.
    void svgOfLargeMarksStaysSmall_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<qint64>("most");
        QTest::addRow("1000 scattered points") << 1000 << qint64(300000);
    }

    void svgOfLargeMarksStaysSmall()
    {
        QFETCH(int, points);
        QFETCH(qint64, most);
        std::vector<PointRecord> scattered;
        std::uint32_t seed = 1;
        const auto next = [&seed] { return std::int32_t((seed = seed * 1664525u + 1013904223u) >> 17) % 30000; };
        for (int i = 0; i < points; ++i)
            scattered.push_back({next(), next()});
        writeObject(path("big.obj"), scattered, depthOf(700));
        writeWorkspace(path("large.wks"), 32767);
        const Ran ran = runTool({"export", "big.obj", "--workspace", "large.wks", "-o", "big.svg"}, {}, dir->path());
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        const qint64 size = QFileInfo(path("big.svg")).size();
        QVERIFY2(size <= most, qPrintable(QString::number(size)));
    }

    // The user's way in the window: open the workspace, apply its background (the colour
    // dialog cancelled keeps it), show the grid lines, set the 3D line width, open the object.
    void pngIsWhatTheWindowShows_data()
    {
        QTest::addColumn<bool>("asSetUp");
        QTest::addRow("start-up settings, no grid lines") << false;
        QTest::addRow("workspace, grid lines, line width 3") << true;
    }

    void pngIsWhatTheWindowShows()
    {
        QFETCH(bool, asSetUp);
        writeObject(path("star.obj"), pentagram(), depthOf(-900));
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/colours.wks"), path("colours.wks")));
        const QStringList options = asSetUp ? QStringList{"--workspace", path("colours.wks"), "--grid", "--line-width", "3"} : QStringList{};
        QCOMPARE(runTool(QStringList{"export", path("star.obj"), "-o", path("star.png")} + options).err, QString());

        TestWindow w;
        if (asSetUp) {
            w.dialogs().answerOpen(path("colours.wks"));
            w->mnuOpenWork->trigger();
            w.dialogs().answerColor(std::nullopt);
            w->mnuBgColor->trigger();
            w->mnuLneOn->trigger();
            w.dialogs().answerInput("3");
            w->mnuWidth->trigger();
        }
        w.dialogs().answerOpen(path("star.obj"));
        w->mnuOpen->trigger();
        QCOMPARE(w.dialogs().pending(), 0);
        QImage expected(684, 681, QImage::Format_RGB32);
        expected.fill(toQColor(w->picContainer->BackColor()));
        QPainter painter(&expected);
        const std::pair<ViewSurface*, QPoint> views[] = {{&w.core().picFront, {7, 6}}, {&w.core().picSide, {7, 345}},
                                                         {&w.core().picTop, {346, 345}}, {&w.core().pic3dView, {347, 6}}};
        for (const auto& [view, origin] : views)
            painter.drawImage(origin, asSetUp ? view->renderedView() : view->picture());
        painter.end();
        QVERIFY(sameImage(QImage(path("star.png")), expected, QStringLiteral("png-%1").arg(QTest::currentDataTag())));
    }

    void dxfReadsBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("layer");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("lines");
        QTest::addColumn<double>("lineZ");
        QTest::addColumn<QString>("reference");
        QTest::addRow("outline") << "Kite shape" << "KITE_SHAPE" << QStringList{} << 0 << 0.0 << "";
        QTest::addRow("prism") << "Kite shape" << "KITE_SHAPE" << QStringList{"--prism"} << 8 << -10.583333333333332 << "kite-prism.dxf";
        // The layers a CAD program keeps for itself: "0" every drawing has, "DEFPOINTS" not plotted.
        QTest::addRow("named as the non-plotting layer") << "Defpoints" << "DEFPOINTS_OBJECT" << QStringList{} << 0 << 0.0 << "";
        QTest::addRow("named as the default layer") << "0" << "0_OBJECT" << QStringList{"--prism"} << 8 << -10.583333333333332 << "";
    }

    void dxfReadsBack()
    {
        QFETCH(QString, name);
        QFETCH(QString, layer);
        QFETCH(QStringList, options);
        QFETCH(int, lines);
        QFETCH(double, lineZ);
        writeObject(path(name + ".obj"), {{0, 0}, {1440, 720}, {0, 2880}, {-1440, 720}}, depthOf(600));
        QCOMPARE(runTool(QStringList{"export", path(name + ".obj"), "-o", path("kite.dxf")} + options).status, 0);
        const Ran read = runProgram("/usr/bin/python3", {QStringLiteral(BRONDELWICK_TOOL_TESTS "/read_dxf.py"), path("kite.dxf")});
        QCOMPARE(read.err, QString());
        const QJsonObject dxf = QJsonDocument::fromJson(read.out.toUtf8()).object();
        QCOMPARE(dxf["version"].toString(), "AC1009");
        QCOMPARE(dxf["others"].toInt(), 0);
        const QJsonArray polylines = dxf["polylines"].toArray();
        QCOMPARE(polylines.size(), 1);
        QCOMPARE(polylines[0]["layer"].toString(), layer);
        QVERIFY(polylines[0]["closed"].toBool());
        QCOMPARE(polylines[0]["vertices"].toArray(),
                 QJsonArray({QJsonArray{0.0, 0.0, 0.0}, QJsonArray{25.4, -12.7, 0.0}, QJsonArray{0.0, -50.8, 0.0},
                             QJsonArray{-25.4, -12.7, 0.0}}));
        const QJsonArray found = dxf["lines"].toArray();
        QCOMPARE(found.size(), lines);
        QCOMPARE(dxf["lineLayers"].toString(), lines > 0 ? layer : "");
        for (const QJsonValue line : found)
            QCOMPARE(line[1][2].toDouble(), lineZ);
        if (lines > 0)
            QCOMPARE(found[4], QJsonValue(QJsonArray{QJsonArray{0.0, 0.0, 0.0}, QJsonArray{0.0, 0.0, lineZ}}));
        QFETCH(QString, reference);
        compareWithReference(path("kite.dxf"), reference);
    }

    // --size scales the picture smoothly: its larger side the size asked, the other in the
    // picture's proportion to the nearest pixel, and its colours on average those of the
    // picture as drawn (the sample's lines neither lost nor thickened).
    void pngOfASize_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<int>("size");
        QTest::addRow("four views down to 128") << "" << 128;
        QTest::addRow("3D view down to 48") << "3d" << 48;
        QTest::addRow("front view up to 1000") << "front" << 1000;
        QTest::addRow("front view at the largest size") << "front" << 4096;
        QTest::addRow("four views down to one pixel") << "" << 1;
    }

    void pngOfASize()
    {
        QFETCH(QString, view);
        QFETCH(int, size);
        const QString sample = QStringLiteral(BRONDELWICK_TEST_DATA "/../../docs/sample.obj");
        const QStringList options = view.isEmpty() ? QStringList{} : QStringList{"--view", view};
        QCOMPARE(runTool(QStringList{"export", sample, "-o", path("drawn.png")} + options).err, QString());
        QCOMPARE(runTool(QStringList{"export", sample, "-o", path("scaled.png"), "--size", QString::number(size)} + options).err, QString());
        QCOMPARE(fileBytes(path("scaled.png")).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        const QImage drawn(path("drawn.png")), scaled(path("scaled.png"));
        const double larger = std::max(drawn.width(), drawn.height()), smaller = std::min(drawn.width(), drawn.height());
        QCOMPARE(std::max(scaled.width(), scaled.height()), size);
        QVERIFY2(std::abs(std::min(scaled.width(), scaled.height()) - std::max(1.0, size * smaller / larger)) <= 0.5,
                 qPrintable(QStringLiteral("%1x%2 of %3x%4").arg(scaled.width()).arg(scaled.height()).arg(drawn.width()).arg(drawn.height())));
        QCOMPARE(scaled.width() >= scaled.height(), drawn.width() >= drawn.height());
        const auto average = [](const QImage& image) {
            std::array<double, 3> sum{};
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y);
                    sum[0] += qRed(c), sum[1] += qGreen(c), sum[2] += qBlue(c);
                }
            for (double& channel : sum)
                channel /= double(image.width()) * image.height();
            return sum;
        };
        const std::array<double, 3> a = average(drawn), b = average(scaled);
        for (int channel = 0; channel < 3; ++channel)
            QVERIFY2(std::abs(a[channel] - b[channel]) < 6,
                     qPrintable(QStringLiteral("channel %1: %2 drawn, %3 scaled").arg(channel).arg(a[channel]).arg(b[channel])));
    }

    // A file manager's thumbnail, made as GNOME's thumbnailer makes it: the thumbnailer
    // entry's Exec line split as the desktop entry rules split it, %i, %u, %o and %s put in,
    // run with the tool found by its name on PATH. The output is a PNG of the size asked,
    // whether or not its name ends in .png.
    void thumbnailerEntryMakesThumbnails_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("size");
        QTest::addRow("normal size") << "sample.obj" << "gnome-desktop-thumbnailer-Q8F2XK.png" << 128;
        QTest::addRow("large size, output without extension") << "sample.obj" << "thumbnail" << 256;
        QTest::addRow("names with spaces, x-large") << "my house.obj" << "thumb nails/out.png" << 512;
    }

    void thumbnailerEntryMakesThumbnails()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, size);
        QVERIFY(QFile::copy(QStringLiteral(BRONDELWICK_TEST_DATA "/../../docs/sample.obj"), path(input)));
        QVERIFY(QDir().mkpath(QFileInfo(path(output)).path()));
        const std::map<QString, QString> entry = thumbnailerEntry(QStringLiteral(BRONDELWICK_TEST_DATA "/../../resources/brondelwick.thumbnailer"));
        QCOMPARE(entry.count("MimeType") ? entry.at("MimeType").split(';', Qt::SkipEmptyParts) : QStringList{},
                 QStringList{"application/x-brondelwick-object"});
        const QString toolFolder = QFileInfo(QStringLiteral(BRONDELWICK_TOOL)).path();
        QVERIFY(entry.count("TryExec") && !QStandardPaths::findExecutable(entry.at("TryExec"), {toolFolder}).isEmpty());
        QVERIFY(entry.count("Exec"));
        const std::map<QChar, QString> fields{{'i', path(input)}, {'u', QUrl::fromLocalFile(path(input)).toString(QUrl::FullyEncoded)},
                                              {'o', path(output)}, {'s', QString::number(size)}};
        QStringList command;
        for (const QString& word : execWords(entry.at("Exec"))) {
            QString expanded;
            for (qsizetype i = 0; i < word.size(); ++i) {
                if (word[i] != '%') {
                    expanded += word[i];
                    continue;
                }
                const QChar code = i + 1 < word.size() ? word[++i] : QChar();
                QVERIFY2(code == '%' || fields.count(code), qPrintable(QStringLiteral("field code %%1 in %2").arg(code, word)));
                expanded += code == '%' ? QStringLiteral("%") : fields.at(code);
            }
            command << expanded;
        }
        const QString program = QStandardPaths::findExecutable(command.takeFirst(), {toolFolder});
        QVERIFY(!program.isEmpty());
        const Ran ran = runProgram(program, command, {}, dir->path());
        QCOMPARE(ran.err, QString());
        QCOMPARE(ran.status, 0);
        QCOMPARE(fileBytes(path(output)).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        QImageReader reader(path(output));
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage thumbnail = reader.read();
        QCOMPARE(runTool({"export", path(input), "-o", path("drawn.png"), "--view", "3d"}).status, 0);
        const QImage drawn(path("drawn.png"));
        QCOMPARE(std::max(thumbnail.width(), thumbnail.height()), size);
        QCOMPARE(thumbnail.height() * drawn.width(), thumbnail.width() * drawn.height());
    }

    // The encoder's failure, which no object the tool draws brings about, is told and no
    // bytes are given for a PNG file.
    void pngEncoderFailureIsTold()
    {
        QString why;
        QCOMPARE(pngBytes(QImage(), &why), QByteArray());
        QVERIFY(!why.isEmpty());
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::optional<QTemporaryDir> dir;
};

QTEST_MAIN(ToolExportTest)
#include "tst_toolexport.moc"
