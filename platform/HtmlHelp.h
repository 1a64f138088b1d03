// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Commands of the HTML Help API that the program uses.
inline constexpr unsigned HH_DISPLAY_TOPIC = 0x0000;
inline constexpr unsigned HH_CLOSE_ALL = 0x0012;
inline constexpr unsigned HH_INITIALIZE = 0x001C;

// The help viewer library, looked up by file name through the dynamic
// loader's search (the executable's RUNPATH holds its own folder). The
// helpviewer target builds a library of exactly this name.
inline constexpr char HtmlHelpLibraryName[] = "libtrxhelp.so";

// The ANSI entry of the HTML Help API. The viewer library is loaded on the
// first call of the run; a call goes through only when the library has both
// "HtmlHelpA" and "HtmlHelpW". Otherwise it does nothing and yields null,
// silently. Returns the viewer's window handle (null when nothing was shown).
void* HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, quintptr dwData);
