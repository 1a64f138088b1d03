// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RuntimeModule.h"
#include "sheet/SheetOptions.h"
#include "sheet/SheetWriter.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <memory>

// The module's version. Raise it whenever what is passed across changes: one
// of the structures checked below, an entry point or its parameters. A module
// that reports another version is refused, never called.
inline constexpr int SheetPdfModuleVersion = 4;
inline constexpr ModuleEntry<ModuleVersionFunc> SheetPdfVersionEntry{"TrxSheetPdfModuleVersion"};
// The structures passed across, as they were at this version (64-bit); when
// this fails, the compiler's note gives the new value.
#if __SIZEOF_POINTER__ == 8
static_assert(ModuleLayout<LoadingSheet, SheetFailure, std::array<QString, sheetColumns>,
                           EnvelopeVerdict, TArrowSeries, Arrow>() == 13498663361719397639ULL,
              "A structure passed to the PDF module changed: raise SheetPdfModuleVersion, then "
              "record the new layout here");
#endif

// The module's entry points.
using SheetPdfApplicationFunc = QCoreApplication* (*)(int* argc, char** argv);
// `paper`: 0 A4, 1 Letter. The caller owns the writer (a PdfSheetWriter),
// and calls its SheetWriter functions across the module's boundary.
using SheetPdfWriterFunc = SheetWriter* (*)(const QString* path, int paper,
                                            const SheetWriter::Output* out);
inline constexpr ModuleEntry<SheetPdfApplicationFunc> SheetPdfApplicationEntry{
    "TrxSheetPdfApplication"};
inline constexpr ModuleEntry<SheetPdfWriterFunc> SheetPdfWriterEntry{"TrxSheetPdfWriter"};

// The PDF writer lives in a module of its own, with Qt Gui behind it, opened
// only for --pdf: text and JSON start with Qt Core alone.
class SheetPdfModule
{
public:
    // Opens the module from the program's own folder, else from the installed
    // program folder `appDirFromBinDir` (relative to the program's folder).
    // Must come before any application object. False, with why, when it
    // cannot be opened or reports another version; nothing of it is called
    // then.
    bool Open(const QString& appDirFromBinDir, QString& why);
    // The application a PDF needs: fonts, but no display.
    std::unique_ptr<QCoreApplication> Application(int& argc, char** argv);
    // The writer of the PDF to `path` (PdfSheetWriter), which the module
    // must outlive; with `path` "-" it hands the document to `out`.
    std::unique_ptr<SheetWriter> Writer(const QString& path, SheetPaper paper,
                                        const SheetWriter::Output& out);

private:
    std::unique_ptr<RuntimeModule> m_module;
};
