// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintModule.h"

#include "WinApi.h"

#include <QtGlobal>

#include <dlfcn.h>

namespace {
PrintPageFunc LoadPrintModule()
{
    static PrintPageFunc entry = nullptr;
    if (entry)
        return entry;
    void* module = dlopen(PrintModuleName, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        qWarning("Printing is not available: %s", dlerror());
        return nullptr;
    }
    entry = reinterpret_cast<PrintPageFunc>(dlsym(module, PrintPageEntry));
    if (!entry) {
        qWarning("Printing is not available: %s", dlerror());
        dlclose(module);
    }
    return entry;
}
} // namespace

int PrintPage(const TPrintJob& job, QWidget* owner, bool prompt)
{
    const PrintPageFunc print = LoadPrintModule();
    if (!print)
        return WinApi::OLECMDERR_E_NOTSUPPORTED;
    return print(&job, owner, prompt);
}
