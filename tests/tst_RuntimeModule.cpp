// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a module at run time: the version it must report before anything of
// it is called, and its entry points as typed; then the print module and
// trx-sheet's PDF module refused for another version. The stand-in modules
// (tests/modulestub) record every call.

#include "core/WinApi.h"
#include "platform/PrintModule.h"
#include "platform/RuntimeModule.h"
#include "sheet/SheetPdfModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_RuntimeModule : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void load_data();
    void load();
    void printModuleOfAnotherVersion();
    void pdfModuleOfAnotherVersion();

private:
    QStringList Calls() const;

    std::optional<QTemporaryDir> m_dir;
};

void tst_RuntimeModule::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    qputenv("TRX_MODULESTUB_LOG", QFile::encodeName(m_dir->filePath(QStringLiteral("calls.log"))));
}

QStringList tst_RuntimeModule::Calls() const
{
    QFile log(m_dir->filePath(QStringLiteral("calls.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void tst_RuntimeModule::load_data()
{
    QTest::addColumn<QString>("stub");     // a folder of tests/modulestub
    QTest::addColumn<QByteArray>("entry"); // the entry point asked for
    QTest::addColumn<int>("version");      // asked for; -1 none
    QTest::addColumn<QString>("error");    // "" for ready; "@" stands for the file
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("calls");

    const int other = PrintModuleVersion + 1;
    const QStringList loaded{QStringLiteral("loaded")};
    const QStringList called{QStringLiteral("loaded"), QStringLiteral("TrxPrintPage")};
    QTest::newRow("the version asked for: called")
        << "print-other" << QByteArray(PrintPageEntry.name) << other << "" << false << called;
    QTest::newRow("another version: refused, never called")
        << "print-other" << QByteArray(PrintPageEntry.name) << PrintModuleVersion
        << QStringLiteral("libtrxprint.so is version %1, the test needs %2")
               .arg(other)
               .arg(PrintModuleVersion)
        << true << loaded;
    QTest::newRow("no version: refused, never called")
        << "print-none" << QByteArray(PrintPageEntry.name) << PrintModuleVersion
        << QStringLiteral("libtrxprint.so reports no version, the test needs %1")
               .arg(PrintModuleVersion)
        << true << loaded;
    QTest::newRow("no version asked for: called")
        << "print-none" << QByteArray(PrintPageEntry.name) << -1 << "" << false << called;
    QTest::newRow("an entry point missing: never called")
        << "print-other" << QByteArray("TrxPrintPageW") << other
        << "@: undefined symbol: TrxPrintPageW" << false << loaded;
}

void tst_RuntimeModule::load()
{
    QFETCH(QString, stub);
    QFETCH(QByteArray, entry);
    QFETCH(int, version);
    QFETCH(QString, error);
    QFETCH(bool, refused);
    QFETCH(QStringList, calls);

    // A copy of its own: a library the loader already holds is not loaded anew.
    const QString file = m_dir->filePath(QStringLiteral("libtrxprint.so"));
    QVERIFY(QFile::copy(QStringLiteral(TRX_MODULESTUB_DIR "/%1/libtrxprint.so").arg(stub), file));
    const QByteArray path = QFile::encodeName(file);
    std::optional<RuntimeModule::Version> asked;
    if (version >= 0)
        asked = RuntimeModule::Version{PrintModuleVersionEntry, version, "the test"};
    RuntimeModule module(path.constData(), {entry.constData()}, RuntimeModule::Failures::Silent,
                         RuntimeModule::Incomplete::CloseAndRetry, asked);

    const bool ready = module.Ready();
    QCOMPARE(ready, error.isEmpty());
    QCOMPARE(QString::fromLocal8Bit(module.Error()), error.replace(u'@', file));
    QCOMPARE(module.Refused(), refused);
    const ModuleEntry<PrintPageFunc> asEntry{entry.constData()};
    if (ready)
        QCOMPARE(module.Resolve(asEntry)(nullptr, nullptr, false), 0);
    else
        QVERIFY(!module.Resolve(asEntry));
    QCOMPARE(Calls(), calls);
}

// TRX finds the stand-in first (LD_LIBRARY_PATH, set by the test's
// registration): each print is refused, logged, and tried again the next time.
void tst_RuntimeModule::printModuleOfAnotherVersion()
{
    const QByteArray refusal = QByteArrayLiteral("libtrxprint.so is not available: libtrxprint.so "
                                                 "is version ") +
                               QByteArray::number(PrintModuleVersion + 1) + ", TRX needs " +
                               QByteArray::number(PrintModuleVersion);
    const TPrintJob job;
    for (int print = 0; print < 2; ++print) {
        QTest::ignoreMessage(QtWarningMsg, refusal.constData());
        QCOMPARE(PrintPage(job, nullptr, false), WinApi::OLECMDERR_E_NOTSUPPORTED);
    }
    const QStringList calls = Calls();
    QVERIFY2(!calls.isEmpty() && calls.count(QStringLiteral("loaded")) == calls.size(),
             qPrintable(calls.join(u' ')));
}

void tst_RuntimeModule::pdfModuleOfAnotherVersion()
{
    // Not beside the test: looked for in the stand-in's folder instead.
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .relativeFilePath(QStringLiteral(TRX_MODULESTUB_DIR "/pdf-other"));
    SheetPdfModule pdf;
    QString why;
    QVERIFY(!pdf.Open(folder, why));
    QCOMPARE(why, QStringLiteral("cannot write a PDF: libtrxsheetpdf.so is version %1, trx-sheet "
                                 "needs %2")
                      .arg(SheetPdfModuleVersion + 1)
                      .arg(SheetPdfModuleVersion));
    QCOMPARE(Calls(), QStringList{QStringLiteral("loaded")});
}

QTEST_MAIN(tst_RuntimeModule)
#include "tst_RuntimeModule.moc"
