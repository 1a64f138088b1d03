// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/CheckOptions.h"

#include "cli/TerminalText.h"

CheckOptions ParseCheckOptions(const QByteArrayList& args)
{
    CheckOptions o;
    bool options = true;
    for (const QByteArray& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--json") {
            o.json = true;
        } else if (options && arg == "--strict") {
            o.strict = true;
        } else if (options && arg == "--summary") {
            o.summary = true;
        } else if (options && (arg == "--help" || arg == "-h")) {
            o.help = true;
            break;
        } else if (options && arg == "--version") {
            o.version = true;
            break;
        } else if (options && arg.startsWith('-') && arg != "-") {
            // Bytes that are not UTF-8 are shown as such (\xHH), not replaced.
            o.error =
                QStringLiteral("unknown option '%1'").arg(QString::fromUtf8(TerminalBytes(arg)));
            break;
        } else {
            o.catalogues << arg;
        }
    }
    return o;
}

QByteArray CheckUsage()
{
    return QByteArrayLiteral("usage: trx-check [--json] [--strict] [--summary] [CATALOGUE...]\n");
}

QByteArray CheckHelp()
{
    return CheckUsage() + '\n' +
           QByteArrayLiteral(
               "Tells a catalogue's author what Trimwise will make of an aircraft catalogue:\n"
               "which aircraft fail to load and with which error box, which show something\n"
               "plainly wrong, and what is almost certainly not what was meant. With no\n"
               "CATALOGUE it checks the TRX.ini of the Trimwise program it belongs to.\n"
               "\n"
               "A saved loading (trx-sheet --save) given among them is recognised by its\n"
               "content: it is checked against its schema and its fingerprint, and against\n"
               "the first catalogue named (else the default one), which must still hold its\n"
               "aircraft with the same data.\n"
               "\n"
               "  --json      print one JSON object instead of lines (format_version 2)\n"
               "  --strict    exit with status 1 on warnings too\n"
               "  --summary   add each aircraft's default loading: total weight and moment,\n"
               "              centre of gravity, inside or outside the envelope\n"
               "  --help, -h  print this help and exit\n"
               "  --version   print the version and exit\n"
               "  --          end of options: every later argument is a catalogue\n"
               "\n"
               "Exit status:\n"
               "  0  no errors (warnings allowed)\n"
               "  1  errors, or warnings with --strict\n"
               "  2  a catalogue could not be read, the command line is wrong, or the\n"
               "     output could not be written\n"
               "\n"
               "Each finding ends with its code in parentheses; man trx-check explains\n"
               "every code.\n");
}
