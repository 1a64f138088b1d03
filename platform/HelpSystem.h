#pragma once

#include <QString>
#include <QtGlobal>

// The application's help system: one registered HTML Help viewer that
// answers the contents request by showing the help file's default topic.
class THelpSystem
{
public:
    THelpSystem();
    ~THelpSystem();

    // Runs a help command (3 = contents) for the given help file. Returns
    // whether a viewer took it.
    bool HelpCommand(const QString& helpFile, int command, quintptr data);
    // Closes every help window opened in this run.
    void Shutdown();
};
