// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "app/Startup.h"
#include "platform/PrintModule.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <dlfcn.h>
#include <sys/stat.h>

class tst_Startup : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cwd = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_cwd); }

    void failingIcon_data()
    {
        QTest::addColumn<QByteArray>("iconBytes"); // "none": no file; "fifo"
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray("none")
                                 << QStringLiteral("Cannot open file \"%1\". No such file or "
                                                   "directory.");
        // With no writer, an ordinary open would wait for one for ever.
        QTest::newRow("FIFO") << QByteArray("fifo")
                              << QStringLiteral("Cannot open file \"%1\". Not a regular file.");
        QTest::newRow("not an icon") << QByteArray("GIF89a this is not an icon")
                                     << QStringLiteral("Icon image is not valid.");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("Icon image is not valid.");
    }
    void failingIcon()
    {
        QFETCH(QByteArray, iconBytes);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString iconPath = dir.filePath("icon.ico");
        if (iconBytes == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(iconPath).constData(), 0600), 0);
        } else if (iconBytes != "none") {
            QFile f(iconPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(iconBytes);
        }
        QDir::setCurrent(dir.path());
        if (expected.contains("%1"))
            expected = expected.arg(iconPath);

        bool anyWindowVisible = false;
        ModalDriver boxes([&anyWindowVisible](QWidget* modal) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != modal && w->isVisible())
                    anyWindowVisible = true;
            return false; // the driver records the box and presses OK
        });
        QCOMPARE(RunTrimwise(*Application), 0);
        QCOMPARE(boxes.texts, QStringList{expected});
        QCOMPARE(boxes.captions, QStringList{QStringLiteral("Trimwise")});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(boxes.buttonCounts, QList<int>{1});
        QVERIFY(!anyWindowVisible);
        QCOMPARE(Form1, nullptr);
    }

    void startsAndExits()
    {
        QDir::setCurrent(TRX_BIN_DIR);
        bool checked = false;
        // Once the run's event loop turns, start-up is over.
        QTimer::singleShot(0, [&checked] {
            QVERIFY(Form1 && OKBottomDlg && Form2);
            QVERIFY(Form1->isVisible());
            QVERIFY(!OKBottomDlg->isVisible());
            QVERIFY(!Form2->isVisible());
            QCOMPARE(Application->Title(), QStringLiteral("Trimwise"));
            QCOMPARE(Application->HelpFile(), QStringLiteral("trx.chm"));
            QVERIFY(!Application->windowIcon().isNull());
            QCOMPARE(Form1->windowTitle(), QStringLiteral("Trimwise Application"));
            // Printing is loaded by the first print, not at start-up.
            QVERIFY(!dlopen("libQt6PrintSupport.so.6", RTLD_LAZY | RTLD_NOLOAD));
            QVERIFY(!dlopen(PrintModuleName, RTLD_LAZY | RTLD_NOLOAD));
            checked = true;
            Form1->Button2->click();
        });
        QCOMPARE(RunTrimwise(*Application), 0);
        QVERIFY(checked);
        QCOMPARE(Form1, nullptr);
    }

    void closeBoxEndsRunWithPreviewOpen()
    {
        QDir::setCurrent(TRX_BIN_DIR);
        QTimer::singleShot(0, [] {
            Form2->show();
            Form1->close();
        });
        QCOMPARE(RunTrimwise(*Application), 0);
        QCOMPARE(Form2, nullptr);
    }

private:
    QString m_cwd;
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    tst_Startup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Startup.moc"
