// SPDX-License-Identifier: GPL-3.0-or-later
#include "AgreementCatalogues.h"
#include "TestSupport.h"
#include "check/CatalogueCheck.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"

#include <QComboBox>
#include <QDirIterator>
#include <QPushButton>
#include <QTest>

// trx-check and the program agree: the checker reports a load-stopping error
// for an aircraft exactly when loading it in the window (the load and the
// Compute it ends with) shows an error box, and the box says what the
// finding quotes.
namespace {

const QStringList StopCodes = {"count-too-large", "list-short", "not-a-number"};

} // namespace

class tst_CatalogueAgreement : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OKBottomDlg = new TOKBottomDlg;
        SetDecimalSeparator(u'.');
    }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        QFile::remove(CatalogueFile());
    }

    void agree_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        for (const char* folder : {"/tests/catalogues", "/fuzz/corpus/fuzz_IniFile"}) {
            QDirIterator it(QStringLiteral(TRX_SOURCE_DIR) + QLatin1String(folder), QDir::Files);
            QStringList files;
            while (it.hasNext())
                files << it.next();
            files.sort();
            for (const QString& path : std::as_const(files)) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::ReadOnly));
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << f.readAll();
            }
        }
        QTest::newRow("generated") << Generated();
        // A section repeated in another letter case is an entry of its own.
        QTest::newRow("repeat in another case")
            << Mutant("Trainer", {{"Slots", "1024"}}) + "[trainer]\n" +
                   Mutant("\xC3\x89t\xC3\xA9", {{"EnvelopePoints", "2000"}}) +
                   "[\xC3\xA9t\xC3\xA9]\n[Trainer]\n" + Mutant("Ok", {}) + "[OK]\n";
        // No entry at all: OK loads the empty name.
        QTest::newRow("no aircraft, empty file") << QByteArray();
        QTest::newRow("no aircraft, unnamed section")
            << QByteArray("[]\n") + TrainerLines.join('\n');
        QTest::newRow("no aircraft, list full")
            << '[' + QByteArray(16400, 'n') + "]\n" + Mutant("Trainer", {});
    }

    void agree()
    {
        QFETCH(QByteArray, catalogue);
        QVERIFY(WriteCatalogue(catalogue));
        const CatalogueCheck check(catalogue);

        QStringList entries;
        {
            TForm1 probe;
            for (int i = 0; i < probe.ComboBox1->count(); ++i)
                entries << probe.ComboBox1->itemText(i);
        }
        // A finding under `section` of `code` (any when empty) quoting `box` as what shows.
        auto quoted = [&](const QString& code, const QString& section, const QString& box) {
            return std::any_of(
                check.Findings().cbegin(), check.Findings().cend(), [&](const CatalogueFinding& f) {
                    return (code.isEmpty() || f.code == code) && f.section == section &&
                           f.stopsLoad &&
                           (box.isNull() ||
                            (f.boxText == box && f.message.contains(u'"' + box + u'"')));
                });
        };
        const QString noAircraft = QStringLiteral("no-aircraft");
        QCOMPARE(quoted(noAircraft, QString(), QString()), entries.isEmpty());
        if (entries.isEmpty()) {
            const QStringList boxes = Load(-1);
            QCOMPARE(boxes.size(), 1);
            QVERIFY2(quoted(noAircraft, QString(), boxes.first()), qPrintable(boxes.first()));
        }
        QSet<QString> seen;
        int stopped = 0;
        for (int i = 0; i < entries.size(); ++i) {
            // A repeated name loads the first section of that name, under the
            // entry's own name: what it shows is quoted under the entry's name.
            if (seen.contains(IniNameKey(entries[i]))) {
                const QStringList boxes = Load(i);
                QVERIFY2(boxes.size() <= 1, qPrintable(boxes.join(u'|')));
                const QString box = boxes.value(0);
                QVERIFY2(quoted(QString(), entries[i], box.isEmpty() ? QString() : box) ==
                             !box.isEmpty(),
                         qPrintable(entries[i] + QStringLiteral(": box \"") + box + u'"'));
                continue;
            }
            seen.insert(IniNameKey(entries[i]));
            const AircraftSummary* aircraft = check.AircraftNamed(entries[i]);
            QVERIFY2(aircraft, qPrintable(entries[i]));

            const QStringList boxes = Load(i);
            QVERIFY2(boxes.size() <= 1, qPrintable(boxes.join(u'|')));
            const QString box = boxes.value(0);
            QList<const CatalogueFinding*> stops;
            const CatalogueFinding* first = nullptr;
            for (const CatalogueFinding& f : check.Findings()) {
                if (!f.inSection || f.section != aircraft->section || !StopCodes.contains(f.code))
                    continue;
                stops << &f;
                if (f.stopsLoad) {
                    QVERIFY(!first);
                    first = &f;
                }
            }
            const QString where = entries[i] + QStringLiteral(": box \"") + box + u'"';
            QVERIFY2(stops.isEmpty() == box.isEmpty(), qPrintable(where));
            QCOMPARE(aircraft->loadError, box);
            if (!box.isEmpty()) {
                ++stopped;
                QVERIFY2(first, qPrintable(where));
                QCOMPARE(first->boxText, box);
                // Foreseen field by field, not only found by computing.
                QVERIFY2(!first->key.isEmpty(), qPrintable(where));
                QVERIFY(first->message.contains(u'"' + box + u'"'));
            }
        }
        // The generated set has loads of both kinds.
        if (QTest::currentDataTag() == QLatin1String("generated"))
            QVERIFY2(
                stopped > 30 && entries.size() - stopped > 15,
                qPrintable(QStringLiteral("%1 of %2 stopped").arg(stopped).arg(entries.size())));
    }

private:
    // Loads entry `index` through the window; the boxes it shows.
    static QStringList Load(int index)
    {
        ModalDriver boxes;
        TForm1 form;
        Form1 = &form;
        form.ComboBox1->setCurrentIndex(index);
        form.show();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        Form1 = nullptr;
        return boxes.texts;
    }
};

TRX_TEST_MAIN(tst_CatalogueAgreement)
#include "tst_CatalogueAgreement.moc"
