// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WebBrowser.h"

#include "TestSupport.h"
#include "core/WinApi.h"
#include "ui/PageSetupDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

namespace {

void WriteBitmap(const QString& path, QColor colour, QSize size = QSize(120, 80))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "BMP"));
}

void WritePage(const QString& path, const QString& html)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(html.toUtf8());
}

QColor ColourOfFirstImage(TCppWebBrowser& browser)
{
    const QVariant image = browser.document()->resource(QTextDocument::ImageResource,
                                                        QUrl(QStringLiteral("report.bmp")));
    if (image.canConvert<QImage>() && !image.value<QImage>().isNull())
        return image.value<QImage>().pixelColor(2, 2);
    if (image.canConvert<QPixmap>())
        return image.value<QPixmap>().toImage().pixelColor(2, 2);
    return QColor();
}

} // namespace

class tst_WebBrowser : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void navigateRereadsImages();
    void navigateNeverWaits_data();
    void navigateNeverWaits();
    void printTitle();

    void pageSetup_data();
    void pageSetup();
    void pageSetupPersistsAcrossRuns();
    void defaults();
    void settingsFileNeverWaits();

    void printsHeaderAndFooterOnEveryPage_data();
    void printsHeaderAndFooterOnEveryPage();

    void itemFunctionsOnMissingItems();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_pages;
    bool m_configHomeWasSet = false;
    QByteArray m_configHomeBefore;
};

void tst_WebBrowser::initTestCase()
{
    m_configHomeWasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_configHomeBefore = qgetenv("XDG_CONFIG_HOME");
    QVERIFY(m_config.isValid());
    QVERIFY(m_pages.isValid());
    // The page setup is kept in the user's configuration folder: a scratch one here.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void tst_WebBrowser::cleanupTestCase()
{
    if (m_configHomeWasSet)
        qputenv("XDG_CONFIG_HOME", m_configHomeBefore);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

void tst_WebBrowser::init()
{
    QFile::remove(m_config.filePath("Trimwise/Trimwise.conf"));
}

void tst_WebBrowser::navigateRereadsImages()
{
    const QString folder = m_pages.path() + "/reread";
    QVERIFY(QDir().mkpath(folder));
    WritePage(folder + "/report.html",
              "<html><head><title>T</title></head><body><img src=\"report.bmp\"></body></html>");
    const QString url = QUrl::fromLocalFile(folder + "/report.html").toString();

    TCppWebBrowser browser(&TPageSetupDialog::Prompt);
    browser.resize(400, 300);
    browser.show();

    WriteBitmap(folder + "/report.bmp", Qt::red);
    browser.Navigate(url);
    QCOMPARE(browser.source(), QUrl(url));
    browser.grab(); // lays out and paints: the image is fetched
    QCOMPARE(ColourOfFirstImage(browser), QColor(Qt::red));

    // Same address, new bitmap: the new one must show.
    WriteBitmap(folder + "/report.bmp", Qt::blue);
    browser.Navigate(url);
    QImage shown = browser.viewport()->grab().toImage();
    QCOMPARE(ColourOfFirstImage(browser), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(20, 20), QColor(Qt::blue));

    // And a third time, after a page that changed as well.
    WritePage(folder + "/report.html",
              "<html><head><title>U</title></head><body><img src=\"report.bmp\"></body></html>");
    WriteBitmap(folder + "/report.bmp", Qt::green);
    browser.Navigate(url);
    QCOMPARE(browser.documentTitle(), QStringLiteral("U"));
    shown = browser.viewport()->grab().toImage();
    QCOMPARE(shown.pixelColor(20, 20), QColor(Qt::green));
}

void tst_WebBrowser::navigateNeverWaits_data()
{
    QTest::addColumn<QString>("fifo"); // the file that is a FIFO with no writer
    QTest::addColumn<QString>("title");
    QTest::newRow("page") << "report.html"
                          << "";
    QTest::newRow("image") << "report.bmp"
                           << "T";
}

void tst_WebBrowser::navigateNeverWaits()
{
    QFETCH(QString, fifo);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (fifo != QLatin1String("report.html"))
        WritePage(folder.filePath("report.html"), "<html><head><title>T</title></head>"
                                                  "<body><img src=\"report.bmp\"></body></html>");
    QCOMPARE(mkfifo(QFile::encodeName(folder.filePath(fifo)).constData(), 0600), 0);

    TCppWebBrowser browser(&TPageSetupDialog::Prompt);
    browser.resize(400, 300);
    browser.show();
    browser.Navigate(QUrl::fromLocalFile(folder.filePath("report.html")).toString());
    browser.grab(); // lays out and paints: the image is fetched
    QTEST(browser.documentTitle(), "title");
}

void tst_WebBrowser::printTitle()
{
    QWidget window;
    window.setWindowTitle("Print preview");
    auto* browser = new TCppWebBrowser(&TPageSetupDialog::Prompt, &window);
    const QString folder = m_pages.path();

    WritePage(folder + "/titled.html", "<html><head><title>Loading report</title></head></html>");
    browser->Navigate(QUrl::fromLocalFile(folder + "/titled.html").toString());
    QCOMPARE(browser->PrintTitle(), QStringLiteral("Loading report"));

    WritePage(folder + "/untitled.html", "<html><body>x</body></html>");
    browser->Navigate(QUrl::fromLocalFile(folder + "/untitled.html").toString());
    QCOMPARE(browser->PrintTitle(), QStringLiteral("Print preview"));
}

void tst_WebBrowser::pageSetup_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");

    QTest::newRow("OK takes the texts") << true << "top"
                                        << "&d&b&p";
    QTest::newRow("OK with empty texts") << true << ""
                                         << "";
    QTest::newRow("OK with 400 characters")
        << true << QString(400, QLatin1Char('h')) << QString(400, QLatin1Char('f'));
    QTest::newRow("Cancel keeps the old") << false << "top"
                                          << "bottom";
}

void tst_WebBrowser::pageSetup()
{
    QFETCH(bool, accept);
    QFETCH(QString, header);
    QFETCH(QString, footer);

    TCppWebBrowser browser(&TPageSetupDialog::Prompt);
    const TPageSetup before = browser.PageSetup();
    TPageSetup expected = before;
    if (accept) {
        expected.header = header;
        expected.footer = footer;
    }

    QString caption;
    AnswerNextModal([&](QWidget* dialog) {
        caption = GetWindowText(dialog);
        QVERIFY(SetDlgItemText(dialog, WinApi::IDC_PAGESETUP_HEADER, header));
        QVERIFY(SetDlgItemText(dialog, WinApi::IDC_PAGESETUP_FOOTER, footer));
        if (accept)
            SendDlgItemClick(dialog, WinApi::IDOK);
        else
            SendDlgItemClick(dialog, WinApi::IDCANCEL);
    });
    const int result = browser.ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
    QCOMPARE(caption, QStringLiteral("Page Setup"));
    QCOMPARE(result, accept ? int(WinApi::S_OK) : int(WinApi::OLECMDERR_E_CANCELED));
    QCOMPARE(browser.PageSetup(), expected);
    QCOMPARE(TPageSetup::Load(), expected);
}

void tst_WebBrowser::pageSetupPersistsAcrossRuns()
{
    {
        TCppWebBrowser browser(&TPageSetupDialog::Prompt);
        AnswerNextModal([](QWidget* dialog) {
            SetDlgItemText(dialog, WinApi::IDC_PAGESETUP_HEADER, "");
            SetDlgItemText(dialog, WinApi::IDC_PAGESETUP_FOOTER, "kept");
            SendDlgItemClick(dialog, WinApi::IDOK);
        });
        browser.ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
        TPageSetup values = browser.PageSetup();
        values.paper = QPageSize::Letter;
        values.orientation = QPageLayout::Landscape;
        values.marginsMm = QMarginsF(5, 6, 7, 8);
        browser.SetPageSetup(values);
    }
    // A browser made later (the next run) starts from the saved values; an
    // empty header stays empty rather than falling back to the default.
    TCppWebBrowser later(&TPageSetupDialog::Prompt);
    QCOMPARE(later.PageSetup().header, QString());
    QCOMPARE(later.PageSetup().footer, QStringLiteral("kept"));
    QCOMPARE(later.PageSetup().paper, QPageSize::Letter);
    QCOMPARE(later.PageSetup().orientation, QPageLayout::Landscape);
    QCOMPARE(later.PageSetup().marginsMm, QMarginsF(5, 6, 7, 8));

    // The dialog opens with them.
    QString shownFooter;
    AnswerNextModal([&](QWidget* dialog) {
        shownFooter = GetDlgItemText(dialog, WinApi::IDC_PAGESETUP_FOOTER);
        SendDlgItemClick(dialog, WinApi::IDCANCEL);
    });
    later.ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
    QCOMPARE(shownFooter, QStringLiteral("kept"));
}

void tst_WebBrowser::defaults()
{
    TCppWebBrowser browser(&TPageSetupDialog::Prompt);
    QCOMPARE(browser.PageSetup(), TPageSetup::Defaults());
    QCOMPARE(browser.PageSetup().header, QStringLiteral("&w&bPage &p of &P"));
    QCOMPARE(browser.PageSetup().footer, QStringLiteral("&u&b&d"));

    // Nonsense in the user's file falls back to the defaults.
    QSettings settings(m_config.filePath("Trimwise/Trimwise.conf"), QSettings::IniFormat);
    settings.setValue("PageSetup/Paper", "Napkin");
    settings.setValue("PageSetup/MarginLeft", "-3");
    settings.setValue("PageSetup/MarginTop", "abc");
    settings.sync();
    QCOMPARE(TPageSetup::Load(), TPageSetup::Defaults());
}

void tst_WebBrowser::settingsFileNeverWaits()
{
    // A FIFO where the settings are kept reads as nothing saved, at once...
    QVERIFY(QDir().mkpath(m_config.filePath("Trimwise")));
    const QString path = m_config.filePath("Trimwise/Trimwise.conf");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QCOMPARE(TPageSetup::Load(), TPageSetup::Defaults());
    // ...and saving puts a file of settings in its place.
    TPageSetup changed = TPageSetup::Defaults();
    changed.footer = QStringLiteral("kept");
    changed.Save();
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(TPageSetup::Load(), changed);
}

void tst_WebBrowser::printsHeaderAndFooterOnEveryPage_data()
{
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 3 << 1;
    QTest::newRow("several pages") << 200 << 0; // 0: more than one, counted from the PDF
}

void tst_WebBrowser::printsHeaderAndFooterOnEveryPage()
{
    QFETCH(int, paragraphs);
    QFETCH(int, pages);

    QString body;
    for (int i = 0; i < paragraphs; ++i)
        body += QStringLiteral("<p>Line %1</p>").arg(i);
    WritePage(m_pages.path() + "/long.html",
              "<html><head><title>Long &amp; report</title></head><body>" + body +
                  "</body></html>");

    TCppWebBrowser browser(&TPageSetupDialog::Prompt);
    browser.Navigate(QUrl::fromLocalFile(m_pages.path() + "/long.html").toString());
    TPageSetup values = browser.PageSetup();
    values.header = "HEAD &w&b&&&bPage &p of &P";
    values.footer = "FOOT&bEND";
    browser.SetPageSetup(values);

    const QString pdf = m_pages.path() + "/long.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(values.PageLayout());
    QVERIFY(PrintDocument(printer, browser.PrintJob()));

    const QString text = PdfText(pdf);
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    int printed = 0;
    for (const QString& page : pageTexts)
        if (!page.trimmed().isEmpty())
            ++printed;
    if (pages == 0)
        QVERIFY2(printed > 1, qPrintable(text));
    else
        QCOMPARE(printed, pages);
    for (int p = 1; p <= printed; ++p) {
        const QString& page = pageTexts.at(p - 1);
        const QString header = page.trimmed().section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(header.contains(QRegularExpression(
                     QStringLiteral("^HEAD Long & report +& +Page %1 of %2$").arg(p).arg(printed))),
                 qPrintable(header));
        const QString footer = page.trimmed().section(QLatin1Char('\n'), -1);
        QVERIFY2(footer.contains(QRegularExpression("^FOOT +END$")), qPrintable(footer));
    }
    // Every paragraph made it onto paper, none twice.
    for (int i = 0; i < paragraphs; ++i)
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\bLine %1\\b").arg(i))), 1);
}

void tst_WebBrowser::itemFunctionsOnMissingItems()
{
    QDialog dialog;
    QCOMPARE(GetDlgItem(&dialog, WinApi::IDC_PAGESETUP_HEADER), nullptr);
    QCOMPARE(GetDlgItemText(&dialog, WinApi::IDC_PAGESETUP_HEADER), QString());
    QVERIFY(!SetDlgItemText(&dialog, WinApi::IDC_PAGESETUP_HEADER, "x"));
    SendDlgItemClick(&dialog, WinApi::IDOK); // nothing to press, nothing happens
    QCOMPARE(GetWindowText(nullptr), QString());
    QCOMPARE(GetDlgItemText(nullptr, WinApi::IDOK), QString());
}

QTEST_MAIN(tst_WebBrowser)
#include "tst_WebBrowser.moc"
