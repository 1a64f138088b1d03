// SPDX-License-Identifier: GPL-3.0-or-later
// The exported entry points of the print module (PrintModule.h).

#include "platform/PrintModule.h"

#include "core/WinApi.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int TrxPrintModuleVersion()
{
    return PrintModuleVersion;
}

extern "C" __attribute__((visibility("default"))) int TrxPrintPage(const TPrintJob* job,
                                                                   QWidget* owner, bool prompt)
{
    try {
        return job ? PrintWithDialog(*job, owner, prompt) : WinApi::OLECMDERR_E_NOTSUPPORTED;
    } catch (...) {
        return WinApi::OLECMDERR_E_CANCELED; // nothing may cross into the caller
    }
}

// The loader calls the entries through these types.
static_assert(std::is_same_v<decltype(&TrxPrintModuleVersion), ModuleVersionFunc>);
static_assert(std::is_same_v<decltype(&TrxPrintPage), decltype(PrintPageEntry)::Function>);
