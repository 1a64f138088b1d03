// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlHelp.h"

#include <dlfcn.h>

namespace {
using HtmlHelpAFunc = void* (*)(void*, const char*, unsigned, quintptr);

// Once the library is loaded it stays loaded for the run, complete or not:
// a library without both entry points is not retried.
void* g_library = nullptr;
HtmlHelpAFunc g_htmlHelpA = nullptr;
void* g_htmlHelpW = nullptr;

void LoadLibrary()
{
    g_library = dlopen(HtmlHelpLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!g_library) {
        dlerror(); // failures are silent; leave no pending error behind
        return;
    }
    g_htmlHelpA = reinterpret_cast<HtmlHelpAFunc>(dlsym(g_library, "HtmlHelpA"));
    g_htmlHelpW = dlsym(g_library, "HtmlHelpW");
    dlerror();
}
} // namespace

void* HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, quintptr dwData)
{
    if (!g_library)
        LoadLibrary();
    if (!g_htmlHelpA || !g_htmlHelpW)
        return nullptr;
    return g_htmlHelpA(hwndCaller, pszFile, uCommand, dwData);
}
