// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PagePrinter.h"

// Printing lives in a library of its own, the print module, with Qt
// PrintSupport behind it: the program loads it by file name (through the
// dynamic loader's search, like the help viewer) on the first print, so that
// start-up neither loads nor relocates what only Print needs.

// The module's file name, as the build makes it.
inline constexpr char PrintModuleName[] = TRX_PRINT_MODULE;
// Its one entry point: PrintWithDialog (PagePrinter.h).
inline constexpr char PrintPageEntry[] = "TrxPrintPage";
using PrintPageFunc = int (*)(const TPrintJob* job, QWidget* owner, bool prompt);

// PrintWithDialog through the print module, which is loaded on the first call
// and stays loaded. A module that cannot be loaded, or lacks its entry point,
// prints nothing: the call returns WinApi::OLECMDERR_E_NOTSUPPORTED and logs
// why, and a later call tries again.
int PrintPage(const TPrintJob& job, QWidget* owner, bool prompt);
