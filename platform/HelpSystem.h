// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

// A help viewer as the help system sees it.
class THelpViewer
{
public:
    virtual ~THelpViewer() = default;
    virtual bool CanShowTableOfContents() const = 0;
    virtual void ShowTableOfContents(const QString& helpFile) = 0;
    virtual void ShutDown() = 0;
};

// The application's help system: one registered HTML Help viewer that
// answers the contents request by showing the help file's default topic.
class THelpSystem
{
public:
    THelpSystem();
    ~THelpSystem();

    // Runs a help command (WinApi::HELP_CONTENTS) for the given help file.
    // Returns whether a viewer took it.
    bool HelpCommand(const QString& helpFile, int command, quintptr data);
    // Closes every help window opened in this run.
    void Shutdown();

private:
    std::vector<std::unique_ptr<THelpViewer>> m_viewers;
};
