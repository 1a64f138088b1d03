// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrintModule.h"

#include "core/WinApi.h"
#include "platform/RuntimeModule.h"

int PrintPage(const TPrintJob& job, QWidget* owner, bool prompt)
{
    // Logged, and tried again on the next print when it could not be used.
    static RuntimeModule module(PrintModuleName, {PrintPageEntry}, RuntimeModule::Failures::Logged,
                                RuntimeModule::Incomplete::CloseAndRetry);
    if (!module.Ready())
        return WinApi::OLECMDERR_E_NOTSUPPORTED;
    return reinterpret_cast<PrintPageFunc>(module.Entry(0))(&job, owner, prompt);
}
