// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CataloguePath.h"
#include "OKBottomDlg.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <optional>

// The catalogue a test executable reads: beside itself, named after it.
inline QString CatalogueFile()
{
    return CataloguePathFor(QCoreApplication::applicationFilePath());
}

inline bool WriteCatalogue(const QByteArray& text)
{
    QFile f(CatalogueFile());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// The text of a PDF as pdftotext lays it out.
inline QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Answers the next modal window that opens, from the event loop it runs in:
// answer gets the window as soon as it is the active modal widget.
inline void AnswerNextModal(std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

// Answers every message box that opens while it lives, as a user pressing
// OK, and records what each showed.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                captions << box->windowTitle();
                icons << box->icon();
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start();
    }
    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
};

// What a label shows, as a screen reader reads it: a text the label takes for
// markup comes out as the text the markup renders.
inline QString ShownText(QLabel* label)
{
    QAccessibleInterface* iface = label ? QAccessible::queryAccessibleInterface(label) : nullptr;
    return iface ? iface->text(QAccessible::Name) : QString();
}

inline QString ShownText(QMessageBox* box)
{
    return ShownText(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
}

// Answers the modal windows that open while it lives, in the order they
// open: the value dialog with the next scripted answer (a text for OK,
// nullopt for Cancel), a message box with OK, any other dialog as Escape
// does. Records what each showed: "dialog: <old value>", "error: <text>",
// "warning: <text>" or "window: <caption>", and each message box's caption.
class ModalScript : public QObject
{
public:
    explicit ModalScript(QList<std::optional<QString>> answers = {}) : m_answers(std::move(answers))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalScript::Step);
        m_timer.start();
    }
    QStringList seen;
    QStringList captions;
    // When set, a window is answered only once this says yes, so that a test
    // can first look at it as the window system shows it.
    std::function<bool(QWidget*)> Ready;

private:
    void Step()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || (Ready && !Ready(modal)))
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << (box->icon() == QMessageBox::Critical ? "error: " : "warning: ") +
                        ShownText(box);
            captions << box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dlg = qobject_cast<TOKBottomDlg*>(modal)) {
            seen << "dialog: " + ShownText(dlg->Label3);
            const std::optional<QString> answer =
                m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
            if (answer) {
                dlg->Edit1->setText(*answer);
                dlg->OKBtn->click();
            } else {
                dlg->CancelBtn->click();
            }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            seen << "window: " + dialog->windowTitle();
            dialog->reject();
        }
    }
    QList<std::optional<QString>> m_answers;
    QTimer m_timer;
};
