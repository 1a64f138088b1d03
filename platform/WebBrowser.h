// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QTextBrowser>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPrinter;
class QRadioButton;

// Command numbers and options of the browser's ExecWB, as on Windows.
enum : int
{
    OLECMDID_PRINT = 6,
    OLECMDID_PAGESETUP = 8,
    OLECMDEXECOPT_DODEFAULT = 0,
    OLECMDEXECOPT_PROMPTUSER = 1,
    OLECMDEXECOPT_DONTPROMPTUSER = 2,
};

// Result codes of ExecWB; callers ignore them.
enum : int
{
    S_OK = 0,
    OLECMDERR_E_NOTSUPPORTED = int(0x80040100u),
    OLECMDERR_E_CANCELED = int(0x80040104u),
};

// Item numbers of the Page Setup dialog.
enum : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDC_PAGESETUP_HEADER = 8147,
    IDC_PAGESETUP_FOOTER = 8149,
};

// The browser's page setup: what prints look like. Kept per user in the
// configuration folder, never in the aircraft catalogue.
struct TPageSetup
{
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{19.05, 19.05, 19.05, 19.05}; // left, top, right, bottom
    QString header;
    QString footer;

    // Letter paper where the locale measures in inches, A4 elsewhere; the
    // header names the page and numbers it, the footer gives address and date.
    static TPageSetup Defaults();
    // The user's saved values, defaults for whatever was never saved.
    static TPageSetup Load();
    void Save() const;

    QPageLayout PageLayout() const;

    bool operator==(const TPageSetup&) const = default;
};

// The browser's own modal "Page Setup" dialog. Header, footer and OK carry
// the item numbers above (dynamic property "dlgItemId").
class TPageSetupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TPageSetupDialog(const TPageSetup& values, QWidget* parent = nullptr);
    TPageSetup Values() const;

private:
    QComboBox* m_paper;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QDoubleSpinBox* m_margins[4];
    QLineEdit* m_header;
    QLineEdit* m_footer;
};

// What the header and footer codes stand for on one printed page.
struct TPageCodeContext
{
    QString title;
    QString url;
    QDateTime now;
    int page = 1;
    int pageCount = 1;
};

// A header or footer line split at its alignment breaks.
struct THeaderFooterLine
{
    QString left;
    QString centre;
    QString right;

    bool IsEmpty() const { return left.isEmpty() && centre.isEmpty() && right.isEmpty(); }
    bool operator==(const THeaderFooterLine&) const = default;
};

// Expands &w title, &u address, &d short date, &D long date, &t time, &T
// 24-hour time, &p page, &P page count and && "&". &b breaks the line: one
// break gives left and right parts, two give left, centre and right.
// Unknown codes stay as written.
THeaderFooterLine ExpandPageCodes(const QString& codes, const TPageCodeContext& context);

// The browser control of the report preview.
class TCppWebBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit TCppWebBrowser(QWidget* parent = nullptr);

    // Loads the page at url and shows it, reading the page and each of its
    // images afresh.
    void Navigate(const QString& url);

    // OLECMDID_PAGESETUP: the Page Setup dialog, modal; OK makes its values
    // the browser's own. OLECMDID_PRINT: the print dialog, then the page
    // printed with the header and footer.
    int ExecWB(int cmdID, int cmdExecOpt);

    const TPageSetup& PageSetup() const { return m_pageSetup; }
    // Makes values the browser's own and saves them for later runs.
    void SetPageSetup(const TPageSetup& values);

    // The title &w prints: the page's own title, else the window's.
    QString PrintTitle() const;
    // Prints the page onto an already configured printer: page layout from
    // the page setup, header and footer on every page.
    bool PrintTo(QPrinter* printer) const;

    // A local page or image is read without ever waiting: a FIFO or device
    // under its name, like a missing file, gives an empty resource.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int PageSetupCommand(int cmdExecOpt);
    int PrintCommand(int cmdExecOpt);

    TPageSetup m_pageSetup;
};

// Stand-ins for the window functions used on the Page Setup dialog.
QString GetWindowText(QWidget* window);
QWidget* GetDlgItem(QWidget* dialog, int id);
QString GetDlgItemText(QWidget* dialog, int id);
bool SetDlgItemText(QWidget* dialog, int id, const QString& text);
// BM_CLICK: presses the item's button (item 1 accepts the dialog).
void SendDlgItemClick(QWidget* dialog, int id);
