// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Print.h"

#include "TestSupport.h"
#include "core/WinApi.h"
#include "ui/PageSetupDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

namespace {

const QString kOverrideFooter = QStringLiteral("&d &w&bPage &p of &P");
const QString kTitle = QStringLiteral("Trimwise loading report");

QStringList NonEmptyLines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && line.trimmed() != QStringLiteral("\f"))
            lines << line;
    return lines;
}

// What the user does in the dialogs a print opens, and what was seen there.
struct User
{
    bool acceptSecondSetup = true;
    QString changeFooterTo; // null: leave it
    bool acceptPrint = true;
    QString pdf;

    int pageSetupsSeen = 0; // left open for the user
    int printDialogsSeen = 0;
    int stuckDialogs = 0; // Page Setup dialogs a pending flag should have closed
    QString secondHeader;
    QString secondFooter;
};

// Plays the user through the modal-window driver, inside the dialogs' event
// loops.
class UserDriver
{
public:
    UserDriver(TForm2& form, User& user) : m_form(form), m_user(user) {}

private:
    bool Answer(QWidget* modal)
    {
        // Like a user: only the dialog in front, once it is active; the
        // preview has then been told that the dialog took the activation.
        if (!InFront(modal))
            return false;
        if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
            ++m_user.printDialogsSeen;
            if (m_user.acceptPrint) {
                // The dialog takes its file from its own field on accepting.
                if (auto* file = print->findChild<QLineEdit*>(QStringLiteral("filename")))
                    file->setText(m_user.pdf);
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(m_user.pdf);
                print->accept();
            } else {
                print->reject();
            }
            return true;
        }
        if (!GetWindowText(modal).contains(QStringLiteral("Page Setup")))
            return false;
        if (m_form.OverridePending || m_form.RestorePending) {
            // The preview closes this one itself as it loses the activation
            // to it; still open in front, it was missed. Out of the way, so
            // that the test ends.
            ++m_user.stuckDialogs;
            SendDlgItemClick(modal, WinApi::IDCANCEL);
            return true;
        }
        ++m_user.pageSetupsSeen;
        m_user.secondHeader = GetDlgItemText(modal, WinApi::IDC_PAGESETUP_HEADER);
        m_user.secondFooter = GetDlgItemText(modal, WinApi::IDC_PAGESETUP_FOOTER);
        if (!m_user.changeFooterTo.isNull())
            SetDlgItemText(modal, WinApi::IDC_PAGESETUP_FOOTER, m_user.changeFooterTo);
        SendDlgItemClick(modal, m_user.acceptSecondSetup ? WinApi::IDOK : WinApi::IDCANCEL);
        return true;
    }

    TForm2& m_form;
    User& m_user;
    ModalDriver m_driver{[this](QWidget* modal) { return Answer(modal); }};
};

} // namespace

class tst_Print : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void layout();
    void cancelHides();

    void printFlow_data();
    void printFlow();
    void printTwiceKeepsTheUsersTexts();

    void onActivateActsOnlyOnPageSetup_data();
    void onActivateActsOnlyOnPageSetup();
    void dialogWithOtherCaptionStaysOpen();

private:
    void ShowPreview();
    void SetUserTexts(const QString& header, const QString& footer);

    QTemporaryDir m_config;
    QTemporaryDir m_folder;
    TForm2* m_form = nullptr;
    bool m_configHomeWasSet = false;
    QByteArray m_configHomeBefore;
    bool m_quitOnLastWindowClosedBefore = true;
};

void tst_Print::initTestCase()
{
    m_configHomeWasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_configHomeBefore = qgetenv("XDG_CONFIG_HOME");
    m_quitOnLastWindowClosedBefore = qApp->quitOnLastWindowClosed();
    QVERIFY(m_config.isValid());
    QVERIFY(m_folder.isValid());
    // The page setup is kept in the user's configuration folder: a scratch one here.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    qApp->setQuitOnLastWindowClosed(false);

    // The installed page with a chart-like bitmap beside it.
    QVERIFY(QFile::copy(QStringLiteral(TRX_SOURCE_DIR "/data/report.html"),
                        m_folder.filePath("report.html")));
    QImage chart(420, 300, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawPolygon(
        QPolygon({QPoint(60, 260), QPoint(120, 40), QPoint(360, 60), QPoint(380, 250)}));
    painter.setPen(QPen(Qt::blue, 2));
    painter.drawLine(20, 280, 200, 150);
    painter.drawLine(200, 150, 260, 90);
    painter.end();
    QVERIFY(chart.save(m_folder.filePath("report.bmp"), "BMP"));
}

void tst_Print::cleanupTestCase()
{
    if (m_configHomeWasSet)
        qputenv("XDG_CONFIG_HOME", m_configHomeBefore);
    else
        qunsetenv("XDG_CONFIG_HOME");
    qApp->setQuitOnLastWindowClosed(m_quitOnLastWindowClosedBefore);
}

void tst_Print::init()
{
    QFile::remove(m_config.filePath("Trimwise/Trimwise.conf"));
    m_form = new TForm2;
}

void tst_Print::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void tst_Print::ShowPreview()
{
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form, WaitLimitMs));
    m_form->CppWebBrowser1->Navigate(
        QUrl::fromLocalFile(m_folder.filePath("report.html")).toString());
}

void tst_Print::SetUserTexts(const QString& header, const QString& footer)
{
    TPageSetup values = m_form->CppWebBrowser1->PageSetup();
    values.header = header;
    values.footer = footer;
    m_form->CppWebBrowser1->SetPageSetup(values);
}

void tst_Print::layout()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Print preview"));
    QVERIFY(m_form->isWindow());
    QCOMPARE(m_form->size(), QSize(562, 525));
    QCOMPARE(m_form->pos(), QPoint(0, 0));
    QCOMPARE(m_form->CppWebBrowser1->geometry(), QRect(8, 8, 546, 473));
    QCOMPARE(m_form->Button1->geometry(), QRect(8, 492, 75, 25));
    QCOMPARE(m_form->Button2->geometry(), QRect(89, 492, 75, 25));
    QCOMPARE(m_form->Button1->text(), QStringLiteral("Print"));
    QCOMPARE(m_form->Button2->text(), QStringLiteral("Cancel"));
    QCOMPARE(m_form->font().pixelSize(), 11);
    // Tab order: browser, Print, Cancel (the browser's own inner widgets aside).
    QList<QWidget*> order;
    for (QWidget* w = m_form->nextInFocusChain(); w != m_form; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order << w;
    QCOMPARE(order, (QList<QWidget*>{m_form->CppWebBrowser1, m_form->Button1, m_form->Button2}));
    QVERIFY(!m_form->OverridePending);
    QVERIFY(!m_form->RestorePending);
    QVERIFY(m_form->SavedHeader.isEmpty());
    QVERIFY(m_form->SavedFooter.isEmpty());

    // Controls keep their place when the window is resized.
    m_form->resize(900, 700);
    QCOMPARE(m_form->CppWebBrowser1->geometry(), QRect(8, 8, 546, 473));
    QCOMPARE(m_form->Button2->geometry(), QRect(89, 492, 75, 25));
}

void tst_Print::cancelHides()
{
    ShowPreview();
    QTest::mouseClick(m_form->Button2, Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->OverridePending);
    QVERIFY(!m_form->RestorePending);
}

void tst_Print::printFlow_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<bool>("acceptSecondSetup");
    QTest::addColumn<QString>("changeFooterTo");
    QTest::addColumn<bool>("acceptPrint");
    QTest::addColumn<QString>("footerLeft"); // expected on paper; null: nothing printed
    QTest::addColumn<QString>("footerRight");

    const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString dateTitle = date + " " + kTitle;

    QTest::newRow("print") << "&w&bPage &p of &P"
                           << "&u&b&d" << true << QString() << true << dateTitle << "Page 1 of 1";
    QTest::newRow("user changes the footer")
        << "&w&bPage &p of &P"
        << "&u&b&d" << true << "Pilot copy &w&b&p/&P" << true << "Pilot copy " + kTitle << "1/1";
    QTest::newRow("second Page Setup cancelled")
        << "mine"
        << "also mine" << false << "ignored &p" << true << dateTitle << "Page 1 of 1";
    QTest::newRow("print dialog cancelled")
        << "&w&bPage &p of &P"
        << "&u&b&d" << true << QString() << false << QString() << QString();
    QTest::newRow("empty header and footer")
        << ""
        << "" << true << QString() << true << dateTitle << "Page 1 of 1";
    QTest::newRow("400-character header") << QString(400, QLatin1Char('H')) << "f&&f" << true
                                          << QString() << true << dateTitle << "Page 1 of 1";
    QTest::newRow("800-character footer, both cancelled")
        << "h" << QString(800, QLatin1Char('F')) << false << QString() << false << QString()
        << QString();
}

void tst_Print::printFlow()
{
    QFETCH(QString, header);
    QFETCH(QString, footer);
    QFETCH(bool, acceptSecondSetup);
    QFETCH(QString, changeFooterTo);
    QFETCH(bool, acceptPrint);
    QFETCH(QString, footerLeft);
    QFETCH(QString, footerRight);

    SetUserTexts(header, footer);
    ShowPreview();

    User user;
    user.acceptSecondSetup = acceptSecondSetup;
    user.changeFooterTo = changeFooterTo;
    user.acceptPrint = acceptPrint;
    user.pdf = m_folder.filePath(QStringLiteral("print-%1.pdf").arg(QTest::currentDataTag()));
    QFile::remove(user.pdf);
    {
        UserDriver driver(*m_form, user);
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
    }

    // The first and last Page Setup were answered by the preview itself.
    QCOMPARE(user.stuckDialogs, 0);
    QCOMPARE(user.pageSetupsSeen, 1);
    QCOMPARE(user.printDialogsSeen, 1);
    QCOMPARE(user.secondHeader, QString());
    QCOMPARE(user.secondFooter, kOverrideFooter);

    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->OverridePending);
    QVERIFY(!m_form->RestorePending);
    QCOMPARE(m_form->SavedHeader, header);
    QCOMPARE(m_form->SavedFooter, footer);

    // The user's own texts are back, in the browser and in the saved settings.
    QCOMPARE(m_form->CppWebBrowser1->PageSetup().header, header);
    QCOMPARE(m_form->CppWebBrowser1->PageSetup().footer, footer);
    QCOMPARE(TPageSetup::Load().header, header);
    QCOMPARE(TPageSetup::Load().footer, footer);

    if (footerLeft.isNull()) {
        QVERIFY(!QFileInfo::exists(user.pdf));
        return;
    }
    QVERIFY(QFileInfo::exists(user.pdf));
    const QString text = PdfText(user.pdf);
    QCOMPARE(text.count(QLatin1Char('\f')), 1); // one page
    const QStringList lines = NonEmptyLines(text);
    QVERIFY2(lines.size() > 3, qPrintable(text));
    // No header: the page starts with the report's own heading.
    QCOMPARE(lines.first().trimmed(), QStringLiteral("Loading report"));
    const QRegularExpression footerLine("^\\s*" + QRegularExpression::escape(footerLeft) +
                                        "\\s{2,}" + QRegularExpression::escape(footerRight) +
                                        "\\s*$");
    QVERIFY2(footerLine.match(lines.last()).hasMatch(), qPrintable(lines.last()));
    // The footer left part starts at the left margin, like the page text.
    const qsizetype bodyIndent = lines.first().indexOf(QStringLiteral("Loading"));
    const qsizetype footerIndent = lines.last().indexOf(footerLeft.left(4));
    QVERIFY2(qAbs(bodyIndent - footerIndent) <= 2, qPrintable(text));
}

void tst_Print::printTwiceKeepsTheUsersTexts()
{
    SetUserTexts("user header", "user footer");
    ShowPreview();
    for (int round = 0; round < 2; ++round) {
        User user;
        user.changeFooterTo = QStringLiteral("round %1").arg(round);
        user.pdf = m_folder.filePath(QStringLiteral("twice-%1.pdf").arg(round));
        {
            UserDriver driver(*m_form, user);
            QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        }
        QCOMPARE(user.stuckDialogs, 0);
        QCOMPARE(user.secondFooter, kOverrideFooter);
        QCOMPARE(m_form->SavedFooter, QStringLiteral("user footer"));
        QCOMPARE(m_form->CppWebBrowser1->PageSetup().footer, QStringLiteral("user footer"));
        QVERIFY(PdfText(user.pdf).contains(user.changeFooterTo));
        ShowPreview();
    }
}

void tst_Print::onActivateActsOnlyOnPageSetup_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("inactive");
    QTest::addColumn<bool>("override");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("acts");

    QTest::newRow("override") << "Page Setup" << true << true << false << true;
    QTest::newRow("restore") << "Page Setup" << true << false << true << true;
    QTest::newRow("caption containing it")
        << "Browser Page Setup dialog" << true << true << false << true;
    QTest::newRow("no flag") << "Page Setup" << true << false << false << false;
    QTest::newRow("activation, not deactivation") << "Page Setup" << false << true << true << false;
    QTest::newRow("print dialog") << "Print" << true << true << true << false;
    QTest::newRow("other letter case") << "page setup" << true << true << true << false;
    QTest::newRow("empty caption") << "" << true << true << true << false;
}

void tst_Print::onActivateActsOnlyOnPageSetup()
{
    QFETCH(QString, caption);
    QFETCH(bool, inactive);
    QFETCH(bool, override);
    QFETCH(bool, restore);
    QFETCH(bool, acts);

    TPageSetup values = TPageSetup::Defaults();
    values.header = "old header";
    values.footer = "old footer";
    TPageSetupDialog dialog(values);
    dialog.setWindowTitle(caption);
    bool accepted = false;
    connect(&dialog, &QDialog::accepted, this, [&accepted] { accepted = true; });

    m_form->SavedHeader = "saved header";
    m_form->SavedFooter = "saved footer";
    m_form->OverridePending = override;
    m_form->RestorePending = restore;
    m_form->OnActivate(inactive, &dialog);

    QCOMPARE(accepted, acts);
    if (!acts) {
        QCOMPARE(m_form->OverridePending, override);
        QCOMPARE(m_form->RestorePending, restore);
        QCOMPARE(dialog.Values(), values);
        QCOMPARE(m_form->SavedHeader, QStringLiteral("saved header"));
        return;
    }
    QVERIFY(!m_form->OverridePending);
    QVERIFY(!m_form->RestorePending);
    if (override) {
        QCOMPARE(m_form->SavedHeader, QStringLiteral("old header"));
        QCOMPARE(m_form->SavedFooter, QStringLiteral("old footer"));
        QCOMPARE(dialog.Values().header, QString());
        QCOMPARE(dialog.Values().footer, kOverrideFooter);
    } else {
        QCOMPARE(dialog.Values().header, QStringLiteral("saved header"));
        QCOMPARE(dialog.Values().footer, QStringLiteral("saved footer"));
    }
}

void tst_Print::dialogWithOtherCaptionStaysOpen()
{
    // A real deactivation by a modal dialog that is not Page Setup: the
    // preview leaves it alone and keeps its flag.
    ShowPreview();
    TPageSetup values = TPageSetup::Defaults();
    values.header = "keep";
    TPageSetupDialog dialog(values, m_form);
    dialog.setWindowTitle("Page setup");
    // Looked at once the dialog is in front: the preview has then been told
    // that it lost the activation to it.
    bool stillOpen = false;
    ModalDriver driver([&](QWidget* modal) {
        if (modal != &dialog || !InFront(modal))
            return false;
        stillOpen = dialog.isVisible();
        dialog.reject();
        return true;
    });
    m_form->OverridePending = true;
    dialog.exec();
    QVERIFY(stillOpen);
    QVERIFY(m_form->OverridePending);
    QCOMPARE(dialog.Values().header, QStringLiteral("keep"));
    QVERIFY(m_form->SavedHeader.isEmpty());
    m_form->OverridePending = false;
}

QTEST_MAIN(tst_Print)
#include "tst_Print.moc"
