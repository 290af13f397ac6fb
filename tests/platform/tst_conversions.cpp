// The one number reader, half-to-even rounding into the program's widths, plain decimal
// text, message excerpts and the readings of tagged values.
#include "platform/Conversions.h"
#include "platform/TaggedValue.h"

#include <QTest>
#include <limits>

namespace {
constexpr double Infinity = std::numeric_limits<double>::infinity();

QString orNone(auto value) { return value ? QString::number(*value) : QStringLiteral("none"); }
} // namespace

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    // Each width rounds half to even and refuses what does not fit; clampToInt16 saturates.
    void narrowing_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("int16");
        QTest::addColumn<QString>("int32");
        QTest::addColumn<QString>("uint8");
        QTest::addColumn<int>("clamped");
        QTest::newRow("2.5 to even 2") << 2.5 << "2" << "2" << "2" << 2;
        QTest::newRow("3.5 to even 4") << 3.5 << "4" << "4" << "4" << 4;
        QTest::newRow("-2.5 to even -2") << -2.5 << "-2" << "-2" << "none" << -2;
        QTest::newRow("2.5001 up") << 2.5001 << "3" << "3" << "3" << 3;
        QTest::newRow("-0.5 to 0") << -0.5 << "0" << "0" << "0" << 0;
        QTest::newRow("255.5 past a byte") << 255.5 << "256" << "256" << "none" << 256;
        QTest::newRow("32767.4 fits 16 bits") << 32767.4 << "32767" << "32767" << "none" << 32767;
        QTest::newRow("32767.5 past 16 bits") << 32767.5 << "none" << "32768" << "none" << 32767;
        QTest::newRow("-32768.5 to even -32768") << -32768.5 << "-32768" << "-32768" << "none" << -32768;
        QTest::newRow("-32769 below 16 bits") << -32769.0 << "none" << "-32769" << "none" << -32768;
        QTest::newRow("2147483647.5 past 32 bits") << 2147483647.5 << "none" << "none" << "none" << 32767;
        QTest::newRow("-2147483648.5 to even") << -2147483648.5 << "none" << "-2147483648" << "none" << -32768;
        QTest::newRow("infinity") << Infinity << "none" << "none" << "none" << 32767;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "none" << "none" << "none" << 0;
    }

    void narrowing()
    {
        QFETCH(double, value);
        QTEST(orNone(conv::toInt16(value)), "int16");
        QTEST(orNone(conv::toInt32(value)), "int32");
        QTEST(orNone(conv::toUInt8(value)), "uint8");
        QTEST(int(conv::clampToInt16(value)), "clamped");
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number"); // "none" for a text that is not a number
        const QString zeros(350, QLatin1Char('0'));
        QTest::newRow("integer") << "1300" << "1300";
        QTest::newRow("signs, point, exponent") << "-2.5e1" << "-25";
        QTest::newRow("plus sign") << "+7" << "7";
        QTest::newRow("leading point") << ".5" << "0.5";
        QTest::newRow("trailing point") << "5." << "5";
        QTest::newRow("blanks around") << " 5\t" << "5";
        QTest::newRow("capital exponent with sign") << "1E+2" << "100";
        for (const char* text : {"", "   ", "abc", "5x", "1,5", "-", ".", "1e", "1e+", "0x10", "inf", "nan", "1 2", "--1", "+-1", "1.2.3"})
            QTest::addRow("not a number: \"%s\"", text) << QString::fromLatin1(text) << "none";
        QTest::newRow("not a number: a NUL inside") << QStringLiteral("12") + QChar(0) + "3" << "none";
        QTest::newRow("not a number: an Arabic digit") << QString::fromUtf8("\xd9\xa1") << "none";
        QTest::newRow("10^309 written out, brought down by its exponent") << "1" + zeros.left(310) + "e-1" << "inf";
        QTest::newRow("negative overflow") << "-1e400" << "-inf";
        QTest::newRow("350 zeros after the point are tiny") << "0." + zeros + "1" << "0";
        QTest::newRow("a tiny exponent") << "5e-999999999999999999999" << "0";
        QTest::newRow("a huge exponent") << "5e999999999999999999999" << "inf";
        QTest::newRow("100000 digits") << QString(100000, QLatin1Char('1')) << "inf";
        QTest::newRow("a long fraction brought back by its exponent") << "0." + QString(100000, QLatin1Char('0')) + "25e100002" << "25";
        QTest::newRow("a long text that is no number") << QString(100000, QLatin1Char('1')) + "x" << "none";
    }

    void parseNumber()
    {
        QFETCH(QString, text);
        const std::optional<double> number = conv::parseNumber(text);
        QTEST(number ? QString::number(*number) : QStringLiteral("none"), "number");
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << 1245.0 << "1245";
        QTest::newRow("fraction") << 1245.5 << "1245.5";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("no exponent for 3e9") << 3000000000.0 << "3000000000";
        QTest::newRow("small fraction") << 0.125 << "0.125";
    }

    void numberText()
    {
        QFETCH(double, value);
        QTEST(conv::numberText(value), "text");
        QTEST(conv::numberText(float(value)), "text");
    }

    void excerptAndTaggedValues()
    {
        const QString forty(40, QLatin1Char('a'));
        QCOMPARE(conv::excerpt(forty), forty);
        QCOMPARE(conv::excerpt(forty + QLatin1Char('b')), forty.left(39) + QChar(0x2026));
        QCOMPARE(TaggedValue().toNumber(), std::optional<double>(0.0));
        QCOMPARE(TaggedValue().toText(), QString());
        QCOMPARE(TaggedValue(QStringLiteral("1e3")).toNumber(), std::optional<double>(1000.0));
        QCOMPARE(TaggedValue(QStringLiteral("deep")).toNumber(), std::nullopt);
        QCOMPARE(TaggedValue(std::int16_t(-250)).toText(), QStringLiteral("-250"));
        QCOMPARE(TaggedValue(100.5f).toText(), QStringLiteral("100.5"));
        QCOMPARE(TaggedValue(2.25).toNumber(), std::optional<double>(2.25));
        QCOMPARE(TaggedValue(std::uint8_t(7)).kind(), ValueKind::UInt8);
        QVERIFY(TaggedValue(std::int16_t(5)) != TaggedValue(std::int32_t(5)));
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
