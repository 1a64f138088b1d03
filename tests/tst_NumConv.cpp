// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "core/ReadableFigure.h"

#include <QRandomGenerator>
#include <QtTest>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(Extended)

namespace {

using Ops = ExtendedOps<Extended>;

// An extended value from its x86-64 encoding.
Extended Bits(uint16_t signExponent, uint64_t significand)
{
    return Ops::FromBits({signExponent, significand});
}

// The encoding, to compare bit for bit and show both sides.
QString Hex(Extended value)
{
    const ExtendedBits bits = Ops::Bits(value);
    return QStringLiteral("%1:%2")
        .arg(bits.signExponent, 4, 16, QLatin1Char('0'))
        .arg(bits.significand, 16, 16, QLatin1Char('0'));
}

// The extended value nearest to a number text, without the double tie rule.
Extended Nearest(const QString& text)
{
    std::string digits;
    Extended value = 0;
    if (!NumberDigits(text, u'.', digits) || !Ops::Nearest(digits.c_str(), value))
        qFatal("not a number: %s", qPrintable(text));
    return value;
}

bool IsFinite(Extended value)
{
    return (Ops::Bits(value).signExponent & 0x7fff) != 0x7fff;
}

} // namespace

class tst_NumConv : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanup() { SetDecimalSeparator(m_separator); }

    void readsNumbers_data();
    void readsNumbers();
    void rejectsText_data();
    void rejectsText();
    void errorNamesWholeText_data();
    void errorNamesWholeText();
    void tinyBecomesZero();
    void veryLongDigitRuns();
    void writesNumbers_data();
    void writesNumbers();
    void commaSeparator_data();
    void commaSeparator();
    void localeSeparatorIsOneCharacter();
    void writtenTextReadsBack();
    void fifteenDigitDoubleComesBack_data();
    void fifteenDigitDoubleComesBack();
    void randomTextNeverCrashes();
    void productToDouble_data();
    void productToDouble();
    void addToSingle_data();
    void addToSingle();
    void readableFigure_data();
    void readableFigure();
    void comparesWithSingle_data();
    void comparesWithSingle();

private:
    QChar m_separator;
};

void tst_NumConv::readsNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Extended>("expected");

    QTest::newRow("integer") << "1234" << Extended(1234.0);
    QTest::newRow("fraction") << "0.1" << Bits(0x3ffb, 0xcccccccccccccccd);
    QTest::newRow("leading and trailing spaces") << "   2.5   " << Extended(2.5);
    QTest::newRow("plus sign") << "+7" << Extended(7.0);
    QTest::newRow("minus sign") << "-2.25" << Extended(-2.25);
    QTest::newRow("no integer digits") << ".5" << Extended(0.5);
    QTest::newRow("no fraction digits") << "5." << Extended(5.0);
    QTest::newRow("lone separator") << "." << Extended(0.0);
    QTest::newRow("signed lone separator") << "-." << Extended(-0.0);
    QTest::newRow("separator then exponent") << ".E5" << Extended(0.0);
    QTest::newRow("leading zeros") << "000120" << Extended(120.0);
    QTest::newRow("exponent") << "1e3" << Extended(1000.0);
    QTest::newRow("exponent plus") << "1E+2" << Extended(100.0);
    QTest::newRow("exponent minus") << "25E-2" << Extended(0.25);
    QTest::newRow("exponent without digits") << "1E" << Extended(1.0);
    QTest::newRow("exponent sign without digits") << "3E-" << Extended(3.0);
    QTest::newRow("exponent then spaces") << "4E1  " << Extended(40.0);
    QTest::newRow("exponent leading zeros") << "1E0000000002" << Extended(100.0);
    QTest::newRow("exponent 499") << "1E499" << Bits(0x4678, 0xc7c265ea160544ac);
    // The exponent reaches 500 with its last digit: reading stops, nothing is left over.
    QTest::newRow("exponent 500") << "1E500" << Bits(0x467b, 0xf9b2ff649b8695d7);
    QTest::newRow("exponent 4932") << "1E4932" << Bits(0x7ffe, 0xd72cb2a95c7ef6cd);
    QTest::newRow("largest extended")
        << "1.18973149535723176502E4932" << Bits(0x7ffe, 0xffffffffffffffff);
    QTest::newRow("just below the midpoint to overflow")
        << "1.1897314953572317650E4932" << Bits(0x7ffe, 0xffffffffffffffff);
    QTest::newRow("exponent -4999 underflows") << "1E-4999" << Extended(0.0);
    QTest::newRow("smallest normal")
        << "3.3621031431120935063E-4932" << Bits(0x0001, 0x8000000000000000);
    QTest::newRow("smallest subnormal")
        << "-3.6451995318824746025E-4951" << Bits(0x8000, 0x0000000000000001);
    // Exactly half the smallest subnormal is a tie, rounded to the even zero.
    QTest::newRow("just above half the smallest")
        << "1.8225997659412373013E-4951" << Bits(0x0000, 0x0000000000000001);
    QTest::newRow("just below half the smallest") << "1.8225997659412373012E-4951" << Extended(0.0);
    // Ties at the 64th bit go to the even significand.
    QTest::newRow("2^64 + 1") << "18446744073709551617" << Bits(0x403f, 0x8000000000000000);
    QTest::newRow("2^64 + 3") << "18446744073709551619" << Bits(0x403f, 0x8000000000000002);
    QTest::newRow("mantissa lifts exponent")
        << "0.0000001E4935" << Bits(0x7ff1, 0xb045626fb50a35e7);
    // Two units of extended precision above 0.1, the same double as 0.1.
    QTest::newRow("extended precision")
        << "0.100000000000000000008" << Bits(0x3ffb, 0xccccccccccccccce);
}

void tst_NumConv::readsNumbers()
{
    QFETCH(QString, text);
    QFETCH(Extended, expected);
    Extended value = -1;
    QVERIFY(TryStrToFloat(text, value));
    QCOMPARE(Hex(value), Hex(expected));
    QCOMPARE(Hex(StrToFloat(text)), Hex(expected));
}

void tst_NumConv::rejectsText_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("sign only") << "-";
    QTest::newRow("exponent only") << "E5";
    QTest::newRow("leading tab") << "\t1";
    QTest::newRow("trailing tab") << "1\t";
    QTest::newRow("trailing newline") << "1\n";
    QTest::newRow("inner blank") << "1 2";
    QTest::newRow("blank before exponent") << "1 E5";
    QTest::newRow("two separators") << "1.5.";
    QTest::newRow("two signs") << "+-1";
    QTest::newRow("comma") << "1,5";
    QTest::newRow("thousands") << "1,000";
    QTest::newRow("hex") << "0x10";
    QTest::newRow("dollar hex") << "$10";
    QTest::newRow("INF") << "INF";
    QTest::newRow("inf") << "inf";
    QTest::newRow("NAN") << "NAN";
    QTest::newRow("double exponent sign") << "1E++1";
    // 5, 50, 500: reading stops, the last 0 is left over.
    QTest::newRow("exponent 5000") << "1E5000";
    QTest::newRow("exponent -5000") << "1E-5000";
    QTest::newRow("just past the largest extended") << "1.2E4932";
    QTest::newRow("just above the midpoint to overflow") << "1.1897314953572317651E4932";
    QTest::newRow("exponent 4999 overflows") << "1E4999";
    QTest::newRow("overflow by mantissa") << "2E4932";
    QTest::newRow("letters") << "abc";
    QTest::newRow("digits then letter") << "12a";
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"1\u00002", 3);
    QTest::newRow("trailing NUL") << QString::fromUtf16(u"12\u0000", 3);
    QTest::newRow("no-break space") << QString::fromUtf16(u"1\u00A0");
    QTest::newRow("arabic-indic digits") << QString::fromUtf16(u"\u0661\u0662");
    QTest::newRow("fullwidth digit") << QString::fromUtf16(u"\uFF11");
    QTest::newRow("superscript two") << QString::fromUtf16(u"1E\u00B2");
}

void tst_NumConv::rejectsText()
{
    QFETCH(QString, text);
    Extended value = 0;
    QVERIFY(!TryStrToFloat(text, value));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text));
}

void tst_NumConv::errorNamesWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("word") << "abc"
                          << "'abc' is not a valid floating point value";
    QTest::newRow("blanks kept") << "  1x "
                                 << "'  1x ' is not a valid floating point value";
    QTest::newRow("empty") << ""
                           << "'' is not a valid floating point value";
    QTest::newRow("percent sign") << "%1%s"
                                  << "'%1%s' is not a valid floating point value";
}

void tst_NumConv::errorNamesWholeText()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        StrToFloat(text);
        QFAIL("no error");
    } catch (const EConvertError& e) {
        QCOMPARE(e.Message(), message);
        QCOMPARE(ErrorBoxText(e.Message()), message + u'.');
    }
}

void tst_NumConv::tinyBecomesZero()
{
    QCOMPARE(Hex(StrToFloat(QStringLiteral("-1E-4999"))), Hex(-0.0));
    QCOMPARE(static_cast<double>(StrToFloat(QStringLiteral("1E-400"))), 0.0);
}

void tst_NumConv::veryLongDigitRuns()
{
    const QString ones(1'000'000, u'1');
    Extended value = 0;
    QVERIFY(!TryStrToFloat(ones, value)); // about 1E999999: out of range

    const QString tiny = QStringLiteral("0.") + QString(999'998, u'0') + u'1';
    QVERIFY(TryStrToFloat(tiny, value));
    QCOMPARE(Hex(value), Hex(0.0));

    // Many digits are read exactly, with the exponent pulling them back in range.
    const QString scaled = u'1' + QString(5000, u'0') + QStringLiteral("E-4999");
    QVERIFY(TryStrToFloat(scaled, value));
    QCOMPARE(Hex(value), Hex(10.0));

    const QString spaces = QString(1'000'000, u' ') + u'7' + QString(1'000'000, u' ');
    QVERIFY(TryStrToFloat(spaces, value));
    QCOMPARE(Hex(value), Hex(7.0));
}

void tst_NumConv::writesNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("one") << 1.0 << "1";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("integer") << 1234.0 << "1234";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("written back") << 100.5 << "100.5";
    QTest::newRow("0.0001 fixed") << 0.0001 << "0.0001";
    QTest::newRow("0.00001 scientific") << 0.00001 << "1E-5";
    QTest::newRow("rounds up to 0.0001") << 0.00009999999999999999 << "0.0001";
    QTest::newRow("just below 0.0001") << 0.000099999999999999 << "9.9999999999999E-5";
    QTest::newRow("15 digits below 0.0001") << 9.99999999999995e-05 << "9.99999999999995E-5";
    QTest::newRow("10^15") << 1e15 << "1E15";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("rounds up to 10^15") << 999999999999999.5 << "1E15";
    QTest::newRow("10^14") << 1e14 << "100000000000000";
    QTest::newRow("1.5E20") << 1.5e20 << "1.5E20";
    QTest::newRow("negative small") << -1.5e-7 << "-1.5E-7";
    QTest::newRow("tie away from zero") << 123456789012344.5 << "123456789012345";
    QTest::newRow("negative tie") << -123456789012344.5 << "-123456789012345";
    // Exact value 1.00000000000000488...: rounding twice would give 1.00000000000001.
    QTest::newRow("no double rounding") << 1.0000000000000049 << "1";
    QTest::newRow("one third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("single 0.1 widened") << static_cast<double>(0.1f) << "0.100000001490116";
    QTest::newRow("large") << 123456789012345678.0 << "1.23456789012346E17";
    QTest::newRow("largest double") << DBL_MAX << "1.79769313486232E308";
    QTest::newRow("smallest denormal")
        << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "INF";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "-INF";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "NAN";
}

void tst_NumConv::writesNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FloatToStr(value), text);
}

void tst_NumConv::commaSeparator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");

    QTest::newRow("comma") << "1,5" << true << 1.5;
    QTest::newRow("lone comma") << "," << true << 0.0;
    QTest::newRow("comma and exponent") << "-2,5E1" << true << -25.0;
    QTest::newRow("point") << "1.5" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
}

void tst_NumConv::commaSeparator()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    SetDecimalSeparator(u',');
    QCOMPARE(DecimalSeparator(), QChar(u','));
    Extended value = 0;
    QCOMPARE(TryStrToFloat(text, value), valid);
    if (valid)
        QCOMPARE(static_cast<double>(value), expected);
    QCOMPARE(FloatToStr(1.5), QStringLiteral("1,5"));
    QCOMPARE(FloatToStr(-1.5e-7), QStringLiteral("-1,5E-7"));
    QCOMPARE(FloatToStr(0.0001), QStringLiteral("0,0001"));
}

void tst_NumConv::localeSeparatorIsOneCharacter()
{
    ReadDecimalSeparatorFromLocale();
    const QString point = QLocale::system().decimalPoint();
    QCOMPARE(DecimalSeparator(), point.isEmpty() ? QChar(u'.') : point.front());
    // Whatever the locale, what is written reads back.
    Extended value = 0;
    QVERIFY(TryStrToFloat(FloatToStr(2.5), value));
    QCOMPARE(Hex(value), Hex(2.5));
}

void tst_NumConv::writtenTextReadsBack()
{
    // 15 significant digits round-tripped through text agree with printf's
    // rounding except at exact ties, which random doubles never hit.
    QRandomGenerator random(20240611);
    for (int k = 0; k < 20000; ++k) {
        double value;
        do {
            const quint64 bits = random.generate64();
            std::memcpy(&value, &bits, sizeof value);
        } while (!std::isfinite(value));
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.14e", value);
        const Extended expected = Nearest(QString::fromLatin1(buffer));
        const QString text = FloatToStr(value);
        Extended value2 = 0;
        QVERIFY2(TryStrToFloat(text, value2), qPrintable(text));
        // The extended value is the nearest one, or its neighbour when the
        // nearest lies halfway between two doubles; either way it rounds to
        // the double the digits name.
        QVERIFY2(value2 == expected || Ops::NextToward(expected, value2) == value2,
                 qPrintable(text + u' ' + QString::fromLatin1(buffer)));
        QVERIFY2(static_cast<double>(value2) == std::strtod(buffer, nullptr),
                 qPrintable(text + u' ' + QString::fromLatin1(buffer)));
    }
}

void tst_NumConv::fifteenDigitDoubleComesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    // Texts whose nearest extended value lies exactly halfway between two
    // doubles; rounding that to double picked the wrong neighbour.
    QTest::newRow("large, found by fuzzing") << "-9.55580114999999E28" << -9.55580114999999e28;
    QTest::newRow("hundreds") << "307.116457415008" << 307.116457415008;
    QTest::newRow("millions") << "264350691.280607" << 264350691.280607;
    QTest::newRow("small") << "5.20536050076390E-5" << 5.20536050076390e-5;
    QTest::newRow("huge") << "5.91393103255271E33" << 5.91393103255271e33;
    QTest::newRow("ordinary") << "2.442" << 2.442;
}

void tst_NumConv::fifteenDigitDoubleComesBack()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(static_cast<double>(StrToFloat(text)), value);
    QCOMPARE(static_cast<double>(StrToFloat(FloatToStr(value))), value);
    // The extended value stays within one unit of the exact one.
    const Extended nearest = Nearest(text);
    const Extended read = StrToFloat(text);
    QVERIFY(read == nearest || Ops::NextToward(nearest, read) == read);
}

void tst_NumConv::randomTextNeverCrashes()
{
    QRandomGenerator random(7);
    const char16_t alphabet[] = u"0123456789.,+-eE $x\t\u0000\u00A0\u0661";
    const int size = static_cast<int>(std::size(alphabet)) - 1;
    for (int k = 0; k < 50000; ++k) {
        QString text;
        const int length = random.bounded(12);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(8) == 0)
                text += QChar(static_cast<char16_t>(random.bounded(0x10000)));
            else
                text += QChar(alphabet[random.bounded(size)]);
        }
        Extended value = 0;
        if (TryStrToFloat(text, value)) {
            QVERIFY(IsFinite(value));
            // Anything accepted is made only of the characters the grammar allows.
            for (QChar c : text)
                QVERIFY2(QStringLiteral("0123456789.+-eE ").contains(c), qPrintable(text));
        }
    }
}

// The steps after reading, at their edges; the extended result is rounded
// to 64 bits first, then to double or single, as on x86-64.
void tst_NumConv::productToDouble_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<double>("expected");

    QTest::newRow("torque") << "1.5"
                            << "80" << 120.0;
    // The 64-bit product is a tie for double, which rounds it to even;
    // the exact product would round up to 1076480885259489874280448.
    QTest::newRow("rounded twice") << "1089936159013"
                                   << "987654989109" << 1076480885259489740062720.0;
    QTest::newRow("subnormal double") << "1E-200"
                                      << "1E-120" << 0x0.00000000007e8p-1022;
    QTest::newRow("zero keeps its sign") << "-1E-4000"
                                         << "1E-4000" << -0.0;
    QTest::newRow("beyond double") << "-1E300"
                                   << "1E10" << -qInf();
}

void tst_NumConv::productToDouble()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(double, expected);
    const double product = ProductToDouble(StrToFloat(a), StrToFloat(b));
    QCOMPARE(std::bit_cast<quint64>(product), std::bit_cast<quint64>(expected));
}

void tst_NumConv::addToSingle_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<float>("total");
    QTest::addColumn<float>("expected");

    QTest::newRow("tie to even") << "16777217" << 0.0f << 16777216.0f;
    // 1 + 2^-24 + 2^-70 is 1 + 2^-24 at 64 bits: a tie for single, to even.
    QTest::newRow("rounded twice")
        << "5.96046447753914720329472543003390683225006796419620513916016E-8" << 1.0f << 1.0f;
    QTest::newRow("subnormal single") << "1E-40" << 0.0f << 0x1.16c2p-133f;
    QTest::newRow("largest single") << "3.4028235E38" << 0.0f << FLT_MAX;
    QTest::newRow("beyond single") << "3.4028236E38" << 0.0f << float(qInf());
    QTest::newRow("cancelled to +0") << "-700" << 700.0f << 0.0f;
}

void tst_NumConv::addToSingle()
{
    QFETCH(QString, value);
    QFETCH(float, total);
    QFETCH(float, expected);
    const float sum = AddToSingle(StrToFloat(value), total);
    QCOMPARE(std::bit_cast<quint32>(sum), std::bit_cast<quint32>(expected));
}

void tst_NumConv::comparesWithSingle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("limit");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("greater");

    // Single precision holds 0.1 as 0.100000001490116...
    QTest::newRow("0.1") << "0.1" << 0.1f << true << false;
    QTest::newRow("0.1 as single") << "0.100000001490116119384765625" << 0.1f << false << false;
    QTest::newRow("just above") << "0.1000000014901161194" << 0.1f << false << true;
    QTest::newRow("below the singles") << "1E-46" << 0.0f << false << true;
    QTest::newRow("negative zero") << "-0" << 0.0f << false << false;
}

void tst_NumConv::comparesWithSingle()
{
    QFETCH(QString, text);
    QFETCH(float, limit);
    QFETCH(bool, less);
    QFETCH(bool, greater);
    const Extended value = StrToFloat(text);
    QCOMPARE(value < limit, less);
    QCOMPARE(value > limit, greater);
}

// Figures for people: rounded, but a value that is not zero never reads as
// zero, and the separator is the program's.
void tst_NumConv::readableFigure_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("moment to 0.1") << 138618.796875 << 1 << QChar(u'.') << "138618.8";
    QTest::newRow("whole weight") << 3087.0 << 1 << QChar(u'.') << "3087.0";
    QTest::newRow("centre to 0.01 in") << 44.90404923874311 << 2 << QChar(u'.') << "44.90";
    QTest::newRow("centre to 0.001 m") << 0.969530184957005 << 3 << QChar(u'.') << "0.970";
    QTest::newRow("comma locale") << 0.969530184957005 << 3 << QChar(u',') << "0,970";
    QTest::newRow("small margin keeps a digit") << 0.04 << 1 << QChar(u'.') << "0.04";
    QTest::newRow("small negative margin") << -0.00031 << 2 << QChar(u'.') << "-0.0003";
    QTest::newRow("zero stays zero") << 0.0 << 1 << QChar(u'.') << "0.0";
    QTest::newRow("negative zero") << -0.0 << 1 << QChar(u'.') << "0.0";
    QTest::newRow("tiny") << 1e-20 << 1 << QChar(u'.') << "1E-20";
    QTest::newRow("infinite, in words") << qInf() << 1 << QChar(u'.') << "infinite";
    QTest::newRow("minus infinite") << -qInf() << 1 << QChar(u'.') << "minus infinite";
    QTest::newRow("not a number") << qQNaN() << 1 << QChar(u'.') << "not a number";
}

void tst_NumConv::readableFigure()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    SetDecimalSeparator(separator);
    QCOMPARE(ReadableFigure(value, decimals), text);
}

QTEST_GUILESS_MAIN(tst_NumConv)
#include "tst_NumConv.moc"
