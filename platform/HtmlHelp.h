// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The help viewer library, looked up by file name through the dynamic
// loader's search (the executable's RUNPATH holds its own folder). The build
// passes the name of the library it makes.
inline constexpr char HtmlHelpLibraryName[] = TRX_HTMLHELP_LIBRARY;

// The ANSI entry of the HTML Help API (commands in WinApi). The viewer
// library is loaded on the first call of the run; a call goes through only
// when the library has both "HtmlHelpA" and "HtmlHelpW". Otherwise it does
// nothing and yields null, silently. Returns the viewer's window handle
// (null when nothing was shown).
void* HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, quintptr dwData);
