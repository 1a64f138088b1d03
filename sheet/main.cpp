// SPDX-License-Identifier: GPL-3.0-or-later
// trx-sheet: the loading sheet of one aircraft, worked out as the window
// works it out, as text, JSON or a PDF page.

#include "cli/CommandOutput.h"
#include "cli/DefaultCatalogue.h"
#include "cli/TerminalText.h"
#include "core/AircraftLoad.h"
#include "core/NumConv.h"
#include "core/RegularFile.h"
#include "platform/IniFile.h"
#include "sheet/JsonSheetWriter.h"
#include "sheet/SheetOptions.h"
#include "sheet/SheetRun.h"
#include "sheet/TextSheetWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include "sheet/SheetPdfModule.h"

#include <memory>

namespace {

using CommandOutput::ExitTrouble;

// Says on stderr why there is no sheet and, for --json, prints the failure as
// JSON too; returns the status for trouble.
int Fail(bool json, const SheetError& error, const QByteArray& extra = QByteArray())
{
    CommandOutput::Message(TerminalText(error.message).toUtf8() + extra);
    if (json)
        CommandOutput::Out(SheetErrorJson(error));
    return CommandOutput::Finish(ExitTrouble);
}

QString Listed(const QStringList& names)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted << u'\'' + n + u'\'';
    return quoted.join(QStringLiteral(", "));
}

// The catalogue named, else that of the TRX beside this program or of the
// installed one; empty with `error` when there is none or it cannot be read.
QByteArray Catalogue(const SheetOptions& options, SheetError& error)
{
    QByteArray path = options.catalogue;
    if (path.isEmpty()) {
        const QString found = DefaultCataloguePath(
            QCoreApplication::applicationDirPath(), QStringLiteral(TRX_APPDIR_FROM_BINDIR),
            QStringLiteral("trx-sheet"), QStringLiteral("with --catalogue FILE"), error.message);
        if (found.isEmpty()) {
            error.kind = QStringLiteral("catalogue");
            return QByteArray();
        }
        path = QFile::encodeName(found);
    }
    // The reader opens a file by a name in Unicode: a name that is not UTF-8
    // would reach another file, or none.
    if (QFile::encodeName(QFile::decodeName(path)) != path) {
        error.kind = QStringLiteral("catalogue");
        error.message = QStringLiteral("cannot read %1: the file's name is not UTF-8")
                            .arg(QFile::decodeName(path));
        return QByteArray();
    }
    // The reader takes a file it cannot read for an empty one; the command
    // says so instead.
    RegularFile file(path);
    char byte = 0;
    if (!file.IsOpen() || file.Read(&byte, 1) < 0) {
        error.kind = QStringLiteral("catalogue");
        error.message =
            QStringLiteral("cannot read %1: %2").arg(QFile::decodeName(path), file.ErrorText());
        return QByteArray();
    }
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    CommandOutput::Start("trx-sheet");
    // Arguments are taken as bytes: a file name need not be UTF-8.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args << QByteArray(argv[i]);
    const SheetOptions options = ParseSheetOptions(args);
    if (!options.error.isEmpty()) {
        SheetError error;
        error.kind = QStringLiteral("option");
        error.message = options.error;
        return Fail(options.json, error, "\nTry 'trx-sheet --help' for more information.");
    }
    if (options.help) {
        CommandOutput::Out(SheetUsage());
        return CommandOutput::Finish(CommandOutput::ExitOk);
    }
    if (options.version) {
        CommandOutput::Out("trx-sheet " TRX_VERSION "\n");
        return CommandOutput::Finish(CommandOutput::ExitOk);
    }

    int noArgc = 1;
    // A PDF needs fonts, and so the GUI application, but no display; text
    // and JSON start without either.
    SheetPdfModule pdf;
    std::unique_ptr<QCoreApplication> app;
    if (options.pdf.isEmpty()) {
        app = std::make_unique<QCoreApplication>(noArgc, argv);
    } else {
        SheetError error;
        if (!pdf.Open(QStringLiteral(TRX_APPDIR_FROM_BINDIR), error.message)) {
            error.kind = QStringLiteral("output");
            return Fail(options.json, error);
        }
        app = pdf.Application(noArgc, argv);
    }
    ReadDecimalSeparatorFromLocale();

    SheetError error;
    const QByteArray path = Catalogue(options, error);
    if (path.isEmpty())
        return Fail(options.json, error);
    const TIniFile catalogue(QFile::decodeName(path));
    QStringList names;
    catalogue.ReadSections(names);

    if (options.list) {
        if (options.json) {
            CommandOutput::Out(AircraftListJson(names));
        } else {
            for (const QString& name : std::as_const(names))
                CommandOutput::Out(TerminalText(name).toUtf8() + '\n');
        }
        return CommandOutput::Finish(CommandOutput::ExitOk);
    }

    const QString section = ChooseAircraft(names, options.aircraft, error.closest);
    if (section.isEmpty()) {
        error.kind = QStringLiteral("aircraft");
        error.message =
            error.closest.isEmpty()
                ? QStringLiteral("no aircraft '%1': the catalogue lists none").arg(options.aircraft)
            : error.closest.first().startsWith(options.aircraft, Qt::CaseInsensitive)
                ? QStringLiteral("'%1' could be %2").arg(options.aircraft, Listed(error.closest))
                : QStringLiteral("no aircraft '%1'; the closest: %2")
                      .arg(options.aircraft, Listed(error.closest));
        return Fail(options.json, error);
    }
    error.aircraft = section;

    const CatalogueValue value = [&](CatalogueKey key) {
        return catalogue.ReadString(section, KeyName(key), QString());
    };
    LoadingSheet sheet;
    if (options.hasPilot)
        sheet.pilot = options.pilot.isNull() ? QStringLiteral("") : options.pilot;
    if (options.hasRegistration)
        sheet.registration =
            options.registration.isNull() ? QStringLiteral("") : options.registration;
    sheet.when = QDateTime::currentDateTime();
    SheetFailure failure;
    if (!ComputeLoadingSheet(section, value, options.edits, sheet, failure)) {
        error.kind = FailureKindText(failure.kind);
        error.errorBox = failure.errorBox;
        error.warnings = sheet.warnings;
        if (failure.kind == SheetFailure::Kind::Load) {
            error.load = failure.load;
            error.message =
                QStringLiteral("[%1] cannot be loaded: %2").arg(section, failure.message);
        } else {
            error.message = failure.message;
        }
        return Fail(options.json, error);
    }

    if (!options.pdf.isEmpty()) {
        const QString why = pdf.Write(sheet, QFile::decodeName(options.pdf), options.paper);
        if (!why.isEmpty()) {
            error.kind = QStringLiteral("output");
            error.warnings = sheet.warnings;
            error.message =
                QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(options.pdf), why);
            return Fail(options.json, error);
        }
    }

    CommandOutput::Out(options.json ? SheetJson(sheet) : SheetText(sheet));
    return CommandOutput::Finish(SheetStatus(sheet));
}
