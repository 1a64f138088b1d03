// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exceptions.h"
#include "core/ListField.h"
#include "core/NumConv.h"

#include <QtTest>

class tst_ListField : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanup() { SetDecimalSeparator(m_separator); }

    void fields_data();
    void fields();
    void commaSeparatorInFields();
    void longListsDoNotRecurse();
    void valueTooLongToHoldIndex();

private:
    QChar m_separator;
};

void tst_ListField::fields_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    // Empty when ListFieldValue gives a number; else the %s of its error.
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("number");

    QTest::newRow("middle field") << "10;20;30;" << 1 << "20" << true << 20.0;
    QTest::newRow("first field") << "10;20;30;" << 0 << "10" << true << 10.0;
    QTest::newRow("last field") << "10;20;30;" << 2 << "30" << true << 30.0;
    QTest::newRow("past the end") << "10;20;30;" << 3 << "" << false << 0.0;
    QTest::newRow("far past the end") << "10;20;30;" << 1000000 << "" << false << 0.0;
    QTest::newRow("no final separator") << "10;20;30" << 2 << "" << false << 0.0;
    QTest::newRow("no final separator, first") << "10;20;30" << 0 << "10" << true << 10.0;
    QTest::newRow("no separator at all") << "30" << 0 << "" << false << 0.0;
    QTest::newRow("no separator, later index") << "30" << 3 << "" << false << 0.0;
    QTest::newRow("blank field") << "10; ;30;" << 1 << "" << false << 0.0;
    QTest::newRow("leading separator") << ";10;" << 0 << "" << false << 0.0;
    QTest::newRow("after leading separator") << ";10;" << 1 << "10" << true << 10.0;
    QTest::newRow("name with blanks")
        << "Empty aircraft ;Pilot;" << 0 << "Empty aircraft" << false << 0.0;
    QTest::newRow("second name") << "Empty aircraft ;Pilot;" << 1 << "Pilot" << false << 0.0;
    QTest::newRow("blanks around numbers") << "  80 ;  60 ;" << 1 << "60" << true << 60.0;
    QTest::newRow("control characters trimmed")
        << QString::fromUtf16(u"\t\u0001 1.5\r\n\u001F;") << 0 << "1.5" << true << 1.5;
    QTest::newRow("NUL trimmed") << QString::fromUtf16(u"\u00002\u0000;", 4) << 0 << "2" << true
                                 << 2.0;
    QTest::newRow("no-break space kept")
        << QString::fromUtf16(u"\u00A05;") << 0 << QString::fromUtf16(u"\u00A05") << false << 0.0;
    QTest::newRow("empty list") << "" << 0 << "" << false << 0.0;
    QTest::newRow("only separators") << ";;;" << 2 << "" << false << 0.0;
    QTest::newRow("malformed number") << "1.2.3;" << 0 << "1.2.3" << false << 0.0;
    QTest::newRow("exponent field") << "1E3;" << 0 << "1E3" << true << 1000.0;
    QTest::newRow("negative index") << "10;20;" << -1 << "" << false << 0.0;
    QTest::newRow("most negative index")
        << "10;20;" << std::numeric_limits<int>::min() << "" << false << 0.0;
}

void tst_ListField::fields()
{
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, number);

    QCOMPARE(ListFieldText(index, list), text);
    // All fields at once give the same text.
    QCOMPARE(index >= 0 ? ListFields(list).value(index) : QString(), text);
    if (isNumber) {
        QCOMPARE(static_cast<double>(ListFieldValue(index, list)), number);
        return;
    }
    try {
        ListFieldValue(index, list);
        QFAIL("no error");
    } catch (const EConvertError& e) {
        QCOMPARE(e.Message(),
                 u'\'' + text + QStringLiteral("' is not a valid floating point value"));
    }
}

void tst_ListField::commaSeparatorInFields()
{
    SetDecimalSeparator(u',');
    QCOMPARE(static_cast<double>(ListFieldValue(1, QStringLiteral("0,5;1,25;"))), 1.25);
    QVERIFY_THROWS_EXCEPTION(EConvertError, ListFieldValue(0, QStringLiteral("1.5;")));
    QCOMPARE(ListFieldText(0, QStringLiteral("1.5;")), QStringLiteral("1.5"));
}

void tst_ListField::longListsDoNotRecurse()
{
    // 500000 fields: taking the last one must neither exhaust the stack nor
    // copy the list once per field (terabytes of copying: the test's time-out
    // ends that; bench_files times the reading).
    const int count = 500000;
    QString list;
    list.reserve(count * 7);
    for (int k = 0; k < count; ++k)
        list += QString::number(k) + u';';
    QCOMPARE(static_cast<double>(ListFieldValue(count - 1, list)), double(count - 1));
    QCOMPARE(ListFieldText(count, list), QString());
    QCOMPARE(ListFieldText(count / 2, list), QString::number(count / 2));

    const QString noSeparator(1'000'000, u'x');
    QCOMPARE(ListFieldText(std::numeric_limits<int>::max(), noSeparator), QString());
}

void tst_ListField::valueTooLongToHoldIndex()
{
    // A value is cut at 2047 characters; a field cut in half is missing.
    QString list;
    while (list.size() < 2047)
        list += QStringLiteral("123;");
    list.truncate(2047);
    const int whole = 2047 / 4;
    QCOMPARE(ListFieldText(whole - 1, list), QStringLiteral("123"));
    QCOMPARE(ListFieldText(whole, list), QString());
}

QTEST_GUILESS_MAIN(tst_ListField)
#include "tst_ListField.moc"
