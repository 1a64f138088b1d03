// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/ArrowSeries.h"
#include "core/Balance.h"
#include "core/CataloguePath.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"
#include "ui/StringGrid.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const char* const trainer = R"([Trainer]
Make=Generic
Model=T2
Slots=4
SlotsNames=Empty aircraft;Pilot;Passenger;Fuel;
SlotsWeight=520;80;0;60;
SlotsMaxWeight=520;120;120;110;
SlotsPos=0.95;0.94;0.94;1.22;
SlotsMinPos=0.95;0.90;0.90;1.22;
SlotsMaxPos=0.95;1.00;1.00;1.22;
MaxWeight=800
Unit=1
EnvelopePoints=5
EnvelopeX=450;600;820;700;450;
EnvelopeY=500;500;800;800;500;
)";

QList<float> Values(const TFloatArray& a)
{
    QList<float> out;
    for (int i = 0; i < a.Size(); ++i)
        out << a[i];
    return out;
}

QStringList Row(TStringGrid* g, int r)
{
    QStringList out;
    for (int c = 0; c < 5; ++c)
        out << g->Cell(c, r);
    return out;
}
} // namespace

class tst_Main : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OKBottomDlg = new TOKBottomDlg;
        Form2 = new TForm2;
    }
    void cleanupTestCase()
    {
        delete Form2;
        delete OKBottomDlg;
        QFile::remove(CatalogueFile());
    }
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanup()
    {
        m_form.reset();
        SetDecimalSeparator(m_separator);
    }

    // -- construction -----------------------------------------------------

    void collapsedWindow()
    {
        QVERIFY(WriteCatalogue("[A]\n[B]\n[C]\n"));
        Create();
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Trimwise Application"));
        QCOMPARE(m_form->OuterSize(), QSize(323, 65));
        QStringList items;
        for (int i = 0; i < m_form->ComboBox1->count(); ++i)
            items << m_form->ComboBox1->itemText(i);
        QCOMPARE(items, QStringList({"A", "B", "C"}));
        QCOMPARE(m_form->ComboBox1->currentText(), QStringLiteral("A"));
        QCOMPARE(m_form->StringGrid1->RowCount(), 2);
        QCOMPARE(Row(m_form->StringGrid1, 0),
                 QStringList({"Item", "Weight", "Max weight", "Position", "Torque"}));
        QCOMPARE(Row(m_form->StringGrid1, 1), QStringList({"Unit", "kg", "kg", "m", "Nm"}));
        // Every heading fits its column, margins included.
        for (int c = 0; c < 5; ++c)
            QVERIFY(m_form->StringGrid1->fontMetrics().horizontalAdvance(
                        m_form->StringGrid1->Cell(c, 0)) +
                        6 <=
                    m_form->StringGrid1->ColWidth(c));

        // Exactly the top strip shows: label, selector and OK, nothing else.
        const QRect client = m_form->rect();
        for (QWidget* w :
             {static_cast<QWidget*>(m_form->Label1), static_cast<QWidget*>(m_form->ComboBox1),
              static_cast<QWidget*>(m_form->Button1)})
            QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
        for (QWidget* w :
             {static_cast<QWidget*>(m_form->StringGrid1), static_cast<QWidget*>(m_form->Chart1),
              static_cast<QWidget*>(m_form->RadioButton1), static_cast<QWidget*>(m_form->Button2),
              static_cast<QWidget*>(m_form->Button4)})
            QVERIFY(!client.intersects(w->geometry()));

        QVERIFY(m_form->RadioButton1->isChecked());
        QVERIFY(m_form->RadioButton1->isEnabled());
        QVERIFY(!m_form->RadioButton2->isChecked());
        QVERIFY(!m_form->RadioButton2->isEnabled());
        QVERIFY(!m_form->Button3->isVisible());
        QVERIFY(!m_form->Button3->isEnabled());
        QCOMPARE(m_form->EnvelopePoints, 0);
        QCOMPARE(m_form->MaxTotalWeight, 0.0f);
        QVERIFY(!m_form->EnvelopeX.IsAllocated());
        QCOMPARE(m_form->Series1->Count(), 0);
        QCOMPARE(m_form->Series3->Count(), 0);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("OK") << "Button1" << QRect(232, 8, 75, 25) << "OK";
        QTest::newRow("Exit") << "Button2" << QRect(551, 8, 116, 25) << "Exit";
        QTest::newRow("Print") << "Button3" << QRect(511, 8, 75, 25) << "Print";
        QTest::newRow("Help") << "Button4" << QRect(430, 8, 115, 25) << "Help";
        QTest::newRow("MKS") << "RadioButton1" << QRect(336, 8, 88, 17) << "MKS";
        QTest::newRow("Imperial") << "RadioButton2" << QRect(336, 25, 88, 17) << "Imperial";
        QTest::newRow("selector") << "ComboBox1" << QRect(56, 8, 169, 21) << "";
        QTest::newRow("sheet") << "StringGrid1" << QRect(0, 48, 377, 385) << "";
        QTest::newRow("chart") << "Chart1" << QRect(384, 48, 289, 385) << "";
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QVERIFY(WriteCatalogue(trainer));
        Create();
        const QHash<QString, QWidget*> controls = {{"Button1", m_form->Button1},
                                                   {"Button2", m_form->Button2},
                                                   {"Button3", m_form->Button3},
                                                   {"Button4", m_form->Button4},
                                                   {"RadioButton1", m_form->RadioButton1},
                                                   {"RadioButton2", m_form->RadioButton2},
                                                   {"ComboBox1", m_form->ComboBox1},
                                                   {"StringGrid1", m_form->StringGrid1},
                                                   {"Chart1", m_form->Chart1}};
        QWidget* w = controls.value(name);
        QCOMPARE(w->geometry(), geometry);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            QCOMPARE(b->text(), text);
            // No clipped captions.
            QVERIFY(b->fontMetrics().horizontalAdvance(text) < geometry.width());
        }
        QVERIFY(!w->accessibleName().isEmpty() || qobject_cast<QAbstractButton*>(w));
    }

    void emptyOrMissingCatalogue_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("no sections") << true;
    }
    void emptyOrMissingCatalogue()
    {
        QFETCH(bool, exists);
        if (exists)
            QVERIFY(WriteCatalogue("; nothing here\nKey=1\n"));
        else
            QFile::remove(CatalogueFile());
        ModalDriver boxes;
        Create();
        QCOMPARE(m_form->ComboBox1->count(), 0);
        QCOMPARE(m_form->SelectedAircraft(), -1);
        QCOMPARE(m_form->ComboBox1->currentText(), QString());
        // Nor later, from the event loop: every event posted and every timer
        // due by now has run.
        QVERIFY(ProcessEventsPast(0));
        QVERIFY(boxes.texts.isEmpty());
    }

    void inlineCompletion_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("selected");
        QTest::newRow("first match, any case") << "b"
                                               << "Bravo" << 1;
        QTest::newRow("longer prefix") << "bl"
                                       << "Blue" << 2;
        QTest::newRow("no match") << "x"
                                  << "x" << -1;
    }
    void inlineCompletion()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, selected);
        QVERIFY(WriteCatalogue("[Alpha]\n[Bravo]\n[Blue]\n"));
        Create();
        m_form->ComboBox1->lineEdit()->clear();
        QTest::keyClicks(m_form->ComboBox1->lineEdit(), typed);
        QCOMPARE(m_form->ComboBox1->currentText(), shown);
        QCOMPARE(m_form->SelectedAircraft(), selected);
    }

    void exitBeforeLoad()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get(), WaitLimitMs));
        QTest::mouseClick(m_form->Button2, Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!m_form->EnvelopeX.IsAllocated());
    }

    void exitAfterLoadReleasesArrays()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        m_form->Button1Click();
        QVERIFY(m_form->EnvelopeX.IsAllocated());
        m_form->Button2Click();
        QVERIFY(!m_form->EnvelopeX.IsAllocated());
        QVERIFY(!m_form->EnvelopeY.IsAllocated());
        QVERIFY(!m_form->SlotMinPos.IsAllocated());
        QVERIFY(!m_form->SlotMaxPos.IsAllocated());
        QVERIFY(!m_form->isVisible());
    }

    void printButtonUnreachable()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get(), WaitLimitMs));
        m_form->Button1Click();
        QWidget* w = m_form->ComboBox1;
        for (int i = 0; i < 20; ++i) {
            w = w->nextInFocusChain();
            QVERIFY(w != m_form->Button3 || !w->isVisible());
        }
        QVERIFY(!m_form->Button3->isVisible());
        QVERIFY(!m_form->Button3->isEnabled());
        // Where only the Print button lies, a click meets the bare window.
        QCOMPARE(m_form->childAt(548, 12), nullptr);
        QCOMPARE(m_form->childAt(560, 12), m_form->Button2);
    }

    void tabReachesSheetWhileCollapsed()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get(), WaitLimitMs));
        m_form->activateWindow();
        m_form->ComboBox1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_form->StringGrid1);
        // Moving the current cell runs the recomputation: the fixed first arrow appears.
        m_form->StringGrid1->SetCurrentCell(0, 1);
        QTest::keyClick(m_form->StringGrid1, Qt::Key_Right);
        QCOMPARE(m_form->Series3->Count(), 1);
    }

    // -- loading ----------------------------------------------------------

    // The flight's keys, sound or not, change nothing the window shows.
    void loadWorkedExample_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        QTest::newRow("as described") << QByteArray(trainer);
        QTest::newRow("with the flight's keys")
            << QByteArray(trainer) + "MaxRampWeight=805\nMaxLandingWeight=760\n"
                                     "MaxZeroFuelWeight=700\nFuelSlots=4;\nFuelDensity=0.72\n";
        QTest::newRow("with the flight's keys wrong")
            << QByteArray(trainer) + "MaxRampWeight=x\nMaxLandingWeight=900\n"
                                     "MaxZeroFuelWeight=-1\nFuelSlots=1;9;x\nFuelDensity=1E400\n";
    }
    void loadWorkedExample()
    {
        QFETCH(QByteArray, catalogue);
        QVERIFY(WriteCatalogue(catalogue));
        Create();
        ModalDriver boxes;
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList());
        QCOMPARE(m_form->windowTitle(),
                 QStringLiteral("Trimwise Application - Trainer (Generic T2)"));
        QCOMPARE(m_form->OuterSize(), QSize(686, 467));
        QVERIFY(!m_form->Button1->isEnabled());
        QVERIFY(!m_form->ComboBox1->isEnabled());
        TStringGrid* g = m_form->StringGrid1;
        QCOMPARE(g->RowCount(), 6);
        QCOMPARE(Row(g, 2), QStringList({"Empty aircraft", "520", "520", "0.95", "494"}));
        QCOMPARE(Row(g, 3), QStringList({"Pilot", "80", "120", "0.94", "75.2"}));
        QCOMPARE(Row(g, 4), QStringList({"Passenger", "0", "120", "0.94", "0"}));
        QCOMPARE(Row(g, 5), QStringList({"Fuel", "60", "110", "1.22", "73.2"}));
        QCOMPARE(g->ColWidth(0), 104);
        QCOMPARE(g->ColWidth(4), 77);
        QCOMPARE(m_form->EnvelopePoints, 5);
        QCOMPARE(m_form->EnvelopeX[2], 820.0f);
        QCOMPARE(m_form->EnvelopeY[4], 500.0f);
        QCOMPARE(m_form->SlotMinPos[1], 0.90f);
        QCOMPARE(m_form->SlotMaxPos[1], 1.00f);
        QCOMPARE(m_form->MaxTotalWeight, 800.0f);
        QCOMPARE(m_form->Series1->Count(), 4);
        QCOMPARE(m_form->Series3->Count(), 5);
        QVERIFY(m_form->RadioButton1->isChecked());
    }

    // What a screen reader hears: the window by its caption, the selector by
    // its label, the chart as a chart and in words, before and after a load.
    void screenReaderReads()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_form.get());
        QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(m_form->Chart1);
        QAccessibleInterface* selector = QAccessible::queryAccessibleInterface(m_form->ComboBox1);
        const auto labels = selector->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), static_cast<QObject*>(m_form->Label1));
        QCOMPARE(chart->role(), QAccessible::Chart);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Trimwise Application"));
        const QString noAircraft = QStringLiteral("No aircraft is loaded.");
        QCOMPARE(chart->text(QAccessible::Description), noAircraft);
        // The arrow keys recompute before a load too.
        m_form->Compute();
        QCOMPARE(chart->text(QAccessible::Description), noAircraft);

        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(window->text(QAccessible::Name),
                 QStringLiteral("Trimwise Application - Trainer (Generic T2)"));
        QCOMPARE(chart->text(QAccessible::Description),
                 QStringLiteral("The load path ends at a total moment of 642.400024414063 and a "
                                "total weight of 660. The envelope has 5 vertices. The centre of "
                                "gravity is 0.973333370324337 m. The loading is inside the "
                                "envelope."));
    }

    void loadUnits_data()
    {
        QTest::addColumn<QByteArray>("unitLine");
        QTest::addColumn<bool>("imperial");
        QTest::newRow("Unit=2") << QByteArray("Unit=2") << true;
        QTest::newRow("Unit=0x2") << QByteArray("Unit=0x2") << true;
        QTest::newRow("Unit=1") << QByteArray("Unit=1") << false;
        QTest::newRow("Unit=0") << QByteArray("Unit=0") << false;
        QTest::newRow("Unit=3") << QByteArray("Unit=3") << false;
        QTest::newRow("Unit=abc") << QByteArray("Unit=abc") << false;
        QTest::newRow("Unit=2 with blank") << QByteArray("Unit=2x") << false;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void loadUnits()
    {
        QFETCH(QByteArray, unitLine);
        QFETCH(bool, imperial);
        QVERIFY(WriteCatalogue(
            "[P]\nSlots=1\nSlotsNames=Pilot;\nSlotsWeight=170;\nSlotsMaxWeight=200;\n"
            "SlotsPos=37;\nSlotsMinPos=34;\nSlotsMaxPos=46;\nMaxWeight=2300\n"
            "EnvelopePoints=1\nEnvelopeX=500;\nEnvelopeY=600;\n" +
            unitLine + "\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(Row(m_form->StringGrid1, 1),
                 imperial ? QStringList({"Unit", "Lbs", "Lbs", "in", "Lbs*in"})
                          : QStringList({"Unit", "kg", "kg", "m", "Nm"}));
        QCOMPARE(m_form->RadioButton1->isChecked(), !imperial);
        QCOMPARE(m_form->RadioButton1->isEnabled(), !imperial);
        QCOMPARE(m_form->RadioButton2->isChecked(), imperial);
        QCOMPARE(m_form->RadioButton2->isEnabled(), imperial);
        // One vertex: no envelope edge.
        QCOMPARE(m_form->Series1->Count(), 0);
        QCOMPARE(m_form->StringGrid1->Cell(4, 2), QStringLiteral("6290"));
    }

    void loadCellTexts_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("max weight converted, weight copied")
            << QByteArray(
                   "SlotsWeight=80.0;\nSlotsMaxWeight=100.50;\nSlotsPos=1;\nSlotsNames=Pilot;")
            << QStringList({"Pilot", "80.0", "100.5", "1", "80"});
        QTest::newRow("blanks trimmed")
            << QByteArray(
                   "SlotsWeight=  80 ;  60 ;\nSlotsMaxWeight=100;\nSlotsPos=1;\nSlotsNames=Pilot")
            << QStringList({"", "80", "100", "1", "80"});
    }
    void loadCellTexts()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, row);
        QVERIFY(WriteCatalogue(
            "[S]\nSlots=1\nSlotsMinPos=0;\nSlotsMaxPos=2;\nEnvelopeX=0;\nEnvelopeY=0;\n" + keys +
            "\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(Row(m_form->StringGrid1, 2), row);
    }

    void loadWithoutMakeAndModel()
    {
        QVERIFY(WriteCatalogue("[Trainer]\nEnvelopeX=1;\nEnvelopeY=1;\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Trimwise Application - Trainer ( )"));
        QCOMPARE(m_form->StringGrid1->RowCount(), 2);
        QCOMPARE(m_form->SlotMinPos.Size(), 0);
        QCOMPARE(m_form->Series3->Count(), 1);
    }

    void slotsTakesOnlyItsCount()
    {
        QVERIFY(WriteCatalogue(
            "[S]\nSlots=2\nSlotsNames=a;b;c;\nSlotsWeight=1;2;3;\nSlotsMaxWeight=5;5;5;\n"
            "SlotsPos=1;1;1;\nSlotsMinPos=0;0;0;\nSlotsMaxPos=2;2;2;\n"
            "EnvelopeX=0;\nEnvelopeY=0;\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(m_form->StringGrid1->RowCount(), 4);
        QCOMPARE(m_form->StringGrid1->Cell(0, 3), QStringLiteral("b"));
    }

    // A load that stops shows the conversion error and keeps what it did.
    void loadStops_data()
    {
        QTest::addColumn<QByteArray>("catalogue");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("lastRow");
        QTest::newRow("section without keys")
            << QByteArray("[Empty]\n") << "'' is not a valid floating point value."
            << "Trimwise Application" << 2 << QStringList({"Unit", "kg", "kg", "m", "Nm"});
        QTest::newRow("max weight without final separator")
            << QByteArray("[S]\nSlots=1\nSlotsMaxWeight=120\nSlotsNames=Pilot;\nEnvelopeX=0;\n"
                          "EnvelopeY=0;\n")
            << "'' is not a valid floating point value."
            << "Trimwise Application - S ( )" << 3 << QStringList({"", "", "", "", ""});
        QTest::newRow("minimum positions too short")
            << QByteArray("[S]\nSlots=2\nSlotsMaxWeight=120;120;\nSlotsNames=Pilot;Pax;\n"
                          "SlotsWeight=80;70;\nSlotsPos=1;2;\nSlotsMinPos=0.5;\n"
                          "SlotsMaxPos=3;3;\nEnvelopeX=0;\nEnvelopeY=0;\n")
            << "'' is not a valid floating point value."
            << "Trimwise Application - S ( )" << 4 << QStringList({"Pax", "70", "120", "2", ""});
        QTest::newRow("malformed envelope")
            << QByteArray("[S]\nEnvelopePoints=2\nEnvelopeX=1;x1;\nEnvelopeY=1;1;\n")
            << "'x1' is not a valid floating point value."
            << "Trimwise Application" << 2 << QStringList({"Unit", "kg", "kg", "m", "Nm"});
        QTest::newRow("too many slots")
            << QByteArray("[Big]\nSlots=2147483647\nEnvelopeX=0;\nEnvelopeY=0;\n")
            << "The aircraft \"Big\" cannot be loaded: Slots is 2147483647, but at most 1023 "
               "slots can be listed."
            << "Trimwise Application" << 2 << QStringList({"Unit", "kg", "kg", "m", "Nm"});
        QTest::newRow("too many slots, percent signs in the name")
            << QByteArray("[Big %1 %3]\nSlots=1024\nEnvelopeX=0;\nEnvelopeY=0;\n")
            << "The aircraft \"Big %1 %3\" cannot be loaded: Slots is 1024, but at most 1023 "
               "slots can be listed."
            << "Trimwise Application" << 2 << QStringList({"Unit", "kg", "kg", "m", "Nm"});
        QTest::newRow("too many envelope points")
            << QByteArray("[Big]\nEnvelopePoints=1024\n")
            << "The aircraft \"Big\" cannot be loaded: EnvelopePoints is 1024, but at most 1023 "
               "envelope points can be listed."
            << "Trimwise Application" << 2 << QStringList({"Unit", "kg", "kg", "m", "Nm"});
    }
    void loadStops()
    {
        QFETCH(QByteArray, catalogue);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(int, rows);
        QFETCH(QStringList, lastRow);
        QVERIFY(WriteCatalogue(catalogue));
        Create();
        m_form->show();
        ModalDriver boxes;
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{message});
        QCOMPARE(boxes.captions, QStringList{"Trimwise"});
        QCOMPARE(boxes.icons.value(0), QMessageBox::Critical);
        QCOMPARE(m_form->windowTitle(), caption);
        QCOMPARE(m_form->StringGrid1->RowCount(), rows);
        QCOMPARE(Row(m_form->StringGrid1, rows - 1), lastRow);
        QVERIFY(!m_form->Button1->isEnabled());
        QVERIFY(!m_form->ComboBox1->isEnabled());
        QCOMPARE(m_form->OuterSize(), QSize(686, 467));
        QCOMPARE(m_form->StringGrid1->ColWidth(0), 62);
        QCOMPARE(m_form->Series3->Count(), 0);
    }

    // A load that stops keeps the per-aircraft state filled up to the failing
    // field and 0 after it; the unit indicators change only once every slot
    // is read, the columns widen only after a completed read, and only a
    // Compute that ran speaks of a load path.
    void stoppedLoadKeepsWhatItRead_data()
    {
        const QByteArray twoSlots = "Slots=2\nSlotsMaxWeight=120;120;\nSlotsNames=Pilot;Pax;\n"
                                    "SlotsPos=1;2;\nMaxWeight=900\nUnit=2\nEnvelopePoints=2\n";
        QTest::addColumn<QByteArray>("catalogue");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QList<float>>("envelope");  // X then Y
        QTest::addColumn<QList<float>>("positions"); // minimum then maximum
        QTest::addColumn<float>("maxWeight");
        QTest::addColumn<bool>("readCompleted");
        QTest::newRow("second envelope Y")
            << "[S]\n" + twoSlots + "EnvelopeX=1;2;\nEnvelopeY=3;y;\n"
            << "'y' is not a valid floating point value." << QList<float>{1, 2, 3, 0}
            << QList<float>{} << 0.0f << false;
        QTest::newRow("second minimum position")
            << "[S]\n" + twoSlots +
                   "SlotsWeight=80;70;\nSlotsMinPos=0.5;\nSlotsMaxPos=3;4;\n"
                   "EnvelopeX=1;2;\nEnvelopeY=3;4;\n"
            << "'' is not a valid floating point value." << QList<float>{1, 2, 3, 4}
            << QList<float>{0.5f, 0, 3, 0} << 0.0f << false;
        QTest::newRow("second maximum position")
            << "[S]\n" + twoSlots +
                   "SlotsWeight=80;70;\nSlotsMinPos=0.5;0.6;\nSlotsMaxPos=3;-;\n"
                   "EnvelopeX=1;2;\nEnvelopeY=3;4;\n"
            << "'-' is not a valid floating point value." << QList<float>{1, 2, 3, 4}
            << QList<float>{0.5f, 0.6f, 3, 0} << 0.0f << false;
        QTest::newRow("second weight, in the Compute")
            << "[S]\n" + twoSlots +
                   "SlotsWeight=80;abc;\nSlotsMinPos=0.5;0.6;\nSlotsMaxPos=3;4;\n"
                   "EnvelopeX=1;2;\nEnvelopeY=3;4;\n"
            << "'abc' is not a valid floating point value." << QList<float>{1, 2, 3, 4}
            << QList<float>{0.5f, 0.6f, 3, 4} << 900.0f << true;
    }
    void stoppedLoadKeepsWhatItRead()
    {
        QFETCH(QByteArray, catalogue);
        QFETCH(QString, message);
        QFETCH(QList<float>, envelope);
        QFETCH(QList<float>, positions);
        QFETCH(float, maxWeight);
        QFETCH(bool, readCompleted);
        QVERIFY(WriteCatalogue(catalogue));
        Create();
        m_form->show();
        ModalDriver boxes;
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{message});
        QCOMPARE(Values(m_form->EnvelopeX) + Values(m_form->EnvelopeY), envelope);
        QCOMPARE(Values(m_form->SlotMinPos) + Values(m_form->SlotMaxPos), positions);
        QCOMPARE(m_form->MaxTotalWeight, maxWeight);
        QCOMPARE(m_form->RadioButton2->isChecked(), readCompleted);
        QCOMPARE(m_form->RadioButton1->isEnabled(), !readCompleted);
        QCOMPARE(m_form->StringGrid1->Cell(1, 1), QString(readCompleted ? "Lbs" : "kg"));
        QCOMPARE(m_form->StringGrid1->ColWidth(0), readCompleted ? 104 : 62);
        QCOMPARE(m_form->StringGrid1->ColWidth(4), readCompleted ? 77 : 62);
        QCOMPARE(m_form->Chart1->accessibleDescription() != NoAircraftDescription(), readCompleted);
        QCOMPARE(m_form->Series1->Count(), readCompleted ? 1 : 0);
    }

    void negativeCountsLoadAsZero()
    {
        QVERIFY(WriteCatalogue("[N]\nSlots=-5\nEnvelopePoints=-3\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(m_form->StringGrid1->RowCount(), 2);
        QCOMPARE(m_form->EnvelopePoints, 0);
        QCOMPARE(m_form->EnvelopeX.Size(), 0);
        QCOMPARE(m_form->Series3->Count(), 1);
    }

    void noSelectionStopsAtFirstEnvelopeField()
    {
        QVERIFY(WriteCatalogue(trainer));
        Create();
        m_form->ComboBox1->lineEdit()->clear();
        QTest::keyClicks(m_form->ComboBox1->lineEdit(), "Zulu");
        QCOMPARE(m_form->SelectedAircraft(), -1);
        m_form->show();
        ModalDriver boxes;
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{"'' is not a valid floating point value."});
        QCOMPARE(m_form->EnvelopePoints, 1);
    }

    void maxWeightNotANumberIsZero()
    {
        QVERIFY(WriteCatalogue("[H]\nMaxWeight=heavy\nEnvelopeX=0;\nEnvelopeY=0;\n"));
        Create();
        m_form->Button1Click();
        QCOMPARE(m_form->MaxTotalWeight, 0.0f);
    }

private:
    void Create()
    {
        m_form.reset();
        m_form = std::make_unique<TForm1>();
        Form1 = m_form.get();
    }
    std::unique_ptr<TForm1> m_form;
    QChar m_separator;
};

TRX_TEST_MAIN(tst_Main)
#include "tst_Main.moc"
