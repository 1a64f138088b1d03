// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exceptions.h"
#include "NumConv.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(long double)

class TestNumConv : public QObject
{
    Q_OBJECT

private slots:
    void init() { SetDecimalSeparator(u'.'); }
    void cleanup() { SetDecimalSeparator(u'.'); }

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
};

void TestNumConv::readsNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<long double>("expected");

    QTest::newRow("integer") << "1234" << 1234.0L;
    QTest::newRow("fraction") << "0.1" << 0.1L;
    QTest::newRow("leading and trailing spaces") << "   2.5   " << 2.5L;
    QTest::newRow("plus sign") << "+7" << 7.0L;
    QTest::newRow("minus sign") << "-2.25" << -2.25L;
    QTest::newRow("no integer digits") << ".5" << 0.5L;
    QTest::newRow("no fraction digits") << "5." << 5.0L;
    QTest::newRow("lone separator") << "." << 0.0L;
    QTest::newRow("signed lone separator") << "-." << 0.0L;
    QTest::newRow("separator then exponent") << ".E5" << 0.0L;
    QTest::newRow("leading zeros") << "000120" << 120.0L;
    QTest::newRow("exponent") << "1e3" << 1000.0L;
    QTest::newRow("exponent plus") << "1E+2" << 100.0L;
    QTest::newRow("exponent minus") << "25E-2" << 0.25L;
    QTest::newRow("exponent without digits") << "1E" << 1.0L;
    QTest::newRow("exponent sign without digits") << "3E-" << 3.0L;
    QTest::newRow("exponent then spaces") << "4E1  " << 40.0L;
    QTest::newRow("exponent leading zeros") << "1E0000000002" << 100.0L;
    QTest::newRow("exponent 499") << "1E499" << 1e499L;
    // The exponent reaches 500 with its last digit: reading stops, nothing is left over.
    QTest::newRow("exponent 500") << "1E500" << 1e500L;
    QTest::newRow("exponent 4932") << "1E4932" << 1e4932L;
    QTest::newRow("largest extended") << "1.18973149535723176502E4932" << LDBL_MAX;
    QTest::newRow("exponent -4999 underflows") << "1E-4999" << 0.0L;
    QTest::newRow("mantissa lifts exponent") << "0.0000001E4935" << 1e4928L;
    QTest::newRow("extended precision") << "0.1000000000000000000001" << 0.1000000000000000000001L;
}

void TestNumConv::readsNumbers()
{
    QFETCH(QString, text);
    QFETCH(long double, expected);
    long double value = -1;
    QVERIFY(TryStrToFloat(text, value));
    QCOMPARE(value, expected);
    QCOMPARE(StrToFloat(text), expected);
}

void TestNumConv::rejectsText_data()
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

void TestNumConv::rejectsText()
{
    QFETCH(QString, text);
    long double value = 0;
    QVERIFY(!TryStrToFloat(text, value));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text));
}

void TestNumConv::errorNamesWholeText_data()
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

void TestNumConv::errorNamesWholeText()
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

void TestNumConv::tinyBecomesZero()
{
    const long double value = StrToFloat(QStringLiteral("-1E-4999"));
    QCOMPARE(value, 0.0L);
    QVERIFY(std::signbit(value));
    QCOMPARE(static_cast<double>(StrToFloat(QStringLiteral("1E-400"))), 0.0);
}

void TestNumConv::veryLongDigitRuns()
{
    const QString ones(1'000'000, u'1');
    long double value = 0;
    QVERIFY(!TryStrToFloat(ones, value)); // about 1E999999: out of range

    const QString tiny = QStringLiteral("0.") + QString(999'998, u'0') + u'1';
    QVERIFY(TryStrToFloat(tiny, value));
    QCOMPARE(value, 0.0L);

    // Many digits are read exactly, with the exponent pulling them back in range.
    const QString scaled = u'1' + QString(5000, u'0') + QStringLiteral("E-4999");
    QVERIFY(TryStrToFloat(scaled, value));
    QCOMPARE(value, 10.0L);

    const QString spaces = QString(1'000'000, u' ') + u'7' + QString(1'000'000, u' ');
    QVERIFY(TryStrToFloat(spaces, value));
    QCOMPARE(value, 7.0L);
}

void TestNumConv::writesNumbers_data()
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

void TestNumConv::writesNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FloatToStr(value), text);
}

void TestNumConv::commaSeparator_data()
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

void TestNumConv::commaSeparator()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    SetDecimalSeparator(u',');
    QCOMPARE(DecimalSeparator(), QChar(u','));
    long double value = 0;
    QCOMPARE(TryStrToFloat(text, value), valid);
    if (valid)
        QCOMPARE(static_cast<double>(value), expected);
    QCOMPARE(FloatToStr(1.5), QStringLiteral("1,5"));
    QCOMPARE(FloatToStr(-1.5e-7), QStringLiteral("-1,5E-7"));
    QCOMPARE(FloatToStr(0.0001), QStringLiteral("0,0001"));
}

void TestNumConv::localeSeparatorIsOneCharacter()
{
    ReadDecimalSeparatorFromLocale();
    const QString point = QLocale::system().decimalPoint();
    QCOMPARE(DecimalSeparator(), point.isEmpty() ? QChar(u'.') : point.front());
    // Whatever the locale, what is written reads back.
    long double value = 0;
    QVERIFY(TryStrToFloat(FloatToStr(2.5), value));
    QCOMPARE(value, 2.5L);
}

void TestNumConv::writtenTextReadsBack()
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
        const long double expected = std::strtold(buffer, nullptr);
        const QString text = FloatToStr(value);
        long double value2 = 0;
        QVERIFY2(TryStrToFloat(text, value2), qPrintable(text));
        // The extended value is the nearest one, or its neighbour when the
        // nearest lies halfway between two doubles; either way it rounds to
        // the double the digits name.
        QVERIFY2(value2 == expected || std::nextafter(expected, value2) == value2,
                 qPrintable(text + u' ' + QString::fromLatin1(buffer)));
        QVERIFY2(static_cast<double>(value2) == std::strtod(buffer, nullptr),
                 qPrintable(text + u' ' + QString::fromLatin1(buffer)));
    }
}

void TestNumConv::fifteenDigitDoubleComesBack_data()
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

void TestNumConv::fifteenDigitDoubleComesBack()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(static_cast<double>(StrToFloat(text)), value);
    QCOMPARE(static_cast<double>(StrToFloat(FloatToStr(value))), value);
    // The extended value stays within one unit of the exact one.
    const long double nearest = std::strtold(text.toLatin1().constData(), nullptr);
    const long double read = StrToFloat(text);
    QVERIFY(read == nearest || std::nextafter(nearest, read) == read);
}

void TestNumConv::randomTextNeverCrashes()
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
        long double value = 0;
        if (TryStrToFloat(text, value)) {
            QVERIFY(std::isfinite(value));
            // Anything accepted is made only of the characters the grammar allows.
            for (QChar c : text)
                QVERIFY2(QStringLiteral("0123456789.+-eE ").contains(c), qPrintable(text));
        }
    }
}

QTEST_GUILESS_MAIN(TestNumConv)
#include "tst_NumConv.moc"
