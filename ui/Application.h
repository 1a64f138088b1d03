// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HelpSystem.h"

#include <QApplication>
#include <QIcon>
#include <QString>
#include <exception>

// The application object: holds the title, icon and help file, shows every
// error that escapes an event handler and carries the help command.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Loads the application icon; throws EFOpenError / EInvalidGraphic.
    void LoadIcon(const QString& fileName);

    // The caption of the message boxes; no other window's title carries it.
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);
    QString HelpFile() const { return m_helpFile; }
    void SetHelpFile(const QString& helpFile) { m_helpFile = helpFile; }

    // The help command (WinApi::HELP_CONTENTS) on the application's help
    // file; no window has a help file of its own.
    bool HelpCommand(int command, quintptr data);

    // The error box for an exception: caption = title, stop icon, one OK;
    // EAbort is silent; the "." rule is applied to the message, which is
    // shown as plain text.
    static void ShowException(const std::exception_ptr& error);
    // Runs an event handler; what it throws is shown in the error box here,
    // so that no exception unwinds through the toolkit's own frames.
    template <class Handler> static void Guard(Handler&& handler)
    {
        try {
            handler();
        } catch (...) {
            ShowException(std::current_exception());
        }
    }

    // A warning: caption = title, no icon, one OK, the text shown as plain text.
    static void ShowMessage(const QString& text);

private:
    QString m_title = QStringLiteral("Trimwise");
    QString m_helpFile;
    THelpSystem m_helpSystem;
};

extern TApplication* Application;
