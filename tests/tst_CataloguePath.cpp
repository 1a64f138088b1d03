// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CataloguePath.h"

#include <QtTest>

class TestCataloguePath : public QObject
{
    Q_OBJECT

private slots:
    void path_data();
    void path();
};

void TestCataloguePath::path_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("catalogue");

    QTest::newRow("no extension") << "/opt/trx/TRX"
                                  << "/opt/trx/TRX.ini";
    QTest::newRow("dot in a folder") << "/a.b/TRX"
                                     << "/a.b/TRX.ini";
    QTest::newRow("extension replaced") << "/x/TRX.exe"
                                        << "/x/TRX.ini";
    QTest::newRow("last dot only") << "/x/TRX.tar.gz"
                                   << "/x/TRX.tar.ini";
    QTest::newRow("trailing dot") << "/x/TRX."
                                  << "/x/TRX.ini";
    QTest::newRow("dot file") << "/x/.trx"
                              << "/x/.ini";
    QTest::newRow("relative") << "TRX"
                              << "TRX.ini";
    QTest::newRow("relative with extension") << "TRX.bin"
                                             << "TRX.ini";
    QTest::newRow("test executable") << "/b/tests/tst_X"
                                     << "/b/tests/tst_X.ini";
    QTest::newRow("non-ASCII") << QString::fromUtf16(u"/h\u00E9/\u00DC.x")
                               << QString::fromUtf16(u"/h\u00E9/\u00DC.ini");
}

void TestCataloguePath::path()
{
    QFETCH(QString, executable);
    QFETCH(QString, catalogue);
    QCOMPARE(CataloguePathFor(executable), catalogue);
}

QTEST_GUILESS_MAIN(TestCataloguePath)
#include "tst_CataloguePath.moc"
