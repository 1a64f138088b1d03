// SPDX-License-Identifier: GPL-3.0-or-later
// The help command's calls into the viewer library, observed with stand-in
// libraries that record every call. Each run is a process of its own: the
// loader's state lasts for a run.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestHelpSystem : public QObject
{
    Q_OBJECT
private slots:
    void helpCalls_data();
    void helpCalls();
};

namespace {
const QString InitializeCall =
    QStringLiteral("HtmlHelpA caller=null file=null command=0x1c data=0");
const QString DisplayTopicCall =
    QStringLiteral("HtmlHelpA caller=null file=trx.chm command=0x0 data=0");
const QString CloseAllCall = QStringLiteral("HtmlHelpA caller=null file=null command=0x12 data=0");
const QString Loaded = QStringLiteral("loaded");

QStringList Repeat(const QString& line, int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << line;
    return lines;
}
} // namespace

void TestHelpSystem::helpCalls_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("loads");

    QTest::newRow("viewer, one press")
        << "recording" << 1
        << (QStringList{Loaded, InitializeCall} + Repeat(DisplayTopicCall, 2) << CloseAllCall) << 1;
    QTest::newRow("viewer, three presses: one initialisation")
        << "recording" << 3
        << (QStringList{Loaded, InitializeCall} + Repeat(DisplayTopicCall, 6) << CloseAllCall) << 1;
    QTest::newRow("viewer, no press: not loaded, nothing to close")
        << "recording" << 0 << QStringList() << 0;
    QTest::newRow("viewer without HtmlHelpW: silent, loaded once")
        << "incomplete" << 1 << QStringList{Loaded} << 1;
    QTest::newRow("viewer without HtmlHelpW, three presses: still loaded once")
        << "incomplete" << 3 << QStringList{Loaded} << 1;
    // Every call tries again: initialise, two displays per press, close.
    QTest::newRow("no viewer: silent, each call tries again") << "none" << 1 << QStringList() << 4;
    QTest::newRow("no viewer, two presses") << "none" << 2 << QStringList() << 6;
}

void TestHelpSystem::helpCalls()
{
    QFETCH(QString, library);
    QFETCH(int, presses);
    QFETCH(QStringList, calls);
    QFETCH(int, loads);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString logPath = temp.filePath(QStringLiteral("calls.log"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_LIBRARY_PATH"),
               QDir(QStringLiteral(TRX_HELPSTUB_DIR)).filePath(library));
    env.insert(QStringLiteral("TRX_HELPSTUB_LOG"), logPath);

    QProcess client;
    client.setProcessEnvironment(env);
    // The program's folder: icon.ico and the catalogue for the main window.
    client.setWorkingDirectory(QStringLiteral(TRX_BIN_DIR));
    client.start(QStringLiteral(TRX_HELPCLIENT), {QString::number(presses)});
    QVERIFY2(client.waitForFinished(60000), "the program hung (a message box?)");
    const QString output = QString::fromLocal8Bit(client.readAllStandardOutput());
    QCOMPARE(client.exitStatus(), QProcess::NormalExit);
    QCOMPARE(client.exitCode(), 0);
    QCOMPARE(output.trimmed(), QStringLiteral("went on: viewer loads=%1 windows=0").arg(loads));

    QStringList logged;
    QFile log(logPath);
    if (log.open(QIODevice::ReadOnly))
        logged = QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(logged, calls);
}

QTEST_GUILESS_MAIN(TestHelpSystem)
#include "tst_HelpSystem.moc"
