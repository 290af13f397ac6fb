// The file record and the object and workspace files without the window: the bytes written,
// the values read back with their defaults and accepted forms, and every bad file refused whole.
#include "fakes/TestCore.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"
#include "platform/Crc32.h"

#include <QtEndian>

#include <QTest>

namespace {

QByteArray dataFile(const char* name)
{
    return fileBytes(QStringLiteral(BRONDELWICK_TEST_DATA "/") + QLatin1String(name));
}

// What reading bytes as an object or a workspace gives: its values as
// one line, or "refused" (the reason in *why, when given) or "nothing read" when the reader
// also left what it was handed untouched ("changed" if not).
QString readAs(bool workspace, const QByteArray& bytes, QString* why = nullptr)
{
    const WorkspaceFileValues before{1, 2, 3, 4, 5, 6};
    WorkspaceFileValues w = before;
    ObjectFileValues o;
    o.Depth = QStringLiteral("untouched");
    const ReadResult r = workspace ? readWorkspaceFile(bytes, w, why) : readObjectFile(filerecord::decode(bytes), o, why);
    if (r == ReadResult::Loaded && workspace)
        return QString::asprintf("colours %06x %06x %06x %06x radius %d grid %d", w.LinesC, w.GridLinesC, w.GridBGC, w.ObjColor,
                                 w.Radius, w.GridState);
    QStringList points;
    for (const PointRecord& p : o.points)
        points << QStringLiteral("%1,%2").arg(p.X).arg(p.Y);
    const char* kinds[] = {"empty", "u8", "i16", "i32", "f32", "f64", "text"};
    if (r == ReadResult::Loaded)
        return QStringLiteral("%1 points %2 dimension %3 grid %4 depth %5 %6").arg(o.PointCount).arg(points.join(' '))
            .arg(o.Dimension).arg(o.GridState).arg(QLatin1String(kinds[int(o.Depth.kind())]), o.Depth.toText());
    if (!(w == before) || points != QStringList{"0,0"} || o.PointCount != 0 || !(o.Depth == TaggedValue(QStringLiteral("untouched"))))
        return QStringLiteral("changed");
    return r == ReadResult::NothingRead ? QStringLiteral("nothing read") : QStringLiteral("refused");
}

// The file with its bag's checksum made right again after its bytes were changed in place.
QByteArray withChecksum(QByteArray file)
{
    const qsizetype end = file.size() - 4;
    qToLittleEndian<quint32>(crc32(file.constData() + filerecord::HeaderSize, end - filerecord::HeaderSize), file.data() + end);
    return file;
}

} // namespace

class FileFormatsTest : public QObject {
    Q_OBJECT
private slots:
    // Every value in its place with its type, and coordinates over the whole 32-bit range.
    void objectBytesWritten()
    {
        WorkspaceState s;
        s.pPoints = {{-2147483647 - 1, 2147483647}, {0, -1}};
        std::tie(s.PointCount, s.Dimension, s.Depth, s.GridState) = std::tuple(2, 3, QStringLiteral("1000"), 255);
        QCOMPARE(writeObjectFile(s).toHex(' '), fileOf({{"Points", std::int16_t(2)}, {"Dimension", std::int16_t(3)}, {"Grid", std::uint8_t(255)},
                                                        {"Depth", QStringLiteral("1000")}, {"Point0", QStringLiteral("-2147483648,2147483647")},
                                                        {"Point1", QStringLiteral("0,-1")}}).toHex(' '));
    }

    void valuesRead_data()
    {
        QTest::addColumn<bool>("workspace");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const std::pair<QString, TaggedValue> one{"Points", std::int16_t(1)}, p0{"Point0", QStringLiteral("1,2")};
        const QString house = "5 points 1000,3000 3000,3000 3000,1500 2000,700 1000,1500 dimension 3 grid 1 depth i16 600";
        QTest::newRow("house") << false << dataFile("house.obj") << house;
        QTest::newRow("stale tail ignored") << false << dataFile("house.obj") + QByteArray(40, '\x7f') << house;
        QTest::newRow("missing values take defaults") << false << fileOf({one, p0}) << "1 points 1,2 dimension 2 grid 0 depth i16 0";
        QTest::newRow("Points 0 reads no point") << false << fileOf({{"Points", std::int16_t(0)}, {"Point0", QStringLiteral("x")}})
                                                 << "0 points 0,0 dimension 2 grid 0 depth i16 0";
        QTest::newRow("numbers in every accepted form")
            << false << fileOf({{"Points", QStringLiteral("1")}, {"Dimension", 3.5}, {"Grid", std::int16_t(255)}, {"Depth", 2.5f},
                                {"Point0", QStringLiteral(" 2.5 , 3.5e0 ,x")}})
            << "1 points 2,4 dimension 4 grid 255 depth f32 2.5";
        const auto withNotes = [&](int notes) { // an object of one point and that many empty values
            QList<std::pair<QString, TaggedValue>> values{one, {"Point0", QStringLiteral("1,1")}};
            for (int i = 0; i < notes; ++i)
                values.append({QStringLiteral("Note%1").arg(i), TaggedValue()});
            return fileOf(values);
        };
        QTest::newRow("32771 values") << false << withNotes(32769) << "1 points 1,1 dimension 2 grid 0 depth i16 0";
        QTest::newRow("32772 values") << false << withNotes(32770) << "refused";
        QTest::newRow("Points negative") << false << fileOf({{"Points", std::int16_t(-1)}, p0}) << "refused";
        QTest::newRow("Points not a number") << false << fileOf({{"Points", QStringLiteral("one")}, p0}) << "refused";
        QTest::newRow("Dimension beyond 16 bits") << false << fileOf({one, p0, {"Dimension", std::int32_t(32768)}}) << "refused";
        QTest::newRow("Grid 256") << false << fileOf({one, p0, {"Grid", std::int16_t(256)}}) << "refused";
        QTest::newRow("point missing") << false << fileOf({{"Points", std::int16_t(2)}, p0}) << "refused";
        QTest::newRow("point without comma") << false << fileOf({one, {"Point0", QStringLiteral("57")}}) << "refused";
        QTest::newRow("point a number") << false << fileOf({one, {"Point0", std::int32_t(57)}}) << "refused";
        QTest::newRow("X not a number") << false << fileOf({one, {"Point0", QStringLiteral("x,1")}}) << "refused";
        QTest::newRow("second point bad after a good first")
            << false << fileOf({{"Points", std::int16_t(2)}, {"Dimension", std::int16_t(3)}, p0, {"Point1", QStringLiteral("9")}}) << "refused";
        QTest::newRow("a workspace as object") << false << dataFile("colours.wks") << "refused";
        QTest::newRow("zero bytes") << false << QByteArray() << "nothing read";

        QTest::newRow("colours") << true << dataFile("colours.wks") << "colours 0000ff 00ff00 ff0000 123456 radius 35 grid 0";
        QTest::newRow("no values: defaults") << true << fileOf({}) << "colours 000000 000000 000000 000000 radius 20 grid 1";
        QTest::newRow("bounds and accepted forms")
            << true << fileOf({{"LinesC", QStringLiteral("16777215")}, {"GridBGC", 0.5}, {"Radius", std::uint8_t(0)}, {"GridState", {}}})
            << "colours ffffff 000000 000000 000000 radius 0 grid 0";
        QTest::newRow("colour above 0xFFFFFF") << true << fileOf({{"ObjColor", std::int32_t(0x1000000)}}) << "refused";
        QTest::newRow("colour negative") << true << fileOf({{"GridLinesC", std::int32_t(-1)}}) << "refused";
        QTest::newRow("colour not a number") << true << fileOf({{"GridBGC", QStringLiteral("red")}}) << "refused";
        QTest::newRow("radius negative") << true << fileOf({{"Radius", std::int16_t(-1)}}) << "refused";
        QTest::newRow("radius beyond 16 bits") << true << fileOf({{"Radius", std::int32_t(32768)}}) << "refused";
        QTest::newRow("grid state 256") << true << fileOf({{"GridState", std::int16_t(256)}}) << "refused";
        QTest::newRow("an object as workspace") << true << fileOf({{"Points", QStringLiteral("x")}}) << "refused";
        QTest::newRow("seven values") << true << fileOf({{"LinesC", {}}, {"GridLinesC", {}}, {"GridBGC", {}}, {"ObjColor", {}},
                                                         {"Radius", {}}, {"GridState", {}}, {"Extra", {}}}) << "refused";
        QTest::newRow("record of type 0, anything after it") << true << QByteArray::fromHex("0000ffff") << "nothing read";
    }

    void valuesRead()
    {
        QFETCH(bool, workspace);
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QCOMPARE(readAs(workspace, file), expected);
    }

    // The reader takes the values in any order and of any kind a reading accepts, the points
    // as written straight from their bytes and any other form of them read as numbers; a
    // damaged bag is refused in the bag's own words.
    void everyLayoutRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const auto object = [](const QString& point1, const TaggedValue& depth, std::int16_t points = 2) {
            return fileOf({{"Points", points}, {"Dimension", std::int16_t(3)}, {"Grid", std::uint8_t(1)}, {"Depth", depth},
                           {"Point0", QStringLiteral("-5,0")}, {"Point1", point1}});
        };
        const TaggedValue depth(std::int16_t(600));
        const QString notPoint = QStringLiteral("refused: \"%1\" holds \"%2\", not a text X,Y of two whole numbers in 32 bits");
        QTest::newRow("as written, extreme coordinates") << object("2147483647,-2147483648", depth)
            << "2 points -5,0 2147483647,-2147483648 dimension 3 grid 1 depth i16 600";
        QTest::newRow("as written, depth a double") << object("1,2", 0.25) << "2 points -5,0 1,2 dimension 3 grid 1 depth f64 0.25";
        QTest::newRow("depth a text") << object("1,2", QStringLiteral("600")) << "2 points -5,0 1,2 dimension 3 grid 1 depth text 600";
        QTest::newRow("leading zero") << object("07,1", depth) << "2 points -5,0 7,1 dimension 3 grid 1 depth i16 600";
        QTest::newRow("minus zero") << object("-0,1", depth) << "2 points -5,0 0,1 dimension 3 grid 1 depth i16 600";
        QTest::newRow("beyond 32 bits") << object("2147483648,0", depth) << notPoint.arg("Point1", "2147483648,0");
        QTest::newRow("a third field ignored") << object("1,2,3", depth) << "2 points -5,0 1,2 dimension 3 grid 1 depth i16 600";
        QTest::newRow("a space") << object("1, 2", depth) << "2 points -5,0 1,2 dimension 3 grid 1 depth i16 600";
        QTest::newRow("a point missing") << object("1,2", depth, 3) << notPoint.arg("Point2", "");
        QTest::newRow("a value more, ignored") << object("1,2", depth, 1) << "1 points -5,0 dimension 3 grid 1 depth i16 600";
        QTest::newRow("values in another order")
            << fileOf({{"Point1", QStringLiteral("3,4")}, {"Dimension", std::int16_t(3)}, {"Points", std::int16_t(2)},
                       {"Grid", std::uint8_t(1)}, {"Depth", depth}, {"Point0", QStringLiteral("1,2")}})
            << "2 points 1,2 3,4 dimension 3 grid 1 depth i16 600";
        QTest::newRow("count of another kind")
            << fileOf({{"Points", std::int32_t(1)}, {"Dimension", std::int16_t(3)}, {"Grid", std::uint8_t(1)}, {"Depth", depth},
                       {"Point0", QStringLiteral("1,2")}}) << "1 points 1,2 dimension 3 grid 1 depth i16 600";
        QTest::newRow("a point beyond the values, ignored")
            << fileOf({{"Points", std::int16_t(1)}, {"Point30000", QStringLiteral("9,9")}, {"Point0", QStringLiteral("1,2")}})
            << "1 points 1,2 dimension 2 grid 0 depth i16 0";
        QTest::newRow("a point not read as one")
            << fileOf({{"Points", std::int16_t(1)}, {"Point0", std::int32_t(12)}}) << notPoint.arg("Point0", "12");
        QTest::newRow("names like a point's") << fileOf({{"Points", std::int16_t(1)}, {"Point00", QStringLiteral("x")},
                                                         {"Point-0", QStringLiteral("x")}, {"Point0", QStringLiteral("1,2")}})
            << "1 points 1,2 dimension 2 grid 0 depth i16 0";
        QByteArray damaged = object("1,2", depth);
        damaged[damaged.size() - 1] = char(damaged[damaged.size() - 1] ^ 1);
        QTest::newRow("checksum damaged") << damaged << "refused: property bag checksum mismatch";
        QByteArray twice = object("1,2", depth);
        twice.replace("Point1", "Point0");
        QTest::newRow("a point named twice") << withChecksum(twice) << "refused: value 6 of 6: duplicate name \"Point0\"";
        QByteArray badText = object("1,2", depth);
        badText.replace("1,2", "1\xff" "2");
        QTest::newRow("a point's text not UTF-8") << withChecksum(badText) << "refused: value 6 of 6: text is not valid UTF-8";
        QByteArray badName = object("1,2", depth);
        badName.replace("Grid", "Gr\xff" "d");
        QTest::newRow("a name not UTF-8") << withChecksum(badName) << "refused: value 3 of 6: name is not valid UTF-8";
    }

    void everyLayoutRead()
    {
        QFETCH(QByteArray, file);
        QString why;
        const QString read = readAs(false, file, &why);
        QTEST(read == QLatin1String("refused") ? read + QStringLiteral(": ") + why : read, "expected");
        // The bag alone, read whole, finds the same damage.
        PropertyBag bag;
        QString bagWhy;
        if (!bag.setContents(filerecord::decode(file).data, &bagWhy, MostObjectValues))
            QCOMPARE(bagWhy, why);
    }

    void everyTruncationAndFlippedByteRefused_data()
    {
        QTest::addColumn<bool>("workspace");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("object") << false << dataFile("house.obj");
        QTest::newRow("workspace") << true << dataFile("colours.wks");
    }

    void everyTruncationAndFlippedByteRefused()
    {
        QFETCH(bool, workspace);
        QFETCH(QByteArray, file);
        for (qsizetype at = 0; at < file.size(); ++at) {
            QByteArray flipped = file;
            flipped[at] = char(flipped[at] ^ 0x5A);
            QVERIFY2(readAs(workspace, flipped) == "refused", qPrintable(QStringLiteral("byte %1 flipped").arg(at)));
            if (at > 0)
                QVERIFY2(readAs(workspace, file.left(at)) == "refused", qPrintable(QStringLiteral("cut to %1 bytes").arg(at)));
        }
    }
};

QTEST_GUILESS_MAIN(FileFormatsTest)
#include "tst_fileformats.moc"
