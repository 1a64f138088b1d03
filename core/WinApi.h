// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The numbers of the Windows interfaces that the program's adapters stand in
// for: browser commands and results, dialog items and modal results, help
// commands. Each is named once, here, and shared by platform/, ui/ and
// helpviewer/; the names are Windows' own, so that each call reads as the
// behaviour it reproduces.
namespace WinApi {

// Commands and options of the browser's ExecWB.
inline constexpr int OLECMDID_PRINT = 6;
inline constexpr int OLECMDID_PAGESETUP = 8;
inline constexpr int OLECMDEXECOPT_PROMPTUSER = 1;
inline constexpr int OLECMDEXECOPT_DONTPROMPTUSER = 2;

// Results of ExecWB. Callers ignore them, as on Windows.
inline constexpr int S_OK = 0;
inline constexpr int OLECMDERR_E_NOTSUPPORTED = int(0x80040100u);
inline constexpr int OLECMDERR_E_CANCELED = int(0x80040104u);

// Dialog items: a dialog's OK and Cancel buttons, and the header and footer
// boxes of the browser's Page Setup dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_PAGESETUP_HEADER = 8147;
inline constexpr int IDC_PAGESETUP_FOOTER = 8149;

// Modal results: a modal window ends with the number of the button that
// closed it.
inline constexpr int mrOk = IDOK;
inline constexpr int mrCancel = IDCANCEL;

// The application's help command asking for the table of contents.
inline constexpr int HELP_CONTENTS = 3;

// Commands of the HTML Help API.
inline constexpr unsigned HH_DISPLAY_TOPIC = 0x0000;
inline constexpr unsigned HH_CLOSE_ALL = 0x0012;
inline constexpr unsigned HH_INITIALIZE = 0x001C;

} // namespace WinApi
