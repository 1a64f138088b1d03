// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/ArrowSeries.h"
#include "core/CataloguePath.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/StringGrid.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

namespace {
// Three slots; the pilot's and passenger's rows are editable.
const char* const catalogue = R"([Trainer]
Make=Generic
Model=T2
Slots=3
SlotsNames=Empty aircraft;Pilot;Passenger;
SlotsWeight=700;80;0;
SlotsMaxWeight=700;120;400;
SlotsPos=0.95;0.94;0.1;
SlotsMinPos=0.95;0.90;0.1;
SlotsMaxPos=0.95;1.00;0.1;
MaxWeight=1150
EnvelopePoints=3
EnvelopeX=450;600;820;
EnvelopeY=500;500;800;
)";

QString ChartWords(TForm1* form)
{
    return QAccessible::queryAccessibleInterface(form->Chart1)->text(QAccessible::Description);
}
} // namespace

class tst_Editing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(WriteCatalogue(catalogue));
        OKBottomDlg = new TOKBottomDlg;
    }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        QFile::remove(CatalogueFile());
    }
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
        m_form = std::make_unique<TForm1>();
        Form1 = m_form.get();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get(), WaitLimitMs));
        m_form->Button1Click();
        m_grid = m_form->StringGrid1;
    }
    void cleanup()
    {
        m_form.reset();
        SetDecimalSeparator(m_separator);
    }

    void notEditable_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::newRow("units row") << 1 << 1;
        QTest::newRow("first slot weight") << 1 << 2;
        QTest::newRow("first slot position") << 3 << 2;
        QTest::newRow("item") << 0 << 3;
        QTest::newRow("max weight") << 2 << 3;
        QTest::newRow("torque") << 4 << 3;
    }
    void notEditable()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        m_grid->SetCell(4, 3, "stale");
        m_form->Series3->Clear();
        ModalScript script;
        DoubleClick(col, row);
        QCOMPARE(script.seen, QStringList());
        QCOMPARE(m_grid->Cell(4, 3), QStringLiteral("75.2"));
        QCOMPARE(m_form->Series3->Count(), 4);
    }

    // The header row and the area below the last row never become current:
    // the double click acts on the cell that was current before.
    void doubleClickOutsideCellsActsOnCurrent_data()
    {
        QTest::addColumn<bool>("onHeader");
        QTest::newRow("header row") << true;
        QTest::newRow("below the last row") << false;
    }
    void doubleClickOutsideCellsActsOnCurrent()
    {
        QFETCH(bool, onHeader);
        Click(m_grid->CellRect(1, 3).center());
        QCOMPARE(m_grid->Row(), 3);
        ModalScript script({QStringLiteral("90")});
        // The heading row lies above the viewport, inside the grid.
        const QPoint at =
            onHeader ? m_grid->CellRect(1, 0).center()
                     : m_grid->CellRect(1, m_grid->RowCount() - 1).center() + QPoint(0, 100);
        DoubleClickAt(at);
        QCOMPARE(script.seen, QStringList({"dialog: 80"}));
        QCOMPARE(m_grid->Cell(1, 3), QStringLiteral("90"));
    }

    void edits_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("answers"); // "<cancel>" for Cancel
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("cell");

        QTest::newRow("weight within limits")
            << 1 << 3 << QStringList{"95"} << QStringList{"dialog: 80"} << "95";
        QTest::newRow("weight equal to the slot maximum")
            << 1 << 3 << QStringList{"120"} << QStringList{"dialog: 80"} << "120";
        QTest::newRow("text kept as typed")
            << 1 << 3 << QStringList{" 95.0"} << QStringList{"dialog: 80"} << " 95.0";
        QTest::newRow("slot overweight")
            << 1 << 3 << QStringList{"121"}
            << QStringList{"dialog: 80", "warning: Overweight in some positions!"} << "121";
        QTest::newRow("total equal to the maximum")
            << 1 << 4 << QStringList{"370"} << QStringList{"dialog: 0"} << "370";
        QTest::newRow("total overweight in single precision")
            << 1 << 4 << QStringList{"370.2"}
            << QStringList{"dialog: 0", "warning: Overweight: 1150.19995117188/1150"} << "370.2";
        QTest::newRow("slot first, then total")
            << 1 << 4 << QStringList{"401"}
            << QStringList{"dialog: 0", "warning: Overweight in some positions!",
                           "warning: Overweight: 1181/1150"}
            << "401";
        QTest::newRow("position inside the range")
            << 3 << 3 << QStringList{"0.97"} << QStringList{"dialog: 0.94"} << "0.97";
        QTest::newRow("position equal to the minimum")
            << 3 << 3 << QStringList{"0.9"} << QStringList{"dialog: 0.94"} << "0.9";
        QTest::newRow("position equal to the maximum")
            << 3 << 3 << QStringList{"1"} << QStringList{"dialog: 0.94"} << "1";
        QTest::newRow("position below the minimum")
            << 3 << 3 << QStringList{"0.8"}
            << QStringList{"dialog: 0.94", "warning: Impossible position!"} << "0.8";
        QTest::newRow("position above the maximum")
            << 3 << 3 << QStringList{"1.01"}
            << QStringList{"dialog: 0.94", "warning: Impossible position!"} << "1.01";
        // 0.1 held in single precision is a little more than 0.1.
        QTest::newRow("0.1 against the stored minimum and maximum 0.1")
            << 3 << 4 << QStringList{"0.1"}
            << QStringList{"dialog: 0.1", "warning: Impossible position!"} << "0.1";
        QTest::newRow("cancel keeps the cell")
            << 1 << 3 << QStringList{"<cancel>"} << QStringList{"dialog: 80"} << "80";
    }
    void edits()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, cell);
        QList<std::optional<QString>> scripted;
        for (const QString& a : answers)
            scripted << (a == "<cancel>" ? std::nullopt : std::optional<QString>(a));
        ModalScript script(scripted);
        DoubleClick(col, row);
        QCOMPARE(script.seen, messages);
        QCOMPARE(m_grid->Cell(col, row), cell);
        CheckConsistent();
    }

    void cancelOnOverweightSlotWarnsAgain()
    {
        {
            ModalScript script({QStringLiteral("130")});
            DoubleClick(1, 3);
        }
        ModalScript script({std::nullopt});
        DoubleClick(1, 3);
        QCOMPARE(script.seen,
                 QStringList({"dialog: 130", "warning: Overweight in some positions!"}));
        QCOMPARE(m_grid->Cell(1, 3), QStringLiteral("130"));
    }

    void totalOverweightExample()
    {
        m_grid->SetCell(1, 3, "200.5");
        m_grid->SetCell(2, 4, "300");
        ModalScript script({QStringLiteral("250.2")});
        DoubleClick(1, 4);
        QCOMPARE(script.seen,
                 QStringList({"dialog: 0", "warning: Overweight: 1150.69995117188/1150"}));
    }

    // A text that is not a number stays in its cell, stops the edit and every
    // recomputation, and a number typed later mends everything.
    void notANumberThenMended()
    {
        const QString torqueBefore = m_grid->Cell(4, 3);
        const int pathBefore = m_form->Series3->Count();
        const double lastEndX = m_form->Series3->Arrows().back().endX;
        {
            ModalScript script({QStringLiteral("abc")});
            DoubleClick(1, 3);
            QCOMPARE(
                script.seen,
                QStringList({"dialog: 80", "error: 'abc' is not a valid floating point value."}));
        }
        QCOMPARE(m_grid->Cell(1, 3), QStringLiteral("abc"));
        QCOMPARE(m_grid->Cell(4, 3), torqueBefore);
        QCOMPARE(m_form->Series3->Count(), pathBefore);
        QCOMPARE(m_form->Series3->Arrows().back().endX, lastEndX);

        // A plain click now fails the same way, but its box does not swallow
        // the double click: the dialog can still be reached.
        {
            ModalScript script({std::nullopt});
            Click(m_grid->CellRect(3, 3).center());
            QTRY_COMPARE_WITH_TIMEOUT(
                script.seen, QStringList({"error: 'abc' is not a valid floating point value."}),
                WaitLimitMs);
        }
        {
            ModalScript script({std::nullopt});
            DoubleClick(1, 3);
            QCOMPARE(
                script.seen,
                QStringList({"error: 'abc' is not a valid floating point value.", "dialog: abc",
                             "error: 'abc' is not a valid floating point value."}));
        }
        {
            ModalScript script({QStringLiteral("85")});
            DoubleClick(1, 3);
            QCOMPARE(script.seen, QStringList({"error: 'abc' is not a valid floating point value.",
                                               "dialog: abc"}));
        }
        QCOMPARE(m_grid->Cell(1, 3), QStringLiteral("85"));
        CheckConsistent();
    }

    // F2 and Enter on the sheet run what a double click runs, on the
    // current cell.
    void editKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("text");
        QTest::newRow("F2 on a weight")
            << int(Qt::Key_F2) << QPoint(1, 3) << "95" << QStringList{"dialog: 80"} << "95";
        QTest::newRow("Return on a position")
            << int(Qt::Key_Return) << QPoint(3, 3) << "0.8"
            << QStringList{"dialog: 0.94", "warning: Impossible position!"} << "0.8";
        QTest::newRow("keypad Enter on a weight")
            << int(Qt::Key_Enter) << QPoint(1, 4) << "401"
            << QStringList{"dialog: 0", "warning: Overweight in some positions!",
                           "warning: Overweight: 1181/1150"}
            << "401";
        QTest::newRow("F2 on the item column")
            << int(Qt::Key_F2) << QPoint(0, 3) << "" << QStringList{} << "Pilot";
        QTest::newRow("Return on the first slot")
            << int(Qt::Key_Return) << QPoint(1, 2) << "" << QStringList{} << "700";
    }
    void editKeys()
    {
        QFETCH(int, key);
        QFETCH(QPoint, cell);
        QFETCH(QString, answer);
        QFETCH(QStringList, messages);
        QFETCH(QString, text);
        m_grid->SetCurrentCell(cell.x(), cell.y());
        m_grid->setFocus();
        // Only a recomputation mends this.
        m_grid->SetCell(4, 2, "stale");
        ModalScript script({answer});
        QTest::keyClick(m_grid, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(script.seen, messages);
        QCOMPARE(m_grid->Cell(cell.x(), cell.y()), text);
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), cell);
        CheckConsistent();
    }

    // A screen reader hears where the load path ends after every
    // recomputation; one that fails leaves the path, and the words, as they were.
    void chartWordsFollowTheLoadPath()
    {
        // The sheet's three envelope vertices are an open outline.
        const QString loaded = "The load path ends at a total moment of 740.200012207031 and a "
                               "total weight of 780. The envelope has 3 vertices. The centre of "
                               "gravity is 0.948974374624399 m. There is no usable envelope to "
                               "judge the loading against.";
        QCOMPARE(ChartWords(m_form.get()), loaded);
        m_grid->SetCurrentCell(1, 3);
        {
            ModalScript script({QStringLiteral("abc")});
            QTest::keyClick(m_grid, Qt::Key_F2);
            QCOMPARE(script.seen.size(), 2);
        }
        QCOMPARE(ChartWords(m_form.get()), loaded);
        {
            ModalScript script({QStringLiteral("90")});
            QTest::keyClick(m_grid, Qt::Key_F2);
        }
        QCOMPARE(
            ChartWords(m_form.get()),
            QStringLiteral(
                "The load path ends at a total moment of 749.599975585938 and a "
                "total weight of 790. The envelope has 3 vertices. The centre of "
                "gravity is 0.948860728589794 m. There is no usable envelope to judge the loading "
                "against."));
    }

private:
    // Mouse events go through the window, so that Qt itself tells a double
    // click from two clicks, as for a user.
    QPoint InWindow(QPoint inViewport) const
    {
        return m_grid->viewport()->mapTo(m_form.get(), inViewport);
    }
    void Click(QPoint inViewport)
    {
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, InWindow(inViewport));
    }
    void DoubleClickAt(QPoint inViewport)
    {
        QTest::mouseDClick(m_form->windowHandle(), Qt::LeftButton, {}, InWindow(inViewport));
        // An error its last release raised is held until no double click can
        // follow: let it come out.
        QVERIFY(ProcessEventsPast(QApplication::doubleClickInterval()));
    }
    void DoubleClick(int col, int row)
    {
        const QPoint at = m_grid->CellRect(col, row).center();
        QVERIFY(m_grid->viewport()->rect().contains(at));
        DoubleClickAt(at);
    }

    // After a completed edit every torque is position x weight and the load
    // path ends at the totals.
    void CheckConsistent()
    {
        double moment = 0;
        double weight = 0;
        for (int r = 2; r < m_grid->RowCount(); ++r) {
            const Extended w = StrToFloat(m_grid->Cell(1, r));
            const Extended p = StrToFloat(m_grid->Cell(3, r));
            QCOMPARE(m_grid->Cell(4, r), FloatToStr(double(p * w)));
            moment = float(StrToFloat(m_grid->Cell(4, r)) + float(moment));
            weight = float(w + float(weight));
        }
        QCOMPARE(m_form->Series3->Count(), m_grid->RowCount() - 1);
        const Arrow& last = m_form->Series3->Arrows().back();
        QCOMPARE(last.endX, moment);
        QCOMPARE(last.endY, weight);
    }

    std::unique_ptr<TForm1> m_form;
    TStringGrid* m_grid = nullptr;
    QChar m_separator;
};

TRX_TEST_MAIN(tst_Editing)
#include "tst_Editing.moc"
