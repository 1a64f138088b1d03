// SPDX-License-Identifier: GPL-3.0-or-later
// trx-sheet: the loading sheet of one aircraft, worked out as the window
// works it out, as text, JSON or a PDF page.

#include "cli/CommandOutput.h"
#include "cli/OutputTarget.h"
#include "core/NumConv.h"
#include "sheet/JsonSheetWriter.h"
#include "sheet/LoadingSheetRun.h"
#include "sheet/SaveLoading.h"
#include "sheet/SheetOptions.h"
#include "sheet/SheetPdfModule.h"
#include "sheet/SheetStatus.h"
#include "sheet/TextSheetWriter.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

namespace {

using namespace CommandOutput;

QByteArrayList Arguments(int argc, char** argv)
{
    // Taken as bytes: a file name need not be UTF-8.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args << QByteArray(argv[i]);
    return args;
}

int Fail(SheetWriter& out, const SheetFailure& failure)
{
    out.WriteFailure(failure);
    return Finish(ExitTrouble);
}

// Why the PDF must not go to `path`: not a regular file, or a file read (the
// catalogue, the loading), by any name. Empty for standard output and for a
// file it may replace.
QString PdfTargetProblem(const QByteArray& path, const QByteArray& loading,
                         const LoadingSheetRun& run)
{
    if (path == "-")
        return QString();
    QList<QByteArray> inputs{run.catalogue};
    if (!loading.isEmpty())
        inputs << loading;
    const QString why = OutputTargetProblem(path, inputs);
    return why.isEmpty() ? QString()
                         : QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(path), why);
}

// Why the loading must not be saved to `path`: not a regular file, a file
// read (the catalogue, the loading it started from), or the PDF's.
QString SaveTargetProblem(const QByteArray& path, const SheetOptions& options,
                          const LoadingSheetRun& run)
{
    QList<QByteArray> inputs{run.catalogue};
    if (!options.loading.isEmpty())
        inputs << options.loading;
    QString why = OutputTargetProblem(path, inputs);
    if (why.isEmpty() && !options.pdf.isEmpty() && options.pdf != "-" &&
        SameOutputTarget(path, options.pdf))
        why = QStringLiteral("it is the PDF's file");
    return why.isEmpty() ? QString()
                         : QStringLiteral("cannot save the loading to %1: %2")
                               .arg(QFile::decodeName(path), why);
}

// Writes what the run worked out: the page and the saved loading first, each
// whole or not at all, so that a file that could not be written is reported
// instead of the sheet. Both targets are checked before either is written.
// Returns the exit status.
int Write(LoadingSheetRun run, const SheetOptions& options, SheetWriter* page, SheetWriter& out)
{
    const QByteArray& save = options.save;
    if ((page || !save.isEmpty()) && run.result == LoadingSheetRun::Result::Sheet) {
        QString trouble = page ? PdfTargetProblem(options.pdf, options.loading, run) : QString();
        if (trouble.isEmpty() && !save.isEmpty())
            trouble = SaveTargetProblem(save, options, run);
        if (trouble.isEmpty() && page) {
            page->WriteSheet(run.sheet);
            trouble = page->Trouble();
        }
        if (trouble.isEmpty() && !save.isEmpty()) {
            trouble = SaveLoading(save, run.loading);
            if (!trouble.isEmpty())
                trouble = QStringLiteral("cannot save the loading to %1: %2")
                              .arg(QFile::decodeName(save), trouble);
        }
        if (!trouble.isEmpty()) {
            run.failure = MakeSheetFailure(SheetFailureKind::Output, trouble);
            run.failure.aircraft = run.sheet.section;
            run.failure.warnings = run.sheet.warnings;
            run.result = LoadingSheetRun::Result::Failure;
        }
    }
    switch (run.result) {
    case LoadingSheetRun::Result::AircraftList:
        out.WriteAircraftList(run.aircraft);
        return Finish(ExitOk);
    case LoadingSheetRun::Result::Sheet:
        out.WriteSheet(run.sheet);
        return Finish(SheetStatus(run.sheet));
    case LoadingSheetRun::Result::Failure:
        break;
    }
    if (page)
        page->WriteFailure(run.failure);
    return Fail(out, run.failure);
}

} // namespace

int main(int argc, char** argv)
{
    Start("trx-sheet");
    const SheetOptions options = ParseSheetOptions(Arguments(argc, argv));
    if (options.help || options.version) {
        Out(options.help ? SheetUsage() : QByteArray("trx-sheet " TRX_VERSION "\n"));
        return Finish(ExitOk);
    }
    // With the PDF on standard output, the text or JSON goes nowhere; the
    // messages still go to standard error.
    const SheetWriter::Output results =
        options.pdf == "-" ? SheetWriter::Output([](const QByteArray&) {}) : Out;
    const std::unique_ptr<SheetWriter> out =
        options.json
            ? std::unique_ptr<SheetWriter>(std::make_unique<JsonSheetWriter>(results, Message))
            : std::make_unique<TextSheetWriter>(results, Message);
    if (!options.error.isEmpty())
        return Fail(*out, MakeSheetFailure(SheetFailureKind::Option, options.error));

    // A PDF needs fonts, and so the GUI application, but no display; text
    // and JSON start without either. The module outlives the application
    // and the page's writer.
    int noArgc = 1;
    SheetPdfModule pdf;
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<SheetWriter> page;
    if (options.pdf.isEmpty()) {
        app = std::make_unique<QCoreApplication>(noArgc, argv);
    } else {
        QString why;
        if (!pdf.Open(QStringLiteral(TRX_APPDIR_FROM_BINDIR), why))
            return Fail(*out, MakeSheetFailure(SheetFailureKind::Output, why));
        app = pdf.Application(noArgc, argv);
        page = pdf.Writer(QFile::decodeName(options.pdf), options.paper, Out);
    }
    ReadDecimalSeparatorFromLocale();

    return Write(RunLoadingSheet(options, QStringLiteral(TRX_APPDIR_FROM_BINDIR)), options,
                 page.get(), *out);
}
