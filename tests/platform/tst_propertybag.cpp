// Tests of PropertyBag and crc32: values of every kind survive a save and load bit for bit,
// lookups by name, the exact byte layout, and refusal of every damaged or hostile form.
#include "platform/Crc32.h"
#include "platform/PropertyBag.h"

#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include <bit>
#include <limits>

namespace {

// A description that tells apart kinds and, for floating values, every bit pattern (so NaN
// payloads and -0 compare exactly).
QString describe(const TaggedValue& v)
{
    switch (v.kind()) {
    case ValueKind::Empty:
        return QStringLiteral("empty");
    case ValueKind::UInt8:
        return QStringLiteral("u8 %1").arg(*v.get<std::uint8_t>());
    case ValueKind::Int16:
        return QStringLiteral("i16 %1").arg(*v.get<std::int16_t>());
    case ValueKind::Int32:
        return QStringLiteral("i32 %1").arg(*v.get<std::int32_t>());
    case ValueKind::Single:
        return QStringLiteral("f32 bits %1").arg(std::bit_cast<quint32>(*v.get<float>()), 8, 16, QLatin1Char('0'));
    case ValueKind::Double:
        return QStringLiteral("f64 bits %1").arg(std::bit_cast<quint64>(*v.get<double>()), 16, 16, QLatin1Char('0'));
    case ValueKind::Text:
        return QStringLiteral("text \"%1\"").arg(*v.get<QString>());
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

// Signature, version and value count, as a bag's first 10 bytes.
QByteArray header(quint32 count, quint16 version = 1)
{
    return QByteArrayLiteral("BWPB") + u16(version) + u32(count);
}

// A name field: u16 length then the bytes.
QByteArray nameField(const QByteArray& utf8)
{
    return u16(quint16(utf8.size())) + utf8;
}

// A text value entry under a one-letter name.
QByteArray textEntry(const QByteArray& utf8)
{
    return nameField("t") + '\x06' + u32(quint32(utf8.size())) + utf8;
}

// body followed by its correct checksum, so the reader's later checks are reached.
QByteArray sealed(const QByteArray& body)
{
    return body + u32(crc32(body.constData(), body.size()));
}

float floatFromBits(quint32 bits) { return std::bit_cast<float>(bits); }
double doubleFromBits(quint64 bits) { return std::bit_cast<double>(bits); }

// A small bag with several kinds and a non-ASCII text, for damage tests.
QByteArray smallValidBag()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Width"), TaggedValue(std::int16_t(-40)));
    bag.WriteProperty(QStringLiteral("Größe"), TaggedValue(2.5));
    bag.WriteProperty(QStringLiteral("Label"), TaggedValue(QStringLiteral("Würfel")));
    bag.WriteProperty(QStringLiteral("Hidden"), TaggedValue(std::uint8_t(1)));
    return bag.Contents();
}

QByteArray bytesOf(std::initializer_list<unsigned char> list)
{
    QByteArray out;
    for (unsigned char c : list)
        out.append(char(c));
    return out;
}

} // namespace

class PropertyBagTest : public QObject {
    Q_OBJECT

private slots:
    void crc32KnownValues_data();
    void crc32KnownValues();
    void roundTripOfEveryKind_data();
    void roundTripOfEveryKind();
    void exactLayout();
    void emptyBagLayout();
    void manyValuesKeepOrderAndReloadIdentically();
    void rewritingKeepsFirstPosition();
    void missingNameGivesTheDefault();
    void readingDoesNotDependOnWriteOrder();
    void refusesBadNames();
    void longestNameIsAccepted();
    void unpairedSurrogateInTextBecomesReplacementCharacter();
    void acceptsEveryWellFormedUtf8Boundary_data();
    void acceptsEveryWellFormedUtf8Boundary();
    void handBuiltBagLoads();
    void loadReplacesPreviousValues();
    void rejectsMalformedBytes_data();
    void rejectsMalformedBytes();
};

void PropertyBagTest::crc32KnownValues_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<quint32>("expected");
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QTest::newRow("nothing") << QByteArray() << 0u;
    QTest::newRow("a") << QByteArray("a") << 0xE8B7BE43u;
    QTest::newRow("check string") << QByteArray("123456789") << 0xCBF43926u;
    QTest::newRow("quick brown fox") << QByteArray("The quick brown fox jumps over the lazy dog") << 0x414FA339u;
    QTest::newRow("bytes 0 to 255") << all << 0x29058C73u;
    QTest::newRow("four 0xff") << QByteArray(4, '\xff') << 0xFFFFFFFFu;
    QTest::newRow("32 zeros") << QByteArray(32, '\0') << 0x190A55ADu;
}

void PropertyBagTest::crc32KnownValues()
{
    QFETCH(QByteArray, input);
    QFETCH(quint32, expected);
    QCOMPARE(crc32(input.constData(), input.size()), expected);
}

void PropertyBagTest::roundTripOfEveryKind_data()
{
    QTest::addColumn<TaggedValue>("value");
    QString longText;
    for (int i = 0; i < 70000; ++i)
        longText.append(QChar(u"aé€\u4e2d"[i % 4]));
    longText.append(QStringLiteral("\U0001F3B2"));

    QTest::newRow("empty") << TaggedValue();
    QTest::newRow("u8 0") << TaggedValue(std::uint8_t(0));
    QTest::newRow("u8 255") << TaggedValue(std::uint8_t(255));
    QTest::newRow("i16 -1") << TaggedValue(std::int16_t(-1));
    QTest::newRow("i16 min") << TaggedValue(std::numeric_limits<std::int16_t>::min());
    QTest::newRow("i16 max") << TaggedValue(std::numeric_limits<std::int16_t>::max());
    QTest::newRow("i32 -123456") << TaggedValue(std::int32_t(-123456));
    QTest::newRow("i32 min") << TaggedValue(std::numeric_limits<std::int32_t>::min());
    QTest::newRow("i32 max") << TaggedValue(std::numeric_limits<std::int32_t>::max());
    QTest::newRow("float 1.5") << TaggedValue(1.5f);
    QTest::newRow("float -1245.25") << TaggedValue(-1245.25f);
    QTest::newRow("float -0") << TaggedValue(-0.0f);
    QTest::newRow("float infinity") << TaggedValue(std::numeric_limits<float>::infinity());
    QTest::newRow("float smallest subnormal") << TaggedValue(std::numeric_limits<float>::denorm_min());
    QTest::newRow("float quiet NaN") << TaggedValue(std::numeric_limits<float>::quiet_NaN());
    QTest::newRow("float negative NaN with payload") << TaggedValue(floatFromBits(0xFFC01234u));
    QTest::newRow("float signalling NaN") << TaggedValue(floatFromBits(0x7F800001u));
    QTest::newRow("double pi") << TaggedValue(3.141592653589793);
    QTest::newRow("double -1e300") << TaggedValue(-1e300);
    QTest::newRow("double -0") << TaggedValue(-0.0);
    QTest::newRow("double -infinity") << TaggedValue(-std::numeric_limits<double>::infinity());
    QTest::newRow("double smallest subnormal") << TaggedValue(std::numeric_limits<double>::denorm_min());
    QTest::newRow("double quiet NaN") << TaggedValue(std::numeric_limits<double>::quiet_NaN());
    QTest::newRow("double NaN with payload") << TaggedValue(doubleFromBits(0x7FF8000000ABCDEFull));
    QTest::newRow("double signalling NaN") << TaggedValue(doubleFromBits(0x7FF0000000000001ull));
    QTest::newRow("empty text") << TaggedValue(QString());
    QTest::newRow("ascii text") << TaggedValue(QStringLiteral("Cube 1"));
    QTest::newRow("non-ascii text") << TaggedValue(QStringLiteral("Größe – 東京 \U0001F3B2"));
    QTest::newRow("text with NUL and newline") << TaggedValue(QString(QStringLiteral("a\nb")) + QChar(0) + QStringLiteral("c"));
    QTest::newRow("text with byte order mark") << TaggedValue(QString(QChar(0xFEFF)) + QStringLiteral("x"));
    QTest::newRow("text with percent markers") << TaggedValue(QStringLiteral("%1 %2 %s"));
    QTest::newRow("text that reads as a number") << TaggedValue(QStringLiteral("42"));
    QTest::newRow("long text") << TaggedValue(longText);
}

void PropertyBagTest::roundTripOfEveryKind()
{
    QFETCH(TaggedValue, value);
    PropertyBag written;
    written.WriteProperty(QStringLiteral("before"), TaggedValue(std::int32_t(7)));
    written.WriteProperty(QStringLiteral("Wert é"), value);
    written.WriteProperty(QStringLiteral("after"), TaggedValue(QStringLiteral("end")));
    QCOMPARE(describe(written.ReadProperty(QStringLiteral("Wert é"), TaggedValue())), describe(value));

    PropertyBag loaded;
    QString error;
    QVERIFY2(loaded.setContents(written.Contents(), &error), qPrintable(error));
    QCOMPARE(loaded.count(), 3);
    const TaggedValue missing(QStringLiteral("missing"));
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("Wert é"), missing)), describe(value));
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("before"), missing)), describe(TaggedValue(std::int32_t(7))));
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("after"), missing)), describe(TaggedValue(QStringLiteral("end"))));
    QCOMPARE(loaded.Contents(), written.Contents());
}

void PropertyBagTest::exactLayout()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("e"), TaggedValue());
    bag.WriteProperty(QStringLiteral("a"), TaggedValue(std::uint8_t(7)));
    bag.WriteProperty(QStringLiteral("n"), TaggedValue(std::int16_t(-2)));
    bag.WriteProperty(QStringLiteral("i"), TaggedValue(std::int32_t(-100000)));
    bag.WriteProperty(QStringLiteral("f"), TaggedValue(1.5f));
    bag.WriteProperty(QStringLiteral("ď"), TaggedValue(-2.0));
    bag.WriteProperty(QStringLiteral("t"), TaggedValue(QStringLiteral("é")));
    const QByteArray expected = QByteArray(
        "\x42\x57\x50\x42\x01\x00\x07\x00\x00\x00"
        "\x01\x00\x65\x00"
        "\x01\x00\x61\x01\x07"
        "\x01\x00\x6e\x02\xfe\xff"
        "\x01\x00\x69\x03\x60\x79\xfe\xff"
        "\x01\x00\x66\x04\x00\x00\xc0\x3f"
        "\x02\x00\xc4\x8f\x05\x00\x00\x00\x00\x00\x00\x00\xc0"
        "\x01\x00\x74\x06\x02\x00\x00\x00\xc3\xa9"
        "\xc4\x88\x48\xdb", 68);
    QCOMPARE(bag.Contents().toHex(' '), expected.toHex(' '));

    PropertyBag loaded;
    QVERIFY(loaded.setContents(expected));
    QCOMPARE(loaded.count(), 7);
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("ď"), TaggedValue())), describe(TaggedValue(-2.0)));
}

void PropertyBagTest::emptyBagLayout()
{
    const PropertyBag bag;
    QCOMPARE(bag.count(), 0);
    QCOMPARE(bag.Contents().toHex(), QByteArray("4257504201000000000067d71822"));
    PropertyBag loaded;
    loaded.WriteProperty(QStringLiteral("x"), TaggedValue(1.0));
    QVERIFY(loaded.setContents(bag.Contents()));
    QCOMPARE(loaded.count(), 0);
}

void PropertyBagTest::manyValuesKeepOrderAndReloadIdentically()
{
    PropertyBag bag;
    for (int i = 0; i < 3000; ++i)
        bag.WriteProperty(QStringLiteral("item %1").arg(2999 - i), TaggedValue(std::int32_t(i * 3)));
    QCOMPARE(bag.count(), 3000);
    PropertyBag loaded;
    QVERIFY(loaded.setContents(bag.Contents()));
    QCOMPARE(loaded.count(), 3000);
    QCOMPARE(loaded.Contents(), bag.Contents());
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("item 0"), TaggedValue())), describe(TaggedValue(std::int32_t(2999 * 3))));
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("item 2999"), TaggedValue())), describe(TaggedValue(std::int32_t(0))));
    // Values appear in the bytes in the order written: "item 2999" before "item 0".
    const QByteArray bytes = bag.Contents();
    QVERIFY(bytes.indexOf("item 2999") < bytes.indexOf("item 0"));
}

void PropertyBagTest::rewritingKeepsFirstPosition()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("a"), TaggedValue(std::uint8_t(1)));
    bag.WriteProperty(QStringLiteral("b"), TaggedValue(std::uint8_t(2)));
    bag.WriteProperty(QStringLiteral("c"), TaggedValue(std::uint8_t(3)));
    bag.WriteProperty(QStringLiteral("b"), TaggedValue(QStringLiteral("two")));
    bag.WriteProperty(QStringLiteral("a"), TaggedValue(std::uint8_t(9)));
    QCOMPARE(bag.count(), 3);
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("b"), TaggedValue())), describe(TaggedValue(QStringLiteral("two"))));

    PropertyBag expected;
    expected.WriteProperty(QStringLiteral("a"), TaggedValue(std::uint8_t(9)));
    expected.WriteProperty(QStringLiteral("b"), TaggedValue(QStringLiteral("two")));
    expected.WriteProperty(QStringLiteral("c"), TaggedValue(std::uint8_t(3)));
    QCOMPARE(bag.Contents(), expected.Contents());
}

void PropertyBagTest::missingNameGivesTheDefault()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Width"), TaggedValue(std::int16_t(5)));
    const TaggedValue defaults[] = {TaggedValue(), TaggedValue(std::uint8_t(3)), TaggedValue(std::int16_t(-3)),
                                    TaggedValue(std::int32_t(-70000)), TaggedValue(0.25f), TaggedValue(-0.0),
                                    TaggedValue(QStringLiteral("none")), TaggedValue(std::numeric_limits<double>::quiet_NaN())};
    for (const TaggedValue& fallback : defaults) {
        QCOMPARE(describe(bag.ReadProperty(QStringLiteral("width"), fallback)), describe(fallback));
        QCOMPARE(describe(bag.ReadProperty(QStringLiteral("Width "), fallback)), describe(fallback));
        QCOMPARE(describe(bag.ReadProperty(QString(), fallback)), describe(fallback));
        QCOMPARE(describe(PropertyBag().ReadProperty(QStringLiteral("Width"), fallback)), describe(fallback));
    }
    // A stored value keeps its own kind whatever the default's kind.
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("Width"), TaggedValue(QStringLiteral("x")))),
             describe(TaggedValue(std::int16_t(5))));
}

void PropertyBagTest::readingDoesNotDependOnWriteOrder()
{
    const QList<QPair<QString, TaggedValue>> values = {
        {QStringLiteral("Name"), TaggedValue(QStringLiteral("Kegel"))},
        {QStringLiteral("X"), TaggedValue(std::int16_t(-12))},
        {QStringLiteral("Scale"), TaggedValue(0.5)},
        {QStringLiteral("Flags"), TaggedValue(std::uint8_t(4))},
    };
    PropertyBag forward;
    PropertyBag backward;
    for (qsizetype i = 0; i < values.size(); ++i) {
        forward.WriteProperty(values[i].first, values[i].second);
        backward.WriteProperty(values[values.size() - 1 - i].first, values[values.size() - 1 - i].second);
    }
    PropertyBag forwardLoaded;
    PropertyBag backwardLoaded;
    QVERIFY(forwardLoaded.setContents(forward.Contents()));
    QVERIFY(backwardLoaded.setContents(backward.Contents()));
    for (const auto& [name, value] : values) {
        QCOMPARE(describe(forwardLoaded.ReadProperty(name, TaggedValue())), describe(value));
        QCOMPARE(describe(backwardLoaded.ReadProperty(name, TaggedValue())), describe(value));
    }
    QVERIFY(forward.Contents() != backward.Contents());
}

void PropertyBagTest::refusesBadNames()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("kept"), TaggedValue(std::uint8_t(1)));
    const QByteArray before = bag.Contents();
    const QString tooLong = QString(21846, QChar(0x20AC)); // 65538 bytes in UTF-8
    const QString badNames[] = {QString(), QString(QChar(0xD800)), QStringLiteral("a") + QChar(0xDC00),
                                QString(65536, QLatin1Char('n')), tooLong};
    for (const QString& name : badNames) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused a property name")));
        bag.WriteProperty(name, TaggedValue(std::uint8_t(2)));
    }
    QCOMPARE(bag.count(), 1);
    QCOMPARE(bag.Contents(), before);
}

void PropertyBagTest::longestNameIsAccepted()
{
    const QString longest = QString(21845, QChar(0x20AC)); // 65535 bytes in UTF-8
    const QString surrogatePair = QStringLiteral("\U0001F3B2");
    PropertyBag bag;
    bag.WriteProperty(longest, TaggedValue(std::int32_t(1)));
    bag.WriteProperty(surrogatePair, TaggedValue(std::int32_t(2)));
    PropertyBag loaded;
    QString error;
    QVERIFY2(loaded.setContents(bag.Contents(), &error), qPrintable(error));
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(describe(loaded.ReadProperty(longest, TaggedValue())), describe(TaggedValue(std::int32_t(1))));
    QCOMPARE(describe(loaded.ReadProperty(surrogatePair, TaggedValue())), describe(TaggedValue(std::int32_t(2))));
}

void PropertyBagTest::unpairedSurrogateInTextBecomesReplacementCharacter()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("t"), TaggedValue(QStringLiteral("a") + QChar(0xD83C) + QStringLiteral("b") + QChar(0xDC00)));
    const QString expected = QStringLiteral("a\uFFFDb\uFFFD");
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("t"), TaggedValue())), describe(TaggedValue(expected)));
    PropertyBag loaded;
    QVERIFY(loaded.setContents(bag.Contents()));
    QCOMPARE(describe(loaded.ReadProperty(QStringLiteral("t"), TaggedValue())), describe(TaggedValue(expected)));
}

void PropertyBagTest::acceptsEveryWellFormedUtf8Boundary_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QString>("expected");
    QTest::newRow("U+007F") << bytesOf({0x7F}) << QString(QChar(0x7F));
    QTest::newRow("U+0080") << bytesOf({0xC2, 0x80}) << QString(QChar(0x80));
    QTest::newRow("U+07FF") << bytesOf({0xDF, 0xBF}) << QString(QChar(0x7FF));
    QTest::newRow("U+0800") << bytesOf({0xE0, 0xA0, 0x80}) << QString(QChar(0x800));
    QTest::newRow("U+D7FF") << bytesOf({0xED, 0x9F, 0xBF}) << QString(QChar(0xD7FF));
    QTest::newRow("U+E000") << bytesOf({0xEE, 0x80, 0x80}) << QString(QChar(0xE000));
    QTest::newRow("U+FEFF first") << bytesOf({0xEF, 0xBB, 0xBF, 0x41}) << (QString(QChar(0xFEFF)) + QLatin1Char('A'));
    QTest::newRow("U+FFFF") << bytesOf({0xEF, 0xBF, 0xBF}) << QString(QChar(0xFFFF));
    QTest::newRow("U+10000") << bytesOf({0xF0, 0x90, 0x80, 0x80}) << QStringLiteral("\U00010000");
    QTest::newRow("U+10FFFF") << bytesOf({0xF4, 0x8F, 0xBF, 0xBF}) << QStringLiteral("\U0010FFFF");
    QTest::newRow("mixed") << bytesOf({0x61, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x8E, 0xB2, 0x00})
                           << (QStringLiteral("aé€\U0001F3B2") + QChar(0));
}

void PropertyBagTest::acceptsEveryWellFormedUtf8Boundary()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QString, expected);
    PropertyBag bag;
    QString error;
    QVERIFY2(bag.setContents(sealed(header(1) + textEntry(utf8)), &error), qPrintable(error));
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("t"), TaggedValue())), describe(TaggedValue(expected)));

    PropertyBag named;
    QVERIFY2(named.setContents(sealed(header(1) + nameField(utf8) + '\x00'), &error), qPrintable(error));
    QCOMPARE(describe(named.ReadProperty(expected, TaggedValue(std::uint8_t(1)))), describe(TaggedValue()));
}

void PropertyBagTest::handBuiltBagLoads()
{
    // The rejection rows below are built the same way, one field wrong each.
    PropertyBag bag;
    QString error;
    QVERIFY2(bag.setContents(sealed(header(2) + nameField("a") + '\x01' + '\x05' + textEntry("ok")), &error),
             qPrintable(error));
    QCOMPARE(bag.count(), 2);
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("a"), TaggedValue())), describe(TaggedValue(std::uint8_t(5))));
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("t"), TaggedValue())), describe(TaggedValue(QStringLiteral("ok"))));
}

void PropertyBagTest::loadReplacesPreviousValues()
{
    PropertyBag other;
    other.WriteProperty(QStringLiteral("b"), TaggedValue(std::int16_t(2)));
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("a"), TaggedValue(std::int16_t(1)));
    QVERIFY(bag.setContents(other.Contents()));
    QCOMPARE(bag.count(), 1);
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("a"), TaggedValue())), describe(TaggedValue()));
    bag.WriteProperty(QStringLiteral("a"), TaggedValue(std::int16_t(1)));
    QCOMPARE(bag.count(), 2);

    QVERIFY(!bag.setContents(QByteArray("garbage")));
    QCOMPARE(bag.count(), 0);
    QCOMPARE(bag.Contents(), PropertyBag().Contents());
}

void PropertyBagTest::rejectsMalformedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason"); // a word the reason must contain; empty: any reason

    const QByteArray valid = smallValidBag();
    for (qsizetype length = 0; length < valid.size(); ++length)
        QTest::addRow("cut to %d of %d bytes", int(length), int(valid.size())) << valid.left(length) << QString();
    for (qsizetype at = 0; at < valid.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray damaged = valid;
            damaged[at] = char(damaged[at] ^ (1 << bit));
            QTest::addRow("bit %d flipped at byte %d", bit, int(at)) << damaged << QString();
        }
    }

    const QByteArray oneByteValue = nameField("a") + '\x01' + '\x05';
    QTest::newRow("wrong signature") << sealed(QByteArrayLiteral("BWPC") + u16(1) + u32(1) + oneByteValue) << QStringLiteral("signature");
    QTest::newRow("lower-case signature") << sealed(QByteArrayLiteral("bwpb") + u16(1) + u32(1) + oneByteValue) << QStringLiteral("signature");
    QTest::newRow("other file's bytes") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QStringLiteral("signature");
    QTest::newRow("version 0") << sealed(header(1, 0) + oneByteValue) << QStringLiteral("version");
    QTest::newRow("version 2") << sealed(header(1, 2) + oneByteValue) << QStringLiteral("version");
    QTest::newRow("version 256") << sealed(header(1, 256) + oneByteValue) << QStringLiteral("version");
    QTest::newRow("checksum off by one") << (header(1) + oneByteValue + u32(crc32((header(1) + oneByteValue).constData(), 15) + 1)) << QStringLiteral("checksum");
    QTest::newRow("checksum missing") << (header(1) + oneByteValue) << QString();
    QTest::newRow("duplicate name") << sealed(header(2) + oneByteValue + oneByteValue) << QStringLiteral("duplicate");
    QTest::newRow("duplicate name of another kind") << sealed(header(2) + oneByteValue + nameField("a") + '\x00') << QStringLiteral("duplicate");
    QTest::newRow("empty name") << sealed(header(1) + nameField("") + '\x01' + '\x05') << QStringLiteral("empty name");
    QTest::newRow("type code 7") << sealed(header(1) + nameField("a") + '\x07') << QStringLiteral("type code");
    QTest::newRow("type code 7 with a payload") << sealed(header(1) + nameField("a") + '\x07' + u32(0)) << QStringLiteral("type code");
    QTest::newRow("type code 255") << sealed(header(1) + nameField("a") + '\xff' + '\x05') << QStringLiteral("type code");
    QTest::newRow("byte after the checksum") << (sealed(header(1) + oneByteValue) + '\0') << QString();
    QTest::newRow("byte after the last value, checksum over it") << sealed(header(1) + oneByteValue + '\0') << QStringLiteral("after the last value");
    QTest::newRow("second value not counted") << sealed(header(1) + oneByteValue + nameField("b") + '\x00') << QStringLiteral("after the last value");
    QTest::newRow("count one more than present") << sealed(header(2) + oneByteValue) << QStringLiteral("past the end");
    QTest::newRow("count 0xffffffff on a tiny input") << sealed(header(0xFFFFFFFFu) + oneByteValue) << QStringLiteral("past the end");
    QTest::newRow("count 0xffffffff and nothing else") << sealed(header(0xFFFFFFFFu)) << QStringLiteral("past the end");
    QTest::newRow("name length 0xffff on a tiny input") << sealed(header(1) + u16(0xFFFF) + "a" + '\x00') << QStringLiteral("past the end");
    QTest::newRow("name length one past the end") << sealed(header(1) + u16(2) + "a") << QStringLiteral("past the end");
    QTest::newRow("type code missing") << sealed(header(1) + nameField("a")) << QStringLiteral("past the end");
    QTest::newRow("text length 0xffffffff on a tiny input") << sealed(header(1) + nameField("t") + '\x06' + u32(0xFFFFFFFFu) + "ab") << QStringLiteral("past the end");
    QTest::newRow("text length 0x7fffffff on a tiny input") << sealed(header(1) + nameField("t") + '\x06' + u32(0x7FFFFFFFu)) << QStringLiteral("past the end");
    QTest::newRow("text length 0x80000000 on a tiny input") << sealed(header(1) + nameField("t") + '\x06' + u32(0x80000000u)) << QStringLiteral("past the end");
    QTest::newRow("text length one past the end") << sealed(header(1) + nameField("t") + '\x06' + u32(3) + "ab") << QStringLiteral("past the end");
    QTest::newRow("text length cut short") << sealed(header(1) + nameField("t") + '\x06' + u16(0)) << QStringLiteral("past the end");
    QTest::newRow("u8 without payload") << sealed(header(1) + nameField("a") + '\x01') << QStringLiteral("past the end");
    QTest::newRow("i16 with one byte") << sealed(header(1) + nameField("a") + '\x02' + '\x01') << QStringLiteral("past the end");
    QTest::newRow("i32 with two bytes") << sealed(header(1) + nameField("a") + '\x03' + u16(1)) << QStringLiteral("past the end");
    QTest::newRow("float with three bytes") << sealed(header(1) + nameField("a") + '\x04' + QByteArray(3, '\0')) << QStringLiteral("past the end");
    QTest::newRow("double with four bytes") << sealed(header(1) + nameField("a") + '\x05' + u32(0)) << QStringLiteral("past the end");

    const QList<QPair<const char*, QByteArray>> badUtf8 = {
        {"byte 0xff", bytesOf({0xFF})},
        {"byte 0xc0", bytesOf({0xC0, 0x80})},
        {"overlong slash", bytesOf({0xC0, 0xAF})},
        {"overlong 3-byte", bytesOf({0xE0, 0x80, 0xAF})},
        {"overlong 4-byte", bytesOf({0xF0, 0x80, 0x80, 0xAF})},
        {"surrogate D800", bytesOf({0xED, 0xA0, 0x80})},
        {"surrogate DFFF", bytesOf({0xED, 0xBF, 0xBF})},
        {"encoded surrogate pair", bytesOf({0xED, 0xA0, 0xBD, 0xED, 0xB2, 0xA9})},
        {"above U+10FFFF", bytesOf({0xF4, 0x90, 0x80, 0x80})},
        {"lead byte 0xf5", bytesOf({0xF5, 0x80, 0x80, 0x80})},
        {"stray continuation", bytesOf({0x61, 0x80})},
        {"sequence cut short", bytesOf({0x61, 0xE2, 0x82})},
        {"missing continuation", bytesOf({0xE2, 0x41, 0x82})},
        {"two-byte lead at end", bytesOf({0xC3})},
    };
    for (const auto& [label, utf8] : badUtf8) {
        QTest::addRow("name %s", label) << sealed(header(1) + nameField(utf8) + '\x00') << QStringLiteral("UTF-8");
        QTest::addRow("text %s", label) << sealed(header(1) + textEntry(utf8)) << QStringLiteral("UTF-8");
    }
}

void PropertyBagTest::rejectsMalformedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("previous"), TaggedValue(std::int32_t(1)));
    QString error;
    QVERIFY(!bag.setContents(bytes, &error));
    QVERIFY(!error.isEmpty());
    if (!reason.isEmpty())
        QVERIFY2(error.contains(reason), qPrintable(QStringLiteral("reason given: ") + error));
    QCOMPARE(bag.count(), 0);
    QCOMPARE(describe(bag.ReadProperty(QStringLiteral("previous"), TaggedValue())), describe(TaggedValue()));
    QCOMPARE(bag.Contents(), PropertyBag().Contents());

    PropertyBag withoutError;
    QVERIFY(!withoutError.setContents(bytes));
}

QTEST_GUILESS_MAIN(PropertyBagTest)
#include "tst_propertybag.moc"
