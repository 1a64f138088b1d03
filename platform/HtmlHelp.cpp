// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HtmlHelp.h"

#include "platform/RuntimeModule.h"

namespace {
using HtmlHelpAFunc = void* (*)(void*, const char*, unsigned, quintptr);
constexpr ModuleEntry<HtmlHelpAFunc> HtmlHelpAEntry{"HtmlHelpA"};

// Failures are silent; once loaded, the library stays loaded for the run,
// complete or not: a library without both entry points is not retried.
RuntimeModule& Viewer()
{
    static RuntimeModule viewer(HtmlHelpLibraryName, {HtmlHelpAEntry.name, "HtmlHelpW"},
                                RuntimeModule::Failures::Silent,
                                RuntimeModule::Incomplete::KeepLoaded);
    return viewer;
}
} // namespace

void* HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, quintptr dwData)
{
    RuntimeModule& viewer = Viewer();
    if (!viewer.Ready())
        return nullptr;
    return viewer.Resolve(HtmlHelpAEntry)(hwndCaller, pszFile, uCommand, dwData);
}
