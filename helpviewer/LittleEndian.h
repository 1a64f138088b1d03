// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Plain C++, no Qt: the help-file probe program reads with it too.

#include <cstdint>

namespace Chm {

// The unsigned little-endian number in the `bytes` (at most 8) bytes at data,
// as every number in a help file is stored.
inline std::uint64_t ReadLittleEndian(const unsigned char* data, int bytes)
{
    std::uint64_t value = 0;
    for (int k = bytes - 1; k >= 0; --k)
        value = value << 8 | data[k];
    return value;
}

} // namespace Chm
