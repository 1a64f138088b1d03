// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The standard streams of a command-line program: results go to stdout as
// they are found, messages to stderr, and a result that could not be written
// is never reported as success.
namespace CommandOutput {

// Call first thing in main(). A standard stream that the caller closed is
// opened on /dev/null, so that no file the program opens takes its number
// (and receives its output); a closed stdout still fails at Finish().
// `program` prefixes every message.
void Start(const char* program);

// Writes to stdout. A failed write is remembered and nothing more is written.
void Out(const QByteArray& bytes);
// Writes "<program>: <text>\n" to stderr.
void Message(const QByteArray& text);

// Flushes and closes stdout. Returns `status` when everything written
// arrived, else says why on stderr and returns the status for trouble (2).
int Finish(int status);

// Exit statuses shared by the commands.
constexpr int ExitOk = 0;
constexpr int ExitFindings = 1;
constexpr int ExitTrouble = 2;

} // namespace CommandOutput
