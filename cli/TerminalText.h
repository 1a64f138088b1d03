// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Text that comes from outside (file names, options, sections, keys, values)
// made safe for a terminal before the commands print it: nothing in it can
// move the cursor, retitle the window or reorder what the line shows.
//
// Escaped: a backslash as "\\" (so that an escape cannot be forged), C0
// controls and DEL as "\xHH", C1 controls, bidirectional and other invisible
// format characters and the line and paragraph separators as "\uHHHH", and
// half a surrogate pair as U+FFFD. Tabs are escaped too ("\x09"): a finding
// is one line whose fields a reader can find.
QString TerminalText(const QString& text);

// The same for bytes in the file system's encoding (a file name or a command
// line argument): valid UTF-8 is decoded and escaped as above, every other
// byte written as "\xHH". The result is UTF-8.
QByteArray TerminalBytes(const QByteArray& bytes);
