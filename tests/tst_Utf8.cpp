// SPDX-License-Identifier: GPL-3.0-or-later
// The UTF-8 sequence rule that trx-check's text scan and the terminal
// escaping share: what is one character, and what is a byte to report.

#include "cli/Utf8.h"

#include <QtTest>

class tst_Utf8 : public QObject
{
    Q_OBJECT
private slots:
    void sequence_data();
    void sequence();
};

void tst_Utf8::sequence_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("available"); // bytes before the end; -1: all of them
    QTest::addColumn<int>("length");
    QTest::addColumn<uint>("code"); // when length > 0

    QTest::newRow("ASCII") << QByteArray("A\xC3") << -1 << 1 << 0x41u;
    QTest::newRow("NUL") << QByteArray(1, '\0') << -1 << 1 << 0u;
    QTest::newRow("first of two bytes") << QByteArray("\xC2\x80") << -1 << 2 << 0x80u;
    QTest::newRow("last of two bytes") << QByteArray("\xDF\xBF") << -1 << 2 << 0x7FFu;
    QTest::newRow("first of three bytes") << QByteArray("\xE0\xA0\x80") << -1 << 3 << 0x800u;
    QTest::newRow("before the surrogates") << QByteArray("\xED\x9F\xBF") << -1 << 3 << 0xD7FFu;
    QTest::newRow("after the surrogates") << QByteArray("\xEE\x80\x80") << -1 << 3 << 0xE000u;
    QTest::newRow("last of three bytes") << QByteArray("\xEF\xBF\xBF") << -1 << 3 << 0xFFFFu;
    QTest::newRow("first of four bytes") << QByteArray("\xF0\x90\x80\x80") << -1 << 4 << 0x10000u;
    QTest::newRow("last code point") << QByteArray("\xF4\x8F\xBF\xBF") << -1 << 4 << 0x10FFFFu;
    QTest::newRow("more bytes after it") << QByteArray("\xC3\xA9\xA9") << -1 << 2 << 0xE9u;
    QTest::newRow("stray continuation") << QByteArray("\x80") << -1 << 0 << 0u;
    QTest::newRow("overlong two bytes") << QByteArray("\xC1\xBF") << -1 << 0 << 0u;
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x9F\xBF") << -1 << 0 << 0u;
    QTest::newRow("overlong four bytes") << QByteArray("\xF0\x8F\xBF\xBF") << -1 << 0 << 0u;
    QTest::newRow("first surrogate") << QByteArray("\xED\xA0\x80") << -1 << 0 << 0u;
    QTest::newRow("last surrogate") << QByteArray("\xED\xBF\xBF") << -1 << 0 << 0u;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << -1 << 0 << 0u;
    QTest::newRow("lead byte F8") << QByteArray("\xF8\x88\x80\x80\x80") << -1 << 0 << 0u;
    QTest::newRow("lead byte FF") << QByteArray("\xFF") << -1 << 0 << 0u;
    QTest::newRow("not continued") << QByteArray("\xC3(") << -1 << 0 << 0u;
    QTest::newRow("continued too late") << QByteArray("\xE2\x82(\xAC") << -1 << 0 << 0u;
    QTest::newRow("cut by the data's end") << QByteArray("\xF0\x9F\x98") << -1 << 0 << 0u;
    QTest::newRow("cut by the end given") << QByteArray("\xE2\x82\xAC") << 2 << 0 << 0u;
}

void tst_Utf8::sequence()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, available);
    QFETCH(int, length);
    QFETCH(uint, code);
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    char32_t got = 0;
    QCOMPARE(Utf8SequenceLength(p, p + (available < 0 ? bytes.size() : available), got), length);
    if (length > 0)
        QCOMPARE(uint(got), code);
}

QTEST_GUILESS_MAIN(tst_Utf8)
#include "tst_Utf8.moc"
