// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PagePrinter.h"
#include "platform/PageSetup.h"

#include <QString>
#include <QTextBrowser>

// The browser control of the report preview, with the calls of IWebBrowser2
// that the preview makes.
class TCppWebBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    // Asks the user for the page setup in a modal "Page Setup" dialog over
    // owner, starting from values; on OK writes the accepted values back and
    // returns true. The dialog is a window, so the ui side provides it.
    using PageSetupPrompt = bool (*)(TPageSetup& values, QWidget* owner);

    explicit TCppWebBrowser(PageSetupPrompt prompt, QWidget* parent = nullptr);

    // Loads the page at url and shows it, reading the page and each of its
    // images afresh.
    void Navigate(const QString& url);

    // WinApi::OLECMDID_PAGESETUP: the Page Setup dialog, modal; OK makes its
    // values the browser's own. WinApi::OLECMDID_PRINT: the print dialog,
    // then the page printed with the header and footer, through the print
    // module (PrintModule.h) loaded on the first print. With
    // WinApi::OLECMDEXECOPT_DONTPROMPTUSER no dialog shows. Returns a WinApi
    // result code.
    int ExecWB(int cmdID, int cmdExecOpt);

    const TPageSetup& PageSetup() const { return m_pageSetup; }
    // Makes values the browser's own and saves them for later runs.
    void SetPageSetup(const TPageSetup& values);

    // The title &w prints: the page's own title, else the window's.
    QString PrintTitle() const;
    // What a print made now would print: this page with the page setup.
    TPrintJob PrintJob();

    // A local page or image is read without ever waiting: a FIFO or device
    // under its name, like a missing file, gives an empty resource.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int PageSetupCommand(int cmdExecOpt);

    PageSetupPrompt m_prompt;
    TPageSetup m_pageSetup;
};

// Stand-ins for the window functions used on the Page Setup dialog. A
// dialog's items are its child widgets that carry an item number.
QString GetWindowText(QWidget* window);
// Gives the widget the item number id within its dialog.
void SetDlgItemId(QWidget* item, int id);
QWidget* GetDlgItem(QWidget* dialog, int id);
QString GetDlgItemText(QWidget* dialog, int id);
bool SetDlgItemText(QWidget* dialog, int id, const QString& text);
// BM_CLICK: presses the item's button (WinApi::IDOK accepts the dialog).
void SendDlgItemClick(QWidget* dialog, int id);
