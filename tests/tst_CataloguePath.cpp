// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DefaultCatalogue.h"
#include "core/CataloguePath.h"

#include <QtTest>

class TestCataloguePath : public QObject
{
    Q_OBJECT

private slots:
    void path_data();
    void path();
    void defaultPath_data();
    void defaultPath();
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

void TestCataloguePath::defaultPath_data()
{
    QTest::addColumn<QStringList>("files"); // made in the scratch folder "@"; "/" ends a folder
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("why");

    const QString none;
    const QString installed = QStringLiteral("lib/trimwise/TRX");
    QTest::newRow("beside") << QStringList{"bin/TRX", installed} << "@/bin/TRX.ini" << none;
    QTest::newRow("installed") << QStringList{"bin/trx-check", installed}
                               << "@/lib/trimwise/TRX.ini" << none;
    // Only the program tells a TRX: a catalogue alone is none.
    QTest::newRow("catalogue only") << QStringList{"bin/TRX.ini", "lib/trimwise/TRX.ini"} << none
                                    << "no TRX beside trx-check (@/bin) nor in @/lib/trimwise: "
                                       "name the catalogue to check";
    QTest::newRow("folders named TRX")
        << QStringList{"bin/TRX/", "lib/trimwise/TRX/"} << none
        << "no TRX beside trx-check (@/bin) nor in @/lib/trimwise: name the catalogue to check";
}

// The catalogue a command reads when none is named, or where it looked.
void TestCataloguePath::defaultPath()
{
    QFETCH(QStringList, files);
    QFETCH(QString, path);
    QFETCH(QString, why);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    for (const QString& f : std::as_const(files)) {
        const QString name = dir.filePath(f);
        QVERIFY(QDir().mkpath(f.endsWith(u'/') ? name : QFileInfo(name).path()));
        if (!f.endsWith(u'/'))
            QVERIFY(QFile(name).open(QIODevice::WriteOnly));
    }
    path.replace(u'@', dir.path());
    why.replace(u'@', dir.path());

    QString said;
    QCOMPARE(DefaultCataloguePath(dir.filePath(QStringLiteral("bin")),
                                  QStringLiteral("../lib/trimwise"), QStringLiteral("trx-check"),
                                  QStringLiteral("to check"), said),
             path);
    QCOMPARE(said, why);
}

QTEST_GUILESS_MAIN(TestCataloguePath)
#include "tst_CataloguePath.moc"
