// The property bag inside every object and workspace file: its exact bytes, values of every
// kind back bit for bit, names and texts it refuses or repairs, and every damaged form refused.
#include "platform/Crc32.h"
#include "platform/PropertyBag.h"

#include <QRegularExpression>
#include <QTest>
#include <QtEndian>
#include <bit>

using Values = QList<std::pair<QString, TaggedValue>>;
Q_DECLARE_METATYPE(TaggedValue)
Q_DECLARE_METATYPE(Values)

namespace {

const QByteArray kEmptyBag = "42 57 50 42 01 00 00 00 00 00 67 d7 18 22";

// Kind and exact bits, so that NaN payloads and the sign of zero compare too.
QString bits(const TaggedValue& v)
{
    const float* f = v.get<float>();
    const double* d = v.get<double>();
    return QString::number(int(v.kind())) + ':'
        + (f ? QString::number(std::bit_cast<quint32>(*f), 16) : d ? QString::number(std::bit_cast<quint64>(*d), 16) : v.toText());
}

PropertyBag bagOf(const Values& values)
{
    PropertyBag bag;
    for (const auto& [name, value] : values)
        bag.WriteProperty(name, value);
    return bag;
}

template <typename T> QByteArray le(T v)
{
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    qToLittleEndian(v, bytes.data());
    return bytes;
}
QByteArray head(quint32 count, quint16 version = 1) { return "BWPB" + le(version) + le(count); }
QByteArray field(const QByteArray& utf8) { return le(quint16(utf8.size())) + utf8; }
QByteArray sealed(const QByteArray& body) { return body + le(crc32(body.constData(), body.size())); }

} // namespace

class PropertyBagTest : public QObject {
    Q_OBJECT
private slots:
    void checksumIsZlibs() { QCOMPARE(crc32("123456789", 9), 0xCBF43926u); }
    void exactBytes_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("empty bag") << Values{} << kEmptyBag;
        QTest::newRow("every kind, bit for bit")
            << Values{{"e", {}}, {"a", std::uint8_t(7)}, {"n", std::int16_t(-2)}, {"i", std::int32_t(-100000)},
                      {"f", std::bit_cast<float>(0xFFC01234u)}, {QStringLiteral("ď"), -0.0}, {QStringLiteral("\U0001F3B2"), QStringLiteral("é")},
                      {"s", QString()}}
            << QByteArray("42 57 50 42 01 00 08 00 00 00 01 00 65 00 01 00 61 01 07 01 00 6e 02 fe ff 01 00 69 03 60 79 fe ff 01 00 "
                          "66 04 34 12 c0 ff 02 00 c4 8f 05 00 00 00 00 00 00 00 80 04 00 f0 9f 8e b2 06 02 00 00 00 c3 a9 01 00 73 "
                          "06 00 00 00 00 2c fa 56 23");
        QTest::newRow("text at every UTF-8 length boundary")
            << Values{{"t", QStringLiteral("\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF")}}
            << QByteArray("42 57 50 42 01 00 01 00 00 00 01 00 74 06 18 00 00 00 c2 80 df bf e0 a0 80 ed 9f bf ee 80 80 ef bf bf "
                          "f0 90 80 80 f4 8f bf bf 47 00 35 42");
        QTest::newRow("byte order mark at the start of a name and a text, kept")
            << Values{{QStringLiteral("\uFEFFb"), QStringLiteral("\uFEFFt")}}
            << QByteArray("42 57 50 42 01 00 01 00 00 00 04 00 ef bb bf 62 06 04 00 00 00 ef bb bf 74 69 ab 4f 99");
    }

    void exactBytes()
    {
        QFETCH(Values, values);
        QFETCH(QByteArray, hex);
        QCOMPARE(bagOf(values).Contents().toHex(' '), hex);
        PropertyBag loaded = bagOf({{"previous", std::int32_t(1)}});
        QString error;
        QVERIFY2(loaded.setContents(QByteArray::fromHex(hex), &error), qPrintable(error));
        QCOMPARE(loaded.count(), values.size());
        for (const auto& [name, value] : values)
            QCOMPARE(bits(loaded.ReadProperty(name, QStringLiteral("missing"))), bits(value));
    }

    void orderRewritingAndDefaults()
    {
        const PropertyBag bag = bagOf({{"a", std::uint8_t(1)}, {"b", std::uint8_t(2)}, {"c", std::uint8_t(3)},
                                       {"b", QStringLiteral("two")}, {"a", std::uint8_t(9)}});
        QCOMPARE(bag.Contents().toHex(' '), QByteArray("42 57 50 42 01 00 03 00 00 00 01 00 61 01 09 01 00 62 06 03 00 00 00 74 77 6f "
                                                       "01 00 63 01 03 95 09 b9 d5"));
        for (const TaggedValue& fallback : {TaggedValue(), TaggedValue(std::bit_cast<double>(0x7FF80000000000A5ull)), TaggedValue(QStringLiteral("none"))}) {
            QCOMPARE(bits(bag.ReadProperty("A", fallback)), bits(fallback));
            QCOMPARE(bits(PropertyBag().ReadProperty("a", fallback)), bits(fallback));
        }
        QCOMPARE(bits(bag.ReadProperty("c", QStringLiteral("x"))), "1:3");
    }

    void namesRefusedTextsRepaired()
    {
        PropertyBag bag = bagOf({{"kept", std::uint8_t(1)}});
        const QByteArray before = bag.Contents();
        for (const QString& name : {QString(), QString(QChar(0xD800)), "a" + QString(QChar(0xDC00)), QString(65536, QLatin1Char('n')),
                                    QString(21846, QChar(0x20AC))}) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused a property name"));
            bag.WriteProperty(name, std::uint8_t(2));
        }
        QCOMPARE(bag.Contents(), before);

        const QString longest(21845, QChar(0x20AC)); // 65535 bytes in UTF-8
        bag.WriteProperty(longest, std::int32_t(1));
        bag.WriteProperty("t", QChar(0xDC00) + QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("\U0001F3B2") + QChar(0xD83C));
        QCOMPARE(bits(bag.ReadProperty(longest, {})) + bits(bag.ReadProperty("t", {})), bits(std::int32_t(1)) + bits(QStringLiteral("\uFFFDa\uFFFD\U0001F3B2\uFFFD")));
    }

    void malformedBytesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray u8 = field("a") + '\x01' + '\x05';
        QTest::newRow("cut into the checksum") << sealed(head(0)).left(13) << "cut short";
        QTest::newRow("one byte, not the signature's") << QByteArray("X") << "signature";
        QTest::newRow("one byte of the signature") << QByteArray("B") << "cut short";
        QTest::newRow("wrong signature") << sealed("BWPC" + le(quint16(1)) + le(quint32(1)) + u8) << "signature";
        QTest::newRow("version 2") << sealed(head(1, 2) + u8) << "version";
        QTest::newRow("more values than the kind holds") << sealed(head(3) + u8 + field("b") + '\x00' + field("c") + '\x00') << "3 values, more than the 2";
        QTest::newRow("checksum off by one") << head(1) + u8 + le(crc32((head(1) + u8).constData(), 15) + 1) << "checksum";
        QTest::newRow("count one more than present") << sealed(head(2) + u8) << "name runs past";
        QTest::newRow("name past the end") << sealed(head(1) + le(quint16(2)) + "a") << "name runs past";
        QTest::newRow("empty name") << sealed(head(1) + field("") + '\x00') << "empty name";
        QTest::newRow("name not UTF-8") << sealed(head(1) + field("\xff") + '\x00') << "name is not valid UTF-8";
        QTest::newRow("duplicate name") << sealed(head(2) + u8 + field("a") + '\x00') << "duplicate";
        QTest::newRow("type code missing") << sealed(head(1) + field("a")) << "type runs past";
        QTest::newRow("type code 7") << sealed(head(1) + field("a") + '\x07') << "type code 7";
        QTest::newRow("f64 cut short") << sealed(head(1) + field("a") + '\x05' + le(quint32(0))) << "value runs past";
        QTest::newRow("text longer than the bag") << sealed(head(1) + field("t") + '\x06' + le(0xFFFFFFFFu) + "ab") << "value runs past";
        QTest::newRow("byte after the last value") << sealed(head(1) + u8 + '\0') << "after the last value";
        const std::pair<const char*, QByteArray> badUtf8[] = {
            {"overlong 2-byte", "\xC0\xAF"}, {"overlong 3-byte", "\xE0\x80\xAF"}, {"overlong 4-byte", "\xF0\x80\x80\xAF"},
            {"lead byte C1", "\xC1\xBF"}, {"first surrogate", "\xED\xA0\x80"}, {"last surrogate", "\xED\xBF\xBF"},
            {"above U+10FFFF", "\xF4\x90\x80\x80"}, {"lead byte F5", "\xF5\x80\x80\x80"}, {"5-byte form", "\xF8\x88\x80\x80\x80"},
            {"stray continuation", "a\x80"}, {"continuation below 80", "\xE2\x41\x82"}, {"continuation above BF", "\xC3\xC0"},
            {"third byte not a continuation", "\xE2\x82\x41"}, {"cut at the end of the bag", "\xF0\x9F\x8E"}};
        // The next value's name length, 128, would complete the sequence if the text were read past its end.
        QTest::newRow("text cut short") << sealed(head(2) + field("t") + '\x06' + le(quint32(2)) + "\xE2\x82" + field(QByteArray(128, 'b')) + '\x00')
                                        << "text is not valid UTF-8";
        for (const auto& [label, utf8] : badUtf8)
            QTest::addRow("text %s", label) << sealed(head(1) + field("t") + '\x06' + le(quint32(utf8.size())) + utf8) << "text is not valid UTF-8";
    }

    void malformedBytesRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        PropertyBag bag = bagOf({{"previous", std::int32_t(1)}});
        QString error;
        QVERIFY(!bag.setContents(bytes, &error, 2));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(bag.Contents().toHex(' '), kEmptyBag);
    }
};

QTEST_GUILESS_MAIN(PropertyBagTest)
#include "tst_propertybag.moc"
