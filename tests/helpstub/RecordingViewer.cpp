// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the help viewer library that writes every call it receives
// into the file named by TRX_HELPSTUB_LOG, one line per call. Built once
// complete and once without HtmlHelpW.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {
void Record(const char* line)
{
    const char* path = std::getenv("TRX_HELPSTUB_LOG");
    if (!path)
        return;
    if (std::FILE* log = std::fopen(path, "a")) {
        std::fputs(line, log);
        std::fputc('\n', log);
        std::fclose(log);
    }
}

void RecordCall(const char* entry, const void* caller, const char* file, unsigned command,
                std::uintptr_t data)
{
    char line[1024];
    std::snprintf(line, sizeof line, "%s caller=%s file=%s command=0x%x data=%llu", entry,
                  caller ? "set" : "null", file ? file : "null", command,
                  static_cast<unsigned long long>(data));
    Record(line);
}

__attribute__((constructor)) void Loaded()
{
    Record("loaded");
}
} // namespace

extern "C" __attribute__((visibility("default"))) void*
HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, std::uintptr_t dwData)
{
    RecordCall("HtmlHelpA", hwndCaller, pszFile, uCommand, dwData);
    return nullptr;
}

#ifndef TRX_HELPSTUB_WITHOUT_W
extern "C" __attribute__((visibility("default"))) void*
HtmlHelpW(void* hwndCaller, const wchar_t* pszFile, unsigned uCommand, std::uintptr_t dwData)
{
    char file[512] = "null";
    if (pszFile)
        std::snprintf(file, sizeof file, "%ls", pszFile);
    RecordCall("HtmlHelpW", hwndCaller, file, uCommand, dwData);
    return nullptr;
}
#endif
