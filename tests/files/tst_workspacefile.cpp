// The workspace file's values without the window: names, types and order written, defaults
// and conversions read, and damaged or foreign bytes refused without touching what the
// caller holds.
#include "files/FileRecord.h"
#include "files/FileTestSupport.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(TaggedValue)

namespace {


const WorkspaceFileValues kSample{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 35, 0};

WorkspaceFileValues sentinel()
{
    return WorkspaceFileValues{1, 2, 3, 4, 5, 6};
}

} // namespace

class WorkspaceFileTest : public QObject {
    Q_OBJECT

private slots:
    void valuesAreWrittenInOrderWithTheirTypes();
    void roundTrip_data();
    void roundTrip();
    void missingValuesTakeTheirDefaults();
    void acceptedForms_data();
    void acceptedForms();
    void refusedValues_data();
    void refusedValues();
    void nothingRead();
    void everyTruncationIsRefused();
    void everyFlippedByteIsRefused();
};

void WorkspaceFileTest::valuesAreWrittenInOrderWithTheirTypes()
{
    const QByteArray expected = fileOf({{QStringLiteral("LinesC"), std::int32_t(0x0000FF)},
                                        {QStringLiteral("GridLinesC"), std::int32_t(0x00FF00)},
                                        {QStringLiteral("GridBGC"), std::int32_t(0xFF0000)},
                                        {QStringLiteral("ObjColor"), std::int32_t(0x123456)},
                                        {QStringLiteral("Radius"), std::int16_t(35)},
                                        {QStringLiteral("GridState"), std::uint8_t(0)}});
    const QByteArray written = writeWorkspaceFile(kSample);
    QCOMPARE(written.toHex(), expected.toHex());
    QCOMPARE(written.left(4).toHex(), QByteArray("11200100"));
    QCOMPARE(written.mid(8, 4).toHex(), QByteArray("00000000"));
}

void WorkspaceFileTest::roundTrip_data()
{
    QTest::addColumn<WorkspaceFileValues>("values");
    QTest::newRow("sample") << kSample;
    QTest::newRow("start-up colours") << WorkspaceFileValues{0xFFFFFF, 0x404040, 0xC0C0FF, 0x00FFFF, 20, 1};
    QTest::newRow("extremes") << WorkspaceFileValues{0, 0xFFFFFF, 0, 0xFFFFFF, 32767, 255};
    QTest::newRow("radius 0") << WorkspaceFileValues{1, 2, 3, 4, 0, 2};
}

void WorkspaceFileTest::roundTrip()
{
    QFETCH(WorkspaceFileValues, values);
    WorkspaceFileValues read = sentinel();
    QCOMPARE(readWorkspaceFile(writeWorkspaceFile(values), read), ReadResult::Loaded);
    QVERIFY(read == values);
}

void WorkspaceFileTest::missingValuesTakeTheirDefaults()
{
    WorkspaceFileValues read = sentinel();
    QCOMPARE(readWorkspaceFile(fileOf({}), read), ReadResult::Loaded);
    QVERIFY(read == (WorkspaceFileValues{0, 0, 0, 0, 20, 1}));
    QCOMPARE(readWorkspaceFile(fileOf({{QStringLiteral("GridBGC"), std::int32_t(0xC0C0FF)}}), read), ReadResult::Loaded);
    QVERIFY(read == (WorkspaceFileValues{0, 0, 0xC0C0FF, 0, 20, 1}));
}

void WorkspaceFileTest::acceptedForms_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TaggedValue>("value");
    QTest::addColumn<WorkspaceFileValues>("expected");
    QTest::newRow("colour as text") << "LinesC" << TaggedValue(QStringLiteral("255")) << WorkspaceFileValues{255, 0, 0, 0, 20, 1};
    QTest::newRow("radius as u8") << "Radius" << TaggedValue(std::uint8_t(7)) << WorkspaceFileValues{0, 0, 0, 0, 7, 1};
    QTest::newRow("radius 7.5 rounds to 8") << "Radius" << TaggedValue(7.5) << WorkspaceFileValues{0, 0, 0, 0, 8, 1};
    QTest::newRow("radius 6.5 rounds to 6") << "Radius" << TaggedValue(6.5f) << WorkspaceFileValues{0, 0, 0, 0, 6, 1};
    QTest::newRow("grid state as i16") << "GridState" << TaggedValue(std::int16_t(0)) << WorkspaceFileValues{0, 0, 0, 0, 20, 0};
    QTest::newRow("empty grid state reads 0") << "GridState" << TaggedValue() << WorkspaceFileValues{0, 0, 0, 0, 20, 0};
}

void WorkspaceFileTest::acceptedForms()
{
    QFETCH(QString, name);
    QFETCH(TaggedValue, value);
    QFETCH(WorkspaceFileValues, expected);
    WorkspaceFileValues read = sentinel();
    QCOMPARE(readWorkspaceFile(fileOf({{name, value}}), read), ReadResult::Loaded);
    QVERIFY(read == expected);
}

void WorkspaceFileTest::refusedValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("colour above 0xFFFFFF") << fileOf({{QStringLiteral("ObjColor"), std::int32_t(0x1000000)}}) << "\"ObjColor\"";
    QTest::newRow("negative colour") << fileOf({{QStringLiteral("LinesC"), std::int32_t(-1)}}) << "\"LinesC\"";
    QTest::newRow("colour not a number") << fileOf({{QStringLiteral("GridBGC"), TaggedValue(QStringLiteral("red"))}}) << "\"GridBGC\"";
    QTest::newRow("radius negative") << fileOf({{QStringLiteral("Radius"), std::int16_t(-5)}}) << "\"Radius\"";
    QTest::newRow("radius beyond 16 bits") << fileOf({{QStringLiteral("Radius"), std::int32_t(40000)}}) << "\"Radius\"";
    QTest::newRow("grid state 256") << fileOf({{QStringLiteral("GridState"), std::int16_t(256)}}) << "\"GridState\"";
    QTest::newRow("an object file") << writeObjectFile(WorkspaceState{}) << "an object file";
    QTest::newRow("a point count that is not a number") << fileOf({{QStringLiteral("Points"), TaggedValue(std::nan(""))}}) << "an object file";
    QTest::newRow("a text file") << QByteArray("LinesC=255\n") << "unknown file record type";
    QTest::newRow("foreign bytes in a valid record") << filerecord::encode(QByteArray(40, '\x7f')) << "wrong signature";
}

void WorkspaceFileTest::refusedValues()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    WorkspaceFileValues read = sentinel();
    QString why;
    QCOMPARE(readWorkspaceFile(file, read, &why), ReadResult::Malformed);
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(read == sentinel());
}

void WorkspaceFileTest::nothingRead()
{
    WorkspaceFileValues read = sentinel();
    QCOMPARE(readWorkspaceFile(QByteArray(), read), ReadResult::NothingRead);
    QCOMPARE(readWorkspaceFile(QByteArray::fromHex("0000ffff"), read), ReadResult::NothingRead);
    QVERIFY(read == sentinel());
}

void WorkspaceFileTest::everyTruncationIsRefused()
{
    const QByteArray file = writeWorkspaceFile(kSample);
    for (qsizetype length = 1; length < file.size(); ++length) {
        WorkspaceFileValues read = sentinel();
        QVERIFY2(readWorkspaceFile(file.left(length), read) == ReadResult::Malformed, qPrintable(QString::number(length)));
        QVERIFY(read == sentinel());
    }
}

void WorkspaceFileTest::everyFlippedByteIsRefused()
{
    const QByteArray file = writeWorkspaceFile(kSample);
    for (qsizetype at = 0; at < file.size(); ++at) {
        for (const char mask : {char(0x01), char(0x80), char(0xFF)}) {
            QByteArray damaged = file;
            damaged[at] = char(damaged[at] ^ mask);
            WorkspaceFileValues read = sentinel();
            QVERIFY2(readWorkspaceFile(damaged, read) == ReadResult::Malformed,
                     qPrintable(QStringLiteral("byte %1 ^ %2").arg(at).arg(int(quint8(mask)))));
            QVERIFY(read == sentinel());
        }
    }
}

QTEST_MAIN(WorkspaceFileTest)
#include "tst_workspacefile.moc"
