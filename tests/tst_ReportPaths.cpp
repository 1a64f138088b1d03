// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exceptions.h"
#include "core/ReportPaths.h"

#include <QTest>
#include <QUrl>

class TestReportPaths : public QObject
{
    Q_OBJECT
private slots:
    void paths_data();
    void paths();
    void urlRoundTrips_data();
    void urlRoundTrips();
    void executableNamedLikeTheBitmap_data();
    void executableNamedLikeTheBitmap();
};

void TestReportPaths::paths_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("bitmap");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("url");

    QTest::newRow("plain") << "/opt/trx/TRX"
                           << "/opt/trx/report.bmp"
                           << "/opt/trx/report.html"
                           << "file:///opt/trx/report.html";
    // Only the file name is the executable's: folders of the same name stay.
    QTest::newRow("folder named like the executable") << "/tmp/TRX/TRX"
                                                      << "/tmp/TRX/report.bmp"
                                                      << "/tmp/TRX/report.html"
                                                      << "file:///tmp/TRX/report.html";
    QTest::newRow("folder named TRX.exe") << "/a/TRX.exe/TRX"
                                          << "/a/TRX.exe/report.bmp"
                                          << "/a/TRX.exe/report.html"
                                          << "file:///a/TRX.exe/report.html";
    QTest::newRow("folder named report.bmp") << "/a/report.bmp/TRX"
                                             << "/a/report.bmp/report.bmp"
                                             << "/a/report.bmp/report.html"
                                             << "file:///a/report.bmp/report.html";
    QTest::newRow("executable named otherwise") << "/usr/local/bin/trx-1.2"
                                                << "/usr/local/bin/report.bmp"
                                                << "/usr/local/bin/report.html"
                                                << "file:///usr/local/bin/report.html";
    QTest::newRow("executable named like the page") << "/x/report.html"
                                                    << "/x/report.bmp"
                                                    << "/x/report.html"
                                                    << "file:///x/report.html";
    QTest::newRow("root folder") << "/TRX"
                                 << "/report.bmp"
                                 << "/report.html"
                                 << "file:///report.html";
    QTest::newRow("blank and hash escaped") << "/home/a b/#1/TRX"
                                            << "/home/a b/#1/report.bmp"
                                            << "/home/a b/#1/report.html"
                                            << "file:///home/a%20b/%231/report.html";
    QTest::newRow("percent escaped") << "/home/100%/TRX"
                                     << "/home/100%/report.bmp"
                                     << "/home/100%/report.html"
                                     << "file:///home/100%25/report.html";
    QTest::newRow("non-ASCII escaped")
        << QString::fromUtf8("/home/jürg/TRX") << QString::fromUtf8("/home/jürg/report.bmp")
        << QString::fromUtf8("/home/jürg/report.html") << "file:///home/j%C3%BCrg/report.html";
    QTest::newRow("doubled slashes cleaned") << "/opt//trx/./TRX"
                                             << "/opt/trx/report.bmp"
                                             << "/opt/trx/report.html"
                                             << "file:///opt/trx/report.html";

    // Over 300 characters: nothing is cut anywhere.
    const QString deep =
        QStringLiteral("/srv") + QString(QStringLiteral("/abcdefghij")).repeated(40);
    QVERIFY(deep.size() > 300);
    QTest::newRow("path over 300 characters")
        << deep + "/TRX" << deep + "/report.bmp" << deep + "/report.html"
        << "file://" + deep + "/report.html";
}

void TestReportPaths::paths()
{
    QFETCH(QString, executable);
    QFETCH(QString, bitmap);
    QFETCH(QString, page);
    QFETCH(QString, url);

    const ReportPaths paths = ReportPathsFor(executable);
    QCOMPARE(paths.bitmapPath, bitmap);
    QCOMPARE(paths.pagePath, page);
    QCOMPARE(paths.url, url);
    QVERIFY(paths.bitmapPath != executable);
}

void TestReportPaths::urlRoundTrips_data()
{
    QTest::addColumn<QString>("executable");
    QTest::newRow("plain") << "/opt/trx/TRX";
    QTest::newRow("blanks") << "/home/a b/c  d/TRX";
    QTest::newRow("delimiters") << "/home/?x=1&y#z;/TRX";
    QTest::newRow("percent") << "/home/%41%/TRX";
    QTest::newRow("non-ASCII") << QString::fromUtf8("/home/Ω ç/TRX");
    QTest::newRow("500 characters") << "/" + QString(499 - 4, QLatin1Char('q')) + "/TRX";
}

void TestReportPaths::urlRoundTrips()
{
    QFETCH(QString, executable);
    const ReportPaths paths = ReportPathsFor(executable);
    const QUrl url(paths.url, QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QCOMPARE(url.scheme(), QStringLiteral("file"));
    QCOMPARE(url.toLocalFile(), paths.pagePath);
}

void TestReportPaths::executableNamedLikeTheBitmap_data()
{
    QTest::addColumn<QString>("executable");
    QTest::newRow("folder") << "/opt/trx/report.bmp";
    QTest::newRow("root") << "/report.bmp";
}

void TestReportPaths::executableNamedLikeTheBitmap()
{
    QFETCH(QString, executable);
    try {
        ReportPathsFor(executable);
        QFAIL("the executable's own path was handed out as the bitmap");
    } catch (const EFCreateError& error) {
        QVERIFY2(error.Message().startsWith("Cannot create file \"" + executable + "\". "),
                 qPrintable(error.Message()));
        QVERIFY(error.Message().size() > executable.size() + 24);
    }
}

QTEST_APPLESS_MAIN(TestReportPaths)
#include "tst_ReportPaths.moc"
