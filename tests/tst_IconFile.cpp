// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IconFile.h"

#include "core/Exceptions.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <link.h>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The file names of the image-format plugins loaded into this process.
QStringList LoadedImagePlugins()
{
    QStringList names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const QString name = QFile::decodeName(info->dlpi_name);
            if (name.contains(QLatin1String("/imageformats/")))
                static_cast<QStringList*>(data)->append(name.section(QLatin1Char('/'), -1));
            return 0;
        },
        &names);
    return names;
}

} // namespace

class tst_IconFile : public QObject
{
    Q_OBJECT
private slots:
    void onlyTheIcoReaderIsLoaded();
    void everyLoadReadsTheFile_data();
    void everyLoadReadsTheFile();
};

// Start-up's icon must not load every image plugin on the way to the ICO one.
void tst_IconFile::onlyTheIcoReaderIsLoaded()
{
    QVERIFY(LoadedImagePlugins().isEmpty());
    const QIcon icon = LoadIconFile(QStringLiteral(TRX_SOURCE_DIR "/data/icon.ico"));
    QVERIFY(!icon.isNull());
    QCOMPARE(LoadedImagePlugins(), QStringList{QStringLiteral("libqico.so")});
}

void tst_IconFile::everyLoadReadsTheFile_data()
{
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QString>("error"); // empty: an icon

    const QByteArray icon = ReadFile(QStringLiteral(TRX_SOURCE_DIR "/data/icon.ico"));
    const QByteArray red =
        ReadFile(QStringLiteral(TRX_SOURCE_DIR "/fuzz/corpus/fuzz_IconCheck/red-1x1.ico"));
    QTest::newRow("same icon again") << icon << QList<QSize>{{16, 16}, {32, 32}} << QString();
    QTest::newRow("replaced by another icon") << red << QList<QSize>{{1, 1}} << QString();
    QTest::newRow("replaced by a non-icon") << QByteArray("GIF89a not an icon") << QList<QSize>()
                                            << QStringLiteral("Icon image is not valid");
    QTest::newRow("removed") << QByteArray() << QList<QSize>()
                             << QStringLiteral("Cannot open file");
}

// The application's icon and the main window's are read at two moments;
// what lies on disk at the second decides, whatever the first read found.
void tst_IconFile::everyLoadReadsTheFile()
{
    QFETCH(QByteArray, second);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QString, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("icon.ico"));
    QVERIFY(QFile::copy(QStringLiteral(TRX_SOURCE_DIR "/data/icon.ico"), path));
    QVERIFY(!LoadIconFile(path).isNull());

    QVERIFY(QFile::remove(path));
    if (!second.isEmpty())
        QVERIFY(WriteFile(path, second));
    try {
        const QIcon icon = LoadIconFile(path);
        QVERIFY2(error.isEmpty(), "an icon where an error was due");
        QCOMPARE(icon.availableSizes(), sizes);
    } catch (const Exception& e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.Message()));
        QVERIFY2(e.Message().startsWith(error), qPrintable(e.Message()));
    }
}

QTEST_MAIN(tst_IconFile)
#include "tst_IconFile.moc"
