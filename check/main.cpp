// SPDX-License-Identifier: GPL-3.0-or-later
// trx-check: tells a catalogue's author what TRX will make of the catalogue.

#include "check/CatalogueCheck.h"
#include "check/JsonReport.h"
#include "check/TextReport.h"
#include "cli/CommandOutput.h"
#include "cli/TerminalText.h"
#include "core/CataloguePath.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "core/RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

using namespace CommandOutput;

const char* const Usage = "usage: trx-check [--json] [--strict] [--summary] [CATALOGUE...]\n";

const char* const Help =
    "Tells a catalogue's author what Trimwise will make of an aircraft catalogue:\n"
    "which aircraft fail to load and with which error box, which show something\n"
    "plainly wrong, and what is almost certainly not what was meant. With no\n"
    "CATALOGUE it checks the TRX.ini of the Trimwise program it belongs to.\n"
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
    "every code.\n";

void Complain(const QString& text)
{
    Message(text.toUtf8());
}

// The catalogue of the TRX beside this program (a build's bin folder), else of
// the installed TRX in the program folder; empty when there is neither.
QByteArray DefaultCatalogue()
{
    QStringList looked;
    const QString found = DefaultCataloguePath(QCoreApplication::applicationDirPath(),
                                               QStringLiteral(TRX_APPDIR_FROM_BINDIR), &looked);
    if (!found.isEmpty())
        return QFile::encodeName(found);
    Complain(QStringLiteral("no TRX beside trx-check (%1) nor in %2: name the catalogue to "
                            "check")
                 .arg(TerminalText(looked.value(0)), TerminalText(looked.value(1))));
    return QByteArray();
}

// Reads the whole catalogue, or says why it cannot.
bool ReadCatalogue(const QByteArray& path, QByteArray& bytes, QString& error)
{
    RegularFile file(path);
    // One byte more than the reader takes tells a file it reads as empty.
    if (!file.IsOpen() || !file.ReadAll(bytes, MaxIniFileBytes + 1)) {
        error = file.ErrorText();
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Start("trx-check");
    // Unbuffered: each piece the report passes on is written (and a failure
    // seen) at once; the report itself gathers a section's lines.
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    // Arguments are taken as bytes: a file name need not be UTF-8.
    QByteArrayList files;
    bool json = false;
    bool strict = false;
    bool summary = false;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--json") {
            json = true;
        } else if (options && arg == "--strict") {
            strict = true;
        } else if (options && arg == "--summary") {
            summary = true;
        } else if (options && (arg == "--help" || arg == "-h")) {
            Out(QByteArray(Usage) + '\n' + Help);
            return Finish(ExitOk);
        } else if (options && arg == "--version") {
            Out("trx-check " TRX_VERSION "\n");
            return Finish(ExitOk);
        } else if (options && arg.startsWith('-') && arg != "-") {
            Message("unknown option '" + TerminalBytes(arg) + "'");
            std::fputs(Usage, stderr);
            return Finish(ExitTrouble);
        } else {
            files << arg;
        }
    }

    int noArgc = 1;
    QCoreApplication app(noArgc, argv);
    ReadDecimalSeparatorFromLocale();

    if (files.isEmpty()) {
        const QByteArray catalogue = DefaultCatalogue();
        if (catalogue.isEmpty())
            return Finish(ExitTrouble);
        files << catalogue;
    }

    std::unique_ptr<ReportWriter> report;
    if (json)
        report = std::make_unique<JsonReport>(Out, summary);
    else
        report = std::make_unique<TextReport>(Out, summary);
    CheckCounts totals;
    bool unreadable = false;
    for (const QByteArray& file : std::as_const(files)) {
        QByteArray bytes;
        QString error;
        if (!ReadCatalogue(file, bytes, error)) {
            Complain(QStringLiteral("cannot read %1: %2")
                         .arg(QString::fromUtf8(TerminalBytes(file)), error));
            report->Unreadable(file, error);
            unreadable = true;
            continue;
        }
        report->BeginFile(file);
        totals += CheckCatalogue(bytes, *report);
    }
    report->End(totals);

    int status = ExitOk;
    if (!report->Trouble().isEmpty()) {
        Complain(report->Trouble());
        status = ExitTrouble;
    } else if (unreadable) {
        status = ExitTrouble;
    } else if (totals.errors > 0 || (strict && totals.warnings > 0)) {
        status = ExitFindings;
    }
    return Finish(status);
}
