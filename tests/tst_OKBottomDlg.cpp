// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "ui/Application.h"
#include "ui/OKBottomDlg.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

// Every showing is modal; the test's part runs from the modal-window driver
// inside it.
class tst_OKBottomDlg : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TOKBottomDlg> m_dlg;
    QWidget* m_focusAtShow = nullptr;
    QRect m_frameAtShow;

    // Shows the dialog modally, records what it shows with, then runs `act`.
    int Show(const std::function<void(TOKBottomDlg&)>& act)
    {
        m_focusAtShow = nullptr;
        bool ran = false;
        // An `act` that leaves the dialog open hangs the test: its time-out ends it.
        ModalDriver driver([&](QWidget* modal) {
            if (ran || modal != m_dlg.get())
                return false;
            ran = true;
            m_focusAtShow = QApplication::focusWidget();
            m_frameAtShow = m_dlg->frameGeometry();
            act(*m_dlg);
            return true;
        });
        const int result = m_dlg->ShowModal();
        return ran ? result : -1;
    }

private slots:
    void init() { m_dlg = std::make_unique<TOKBottomDlg>(); }
    void cleanup() { m_dlg.reset(); }

    void layout()
    {
        TOKBottomDlg& d = *m_dlg;
        QCOMPARE(d.windowTitle(), QStringLiteral("Input new value"));
        QCOMPARE(d.size(), QSize(229, 115));
        QCOMPARE(d.minimumSize(), QSize(229, 115));
        QCOMPARE(d.maximumSize(), QSize(229, 115));
        QCOMPARE(d.Bevel1->geometry(), QRect(8, 8, 217, 65));
        QCOMPARE(d.Label1->text(), QStringLiteral("Old value:"));
        QCOMPARE(d.Label1->pos(), QPoint(24, 24));
        QCOMPARE(d.Label3->pos(), QPoint(88, 24));
        QCOMPARE(d.Label2->text(), QStringLiteral("New value:"));
        QCOMPARE(d.Label2->pos(), QPoint(24, 48));
        QCOMPARE(d.Edit1->geometry(), QRect(88, 44, 121, 21));
        QCOMPARE(d.OKBtn->text(), QStringLiteral("OK"));
        QCOMPARE(d.OKBtn->geometry(), QRect(39, 84, 75, 25));
        QVERIFY(d.OKBtn->isDefault());
        QCOMPARE(d.CancelBtn->text(), QStringLiteral("Cancel"));
        QCOMPARE(d.CancelBtn->geometry(), QRect(119, 84, 75, 25));
        QVERIFY(!d.CancelBtn->isDefault());
        // The captions fit before the edit box and inside the frame.
        QVERIFY(d.Label1->geometry().right() < d.Label3->x());
        QVERIFY(d.Label2->geometry().right() < d.Edit1->x());
        QCOMPARE(d.AcceptedValue(), QString());
    }

    void tabOrder()
    {
        QList<QWidget*> chain;
        QWidget* w = m_dlg->OKBtn;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w;
            w = w->nextInFocusChain();
        } while (w != m_dlg->OKBtn);
        QCOMPARE(chain, (QList<QWidget*>{m_dlg->OKBtn, m_dlg->CancelBtn, m_dlg->Edit1}));
    }

    void setOldValue()
    {
        m_dlg->SetOldValue(QStringLiteral("77.5"));
        QCOMPARE(m_dlg->Label3->text(), QStringLiteral("77.5"));
        QCOMPARE(m_dlg->Edit1->text(), QStringLiteral("77.5"));
        QVERIFY(m_dlg->Label3->width() > 0);
    }

    void results_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("accepted");
        QTest::newRow("OK clicked") << "click ok" << 1 << "12,5 ";
        QTest::newRow("Cancel clicked") << "click cancel" << 2 << "";
        QTest::newRow("Enter in the edit box") << "enter in edit" << 1 << "12,5 ";
        QTest::newRow("Escape in the edit box") << "escape in edit" << 2 << "";
        QTest::newRow("Escape on OK") << "escape on ok" << 2 << "";
        QTest::newRow("Space on Cancel") << "space on cancel" << 2 << "";
        QTest::newRow("Enter on Cancel") << "enter on cancel" << 2 << "";
        QTest::newRow("close box") << "close" << 2 << "";
    }

    void results()
    {
        QFETCH(QString, action);
        QFETCH(int, result);
        QFETCH(QString, accepted);
        m_dlg->SetOldValue(QStringLiteral("10"));
        const int got = Show([&](TOKBottomDlg& d) {
            // Typed text is taken as it stands: no trimming.
            d.Edit1->setText(QStringLiteral("12,5 "));
            if (action == QLatin1String("click ok")) {
                QTest::mouseClick(d.OKBtn, Qt::LeftButton);
            } else if (action == QLatin1String("click cancel")) {
                QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
            } else if (action == QLatin1String("enter in edit")) {
                d.Edit1->setFocus();
                QTest::keyClick(d.Edit1, Qt::Key_Return);
            } else if (action == QLatin1String("escape in edit")) {
                d.Edit1->setFocus();
                QTest::keyClick(d.Edit1, Qt::Key_Escape);
            } else if (action == QLatin1String("escape on ok")) {
                QTest::keyClick(d.OKBtn, Qt::Key_Escape);
            } else if (action == QLatin1String("space on cancel")) {
                d.CancelBtn->setFocus();
                QTest::keyClick(d.CancelBtn, Qt::Key_Space);
            } else if (action == QLatin1String("enter on cancel")) {
                d.CancelBtn->setFocus();
                QTest::keyClick(d.CancelBtn, Qt::Key_Return);
            } else if (action == QLatin1String("close")) {
                d.close();
            }
        });
        QCOMPARE(got, result);
        QCOMPARE(m_dlg->AcceptedValue(), accepted);
        QVERIFY(!m_dlg->isVisible());
    }

    void acceptedValueKept()
    {
        m_dlg->SetOldValue(QStringLiteral("1"));
        QCOMPARE(Show([](TOKBottomDlg& d) {
                     d.Edit1->setText(QStringLiteral("abc"));
                     d.OKBtn->click();
                 }),
                 1);
        QCOMPARE(m_dlg->AcceptedValue(), QStringLiteral("abc"));
        m_dlg->SetOldValue(QStringLiteral("2"));
        QCOMPARE(Show([](TOKBottomDlg& d) {
                     d.Edit1->setText(QStringLiteral("99"));
                     d.CancelBtn->click();
                 }),
                 2);
        QCOMPARE(m_dlg->AcceptedValue(), QStringLiteral("abc"));
        QCOMPARE(m_dlg->Edit1->text(), QStringLiteral("99"));
        m_dlg->SetOldValue(QStringLiteral("3"));
        QCOMPARE(Show([](TOKBottomDlg& d) { d.OKBtn->click(); }), 1);
        QCOMPARE(m_dlg->AcceptedValue(), QStringLiteral("3"));
    }

    // First showing: OK; later: whatever had the focus when it closed.
    void focusAcrossShowings()
    {
        QCOMPARE(Show([](TOKBottomDlg& d) {
                     d.Edit1->setFocus();
                     QTest::keyClick(d.Edit1, Qt::Key_Escape);
                 }),
                 2);
        QCOMPARE(m_focusAtShow, m_dlg->OKBtn);
        QCOMPARE(Show([](TOKBottomDlg& d) {
                     QTest::keyClick(d.Edit1, Qt::Key_Tab);
                     QVERIFY(d.OKBtn->hasFocus());
                     QTest::keyClick(d.OKBtn, Qt::Key_Tab);
                     d.close();
                 }),
                 2);
        QCOMPARE(m_focusAtShow, m_dlg->Edit1);
        QCOMPARE(Show([](TOKBottomDlg& d) { QTest::keyClick(d.CancelBtn, Qt::Key_Return); }), 2);
        QCOMPARE(m_focusAtShow, m_dlg->CancelBtn);
        QCOMPARE(Show([](TOKBottomDlg& d) { d.OKBtn->click(); }), 1);
        QCOMPARE(m_focusAtShow, m_dlg->CancelBtn);
    }

    void centredOnScreen()
    {
        // A parent would centre it over itself; the screen wins.
        auto parent = std::make_unique<QWidget>();
        parent->setGeometry(10, 10, 300, 200);
        parent->show();
        m_dlg.reset(new TOKBottomDlg(parent.get()));
        const int result = Show([](TOKBottomDlg& d) { d.OKBtn->click(); });
        const QRect screen = m_dlg->screen()->geometry();
        const QRect frame = m_frameAtShow;
        m_dlg.reset();
        QCOMPARE(result, 1);
        QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
    }
};

TRX_TEST_MAIN(tst_OKBottomDlg)

#include "tst_OKBottomDlg.moc"
