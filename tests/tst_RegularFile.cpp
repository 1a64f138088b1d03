// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RegularFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

class tst_RegularFile : public QObject
{
    Q_OBJECT

private slots:
    void open_data();
    void open();
    void readAllStopsAtLimit();

private:
    QTemporaryDir m_dir;
};

void tst_RegularFile::open_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("reason");

    const QString file = m_dir.filePath(QStringLiteral("plain"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("abc") == 3);
    f.close();
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto system = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };

    QTest::newRow("regular file") << file << true << QString();
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("none")) << false << system(ENOENT);
    QTest::newRow("directory") << m_dir.path() << false << system(EISDIR);
    // Without a writer an ordinary open would wait for ever.
    QTest::newRow("FIFO") << fifo << false << QStringLiteral("Not a regular file");
    QTest::newRow("device") << QStringLiteral("/dev/null") << false
                            << QStringLiteral("Not a regular file");
}

void tst_RegularFile::open()
{
    QFETCH(QString, path);
    QFETCH(bool, opens);
    QFETCH(QString, reason);
    RegularFile file(path);
    QCOMPARE(file.IsOpen(), opens);
    QCOMPARE(file.ErrorText(), reason);
    QByteArray data;
    QCOMPARE(file.ReadAll(data, 1024), opens);
    QCOMPARE(data, opens ? QByteArray("abc") : QByteArray());
}

void tst_RegularFile::readAllStopsAtLimit()
{
    const QString path = m_dir.filePath(QStringLiteral("big"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write(QByteArray(200000, 'x')) == 200000);
    f.close();
    RegularFile file(path);
    QCOMPARE(file.Size(), 200000);
    QByteArray data;
    QVERIFY(file.ReadAll(data, 70000));
    QCOMPARE(data.size(), 70000);
}

QTEST_GUILESS_MAIN(tst_RegularFile)
#include "tst_RegularFile.moc"
