// Rounding, narrowing, numeric text and decimal text as the whole program uses them.
#include "platform/Conversions.h"
#include "platform/TaggedValue.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void toInt16_data();
    void toInt16();
    void otherWidths();
    void parseNumber_data();
    void parseNumber();
    void numberText_data();
    void numberText();
    void excerpt();
    void taggedValueReadings();
};

void TestConversions::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to even 2") << 2.5 << true << 2;
    QTest::newRow("3.5 to even 4") << 3.5 << true << 4;
    QTest::newRow("124.5 to even 124") << 124.5 << true << 124;
    QTest::newRow("-2.5 to even -2") << -2.5 << true << -2;
    QTest::newRow("-3.5 to even -4") << -3.5 << true << -4;
    QTest::newRow("2.4999 down") << 2.4999 << true << 2;
    QTest::newRow("2.5001 up") << 2.5001 << true << 3;
    QTest::newRow("32767.4 fits") << 32767.4 << true << 32767;
    QTest::newRow("32767.5 does not fit") << 32767.5 << false << 0;
    QTest::newRow("-32768.5 to even -32768") << -32768.5 << true << -32768;
    QTest::newRow("-32769 does not fit") << -32769.0 << false << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << false << 0;
}

void TestConversions::toInt16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const auto result = conv::toInt16(value);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), expected);
}

void TestConversions::otherWidths()
{
    QCOMPARE(conv::toUInt8(255.4).value_or(0), std::uint8_t(255));
    QVERIFY(!conv::toUInt8(255.5));
    QVERIFY(!conv::toUInt8(-0.6));
    QCOMPARE(conv::toUInt8(-0.5).value_or(9), std::uint8_t(0));
    QCOMPARE(conv::toInt32(2147483647.0).value_or(0), 2147483647);
    QVERIFY(!conv::toInt32(2147483647.5));
    QCOMPARE(conv::toInt32(-2147483648.5).value_or(0), std::numeric_limits<std::int32_t>::min());
    QCOMPARE(conv::clampToInt16(99999.0), std::int16_t(32767));
    QCOMPARE(conv::clampToInt16(-99999.0), std::int16_t(-32768));
    QCOMPARE(conv::clampToInt16(10.5), std::int16_t(10));
}

void TestConversions::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");
    QTest::newRow("integer") << "1300" << true << 1300.0;
    QTest::newRow("exponent 1e3") << "1e3" << true << 1000.0;
    QTest::newRow("negative fraction") << "-2.5" << true << -2.5;
    QTest::newRow("plus sign") << "+7" << true << 7.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("surrounding space") << " 5 " << true << 5.0;
    QTest::newRow("leading space") << " 5" << true << 5.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("trailing letter") << "5x" << false << 0.0;
    QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("point only") << "." << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("inf word") << "inf" << false << 0.0;
    QTest::newRow("nan word") << "nan" << false << 0.0;
    QTest::newRow("inner space") << "1 2" << false << 0.0;
    QTest::newRow("two signs") << "--1" << false << 0.0;
    QTest::newRow("non-latin digit") << QString::fromUtf8("\xd9\xa1") << false << 0.0;
    const double infinity = std::numeric_limits<double>::infinity();
    const QString zeros = QString(350, QLatin1Char('0'));
    QTest::newRow("10^309 written out, shifted by its exponent") << "1" + zeros.left(310) + "e-1" << true << infinity;
    QTest::newRow("negative overflow") << "-1e400" << true << -infinity;
    QTest::newRow("350 zeros after the point are tiny") << "0." + zeros + "1" << true << 0.0;
    QTest::newRow("a tiny exponent") << "5e-999999999999999999999" << true << 0.0;
    QTest::newRow("a huge exponent") << "5e999999999999999999999" << true << infinity;
    QTest::newRow("100000 digits") << QString(100000, QLatin1Char('1')) << true << infinity;
    QTest::newRow("long fraction brought back by its exponent") << "0." + QString(100000, QLatin1Char('0')) + "25e100002" << true << 25.0;
    QTest::newRow("long text that is no number") << QString(100000, QLatin1Char('1')) + "x" << false << 0.0;
}

void TestConversions::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);
    const auto result = conv::parseNumber(text);
    QCOMPARE(result.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*result, expected);
}

void TestConversions::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << 1245.0 << "1245";
    QTest::newRow("fraction") << 1245.5 << "1245.5";
    QTest::newRow("negative") << -15.0 << "-15";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("large") << 12345.0 << "12345";
    QTest::newRow("no exponent for 100000") << 100000.0 << "100000";
    QTest::newRow("no exponent for 3e9") << 3000000000.0 << "3000000000";
    QTest::newRow("small fraction") << 0.125 << "0.125";
}

void TestConversions::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(conv::numberText(value), expected);
    QCOMPARE(conv::numberText(float(value)), expected);
}

// Messages quote a value from a file or a typed line whole when short, else cut with "…".
void TestConversions::excerpt()
{
    QCOMPARE(conv::excerpt(QString(40, QLatin1Char('a'))), QString(40, QLatin1Char('a')));
    QCOMPARE(conv::excerpt(QString(1000000, QLatin1Char('a'))), QString(39, QLatin1Char('a')) + QChar(0x2026));
}

void TestConversions::taggedValueReadings()
{
    QCOMPARE(TaggedValue().toNumber(), std::optional<double>(0.0));
    QCOMPARE(TaggedValue().toText(), QString());
    QCOMPARE(TaggedValue(QStringLiteral("1000")).toNumber(), std::optional<double>(1000.0));
    QVERIFY(!TaggedValue(QStringLiteral("deep")).toNumber());
    QCOMPARE(TaggedValue(std::int16_t(-250)).toText(), QStringLiteral("-250"));
    QCOMPARE(TaggedValue(100.5f).toText(), QStringLiteral("100.5"));
    QVERIFY(TaggedValue(std::int16_t(5)) != TaggedValue(std::int32_t(5)));
    QCOMPARE(TaggedValue(QStringLiteral("5")).kind(), ValueKind::Text);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
