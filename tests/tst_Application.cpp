// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"
#include "Exceptions.h"
#include "NumConv.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter gets a full stop") << "Icon image is not valid"
                                                 << "Icon image is not valid.";
        QTest::newRow("full stop kept") << "Done."
                                        << "Done.";
        QTest::newRow("quote sorts before the full stop") << "Bad 'x'"
                                                          << "Bad 'x'";
        QTest::newRow("digit sorts after it") << "Code 7"
                                              << "Code 7.";
        QTest::newRow("slash sorts after it") << "a/"
                                              << "a/.";
        QTest::newRow("empty stays empty") << ""
                                           << "";
        QTest::newRow("non-ASCII letter")
            << QString::fromUtf8("Zürich é") << QString::fromUtf8("Zürich é.");
    }
    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxText(message), shown);
    }

    // What a handler throws is shown once, with the error box's look; the
    // silent abort shows nothing.
    void guardShowsErrors_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("conversion error")
            << 0 << QStringList{"'abc' is not a valid floating point value."};
        QTest::newRow("abort") << 1 << QStringList{};
        QTest::newRow("standard exception") << 2 << QStringList{"out of range."};
        QTest::newRow("nothing thrown") << 3 << QStringList{};
    }
    void guardShowsErrors()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, texts);
        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                QCOMPARE(box->windowTitle(), QStringLiteral("Trimwise"));
                QCOMPARE(box->icon(), QMessageBox::Critical);
                QCOMPARE(box->buttons().size(), 1);
                seen << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start(5);
        bool after = false;
        TApplication::Guard([kind, &after] {
            if (kind == 0)
                StrToFloat(QStringLiteral("abc"));
            if (kind == 1)
                throw EAbort();
            if (kind == 2)
                throw std::out_of_range("out of range");
            after = true;
        });
        QCOMPARE(seen, texts);
        QCOMPARE(after, kind == 3);
    }

    void warningHasNoIcon()
    {
        QMessageBox::Icon icon = QMessageBox::Critical;
        QString text;
        QTimer::singleShot(10, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            icon = box->icon();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        TApplication::ShowMessage(QStringLiteral("Impossible position!"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(text, QStringLiteral("Impossible position!"));
    }

    // The separator follows the user's locale when the system says it changed.
    void localeChangeReadsSeparatorAgain()
    {
        const QByteArray saved = qgetenv("LC_ALL");
        QEvent changed(QEvent::LocaleChange);
        qputenv("LC_ALL", "de_DE.UTF-8");
        QCoreApplication::sendEvent(qApp, &changed);
        QCOMPARE(DecimalSeparator(), QChar(u','));
        QCOMPARE(FloatToStr(1.5), QStringLiteral("1,5"));
        qputenv("LC_ALL", "C");
        QCoreApplication::sendEvent(qApp, &changed);
        QCOMPARE(DecimalSeparator(), QChar(u'.'));
        if (saved.isNull())
            qunsetenv("LC_ALL");
        else
            qputenv("LC_ALL", saved);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Application.moc"
