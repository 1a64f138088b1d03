// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/PageCodes.h"

#include <QLocale>
#include <QTest>

class tst_PageCodes : public QObject
{
    Q_OBJECT
private slots:
    void expand_data();
    void expand();
};

void tst_PageCodes::expand_data()
{
    QTest::addColumn<QString>("codes");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("centre");
    QTest::addColumn<QString>("right");

    const QDateTime now(QDate(2024, 3, 7), QTime(14, 5));
    const QLocale locale;
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);

    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("plain text") << "Weight and balance"
                                << "Weight and balance"
                                << ""
                                << "";
    QTest::newRow("override footer") << "&d &w&bPage &p of &P" << date + " Report"
                                     << ""
                                     << "Page 3 of 9";
    QTest::newRow("two breaks centre") << "&b&w&b"
                                       << ""
                                       << "Report"
                                       << "";
    QTest::newRow("three parts") << "a&bb&bc"
                                 << "a"
                                 << "b"
                                 << "c";
    QTest::newRow("extra breaks stay right") << "a&bb&bc&bd"
                                             << "a"
                                             << "b"
                                             << "cd";
    QTest::newRow("literal ampersand") << "R&&D &&p"
                                       << "R&D &p"
                                       << ""
                                       << "";
    QTest::newRow("literal b is no break") << "x&&by"
                                           << "x&by"
                                           << ""
                                           << "";
    QTest::newRow("address") << "&u"
                             << "file:///tmp/report.html"
                             << ""
                             << "";
    QTest::newRow("long date and time") << "&D &t"
                                        << locale.toString(now.date(), QLocale::LongFormat) + " " +
                                               locale.toString(now.time(), QLocale::ShortFormat)
                                        << ""
                                        << "";
    QTest::newRow("24-hour time") << "&T"
                                  << "14:05"
                                  << ""
                                  << "";
    QTest::newRow("unknown code kept") << "&q&z"
                                       << "&q&z"
                                       << ""
                                       << "";
    QTest::newRow("lone trailing ampersand") << "end&"
                                             << "end&"
                                             << ""
                                             << "";
    QTest::newRow("browser default header") << "&w&bPage &p of &P"
                                            << "Report"
                                            << ""
                                            << "Page 3 of 9";
}

void tst_PageCodes::expand()
{
    QFETCH(QString, codes);

    TPageCodeContext context;
    context.title = QStringLiteral("Report");
    context.url = QStringLiteral("file:///tmp/report.html");
    context.now = QDateTime(QDate(2024, 3, 7), QTime(14, 5));
    context.page = 3;
    context.pageCount = 9;
    const THeaderFooterLine line = ExpandPageCodes(codes, context);
    QTEST(line.left, "left");
    QTEST(line.centre, "centre");
    QTEST(line.right, "right");
}

QTEST_GUILESS_MAIN(tst_PageCodes)
#include "tst_PageCodes.moc"
