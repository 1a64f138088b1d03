// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PagePrinter.h"
#include "platform/RuntimeModule.h"

// Printing lives in a library of its own, the print module, with Qt
// PrintSupport behind it: the program loads it by file name (through the
// dynamic loader's search, like the help viewer) on the first print, so that
// start-up neither loads nor relocates what only Print needs.

// The module's file name, as the build makes it.
inline constexpr char PrintModuleName[] = TRX_PRINT_MODULE;

// The module's version. Raise it whenever what is passed across changes: one
// of the structures checked below, an entry point or its parameters. A module
// that reports another version is refused, never called.
inline constexpr int PrintModuleVersion = 1;
inline constexpr ModuleEntry<ModuleVersionFunc> PrintModuleVersionEntry{"TrxPrintModuleVersion"};
// The structures passed across, as they were at this version (64-bit); when
// this fails, the compiler's note gives the new value.
#if __SIZEOF_POINTER__ == 8
static_assert(ModuleLayout<TPrintJob, TPageCodeContext>() == 13580662639454622687ULL,
              "A structure passed to the print module changed: raise PrintModuleVersion, then "
              "record the new layout here");
#endif

// Its one entry point: PrintWithDialog (PagePrinter.h).
using PrintPageFunc = int (*)(const TPrintJob* job, QWidget* owner, bool prompt);
inline constexpr ModuleEntry<PrintPageFunc> PrintPageEntry{"TrxPrintPage"};

// PrintWithDialog through the print module, which is loaded on the first call
// and stays loaded. A module that cannot be loaded, reports another version
// or lacks its entry point prints nothing: the call returns
// WinApi::OLECMDERR_E_NOTSUPPORTED and logs why, and a later call tries again.
int PrintPage(const TPrintJob& job, QWidget* owner, bool prompt);
