// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"
#include "Main.h"
#include "OKBottomDlg.h"
#include "Print.h"
#include "Startup.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
struct BoxSeen
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool anyWindowVisible = false;
};

// Answers the next message box and records what it showed.
void AnswerNextBox(BoxSeen* seen)
{
    QTimer::singleShot(20, [seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(seen);
            return;
        }
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = box->buttons().size();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != box && w->isVisible())
                seen->anyWindowVisible = true;
        box->button(QMessageBox::Ok)->click();
    });
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cwd = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_cwd); }

    void failingIcon_data()
    {
        QTest::addColumn<QByteArray>("iconBytes");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << false
                                 << QStringLiteral("Cannot open file \"%1\". No such file or "
                                                   "directory.");
        QTest::newRow("not an icon") << QByteArray("GIF89a this is not an icon") << true
                                     << QStringLiteral("Icon image is not valid.");
        QTest::newRow("empty file")
            << QByteArray() << true << QStringLiteral("Icon image is not valid.");
    }
    void failingIcon()
    {
        QFETCH(QByteArray, iconBytes);
        QFETCH(bool, present);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString iconPath = dir.filePath("icon.ico");
        if (present) {
            QFile f(iconPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(iconBytes);
        }
        QDir::setCurrent(dir.path());
        if (expected.contains("%1"))
            expected = expected.arg(iconPath);

        BoxSeen seen;
        AnswerNextBox(&seen);
        QCOMPARE(RunTrimwise(*Application), 0);
        QCOMPARE(seen.text, expected);
        QCOMPARE(seen.caption, QStringLiteral("Trimwise"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, 1);
        QVERIFY(!seen.anyWindowVisible);
        QCOMPARE(Form1, nullptr);
    }

    void startsAndExits()
    {
        QDir::setCurrent(TRX_BIN_DIR);
        bool checked = false;
        QTimer::singleShot(50, [&checked] {
            QVERIFY(Form1 && OKBottomDlg && Form2);
            QVERIFY(Form1->isVisible());
            QVERIFY(!OKBottomDlg->isVisible());
            QVERIFY(!Form2->isVisible());
            QCOMPARE(Application->Title(), QStringLiteral("Trimwise"));
            QCOMPARE(Application->HelpFile(), QStringLiteral("trx.chm"));
            QVERIFY(!Application->windowIcon().isNull());
            QCOMPARE(Form1->windowTitle(), QStringLiteral("Trimwise Application"));
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
        QTimer::singleShot(50, [] {
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
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Startup.moc"
