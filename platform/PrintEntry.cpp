// SPDX-License-Identifier: GPL-3.0-or-later
// The exported entry point of the print module (PrintModule.h).

#include "platform/PrintModule.h"

#include "core/WinApi.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int TrxPrintPage(const TPrintJob* job,
                                                                   QWidget* owner, bool prompt)
{
    try {
        return job ? PrintWithDialog(*job, owner, prompt) : WinApi::OLECMDERR_E_NOTSUPPORTED;
    } catch (...) {
        return WinApi::OLECMDERR_E_CANCELED; // nothing may cross into the caller
    }
}

// The loader calls the entry through this type.
static_assert(std::is_same_v<decltype(&TrxPrintPage), PrintPageFunc>);
