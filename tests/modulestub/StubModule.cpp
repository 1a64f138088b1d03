// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the print module (TRX_STUB_PRINT) or for trx-sheet's PDF
// module that reports the real version plus TRX_STUB_VERSION_STEP, or no
// version at all, and writes every call it receives into the file named by
// TRX_MODULESTUB_LOG, one line per call: a test sees whether the loader
// called it.

#ifdef TRX_STUB_PRINT
#include "platform/PrintModule.h"
#else
#include "sheet/SheetPdfModule.h"
#endif

#include <cstdio>
#include <cstdlib>

namespace {
void Record(const char* line)
{
    const char* path = std::getenv("TRX_MODULESTUB_LOG");
    if (!path)
        return;
    if (std::FILE* log = std::fopen(path, "a")) {
        std::fputs(line, log);
        std::fputc('\n', log);
        std::fclose(log);
    }
}

__attribute__((constructor)) void Loaded()
{
    Record("loaded");
}
} // namespace

#ifdef TRX_STUB_PRINT

#ifdef TRX_STUB_VERSION_STEP
extern "C" Q_DECL_EXPORT int TrxPrintModuleVersion()
{
    return PrintModuleVersion + TRX_STUB_VERSION_STEP;
}
#endif

extern "C" Q_DECL_EXPORT int TrxPrintPage(const TPrintJob*, QWidget*, bool)
{
    Record("TrxPrintPage");
    return 0;
}

#else

#ifdef TRX_STUB_VERSION_STEP
extern "C" Q_DECL_EXPORT int TrxSheetPdfModuleVersion()
{
    return SheetPdfModuleVersion + TRX_STUB_VERSION_STEP;
}
#endif

extern "C" Q_DECL_EXPORT QCoreApplication* TrxSheetPdfApplication(int*, char**)
{
    Record("TrxSheetPdfApplication");
    return nullptr;
}

extern "C" Q_DECL_EXPORT void TrxWriteSheetPdf(const LoadingSheet*, const QString*, int, QString*)
{
    Record("TrxWriteSheetPdf");
}

#endif
