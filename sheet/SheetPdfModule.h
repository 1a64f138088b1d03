// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RuntimeModule.h"
#include "sheet/SheetOptions.h"
#include "sheet/SheetWriter.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

// The PDF writer lives in a module of its own, with Qt Gui behind it, opened
// only for --pdf: text and JSON start with Qt Core alone.
class SheetPdfModule
{
public:
    // Opens the module from the program's own folder, else from the installed
    // program folder `appDirFromBinDir` (relative to the program's folder).
    // Must come before any application object. False, with why, when it
    // cannot be opened.
    bool Open(const QString& appDirFromBinDir, QString& why);
    // The application a PDF needs: fonts, but no display.
    std::unique_ptr<QCoreApplication> Application(int& argc, char** argv);
    // The writer of the PDF to `path` (PdfSheetWriter), which the module
    // must outlive; with `path` "-" it hands the document to `out`.
    std::unique_ptr<SheetWriter> Writer(const QString& path, SheetPaper paper,
                                        const SheetWriter::Output& out);

    static constexpr char ApplicationEntry[] = "TrxSheetPdfApplication";
    static constexpr char WriterEntry[] = "TrxSheetPdfWriter";

private:
    std::unique_ptr<RuntimeModule> m_module;
};

// The module's entry points.
using SheetPdfApplicationFunc = QCoreApplication* (*)(int* argc, char** argv);
// `paper`: 0 A4, 1 Letter. The caller owns the writer.
using SheetPdfWriterFunc = SheetWriter* (*)(const QString* path, int paper,
                                            const SheetWriter::Output* out);
