// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "ui/Application.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

class tst_Application : public QObject
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
        ModalDriver boxes;
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
        QCOMPARE(boxes.texts, texts);
        for (qsizetype i = 0; i < boxes.texts.size(); ++i) {
            QCOMPARE(boxes.captions[i], QStringLiteral("Trimwise"));
            QCOMPARE(boxes.icons[i], QMessageBox::Critical);
            QCOMPARE(boxes.buttonCounts[i], 1);
        }
        QCOMPARE(after, kind == 3);
    }

    void warningHasNoIcon()
    {
        ModalDriver boxes;
        TApplication::ShowMessage(QStringLiteral("Impossible position!"));
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Impossible position!")});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    }

    // The separator follows the user's locale when the system says it changed.
    void localeChangeReadsSeparatorAgain()
    {
        // Both come back however the test ends.
        const auto separator = ScopedDecimalSeparator(DecimalSeparator());
        const auto lcAll = ScopedEnvironment("LC_ALL", "de_DE.UTF-8");
        QEvent changed(QEvent::LocaleChange);
        QCoreApplication::sendEvent(qApp, &changed);
        QCOMPARE(DecimalSeparator(), QChar(u','));
        QCOMPARE(FloatToStr(1.5), QStringLiteral("1,5"));
        qputenv("LC_ALL", "C");
        QCoreApplication::sendEvent(qApp, &changed);
        QCOMPARE(DecimalSeparator(), QChar(u'.'));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Application.moc"
