// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Print.h"

#include "core/WinApi.h"
#include "ui/Application.h"
#include "ui/PageSetupDialog.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontInfo>

TForm2* Form2 = nullptr;

namespace {

const QString PageSetupCaption = QStringLiteral("Page Setup");
const QString OverrideFooter = QStringLiteral("&d &w&bPage &p of &P");

// The laid-out window: its client area and the one font of its controls
// (pixels, as the controls' positions are).
constexpr QSize ClientSize(562, 525);
constexpr int FontPixelSize = 11;

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Print preview"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setStyleHint(QFont::SansSerif);
    tahoma.setPixelSize(FontPixelSize);
    setFont(tahoma);

    CppWebBrowser1 = new TCppWebBrowser(&TPageSetupDialog::Prompt, this);
    CppWebBrowser1->setGeometry(8, 8, 546, 473);
    Button1 = new QPushButton(QStringLiteral("Print"), this);
    Button1->setGeometry(8, 492, 75, 25);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setGeometry(89, 492, 75, 25);
    setTabOrder(CppWebBrowser1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this,
            [this] { TApplication::Guard([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { TApplication::Guard([this] { Button2Click(); }); });

    resize(ClientSize);
    move(0, 0);
}

void TForm2::Button1Click()
{
    OverridePending = true;
    CppWebBrowser1->ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
    OverridePending = false;

    CppWebBrowser1->ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
    CppWebBrowser1->ExecWB(WinApi::OLECMDID_PRINT, WinApi::OLECMDEXECOPT_PROMPTUSER);

    RestorePending = true;
    CppWebBrowser1->ExecWB(WinApi::OLECMDID_PAGESETUP, WinApi::OLECMDEXECOPT_PROMPTUSER);
    RestorePending = false;

    close();
}

void TForm2::Button2Click()
{
    close();
}

void TForm2::OnActivate(bool inactive, QWidget* other)
{
    const QString caption = GetWindowText(other);
    const bool pageSetup = inactive && caption.contains(PageSetupCaption, Qt::CaseSensitive);

    if (OverridePending && pageSetup) {
        OverridePending = false;
        SavedHeader = GetDlgItemText(other, WinApi::IDC_PAGESETUP_HEADER);
        SavedFooter = GetDlgItemText(other, WinApi::IDC_PAGESETUP_FOOTER);
        SetDlgItemText(other, WinApi::IDC_PAGESETUP_HEADER, QString());
        SetDlgItemText(other, WinApi::IDC_PAGESETUP_FOOTER, OverrideFooter);
        SendDlgItemClick(other, WinApi::IDOK);
    }
    if (RestorePending && pageSetup) {
        RestorePending = false;
        SetDlgItemText(other, WinApi::IDC_PAGESETUP_HEADER, SavedHeader);
        SetDlgItemText(other, WinApi::IDC_PAGESETUP_FOOTER, SavedFooter);
        SendDlgItemClick(other, WinApi::IDOK);
    }
}

bool TForm2::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        // Qt names the window that takes over before telling the old one; a
        // modal dialog that is still on its way to the front is found on the
        // modal stack.
        QWidget* other = QApplication::activeWindow();
        if (!other || other == this)
            other = QApplication::activeModalWidget();
        OnActivate(true, other);
    }
    return QWidget::event(event);
}
