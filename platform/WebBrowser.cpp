// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WebBrowser.h"

#include "core/RegularFile.h"
#include "core/WinApi.h"
#include "platform/PrintModule.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>

namespace {
// The dynamic property that carries a dialog item's number.
const char* const ItemIdProperty = "dlgItemId";
// Logical dots per inch of a screen that reports none.
constexpr qreal DefaultScreenDpi = 96;
// Far more than any report page or its chart bitmap.
constexpr qint64 MaxResourceBytes = 256 * 1024 * 1024;
} // namespace

// --- the browser ---------------------------------------------------------

TCppWebBrowser::TCppWebBrowser(PageSetupPrompt prompt, QWidget* parent)
    : QTextBrowser(parent), m_prompt(prompt), m_pageSetup(TPageSetup::Load())
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void TCppWebBrowser::Navigate(const QString& url)
{
    // The same address again must load again: the bitmap beside the page is
    // rewritten between loads, and loading the page drops every image read
    // for the previous one.
    const QUrl target(url);
    clearHistory();
    if (source() == target)
        reload();
    else
        setSource(target);
}

QVariant TCppWebBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = source().resolved(name);
    if (!url.isLocalFile() && !url.scheme().isEmpty())
        return QTextBrowser::loadResource(type, name);
    // Never an empty QVariant: the document would then open the file itself,
    // and wait on a FIFO.
    RegularFile file(url.isLocalFile() ? url.toLocalFile() : url.path());
    QByteArray data;
    file.ReadAll(data, MaxResourceBytes);
    return data;
}

int TCppWebBrowser::ExecWB(int cmdID, int cmdExecOpt)
{
    switch (cmdID) {
    case WinApi::OLECMDID_PAGESETUP:
        return PageSetupCommand(cmdExecOpt);
    case WinApi::OLECMDID_PRINT:
        return PrintPage(PrintJob(), window(), cmdExecOpt != WinApi::OLECMDEXECOPT_DONTPROMPTUSER);
    default:
        return WinApi::OLECMDERR_E_NOTSUPPORTED;
    }
}

int TCppWebBrowser::PageSetupCommand(int cmdExecOpt)
{
    if (cmdExecOpt == WinApi::OLECMDEXECOPT_DONTPROMPTUSER)
        return WinApi::S_OK;
    if (!m_prompt)
        return WinApi::OLECMDERR_E_NOTSUPPORTED;
    TPageSetup values = m_pageSetup;
    if (!m_prompt(values, window()))
        return WinApi::OLECMDERR_E_CANCELED;
    SetPageSetup(values);
    return WinApi::S_OK;
}

void TCppWebBrowser::SetPageSetup(const TPageSetup& values)
{
    m_pageSetup = values;
    m_pageSetup.Save();
}

QString TCppWebBrowser::PrintTitle() const
{
    const QString title = document()->metaInformation(QTextDocument::DocumentTitle);
    if (!title.isEmpty())
        return title;
    return window() ? window()->windowTitle() : QString();
}

TPrintJob TCppWebBrowser::PrintJob()
{
    TPrintJob job;
    job.document = document();
    job.pageLayout = m_pageSetup.PageLayout();
    job.header = m_pageSetup.header;
    job.footer = m_pageSetup.footer;
    job.codes.title = PrintTitle();
    job.codes.url = source().toString();
    job.codes.now = QDateTime::currentDateTime();
    job.font = font();
    job.screenDpi = QSizeF(logicalDpiX() > 0 ? logicalDpiX() : DefaultScreenDpi,
                           logicalDpiY() > 0 ? logicalDpiY() : DefaultScreenDpi);
    return job;
}

// --- window functions ----------------------------------------------------

QString GetWindowText(QWidget* window)
{
    return window ? window->windowTitle() : QString();
}

void SetDlgItemId(QWidget* item, int id)
{
    item->setProperty(ItemIdProperty, id);
}

QWidget* GetDlgItem(QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        const QVariant value = child->property(ItemIdProperty);
        if (value.isValid() && value.toInt() == id)
            return child;
    }
    return nullptr;
}

QString GetDlgItemText(QWidget* dialog, int id)
{
    QWidget* item = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(item))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    return QString();
}

bool SetDlgItemText(QWidget* dialog, int id, const QString& text)
{
    QWidget* item = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(text);
        return true;
    }
    return false;
}

void SendDlgItemClick(QWidget* dialog, int id)
{
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(dialog, id)))
        button->click();
}
