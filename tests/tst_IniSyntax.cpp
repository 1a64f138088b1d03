// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IniSyntax.h"

#include <QtTest>

class tst_IniSyntax : public QObject
{
    Q_OBJECT

private slots:
    void profileInteger_data();
    void profileInteger();
    void nameKeys_data();
    void nameKeys();
};

void tst_IniSyntax::profileInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << "2" << true << 2;
    QTest::newRow("0x") << "0x2" << true << 2;
    QTest::newRow("0X") << "0X1f" << true << 31;
    QTest::newRow("0x alone") << "0x" << false << 0;
    QTest::newRow("0x not hex") << "0xg" << false << 0;
    QTest::newRow("0x then blank") << "0x1 " << false << 0;
    QTest::newRow("0x with sign") << "0x-1" << false << 0;
    QTest::newRow("0x largest") << "0x7FFFFFFF" << true << 2147483647;
    QTest::newRow("0x too large") << "0x80000000" << false << 0;
    QTest::newRow("0x all ones") << "0xFFFFFFFF" << false << 0;
    QTest::newRow("0x leading zeros") << "0x000000000000001" << true << 1;
    QTest::newRow("blank before 0x") << " 0x10" << false << 0;
    QTest::newRow("sign before 0x") << "-0x10" << false << 0;
    QTest::newRow("leading spaces") << "   12" << true << 12;
    QTest::newRow("trailing space") << "12 " << false << 0;
    QTest::newRow("leading tab") << "\t12" << false << 0;
    QTest::newRow("plus") << "+12" << true << 12;
    QTest::newRow("minus") << "-12" << true << -12;
    QTest::newRow("dollar") << "$1F" << true << 31;
    QTest::newRow("x") << "x10" << true << 16;
    QTest::newRow("X") << "X10" << true << 16;
    QTest::newRow("blank minus x") << " -x10" << true << -16;
    QTest::newRow("minus dollar smallest")
        << "-$80000000" << true << std::numeric_limits<int>::min();
    QTest::newRow("dollar too large") << "$80000000" << false << 0;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("smallest") << "-2147483648" << true << std::numeric_limits<int>::min();
    QTest::newRow("too small") << "-2147483649" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999999" << false << 0;
    QTest::newRow("leading zeros") << "000000000000000000000012" << true << 12;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "$" << false << 0;
    QTest::newRow("two signs") << "--1" << false << 0;
    QTest::newRow("word") << "abc" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("hex digits without prefix") << "1F" << false << 0;
    QTest::newRow("arabic-indic digits") << QString::fromUtf16(u"\u0661\u0662") << false << 0;
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"1\u00002", 3) << false << 0;
}

void tst_IniSyntax::profileInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    int result = -7;
    QCOMPARE(TryParseProfileInteger(text, result), valid);
    if (valid)
        QCOMPARE(result, value);
}

void tst_IniSyntax::nameKeys_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<bool>("same");

    QTest::newRow("ASCII case") << "Trainer"
                                << "tRAINER" << true;
    QTest::newRow("ASCII differs") << "Trainer"
                                   << "Trainers" << false;
    QTest::newRow("umlaut case") << QString::fromUtf16(u"\u00DCber")
                                 << QString::fromUtf16(u"\u00FCBER") << true;
    QTest::newRow("Kelvin sign") << "k" << QString::fromUtf16(u"\u212A") << true;
    QTest::newRow("sharp s is not ss") << QString::fromUtf16(u"\u00DF") << "ss" << false;
    QTest::newRow("replacement character")
        << QString::fromUtf16(u"a\uFFFD") << QString::fromUtf16(u"A\uFFFD") << true;
}

// Two names are the same to the reader exactly when their keys are equal.
void tst_IniSyntax::nameKeys()
{
    QFETCH(QString, stored);
    QFETCH(QString, wanted);
    QFETCH(bool, same);
    QCOMPARE(IniName(wanted).Matches(stored.toUtf8()), same);
    QCOMPARE(IniNameKey(stored) == IniNameKey(wanted), same);
}

QTEST_GUILESS_MAIN(tst_IniSyntax)
#include "tst_IniSyntax.moc"
