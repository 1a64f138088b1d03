// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrintModule.h"

#include "core/WinApi.h"

int PrintPage(const TPrintJob& job, QWidget* owner, bool prompt)
{
    // Logged, and tried again on the next print when it could not be used.
    static RuntimeModule module(
        PrintModuleName, {PrintPageEntry.name}, RuntimeModule::Failures::Logged,
        RuntimeModule::Incomplete::CloseAndRetry,
        RuntimeModule::Version{PrintModuleVersionEntry, PrintModuleVersion, "TRX"});
    if (!module.Ready())
        return WinApi::OLECMDERR_E_NOTSUPPORTED;
    return module.Resolve(PrintPageEntry)(&job, owner, prompt);
}
