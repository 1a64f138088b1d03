// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageSetupDialog.h"

#include "core/WinApi.h"
#include "platform/WebBrowser.h"

#include <QLineEdit>
#include <QTest>

class tst_PageSetupDialog : public QObject
{
    Q_OBJECT
private slots:
    void items_data();
    void items();
};

void tst_PageSetupDialog::items_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QMarginsF>("margins");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");

    QTest::newRow("A4 portrait") << int(QPageSize::A4) << int(QPageLayout::Portrait)
                                 << QMarginsF(19.05, 19.05, 19.05, 19.05) << "H"
                                 << "F";
    QTest::newRow("Letter landscape, empty texts")
        << int(QPageSize::Letter) << int(QPageLayout::Landscape) << QMarginsF(5, 6.5, 7, 100) << ""
        << "";
}

// The dialog shows the values it is given, gives them back unchanged, and
// offers its header, footer and OK by item number.
void tst_PageSetupDialog::items()
{
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(QMarginsF, margins);
    QFETCH(QString, header);
    QFETCH(QString, footer);
    TPageSetup values;
    values.paper = QPageSize::PageSizeId(paper);
    values.orientation = QPageLayout::Orientation(orientation);
    values.marginsMm = margins;
    values.header = header;
    values.footer = footer;

    TPageSetupDialog dialog(values);
    QVERIFY(GetWindowText(&dialog).contains("Page Setup"));
    QVERIFY(qobject_cast<QLineEdit*>(GetDlgItem(&dialog, WinApi::IDC_PAGESETUP_HEADER)));
    QVERIFY(qobject_cast<QLineEdit*>(GetDlgItem(&dialog, WinApi::IDC_PAGESETUP_FOOTER)));
    QVERIFY(GetDlgItem(&dialog, WinApi::IDOK));
    QVERIFY(GetDlgItem(&dialog, WinApi::IDCANCEL));
    QCOMPARE(GetDlgItemText(&dialog, WinApi::IDC_PAGESETUP_HEADER), header);
    QCOMPARE(GetDlgItemText(&dialog, WinApi::IDC_PAGESETUP_FOOTER), footer);
    QCOMPARE(dialog.Values(), values);
}

QTEST_MAIN(tst_PageSetupDialog)
#include "tst_PageSetupDialog.moc"
