// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PageSetup.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;

// The browser's own modal "Page Setup" dialog: paper, orientation, margins,
// header and footer. Header, footer, OK and Cancel carry the dialog item
// numbers of WinApi, reachable through GetDlgItem.
class TPageSetupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TPageSetupDialog(const TPageSetup& values, QWidget* parent = nullptr);
    TPageSetup Values() const;

    // The browser's page setup prompt (TCppWebBrowser::PageSetupPrompt):
    // the dialog over owner; OK writes its values back and returns true.
    static bool Prompt(TPageSetup& values, QWidget* owner);

private:
    QComboBox* m_paper;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QDoubleSpinBox* m_margins[4];
    QLineEdit* m_header;
    QLineEdit* m_footer;
};
