// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OKBottomDlg.h"

#include "core/WinApi.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TOKBottomDlg* OKBottomDlg = nullptr;

TOKBottomDlg::TOKBottomDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Input new value"));
    // The desktop's UI font at the height the layout was made for.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(229, 115);
    setSizeGripEnabled(false);

    // Created first so that it lies beneath the controls it frames.
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 217, 65);

    Label1 = new QLabel(QStringLiteral("Old value:"), this);
    Label1->move(24, 24);
    Label1->adjustSize();

    // The old value is a cell's text exactly as typed, and a screen reader
    // reads it from the label itself.
    Label3 = new QLabel(this);
    Label3->setTextFormat(Qt::PlainText);
    Label3->move(88, 24);
    Label3->adjustSize();

    Label2 = new QLabel(QStringLiteral("New value:"), this);
    Label2->move(24, 48);
    Label2->adjustSize();

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(88, 44, 121, 21);
    Edit1->setAccessibleName(QStringLiteral("New value"));
    Label2->setBuddy(Edit1);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setGeometry(39, 84, 75, 25);
    OKBtn->setDefault(true);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setGeometry(119, 84, 75, 25);

    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Edit1);

    connect(OKBtn, &QPushButton::clicked, this, &TOKBottomDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOKBottomDlg::CancelBtnClick);
}

void TOKBottomDlg::SetOldValue(const QString& text)
{
    Label3->setText(text);
    Label3->adjustSize();
    Edit1->setText(text);
}

int TOKBottomDlg::ShowModal()
{
    // First showing: the first control in tab order; later ones: whichever
    // control had the focus when the dialog closed.
    QWidget* focus = m_shownBefore && m_lastFocus ? m_lastFocus.data() : OKBtn;
    focus->setFocus(Qt::OtherFocusReason);
    // As when an edit box takes the focus by the keyboard: typing replaces the old value.
    if (focus == Edit1)
        Edit1->selectAll();
    m_shownBefore = true;
    CentreOnScreen();
    const int result = exec();
    return result == WinApi::mrOk ? WinApi::mrOk : WinApi::mrCancel;
}

void TOKBottomDlg::CentreOnScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is known once the native window exists.
    winId();
    const QSize outer = frameGeometry().size().expandedTo(size());
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

void TOKBottomDlg::OKBtnClick()
{
    m_accepted = Edit1->text();
    done(WinApi::mrOk);
}

void TOKBottomDlg::CancelBtnClick()
{
    done(WinApi::mrCancel);
}

void TOKBottomDlg::done(int result)
{
    m_lastFocus = focusWidget();
    QDialog::done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TOKBottomDlg::reject()
{
    done(WinApi::mrCancel);
}
