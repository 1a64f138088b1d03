// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// trx-check's command line, read into plain data before anything is checked.
struct CheckOptions
{
    bool help = false;
    bool version = false;
    bool json = false;
    bool strict = false;
    bool summary = false;
    QByteArrayList catalogues; // in the file system's bytes, in the order given
    // Why the command line cannot be used, with the argument at fault
    // escaped for a terminal; empty when it can.
    QString error;
};

// Reads the arguments after the program's name, in order. "--" ends the
// options, and "-" is a catalogue. The first --help, --version or unknown
// option decides, and nothing after it is read: "--help --x" asks for the
// help, "--x --help" is wrong.
CheckOptions ParseCheckOptions(const QByteArrayList& args);

// "usage: trx-check ...", one line.
QByteArray CheckUsage();
// The usage line, a blank line, and a sentence for every option and exit status.
QByteArray CheckHelp();
