// SPDX-License-Identifier: GPL-3.0-or-later
#include "AgreementCatalogues.h"
#include "TestSupport.h"
#include "core/Balance.h"
#include "core/Exceptions.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cmath>

// trx-sheet and the window agree: for every aircraft of a catalogue, loaded
// and then edited the same way in both, every cell, every warning, the totals
// where the load path ends, and the error box when the load or an edit
// stops, are the same.
namespace {

struct Edit
{
    int col;
    int slot; // from 1
    QString value;
    bool fuel = false; // --fuel: the window is typed the weight the amount gives
};

// Each aircraft is loaded once as it is and once per list of edits.
const QList<QList<Edit>> EditLists = {
    {},
    {{colWeight, 2, "130"}, {colPosition, 2, "0.8"}, {colWeight, 3, "401"}},
    {{colPosition, 3, " 1.0"}, {colWeight, 4, "1E3"}, {colPosition, 4, "-2"}},
    {{colWeight, 2, "95"}, {colWeight, 3, "abc"}},
    {{colWeight, 2, "1E4000"}},
    {{colWeight, 4, "12.5L", true}, {colWeight, 2, "95"}, {colWeight, 4, "30", true}},
};

QJsonObject SheetJson(const QString& aircraft, const QList<Edit>& edits)
{
    QStringList args{QStringLiteral("--json"), QStringLiteral("--catalogue"), CatalogueFile()};
    for (const Edit& e : edits)
        args << (e.fuel               ? QStringLiteral("--fuel")
                 : e.col == colWeight ? QStringLiteral("--weight")
                                      : QStringLiteral("--position"))
             << QString::number(e.slot) + u'=' + e.value;
    // Exactly this name: one beginning with it could be another aircraft.
    args << QStringLiteral("--") << aircraft;
    const CommandRun run = RunCommand(QStringLiteral(TRX_BIN_DIR "/trx-sheet"), args);
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

struct WindowRun
{
    QString loadBox; // the load's error box
    QString editBox; // the error box of the edit that failed
    QStringList warnings;
    QList<QStringList> rows;
    LoadPathEnd end;
    QString caption;
};

// Loads entry `index` through the window, then double-clicks each edit's
// cell and types its value into the dialog.
WindowRun InWindow(int index, const QList<Edit>& edits)
{
    WindowRun run;
    // The load's error box comes through the OK button's handler; an edit's
    // warnings come as boxes, its error as the exception StringGrid1DblClick
    // ends with when called directly.
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return false;
        (box->icon() == QMessageBox::Critical ? run.loadBox : run.warnings.emplaceBack()) =
            box->text();
        box->button(QMessageBox::Ok)->click();
        return true;
    });
    TForm1 form;
    Form1 = &form;
    const auto unset = qScopeGuard([] { Form1 = nullptr; });
    form.ComboBox1->setCurrentIndex(index);
    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    run.caption = form.windowTitle();
    if (!run.loadBox.isEmpty())
        return run;
    TStringGrid* grid = form.StringGrid1;
    for (const Edit& e : edits) {
        const int row = e.slot - 1 + firstSlotRow;
        grid->SetCurrentCell(e.col, row);
        AnswerNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TOKBottomDlg*>(modal);
            QVERIFY(dialog);
            dialog->Edit1->setText(e.value);
            dialog->OKBtn->click();
        });
        try {
            form.StringGrid1DblClick();
        } catch (const Exception& error) {
            run.editBox = ErrorBoxText(error.Message());
            return run;
        }
    }
    for (int r = 0; r < grid->RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < sheetColumns; ++c)
            cells << grid->Cell(c, r);
        run.rows << cells;
    }
    run.end = EndOfLoadPath(*form.Series3);
    return run;
}

bool SameTotal(const QJsonValue& json, float window)
{
    if (!std::isfinite(window))
        return json.isNull();
    return json.isDouble() && static_cast<float>(json.toDouble()) == window;
}

} // namespace

class tst_SheetAgreement : public QObject
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
        QStringList files{QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini")};
        QDirIterator it(QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues"), QDir::Files);
        while (it.hasNext())
            files << it.next();
        std::sort(files.begin() + 1, files.end());
        for (const QString& path : std::as_const(files)) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << f.readAll();
        }
        QTest::newRow("generated") << Generated();
    }

    void agree()
    {
        QFETCH(QByteArray, catalogue);
        QVERIFY(WriteCatalogue(catalogue));
        QStringList entries;
        {
            TForm1 probe;
            for (int i = 0; i < probe.ComboBox1->count(); ++i)
                entries << probe.ComboBox1->itemText(i);
        }
        QSet<QString> seen;
        int compared = 0;
        for (int i = 0; i < entries.size(); ++i) {
            // A repeated name loads the first section of that name, already tried.
            if (seen.contains(IniNameKey(entries[i])))
                continue;
            seen.insert(IniNameKey(entries[i]));
            int slotCount = -1; // known once loaded without edits
            for (qsizetype list = 0; list < EditLists.size(); ++list) {
                const QList<Edit>& edits = EditLists[list];
                // The edits need four slots, and a load to edit.
                if (list > 0 && slotCount < 4)
                    break;
                const QJsonObject json = SheetJson(entries[i], edits);
                const QString where =
                    entries[i] + QStringLiteral(", edit list ") + QString::number(list);
                QVERIFY2(!json.isEmpty(), qPrintable(where));
                const QJsonObject error = json.value(QStringLiteral("error")).toObject();
                // Fuel is typed into the window as the weight it gives: the
                // cell must hold what the window holds after typing it.
                QList<Edit> typed = edits;
                const QJsonArray given = json.value(QStringLiteral("fuel"))
                                             .toObject()
                                             .value(QStringLiteral("given"))
                                             .toArray();
                for (qsizetype e = 0, f = 0; e < typed.size(); ++e)
                    if (typed[e].fuel && f < given.size()) {
                        const QJsonObject line = given[f++].toObject();
                        if (line.value(QStringLiteral("unit")).toString() != "weight")
                            typed[e].value = FloatToStr(line.value("weight").toDouble());
                    }
                const WindowRun window = InWindow(i, typed);
                if (list == 0)
                    slotCount = int(window.rows.size()) - firstSlotRow;
                // The command refuses what the window never reads: wrong keys
                // for the whole flight, fuel in a slot that is no tank.
                const QString kind = error.value(QStringLiteral("kind")).toString();
                if (kind == QLatin1String("flight-keys") || kind == QLatin1String("fuel")) {
                    QVERIFY2(window.loadBox.isEmpty(), qPrintable(where));
                    ++compared;
                    continue;
                }
                QStringList warnings;
                for (const QJsonValue& w : json.value(QStringLiteral("warnings")).toArray())
                    warnings << w.toString();
                QVERIFY2(warnings == window.warnings, qPrintable(where));
                const QString box = error.value(QStringLiteral("error_box")).toString();
                if (!window.loadBox.isEmpty() || !window.editBox.isEmpty()) {
                    QVERIFY2(box == window.loadBox + window.editBox,
                             qPrintable(where + QStringLiteral(": ") + box));
                    QCOMPARE(error.value(QStringLiteral("kind")).toString(),
                             window.loadBox.isEmpty() ? QStringLiteral("value")
                                                      : QStringLiteral("load"));
                    ++compared;
                    continue;
                }
                QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(": ") +
                                                     error.value("message").toString()));
                QCOMPARE(json.value(QStringLiteral("caption")).toString(), window.caption);
                QList<QStringList> rows;
                for (const QJsonValue& r : json.value(QStringLiteral("sheet")).toArray()) {
                    QStringList cells;
                    for (const QJsonValue& c : r.toArray())
                        cells << c.toString();
                    rows << cells;
                }
                QVERIFY2(rows == window.rows, qPrintable(where));
                QVERIFY2(SameTotal(json.value(QStringLiteral("total_weight")), window.end.weight),
                         qPrintable(where));
                QVERIFY2(SameTotal(json.value(QStringLiteral("total_moment")), window.end.moment),
                         qPrintable(where));
                ++compared;
            }
        }
        // The generated set is edited too: each aircraft with four slots five times.
        QVERIFY2(compared >= (QTest::currentDataTag() == QLatin1String("generated") ? 100 : 1),
                 qPrintable(QString::number(compared)));
    }
};

TRX_TEST_MAIN(tst_SheetAgreement)
#include "tst_SheetAgreement.moc"
