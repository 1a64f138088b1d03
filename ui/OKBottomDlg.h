// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The value input dialog: shows a cell's old value and asks for a new one.
// One instance lives for the whole run and is reused for every edit.
class TOKBottomDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget* parent = nullptr);

    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* Label3;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // Shows the text, literally, as the old value and puts it in the edit box.
    void SetOldValue(const QString& text);
    // Modal, centred on the screen: WinApi::mrOk for OK, WinApi::mrCancel
    // for Cancel, Escape or the close box.
    int ShowModal();
    // The edit box's text when OK was last pressed.
    QString AcceptedValue() const { return m_accepted; }

    void OKBtnClick();
    void CancelBtnClick();

    void done(int result) override;
    void reject() override;

private:
    void CentreOnScreen();

    QString m_accepted;
    bool m_shownBefore = false;
    QPointer<QWidget> m_lastFocus;
};

extern TOKBottomDlg* OKBottomDlg;
