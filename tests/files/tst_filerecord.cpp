// Tests of the file record: the exact header bytes, round trips, a stale tail being ignored,
// and how empty, zero-tagged and malformed files are told apart.
#include "files/FileRecord.h"
#include "platform/PropertyBag.h"

#include <QTest>
#include <QtEndian>

namespace {

QString statusName(filerecord::Decoded::Status status)
{
    switch (status) {
    case filerecord::Decoded::Status::Data:
        return QStringLiteral("Data");
    case filerecord::Decoded::Status::NothingRead:
        return QStringLiteral("NothingRead");
    case filerecord::Decoded::Status::Malformed:
        return QStringLiteral("Malformed");
    }
    return QStringLiteral("?");
}

QByteArray u16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray u32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

// A header with each field given, little-endian.
QByteArray header(quint16 tag, quint16 dimensions, quint32 count, qint32 lowerBound)
{
    return u16(tag) + u16(dimensions) + u32(count) + u32(quint32(lowerBound));
}

QByteArray patterned(qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char((i * 7 + 3) & 0xFF);
    return out;
}

} // namespace

class FileRecordTest : public QObject {
    Q_OBJECT

private slots:
    void encodeWritesTheHeaderExactly_data();
    void encodeWritesTheHeaderExactly();
    void roundTrip_data();
    void roundTrip();
    void staleTailIsIgnored();
    void carriesAPropertyBag();
    void decode_data();
    void decode();
};

void FileRecordTest::encodeWritesTheHeaderExactly_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("expectedHeader");
    QTest::newRow("no data") << QByteArray() << QByteArray("\x11\x20\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00", 12);
    QTest::newRow("one byte") << QByteArray("\0", 1) << QByteArray("\x11\x20\x01\x00\x01\x00\x00\x00\x00\x00\x00\x00", 12);
    QTest::newRow("hello") << QByteArray("hello") << QByteArray("\x11\x20\x01\x00\x05\x00\x00\x00\x00\x00\x00\x00", 12);
    QTest::newRow("300 bytes") << patterned(300) << QByteArray("\x11\x20\x01\x00\x2c\x01\x00\x00\x00\x00\x00\x00", 12);
    QTest::newRow("70000 bytes") << patterned(70000) << QByteArray("\x11\x20\x01\x00\x70\x11\x01\x00\x00\x00\x00\x00", 12);
}

void FileRecordTest::encodeWritesTheHeaderExactly()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, expectedHeader);
    const QByteArray record = filerecord::encode(data);
    QCOMPARE(record.size(), 12 + data.size());
    QCOMPARE(record.left(12).toHex(' '), expectedHeader.toHex(' '));
    QCOMPARE(record.mid(12), data);
}

void FileRecordTest::roundTrip_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("no data") << QByteArray();
    QTest::newRow("one zero byte") << QByteArray(1, '\0');
    QTest::newRow("looks like a header") << filerecord::encode(QByteArray("inner"));
    QTest::newRow("all byte values") << patterned(256 * 3);
    QTest::newRow("a megabyte") << patterned(1 << 20);
}

void FileRecordTest::roundTrip()
{
    QFETCH(QByteArray, data);
    const filerecord::Decoded decoded = filerecord::decode(filerecord::encode(data));
    QCOMPARE(statusName(decoded.status), QStringLiteral("Data"));
    QCOMPARE(decoded.data, data);
    QCOMPARE(decoded.error, QString());
}

void FileRecordTest::staleTailIsIgnored()
{
    const QByteArray data("current");
    const QByteArray file = filerecord::encode(data) + QByteArray("an older, longer record's leftover bytes");
    const filerecord::Decoded decoded = filerecord::decode(file);
    QCOMPARE(statusName(decoded.status), QStringLiteral("Data"));
    QCOMPARE(decoded.data, data);

    const filerecord::Decoded empty = filerecord::decode(filerecord::encode(QByteArray()) + QByteArray(100, '\xff'));
    QCOMPARE(statusName(empty.status), QStringLiteral("Data"));
    QCOMPARE(empty.data, QByteArray());
}

void FileRecordTest::carriesAPropertyBag()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Name"), TaggedValue(QStringLiteral("Zylinder")));
    bag.WriteProperty(QStringLiteral("Height"), TaggedValue(std::int16_t(120)));
    const filerecord::Decoded decoded = filerecord::decode(filerecord::encode(bag.Contents()) + QByteArray(7, 'x'));
    QCOMPARE(statusName(decoded.status), QStringLiteral("Data"));
    PropertyBag loaded;
    QString error;
    QVERIFY2(loaded.setContents(decoded.data, &error), qPrintable(error));
    QCOMPARE(loaded.ReadProperty(QStringLiteral("Height"), TaggedValue()).toText(), QStringLiteral("120"));
}

void FileRecordTest::decode_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QByteArray>("data");

    const QByteArray five("abcde");
    const QByteArray good = header(0x2011, 1, 5, 0) + five;

    QTest::newRow("no bytes") << QByteArray() << "NothingRead" << QByteArray();
    QTest::newRow("one byte 0x11") << QByteArray("\x11", 1) << "Malformed" << QByteArray();
    QTest::newRow("one byte 0x00") << QByteArray(1, '\0') << "Malformed" << QByteArray();
    QTest::newRow("type tag 0 alone") << QByteArray(2, '\0') << "NothingRead" << QByteArray();
    QTest::newRow("type tag 0 then garbage") << (u16(0) + QByteArray("\xff\xff\x7f")) << "NothingRead" << QByteArray();
    QTest::newRow("type tag 0 with a full record") << (header(0, 1, 5, 0) + five) << "NothingRead" << QByteArray();
    QTest::newRow("type tag 0 with a huge count") << header(0, 1, 0xFFFFFFFFu, 0) << "NothingRead" << QByteArray();
    QTest::newRow("type tag byte-swapped") << (header(0x1120, 1, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("type tag 0x2010") << (header(0x2010, 1, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("type tag 0x0011") << (header(0x0011, 1, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("type tag 0xffff") << (header(0xFFFF, 1, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("other tag, too short for a header") << QByteArray("PK") << "Malformed" << QByteArray();
    for (int length = 2; length < 12; ++length)
        QTest::addRow("header cut to %d bytes", length) << good.left(length) << "Malformed" << QByteArray();
    QTest::newRow("dimensions 0") << (header(0x2011, 0, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("dimensions 2") << (header(0x2011, 2, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("dimensions 0x0101") << (header(0x2011, 0x0101, 5, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("lower bound 1") << (header(0x2011, 1, 5, 1) + five) << "Malformed" << QByteArray();
    QTest::newRow("lower bound -1") << (header(0x2011, 1, 5, -1) + five) << "Malformed" << QByteArray();
    QTest::newRow("lower bound in the top byte") << (header(0x2011, 1, 5, 0x01000000) + five) << "Malformed" << QByteArray();
    QTest::newRow("count one more than present") << (header(0x2011, 1, 6, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("count 1 with no data") << header(0x2011, 1, 1, 0) << "Malformed" << QByteArray();
    QTest::newRow("count 0x7fffffff") << (header(0x2011, 1, 0x7FFFFFFFu, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("count 0x80000000") << (header(0x2011, 1, 0x80000000u, 0) + five) << "Malformed" << QByteArray();
    QTest::newRow("count 0xffffffff") << header(0x2011, 1, 0xFFFFFFFFu, 0) << "Malformed" << QByteArray();
    QTest::newRow("count 0, header only") << header(0x2011, 1, 0, 0) << "Data" << QByteArray();
    QTest::newRow("count exactly present") << good << "Data" << five;
    QTest::newRow("count shorter than present") << (header(0x2011, 1, 3, 0) + five) << "Data" << QByteArray("abc");
}

void FileRecordTest::decode()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, status);
    QFETCH(QByteArray, data);
    const filerecord::Decoded decoded = filerecord::decode(file);
    QCOMPARE(statusName(decoded.status), status);
    QCOMPARE(decoded.data, data);
    QCOMPARE(decoded.error.isEmpty(), status != QStringLiteral("Malformed"));
}

QTEST_GUILESS_MAIN(FileRecordTest)
#include "tst_filerecord.moc"
