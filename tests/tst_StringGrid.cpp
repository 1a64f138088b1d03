// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "ui/Application.h"
#include "ui/StringGrid.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <optional>

class SecondPressLog : public QObject
{
public:
    explicit SecondPressLog(QStringList* log) : m_log(log) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonDblClick)
            *m_log << QStringLiteral("second press");
        return false;
    }

private:
    QStringList* m_log;
};

// Drives a real grid in a real window through the window system layer, so
// that Qt itself decides what is a double click.
class tst_StringGrid : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    TStringGrid* m_grid = nullptr;
    QLineEdit* m_other = nullptr;
    QStringList m_log;
    std::unique_ptr<ModalDriver> m_boxes;
    bool m_throws = false;

    QString Here() const { return QStringLiteral("%1,%2").arg(m_grid->Col()).arg(m_grid->Row()); }

    // A point of the window for a step target: "c,r" a cell, "head:c" the
    // heading cell of column c, "below" the empty area under the last row.
    QPoint WindowPos(const QString& target) const
    {
        QPoint inViewport;
        if (target == QLatin1String("below")) {
            const QRect last = m_grid->CellRect(1, m_grid->RowCount() - 1);
            inViewport = QPoint(last.center().x(), last.bottom() + 20);
        } else if (target.startsWith(QLatin1String("head:"))) {
            inViewport = m_grid->CellRect(target.mid(5).toInt(), 0).center();
        } else {
            const QStringList cr = target.split(u',');
            inViewport = m_grid->CellRect(cr[0].toInt(), cr[1].toInt()).center();
        }
        return m_grid->viewport()->mapTo(m_window.get(), inViewport);
    }

    void Run(const QStringList& steps)
    {
        QWindow* w = m_window->windowHandle();
        for (const QString& step : steps) {
            const QString action = step.section(u':', 0, 0);
            const QString target = step.section(u':', 1);
            if (action == QLatin1String("key")) {
                const QKeyCombination key = QKeySequence::fromString(target)[0];
                QTest::keyClick(m_grid, key.key(), key.keyboardModifiers());
                continue;
            }
            if (action == QLatin1String("repeat")) {
                // A key held down: the window system repeats its press.
                const QKeyCombination key = QKeySequence::fromString(target)[0];
                QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), QString(),
                                true);
                QApplication::sendEvent(m_grid, &press);
                continue;
            }
            const QPoint pos = WindowPos(target);
            if (action == QLatin1String("click"))
                QTest::mouseClick(w, Qt::LeftButton, {}, pos);
            else if (action == QLatin1String("dclick"))
                QTest::mouseDClick(w, Qt::LeftButton, {}, pos);
            else if (action == QLatin1String("rclick"))
                QTest::mouseClick(w, Qt::RightButton, {}, pos);
            else if (action == QLatin1String("rdclick"))
                QTest::mouseDClick(w, Qt::RightButton, {}, pos);
            else if (action == QLatin1String("press"))
                QTest::mousePress(w, Qt::LeftButton, {}, pos);
            else if (action == QLatin1String("move"))
                QTest::mouseMove(w, pos);
            else if (action == QLatin1String("release"))
                QTest::mouseRelease(w, Qt::LeftButton, {}, pos);
            else
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        m_other = new QLineEdit(m_window.get());
        m_grid = new TStringGrid(m_window.get());
        m_grid->setFixedSize(377, 385);
        layout->addWidget(m_other);
        layout->addWidget(m_grid);
        m_grid->SetRowCount(6);
        for (int r = 0; r < m_grid->RowCount(); ++r)
            for (int c = 0; c < 5; ++c)
                m_grid->SetCell(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
        m_log.clear();
        m_grid->OnClick = [this] { m_log << QStringLiteral("click ") + Here(); };
        m_grid->OnDblClick = [this] { m_log << QStringLiteral("dbl ") + Here(); };
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), WaitLimitMs));
        m_window->activateWindow();
        m_other->setFocus();
        // Every error box is logged with its exact text; the driver presses OK.
        m_boxes = std::make_unique<ModalDriver>([this](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                m_log << QStringLiteral("box ") + box->text();
            return false;
        });
    }

    void cleanup()
    {
        // Let a held error come out before the grid goes.
        const bool settled = !m_throws || ProcessEventsPast(QApplication::doubleClickInterval());
        const QStringList captions = m_boxes->captions;
        m_boxes.reset();
        m_throws = false;
        m_window.reset();
        QVERIFY(settled);
        for (const QString& caption : captions)
            QCOMPARE(caption, QStringLiteral("Trimwise"));
    }

    void asCreated()
    {
        TStringGrid grid;
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.ColCount(), 5);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(grid.ColWidth(c), 62);
        QCOMPARE(grid.CellRect(0, 1).height(), 24);
        QCOMPARE(grid.rowHeight(1), 24 + 1);
        QCOMPARE(grid.Col(), 0);
        QCOMPARE(grid.Row(), 1);
        QVERIFY(!grid.horizontalHeader()->isVisible());
        QVERIFY(!grid.verticalHeader()->isVisible());
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(grid.item(0, 2)->flags() & Qt::ItemIsSelectable));
        QVERIFY(grid.item(1, 2)->flags() & Qt::ItemIsSelectable);
        QVERIFY(!(grid.item(1, 2)->flags() & Qt::ItemIsEditable));
        QCOMPARE(grid.Cell(3, 1), QString());
    }

    void mouseAndKeys_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QPoint>("endCurrent");

        const QPoint s(2, 3);
        QTest::newRow("click on slot cell")
            << s << QStringList{"click:1,4"} << QStringList{"click 1,4"} << QPoint(1, 4);
        QTest::newRow("click on current cell")
            << s << QStringList{"click:2,3"} << QStringList{"click 2,3"} << s;
        QTest::newRow("click on units row")
            << s << QStringList{"click:3,1"} << QStringList{"click 3,1"} << QPoint(3, 1);
        QTest::newRow("click on heading") << s << QStringList{"click:head:1"} << QStringList{} << s;
        QTest::newRow("click below last row")
            << s << QStringList{"click:below"} << QStringList{} << s;
        QTest::newRow("right click") << s << QStringList{"rclick:1,4"} << QStringList{} << s;
        QTest::newRow("right double click")
            << s << QStringList{"rdclick:1,4"} << QStringList{} << s;
        QTest::newRow("double click on slot cell")
            << s << QStringList{"dclick:1,5"} << QStringList{"click 1,5", "dbl 1,5"}
            << QPoint(1, 5);
        QTest::newRow("double click on heading")
            << s << QStringList{"dclick:head:4"} << QStringList{"dbl 2,3"} << s;
        QTest::newRow("double click below last row")
            << s << QStringList{"dclick:below"} << QStringList{"dbl 2,3"} << s;
        QTest::newRow("drag a range")
            << s << QStringList{"press:1,2", "move:2,3", "move:3,4", "release:3,4"}
            << QStringList{"click 1,2"} << QPoint(1, 2);
        QTest::newRow("press on heading, release on cell")
            << s << QStringList{"press:head:1", "move:1,2", "release:1,2"} << QStringList{} << s;
        QTest::newRow("two clicks") << s << QStringList{"click:0,2", "click:4,5"}
                                    << QStringList{"click 0,2", "click 4,5"} << QPoint(4, 5);

        QTest::newRow("Left in column 0")
            << QPoint(0, 2) << QStringList{"key:Left"} << QStringList{} << QPoint(0, 2);
        QTest::newRow("Up on units row")
            << QPoint(1, 1) << QStringList{"key:Up"} << QStringList{} << QPoint(1, 1);
        QTest::newRow("Right") << s << QStringList{"key:Right"} << QStringList{"click 3,3"}
                               << QPoint(3, 3);
        QTest::newRow("Right in last column")
            << QPoint(4, 3) << QStringList{"key:Right"} << QStringList{} << QPoint(4, 3);
        QTest::newRow("Down") << s << QStringList{"key:Down"} << QStringList{"click 2,4"}
                              << QPoint(2, 4);
        QTest::newRow("Down on last row")
            << QPoint(2, 5) << QStringList{"key:Down"} << QStringList{} << QPoint(2, 5);
        QTest::newRow("Shift+Down")
            << s << QStringList{"key:Shift+Down"} << QStringList{"click 2,4"} << QPoint(2, 4);
        QTest::newRow("Ctrl+Up") << s << QStringList{"key:Ctrl+Up"} << QStringList{"click 2,2"}
                                 << QPoint(2, 2);
        QTest::newRow("Home") << s << QStringList{"key:Home"} << QStringList{"click 0,3"}
                              << QPoint(0, 3);
        QTest::newRow("Home in column 0")
            << QPoint(0, 3) << QStringList{"key:Home"} << QStringList{} << QPoint(0, 3);
        QTest::newRow("End") << s << QStringList{"key:End"} << QStringList{"click 4,3"}
                             << QPoint(4, 3);
        QTest::newRow("Ctrl+Home")
            << s << QStringList{"key:Ctrl+Home"} << QStringList{"click 0,1"} << QPoint(0, 1);
        QTest::newRow("Ctrl+End") << s << QStringList{"key:Ctrl+End"} << QStringList{"click 4,5"}
                                  << QPoint(4, 5);
        QTest::newRow("PgDown") << s << QStringList{"key:PgDown"} << QStringList{"click 2,5"}
                                << QPoint(2, 5);
        QTest::newRow("PgUp") << s << QStringList{"key:PgUp"} << QStringList{"click 2,1"}
                              << QPoint(2, 1);
        QTest::newRow("PgUp on units row")
            << QPoint(2, 1) << QStringList{"key:Shift+PgUp"} << QStringList{} << QPoint(2, 1);
        QTest::newRow("Tab leaves the grid") << s << QStringList{"key:Tab"} << QStringList{} << s;
        QTest::newRow("letter key") << s << QStringList{"key:R"} << QStringList{} << s;
        QTest::newRow("F2") << s << QStringList{"key:F2"} << QStringList{"dbl 2,3"} << s;
        QTest::newRow("Return") << s << QStringList{"key:Return"} << QStringList{"dbl 2,3"} << s;
        QTest::newRow("keypad Enter")
            << s << QStringList{"key:Num+Enter"} << QStringList{"dbl 2,3"} << s;
        QTest::newRow("Ctrl+Return is the window's")
            << s << QStringList{"key:Ctrl+Return"} << QStringList{} << s;
        QTest::newRow("F2 held down") << s << QStringList{"repeat:F2"} << QStringList{} << s;
        QTest::newRow("click then F2") << s << QStringList{"click:1,4", "key:F2"}
                                       << QStringList{"click 1,4", "dbl 1,4"} << QPoint(1, 4);
        QTest::newRow("click then keys")
            << s << QStringList{"click:0,2", "key:Left", "key:Right", "key:Down"}
            << QStringList{"click 0,2", "click 1,2", "click 1,3"} << QPoint(1, 3);
    }

    void mouseAndKeys()
    {
        QFETCH(QPoint, start);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QFETCH(QPoint, endCurrent);
        m_grid->SetCurrentCell(start.x(), start.y());
        m_grid->setFocus();
        Run(steps);
        QCOMPARE(m_log, expected);
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), endCurrent);
    }

    void pressFocusesGrid()
    {
        QVERIFY(m_other->hasFocus());
        Run({"click:1,2"});
        QVERIFY(m_grid->hasFocus());
    }

    void dragSelectsRange()
    {
        Run({"press:3,4", "move:2,3", "move:1,2"});
        QCOMPARE(m_log, QStringList{});
        QCOMPARE(m_grid->Selection(), QRect(QPoint(1, 2), QPoint(3, 4)));
        Run({"release:1,2"});
        QCOMPARE(m_log, QStringList{"click 3,4"});
        QCOMPARE(m_grid->Selection(), QRect(QPoint(1, 2), QPoint(3, 4)));
    }

    void shiftKeysSelectRange()
    {
        m_grid->SetCurrentCell(1, 2);
        m_grid->setFocus();
        Run({"key:Shift+Down", "key:Shift+Right", "key:Shift+Right"});
        QCOMPARE(m_grid->Selection(), QRect(QPoint(1, 2), QPoint(3, 3)));
        QCOMPARE(m_log.size(), 3);
        Run({"key:Left"});
        QCOMPARE(m_grid->Selection(), QRect(QPoint(2, 3), QPoint(2, 3)));
    }

    void headingStaysWhenScrolled()
    {
        m_grid->SetRowCount(60);
        m_grid->setFocus();
        Run({"key:Ctrl+End"});
        QCOMPARE(m_grid->Row(), 59);
        QVERIFY(m_grid->verticalScrollBar()->value() > 0);
        // The heading still lies over the body and still takes no click.
        m_log.clear();
        Run({"click:head:2"});
        QCOMPARE(m_log, QStringList{});
        // Scrolled to the end, the top body row may be cut; take the next.
        const int topRow = m_grid->rowAt(m_grid->RowHeight() + 12);
        QVERIFY(topRow > 1);
        Run({QStringLiteral("click:2,%1").arg(topRow)});
        QCOMPARE(m_log, QStringList{QStringLiteral("click 2,%1").arg(topRow)});
    }

    void rowCountChanges()
    {
        m_grid->SetCurrentCell(3, 5);
        m_grid->SetRowCount(4);
        QCOMPARE(m_grid->RowCount(), 4);
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(3, 3));
        m_grid->SetRowCount(8);
        QCOMPARE(m_grid->Cell(2, 3), QStringLiteral("r3c2"));
        QCOMPARE(m_grid->Cell(2, 7), QString());
        m_grid->SetCell(2, 7, QStringLiteral("x"));
        QCOMPARE(m_grid->Cell(2, 7), QStringLiteral("x"));
        QVERIFY(m_grid->item(7, 2)->flags() & Qt::ItemIsSelectable);
        m_grid->SetRowCount(0);
        QCOMPARE(m_grid->RowCount(), 1);
        QCOMPARE(m_grid->Cell(0, 0), QStringLiteral("r0c0"));
        QCOMPARE(m_grid->Row(), 0);
        m_log.clear();
        m_grid->setFocus();
        Run({"key:Down", "click:head:1", "dclick:head:0"});
        QCOMPARE(m_log, QStringList{"dbl 3,0"});
        m_grid->SetRowCount(3);
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(3, 1));
    }

    void outOfRangeCells_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::newRow("row past the end") << 1 << 6;
        QTest::newRow("column past the end") << 5 << 2;
        QTest::newRow("negative") << -1 << -1;
    }

    void outOfRangeCells()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        m_grid->SetCell(col, row, QStringLiteral("lost"));
        QCOMPARE(m_grid->Cell(col, row), QString());
        m_grid->SetCurrentCell(1, 2);
        m_grid->SetCurrentCell(col, row);
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(1, 2));
    }

    void headingNeverCurrent()
    {
        m_grid->SetCurrentCell(1, 2);
        m_grid->SetCurrentCell(1, 0);
        QCOMPARE(m_grid->Row(), 2);
    }

    void columnWidths()
    {
        m_grid->SetColWidth(0, m_grid->ColWidth(0) + 42);
        QCOMPARE(m_grid->ColWidth(0), 104);
        QCOMPARE(m_grid->CellRect(1, 2).left(), 105);
        QCOMPARE(m_grid->CellRect(1, 0).left(), 105);
        m_log.clear();
        Run({"click:1,2"});
        QCOMPARE(m_log, QStringList{"click 1,2"});
    }

    void colours()
    {
        QApplication::processEvents();
        const QImage image = m_grid->grab().toImage();
        const auto sample = [&](int col, int row) {
            const QRect r = m_grid->CellRect(col, row);
            const QPoint p =
                m_grid->viewport()->mapTo(m_grid, r.topLeft() + QPoint(r.width() - 4, 3));
            return image.pixelColor(p * image.devicePixelRatio());
        };
        QCOMPARE(sample(2, 0), m_grid->palette().button().color());
        QCOMPARE(sample(2, 4), m_grid->palette().base().color());
    }

    void accessibleCells()
    {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(m_grid);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Table);
        QVERIFY(!iface->text(QAccessible::Name).isEmpty());
        QAccessibleTableInterface* table = iface->tableInterface();
        QVERIFY(table);
        QAccessibleInterface* cell = table->cellAt(3, 2);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("r3c2"));
    }

    // An error from the first click of a double click must not take the
    // second press: the box shows, then the double click runs.
    void heldErrorDoubleClick_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("slot cell")
            << "1,4"
            << QStringList{"click 1,4", "second press", "box Cell abc is wrong.", "dbl 1,4"};
        QTest::newRow("units row")
            << "3,1"
            << QStringList{"click 3,1", "second press", "box Cell abc is wrong.", "dbl 3,1"};
    }

    void heldErrorDoubleClick()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, expected);
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cell abc is wrong"));
        };
        // The box must not be up before the second press arrives, or the
        // modal box would have taken it.
        SecondPressLog spy(&m_log);
        m_grid->viewport()->installEventFilter(&spy);
        Run({"dclick:" + target});
        QCOMPARE(m_log, expected);
        // Nor a second box when the held error's time would have come.
        QVERIFY(ProcessEventsPast(QApplication::doubleClickInterval()));
        QCOMPARE(m_log, expected);
    }

    // The keys that edit show a click's held error first, as a double click does.
    void heldErrorThenEditKey()
    {
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cell abc is wrong"));
        };
        Run({"click:1,4", "key:F2"});
        QCOMPARE(m_log, (QStringList{"click 1,4", "box Cell abc is wrong.", "dbl 1,4"}));
    }

    void heldErrorSingleClick()
    {
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cell abc is wrong"));
        };
        // Held for the whole interval: a timer of that interval started
        // before the click fires before the held error's, started at the
        // release (Qt fires due timers in the order of their deadlines).
        std::optional<QStringList> logAfterInterval;
        QObject context;
        QTimer::singleShot(QApplication::doubleClickInterval(), Qt::PreciseTimer, &context,
                           [&] { logAfterInterval = m_log; });
        Run({"click:1,3"});
        QCOMPARE(m_log, QStringList{"click 1,3"});
        QTRY_COMPARE_WITH_TIMEOUT(m_log, (QStringList{"click 1,3", "box Cell abc is wrong."}),
                                  WaitLimitMs);
        QTRY_VERIFY_WITH_TIMEOUT(logAfterInterval, WaitLimitMs);
        QCOMPARE(*logAfterInterval, QStringList{"click 1,3"});
    }

    void heldErrorShownByNextPress()
    {
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cell abc is wrong"));
        };
        // The box comes at the next press, which it takes.
        Run({"click:1,3", "press:2,4"});
        QCOMPARE(m_log, (QStringList{"click 1,3", "box Cell abc is wrong."}));
        Run({"release:2,4"});
        QCOMPARE(m_log, (QStringList{"click 1,3", "box Cell abc is wrong."}));
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(1, 3));
    }

    void silentAbortHeld()
    {
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EAbort();
        };
        Run({"dclick:2,4"});
        QCOMPARE(m_log, (QStringList{"click 2,4", "dbl 2,4"}));
        Run({"click:2,5"});
        QVERIFY(ProcessEventsPast(QApplication::doubleClickInterval()));
        QCOMPARE(m_log, (QStringList{"click 2,4", "dbl 2,4", "click 2,5"}));
    }

    void keyErrorShownAtOnce()
    {
        m_grid->OnClick = [this] {
            m_log << QStringLiteral("click ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cell abc is wrong"));
        };
        m_grid->SetCurrentCell(0, 2);
        m_grid->setFocus();
        Run({"key:Down"});
        QCOMPARE(m_log, (QStringList{"click 0,3", "box Cell abc is wrong."}));
    }

    void doubleClickErrorShownAndGridGoesOn()
    {
        m_grid->OnDblClick = [this] {
            m_log << QStringLiteral("dbl ") + Here();
            m_throws = true;
            throw EConvertError(QStringLiteral("Cannot edit"));
        };
        Run({"dclick:1,3", "click:2,4"});
        QCOMPARE(m_log, (QStringList{"click 1,3", "dbl 1,3", "box Cannot edit.", "click 2,4"}));
    }
};

TRX_TEST_MAIN(tst_StringGrid)

#include "tst_StringGrid.moc"
