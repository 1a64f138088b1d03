// SPDX-License-Identifier: GPL-3.0-or-later
// trx-chmprobe: reads the help file on its standard input through chmlib,
// every object of it, before the viewer lets chmlib near it in the program's
// own process. chmlib trusts a file's directory and compression parameters:
// on damaged ones it divides by zero, follows null pointers, allocates
// gigabytes or walks round a loop. Here that only ends the probe. The
// protocol is in ChmProbe.h.

#include "helpviewer/ChmProbe.h"
#include "helpviewer/LittleEndian.h"

#include <algorithm>
#include <cstring>

#include <chm_lib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
using ChmProbe::MaxObjectSize;

// Nor does what all of a help file's objects hold together.
constexpr LONGUINT64 MaxProbeTotal = 64 * 1024 * 1024;
constexpr long MaxProbeObjects = 100000;
// The largest LZX window; no block exceeds it.
constexpr std::uint64_t MaxWindowSize = 1u << 21;

// Why the probe gave up, for whoever runs it by hand; the viewer only tells
// 0 from the rest.
enum class ProbeExit
{
    Sound = 0,
    NotOpened = 1,
    UnreadableObject = 2,
    TooLarge = 3,
    UnreadableDirectory = 4,
    BadCompression = 5
};

// The first bytes of an uncompressed object into head; false when it is
// missing, stored compressed or shorter.
bool ObjectHead(chmFile* file, const char* path, unsigned char* head, LONGUINT64 size,
                bool& present)
{
    chmUnitInfo ui{};
    present = chm_resolve_object(file, path, &ui) == CHM_RESOLVE_SUCCESS;
    return present && ui.space == CHM_UNCOMPRESSED && ui.length >= size &&
           chm_retrieve_object(file, &ui, head, 0, LONGINT64(size)) == LONGINT64(size);
}

// chmlib trusts the LZX parameters of a file when it reads a compressed
// object: a zero block length or reset count is a division by zero, a window
// size out of range a null decoder, and the block length is allocated as it
// stands (twice per read, up to 4 GB). Checked before anything compressed is
// read; the viewer opens only the very bytes checked here.
bool CompressionSound(chmFile* file)
{
    bool present = false;
    unsigned char reset[0x28];
    const bool resetRead =
        ObjectHead(file,
                   "::DataSpace/Storage/MSCompressed/Transform/"
                   "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable",
                   reset, sizeof reset, present);
    if (!present)
        return true; // nothing compressed to read
    const std::uint64_t blockLength = resetRead ? Chm::ReadLittleEndian(reset + 0x20, 8) : 0;
    if (blockLength == 0 || blockLength > MaxWindowSize)
        return false;
    unsigned char control[0x18];
    if (!ObjectHead(file, "::DataSpace/Storage/MSCompressed/ControlData", control, sizeof control,
                    present) ||
        std::memcmp(control + 4, "LZXC", 4) != 0)
        return false;
    std::uint64_t resetInterval = Chm::ReadLittleEndian(control + 12, 4);
    std::uint64_t windowSize = Chm::ReadLittleEndian(control + 16, 4);
    const std::uint64_t windowsPerReset = Chm::ReadLittleEndian(control + 20, 4);
    if (Chm::ReadLittleEndian(control + 8, 4) == 2) {
        resetInterval *= 0x8000;
        windowSize *= 0x8000;
    }
    if (windowSize < (1u << 15) || windowSize > MaxWindowSize || (windowSize & (windowSize - 1)))
        return false;
    return resetInterval / (windowSize / 2) * windowsPerReset != 0;
}

struct ProbeState
{
    LONGUINT64 total = 0;
    long objects = 0;
    ProbeExit failure = ProbeExit::Sound;
};

unsigned char ProbeBuffer[64 * 1024];

// Reads one object the way the viewer would: found by name, then read whole.
int ProbeObject(chmFile* file, chmUnitInfo* ui, void* context)
{
    auto* state = static_cast<ProbeState*>(context);
    if (++state->objects > MaxProbeObjects) {
        state->failure = ProbeExit::TooLarge;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (ui->length == 0 || ui->length > MaxObjectSize)
        return CHM_ENUMERATOR_CONTINUE; // the viewer never reads these
    chmUnitInfo named{};
    if (chm_resolve_object(file, ui->path, &named) != CHM_RESOLVE_SUCCESS) {
        state->failure = ProbeExit::UnreadableObject;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (named.length > MaxObjectSize)
        return CHM_ENUMERATOR_CONTINUE;
    LONGUINT64 done = 0;
    while (done < named.length) {
        const LONGUINT64 want = std::min<LONGUINT64>(sizeof ProbeBuffer, named.length - done);
        const LONGINT64 got = chm_retrieve_object(file, &named, ProbeBuffer, done, LONGINT64(want));
        if (got <= 0) {
            state->failure = ProbeExit::UnreadableObject;
            return CHM_ENUMERATOR_FAILURE;
        }
        done += LONGUINT64(got);
        state->total += LONGUINT64(got);
        if (state->total > MaxProbeTotal) {
            state->failure = ProbeExit::TooLarge;
            return CHM_ENUMERATOR_FAILURE;
        }
    }
    return CHM_ENUMERATOR_CONTINUE;
}

// Reads the file on standard input as the viewer would, and says so on
// standard output when all of it could be read.
ProbeExit Probe()
{
    chmFile* file = chm_open("/proc/self/fd/0");
    if (!file)
        return ProbeExit::NotOpened;
    if (!CompressionSound(file))
        return ProbeExit::BadCompression;
    ProbeState state;
    const int listed = chm_enumerate(file, CHM_ENUMERATE_ALL, ProbeObject, &state);
    if (state.failure != ProbeExit::Sound)
        return state.failure;
    if (!listed)
        return ProbeExit::UnreadableDirectory;
    chm_close(file);
    if (write(STDOUT_FILENO, &ChmProbe::SoundWord, 1) != 1)
        return ProbeExit::NotOpened;
    return ProbeExit::Sound;
}

// A limit already lower than ours stays: lowering is all that is wanted.
void Limit(int resource, rlim_t value)
{
    rlimit current{};
    if (getrlimit(resource, &current) == 0 && current.rlim_max != RLIM_INFINITY &&
        current.rlim_max < value)
        value = current.rlim_max;
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}
} // namespace

int main()
{
    Limit(RLIMIT_CORE, 0); // a crash here is expected: no core file
    Limit(RLIMIT_CPU, ChmProbe::LimitSeconds);
    Limit(RLIMIT_AS, ChmProbe::LimitBytes);
    // A probe that blocks uses no CPU time; this ends it even when the viewer
    // is gone and cannot.
    alarm(ChmProbe::LimitSeconds);
    return static_cast<int>(Probe());
}
