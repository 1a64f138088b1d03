// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the viewer and its probe program (trx-chmprobe) agree on. The viewer
// starts the probe with the help file's sealed copy as its standard input and
// a pipe as its standard output. The probe reads every object of the file
// with chmlib, as the viewer would, and writes SoundWord to the pipe only
// when all of it could be read; then it exits with 0. Anything else (another
// exit code, a signal, silence until the viewer's time runs out) means the
// file is damaged. Plain C++, no Qt.

#include <cstdint>

namespace ChmProbe {

inline constexpr char SoundWord = 'k';

// A sound help file is read whole in well under a second. The probe allows
// itself this much CPU time and, should nobody end it, this much time at all;
// the viewer waits one second more, then kills it.
inline constexpr unsigned LimitSeconds = 10;
inline constexpr unsigned ViewerWaitSeconds = LimitSeconds + 1;

// The probe's address space: chmlib needs a few megabytes for a sound file,
// and a damaged length must fail an allocation rather than take the machine.
inline constexpr std::uint64_t LimitBytes = 512ull << 20;

// No help object comes near this; a larger length is a damaged directory,
// which neither the probe nor the viewer reads.
inline constexpr std::uint64_t MaxObjectSize = 64 * 1024 * 1024;

} // namespace ChmProbe
