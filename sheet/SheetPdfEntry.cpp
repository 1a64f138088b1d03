// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points of the PDF module (SheetPdfModule.h).

#include "sheet/PdfSheetWriter.h"
#include "sheet/SheetPdfModule.h"

#include <QGuiApplication>

#include <type_traits>

extern "C" Q_DECL_EXPORT int TrxSheetPdfModuleVersion()
{
    return SheetPdfModuleVersion;
}

extern "C" Q_DECL_EXPORT QCoreApplication* TrxSheetPdfApplication(int* argc, char** argv)
{
    // The toolkit's own notes (a missing runtime folder, font lookups) mean
    // nothing to the command's user: the command says itself what failed.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(*argc, argv);
}

extern "C" Q_DECL_EXPORT SheetWriter* TrxSheetPdfWriter(const QString* path, int paper,
                                                        const SheetWriter::Output* out)
{
    return new PdfSheetWriter(*path, paper == 1 ? QPageSize::Letter : QPageSize::A4, *out);
}

// The loader calls the entries through these types.
static_assert(std::is_same_v<decltype(&TrxSheetPdfModuleVersion), ModuleVersionFunc>);
static_assert(std::is_same_v<decltype(&TrxSheetPdfApplication),
                             decltype(SheetPdfApplicationEntry)::Function>);
static_assert(
    std::is_same_v<decltype(&TrxSheetPdfWriter), decltype(SheetPdfWriterEntry)::Function>);
