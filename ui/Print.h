// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WebBrowser.h"

#include <QPushButton>
#include <QString>
#include <QWidget>

// The report preview: the report page in the browser, printed with the
// program's own header and footer and the user's put back afterwards.
class TForm2 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    TCppWebBrowser* CppWebBrowser1;
    QPushButton* Button1;
    QPushButton* Button2;

    bool OverridePending = false;
    bool RestorePending = false;
    QString SavedHeader;
    QString SavedFooter;

    void Button1Click();
    void Button2Click();
    // The preview's activation change: inactive is true when it loses the
    // activation, other the window that gains it.
    void OnActivate(bool inactive, QWidget* other);

protected:
    bool event(QEvent* event) override;
};

extern TForm2* Form2;
