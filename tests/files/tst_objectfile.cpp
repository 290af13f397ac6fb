// The object file's values without the window: names, types and order written, defaults and
// conversions read, the empty object, and every kind of damaged or foreign bytes refused
// without touching what the caller holds.
#include "files/FileRecord.h"
#include "files/FileTestSupport.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

#include <QTest>

Q_DECLARE_METATYPE(TaggedValue)
Q_DECLARE_METATYPE(std::vector<PointRecord>)

namespace {


PropertyBag bagOf(const QByteArray& file)
{
    PropertyBag bag;
    const filerecord::Decoded record = filerecord::decode(file);
    if (record.status != filerecord::Decoded::Status::Data || !bag.setContents(record.data))
        qWarning("not a file record holding a bag");
    return bag;
}

WorkspaceState stateWith(const std::vector<PointRecord>& points, const TaggedValue& depth, std::int16_t dimension,
                         std::uint8_t grid)
{
    WorkspaceState s;
    s.pPoints = points.empty() ? std::vector<PointRecord>{PointRecord{}} : points;
    s.PointCount = std::int16_t(points.size());
    s.Depth = depth;
    s.Dimension = dimension;
    s.GridState = grid;
    return s;
}

// What a reader holds before reading; a refused file must leave every field so.
ObjectFileValues sentinel()
{
    ObjectFileValues v;
    v.PointCount = 3;
    v.points = {{1, 2}, {3, 4}, {5, 6}};
    v.Dimension = 3;
    v.GridState = 7;
    v.Depth = TaggedValue(QStringLiteral("untouched"));
    return v;
}

bool sameValues(const ObjectFileValues& a, const ObjectFileValues& b)
{
    return a.PointCount == b.PointCount && a.points == b.points && a.Dimension == b.Dimension
        && a.GridState == b.GridState && a.Depth == b.Depth;
}

const std::vector<PointRecord> kTriangle{{1300, 1400}, {-20, 35}, {500, -700}};

QByteArray validSmallFile()
{
    return writeObjectFile(stateWith({{100, 200}, {-300, 400}}, TaggedValue(std::int16_t(150)), 3, 1));
}

} // namespace

class ObjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void headerIsTheTwelveRecordBytes();
    void valuesAreWrittenInOrderWithTheirTypes();
    void pointEntriesAreDecimalTexts_data();
    void pointEntriesAreDecimalTexts();
    void roundTrip_data();
    void roundTrip();
    void largestObjectRoundTrips();
    void zeroPointObjectOpensEmpty();
    void missingValuesTakeTheirDefaults();
    void acceptedForms_data();
    void acceptedForms();
    void refusedValues_data();
    void refusedValues();
    void nothingRead_data();
    void nothingRead();
    void everyTruncationIsRefused();
    void everyFlippedByteIsRefused();
    void staleTailIsIgnored();
    void hugeCountInATinyFileIsRefusedCheaply();
};

void ObjectFileTest::headerIsTheTwelveRecordBytes()
{
    const QByteArray file = validSmallFile();
    const quint32 n = quint32(file.size() - 12);
    const QByteArray expected = QByteArray::fromHex("11200100") + QByteArray(1, char(n & 0xFF)) + QByteArray(1, char(n >> 8))
        + QByteArray::fromHex("000000000000");
    QCOMPARE(file.left(12).toHex(' '), expected.toHex(' '));
    QCOMPARE(file.mid(12, 4), QByteArray("BWPB"));
}

void ObjectFileTest::valuesAreWrittenInOrderWithTheirTypes()
{
    const PropertyBag bag = bagOf(writeObjectFile(stateWith(kTriangle, TaggedValue(QStringLiteral("1000")), 3, 1)));
    QCOMPARE(bag.count(), 3 + 4);
    QCOMPARE(bag.ReadProperty(QStringLiteral("Points"), {}), TaggedValue(std::int16_t(3)));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Dimension"), {}), TaggedValue(std::int16_t(3)));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Grid"), {}), TaggedValue(std::uint8_t(1)));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Depth"), {}), TaggedValue(QStringLiteral("1000")));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Point0"), {}), TaggedValue(QStringLiteral("1300,1400")));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Point1"), {}), TaggedValue(QStringLiteral("-20,35")));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Point2"), {}), TaggedValue(QStringLiteral("500,-700")));

    // The order is the one the format documents: the bag keeps names in order written.
    const QByteArray expected = fileOf({{QStringLiteral("Points"), std::int16_t(3)},
                                        {QStringLiteral("Dimension"), std::int16_t(3)},
                                        {QStringLiteral("Grid"), std::uint8_t(1)},
                                        {QStringLiteral("Depth"), TaggedValue(QStringLiteral("1000"))},
                                        {QStringLiteral("Point0"), TaggedValue(QStringLiteral("1300,1400"))},
                                        {QStringLiteral("Point1"), TaggedValue(QStringLiteral("-20,35"))},
                                        {QStringLiteral("Point2"), TaggedValue(QStringLiteral("500,-700"))}});
    QCOMPARE(writeObjectFile(stateWith(kTriangle, TaggedValue(QStringLiteral("1000")), 3, 1)).toHex(), expected.toHex());
}

void ObjectFileTest::pointEntriesAreDecimalTexts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("index 15") << 15 << 1300 << 1400 << "Point15" << "1300,1400";
    QTest::newRow("negative") << 0 << -20 << 35 << "Point0" << "-20,35";
    QTest::newRow("32-bit extremes") << 1 << int(INT32_MIN) << int(INT32_MAX) << "Point1" << "-2147483648,2147483647";
    QTest::newRow("zeros") << 2 << 0 << 0 << "Point2" << "0,0";
}

void ObjectFileTest::pointEntriesAreDecimalTexts()
{
    QFETCH(int, index);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QString, name);
    QFETCH(QString, text);
    std::vector<PointRecord> points(std::size_t(index + 1), PointRecord{7, 7});
    points[std::size_t(index)] = {x, y};
    const PropertyBag bag = bagOf(writeObjectFile(stateWith(points, {}, 2, 1)));
    QCOMPARE(bag.ReadProperty(name, {}), TaggedValue(text));
}

void ObjectFileTest::roundTrip_data()
{
    QTest::addColumn<std::vector<PointRecord>>("points");
    QTest::addColumn<TaggedValue>("depth");
    QTest::addColumn<int>("dimension");
    QTest::addColumn<int>("grid");
    QTest::newRow("one point, empty depth") << std::vector<PointRecord>{{100, 200}} << TaggedValue() << 2 << 1;
    QTest::newRow("u8 depth") << kTriangle << TaggedValue(std::uint8_t(250)) << 3 << 1;
    QTest::newRow("i16 depth") << kTriangle << TaggedValue(std::int16_t(-1200)) << 3 << 0;
    QTest::newRow("i32 depth") << kTriangle << TaggedValue(std::int32_t(100000)) << 2 << 1;
    QTest::newRow("single depth") << kTriangle << TaggedValue(1234.5f) << 3 << 1;
    QTest::newRow("double depth") << kTriangle << TaggedValue(0.1) << 3 << 1;
    QTest::newRow("text depth") << kTriangle << TaggedValue(QStringLiteral("1000")) << 3 << 1;
    QTest::newRow("dimension 0, grid 255") << kTriangle << TaggedValue() << 0 << 255;
    QTest::newRow("32-bit extremes")
        << std::vector<PointRecord>{{INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}} << TaggedValue(std::int16_t(1)) << 2 << 1;
}

void ObjectFileTest::roundTrip()
{
    QFETCH(std::vector<PointRecord>, points);
    QFETCH(TaggedValue, depth);
    QFETCH(int, dimension);
    QFETCH(int, grid);
    ObjectFileValues read = sentinel();
    QString why;
    QCOMPARE(readObjectFile(writeObjectFile(stateWith(points, depth, std::int16_t(dimension), std::uint8_t(grid))), read, &why),
             ReadResult::Loaded);
    QCOMPARE(why, QString());
    QCOMPARE(read.PointCount, std::int16_t(points.size()));
    QVERIFY(read.points == points);
    QCOMPARE(read.Dimension, std::int16_t(dimension));
    QCOMPARE(read.GridState, std::uint8_t(grid));
    QVERIFY2(read.Depth == depth, qPrintable(read.Depth.toText()));
}

void ObjectFileTest::largestObjectRoundTrips()
{
    std::vector<PointRecord> points;
    for (int i = 0; i < 32767; ++i)
        points.push_back({i * 3 - 40000, 50000 - i});
    ObjectFileValues read;
    QCOMPARE(readObjectFile(writeObjectFile(stateWith(points, TaggedValue(std::int16_t(9)), 3, 1)), read), ReadResult::Loaded);
    QCOMPARE(read.PointCount, std::int16_t(32767));
    QVERIFY(read.points == points);
}

void ObjectFileTest::zeroPointObjectOpensEmpty()
{
    const QByteArray file = writeObjectFile(stateWith({}, TaggedValue(std::int16_t(300)), 3, 1));
    QCOMPARE(bagOf(file).count(), 4);
    QCOMPARE(bagOf(file).ReadProperty(QStringLiteral("Points"), {}), TaggedValue(std::int16_t(0)));
    ObjectFileValues read = sentinel();
    QCOMPARE(readObjectFile(file, read), ReadResult::Loaded);
    QCOMPARE(read.PointCount, std::int16_t(0));
    QVERIFY(read.points == std::vector<PointRecord>{PointRecord{}});
    QCOMPARE(read.Depth, TaggedValue(std::int16_t(300)));
}

void ObjectFileTest::missingValuesTakeTheirDefaults()
{
    ObjectFileValues read = sentinel();
    QCOMPARE(readObjectFile(fileOf({{QStringLiteral("Point0"), TaggedValue(QStringLiteral("5,6"))},
                                    {QStringLiteral("Points"), std::int16_t(1)}}),
                            read),
             ReadResult::Loaded);
    QCOMPARE(read.Dimension, std::int16_t(2));
    QCOMPARE(read.GridState, std::uint8_t(0));
    QCOMPARE(read.Depth, TaggedValue(std::int16_t(0)));
    QVERIFY(read.points == (std::vector<PointRecord>{{5, 6}}));
}

void ObjectFileTest::acceptedForms_data()
{
    QTest::addColumn<TaggedValue>("points");
    QTest::addColumn<QString>("point0");
    QTest::addColumn<TaggedValue>("grid");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("gridState");
    const TaggedValue one(std::int16_t(1));
    const TaggedValue grid1(std::uint8_t(1));
    QTest::newRow("fields after the second are ignored") << one << "5,7,9" << grid1 << 5 << 7 << 1;
    QTest::newRow("fractions round half to even") << one << "2.5,3.5" << grid1 << 2 << 4 << 1;
    QTest::newRow("blanks around numbers") << one << " 12 , -7 " << grid1 << 12 << -7 << 1;
    QTest::newRow("exponent") << one << "1e3,-2E2" << grid1 << 1000 << -200 << 1;
    QTest::newRow("count as i32") << TaggedValue(std::int32_t(1)) << "1,1" << grid1 << 1 << 1 << 1;
    QTest::newRow("count as numeric text") << TaggedValue(QStringLiteral("1")) << "1,1" << grid1 << 1 << 1 << 1;
    QTest::newRow("count as double 1.4") << TaggedValue(1.4) << "1,1" << grid1 << 1 << 1 << 1;
    QTest::newRow("grid 2 is shown") << one << "0,0" << TaggedValue(std::uint8_t(2)) << 0 << 0 << 2;
    QTest::newRow("grid as i16 255") << one << "0,0" << TaggedValue(std::int16_t(255)) << 0 << 0 << 255;
}

void ObjectFileTest::acceptedForms()
{
    QFETCH(TaggedValue, points);
    QFETCH(QString, point0);
    QFETCH(TaggedValue, grid);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, gridState);
    ObjectFileValues read = sentinel();
    QString why;
    QCOMPARE(readObjectFile(fileOf({{QStringLiteral("Points"), points},
                                    {QStringLiteral("Grid"), grid},
                                    {QStringLiteral("Point0"), TaggedValue(point0)}}),
                            read, &why),
             ReadResult::Loaded);
    QCOMPARE(read.PointCount, std::int16_t(1));
    QVERIFY(read.points == (std::vector<PointRecord>{{x, y}}));
    QCOMPARE(read.GridState, std::uint8_t(gridState));
}

void ObjectFileTest::refusedValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    const std::pair<QString, TaggedValue> one{QStringLiteral("Points"), std::int16_t(1)};
    const std::pair<QString, TaggedValue> point0{QStringLiteral("Point0"), TaggedValue(QStringLiteral("1,2"))};
    auto with = [&](std::pair<QString, TaggedValue> extra) { return fileOf({one, point0, extra}); };

    QTest::newRow("no Points") << fileOf({point0}) << "\"Points\" is missing";
    QTest::newRow("Points negative") << fileOf({{QStringLiteral("Points"), std::int16_t(-1)}, point0}) << "\"Points\" holds \"-1\"";
    QTest::newRow("Points above 32767") << fileOf({{QStringLiteral("Points"), std::int32_t(32768)}}) << "\"Points\" holds \"32768\"";
    QTest::newRow("Points not a number") << fileOf({{QStringLiteral("Points"), TaggedValue(QStringLiteral("two"))}}) << "\"Points\" holds \"two\"";
    QTest::newRow("Points NaN") << fileOf({{QStringLiteral("Points"), std::numeric_limits<double>::quiet_NaN()}}) << "\"Points\"";
    QTest::newRow("point entry missing") << fileOf({{QStringLiteral("Points"), std::int16_t(2)}, point0}) << "\"Point1\" holds \"\"";
    QTest::newRow("point entry without comma") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("57"))}}) << "\"Point0\" holds \"57\"";
    QTest::newRow("point entry a number") << fileOf({one, {QStringLiteral("Point0"), std::int32_t(57)}}) << "\"Point0\" holds \"57\"";
    QTest::newRow("coordinate not a number") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("5,y"))}}) << "\"Point0\"";
    QTest::newRow("coordinate empty") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral(",5"))}}) << "\"Point0\"";
    QTest::newRow("coordinate beyond 32 bits") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("2147483648,0"))}}) << "\"Point0\"";
    QTest::newRow("coordinate hexadecimal") << fileOf({one, {QStringLiteral("Point0"), TaggedValue(QStringLiteral("0x10,0"))}}) << "\"Point0\"";
    QTest::newRow("Grid 256") << with({QStringLiteral("Grid"), std::int16_t(256)}) << "\"Grid\" holds \"256\"";
    QTest::newRow("Grid negative") << with({QStringLiteral("Grid"), std::int16_t(-1)}) << "\"Grid\"";
    QTest::newRow("Dimension beyond 16 bits") << with({QStringLiteral("Dimension"), std::int32_t(40000)}) << "\"Dimension\"";
    QTest::newRow("Dimension text") << with({QStringLiteral("Dimension"), TaggedValue(QStringLiteral("3D"))}) << "\"Dimension\"";
    QTest::newRow("a workspace file") << writeWorkspaceFile(WorkspaceFileValues{}) << "\"Points\" is missing";
    QTest::newRow("an empty bag") << fileOf({}) << "\"Points\" is missing";
    QTest::newRow("a text file") << QByteArray("Points=1\r\nPoint0=1,2\r\n") << "unknown file record type";
    QTest::newRow("foreign record type") << QByteArray::fromHex("0820") + validSmallFile().mid(2) << "unknown file record type 0x2008";
    QTest::newRow("foreign bytes in a valid record") << filerecord::encode(QByteArray("PK\x03\x04 not a bag")) << "wrong signature";
    QTest::newRow("one byte") << QByteArray(1, '\x11') << "cut short";
}

void ObjectFileTest::refusedValues()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    ObjectFileValues read = sentinel();
    QString why;
    QCOMPARE(readObjectFile(file, read, &why), ReadResult::Malformed);
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(sameValues(read, sentinel()));
}

void ObjectFileTest::nothingRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("zero bytes") << QByteArray();
    QTest::newRow("record of type 0") << QByteArray::fromHex("0000");
    QTest::newRow("type 0 with anything after it") << QByteArray::fromHex("0000") + validSmallFile();
}

void ObjectFileTest::nothingRead()
{
    QFETCH(QByteArray, file);
    ObjectFileValues read = sentinel();
    QString why = QStringLiteral("unchanged");
    QCOMPARE(readObjectFile(file, read, &why), ReadResult::NothingRead);
    QVERIFY(sameValues(read, sentinel()));
    QCOMPARE(why, QStringLiteral("unchanged"));
}

void ObjectFileTest::everyTruncationIsRefused()
{
    const QByteArray file = validSmallFile();
    for (qsizetype length = 1; length < file.size(); ++length) {
        ObjectFileValues read = sentinel();
        QVERIFY2(readObjectFile(file.left(length), read) == ReadResult::Malformed, qPrintable(QString::number(length)));
        QVERIFY(sameValues(read, sentinel()));
    }
}

void ObjectFileTest::everyFlippedByteIsRefused()
{
    const QByteArray file = validSmallFile();
    for (qsizetype at = 0; at < file.size(); ++at) {
        for (const char mask : {char(0x01), char(0x80), char(0xFF)}) {
            QByteArray damaged = file;
            damaged[at] = char(damaged[at] ^ mask);
            ObjectFileValues read = sentinel();
            QVERIFY2(readObjectFile(damaged, read) == ReadResult::Malformed,
                     qPrintable(QStringLiteral("byte %1 ^ %2").arg(at).arg(int(quint8(mask)))));
            QVERIFY(sameValues(read, sentinel()));
        }
    }
}

void ObjectFileTest::staleTailIsIgnored()
{
    const QByteArray longer = writeObjectFile(stateWith(std::vector<PointRecord>(40, PointRecord{9, 9}), {}, 2, 1));
    const QByteArray shorter = writeObjectFile(stateWith(kTriangle, {}, 2, 1));
    QByteArray overwritten = longer;
    overwritten.replace(0, shorter.size(), shorter);
    ObjectFileValues read;
    QCOMPARE(readObjectFile(overwritten, read), ReadResult::Loaded);
    QVERIFY(read.points == kTriangle);
}

void ObjectFileTest::hugeCountInATinyFileIsRefusedCheaply()
{
    ObjectFileValues read = sentinel();
    QString why;
    QCOMPARE(readObjectFile(fileOf({{QStringLiteral("Points"), std::int16_t(32767)}}), read, &why), ReadResult::Malformed);
    QVERIFY2(why.contains(QStringLiteral("\"Point0\"")), qPrintable(why));
    QVERIFY(sameValues(read, sentinel()));
}

QTEST_MAIN(ObjectFileTest)
#include "tst_objectfile.moc"
