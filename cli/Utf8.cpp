// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Utf8.h"

int Utf8SequenceLength(const uchar* p, const uchar* end, char32_t& code)
{
    const uchar c = p[0];
    int n = 0;
    char32_t min = 0;
    if (c < 0x80) {
        code = c;
        return 1;
    }
    if ((c & 0xE0) == 0xC0) {
        n = 2, min = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, min = 0x800, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, min = 0x10000, code = c & 0x07;
    } else {
        return 0;
    }
    if (end - p < n)
        return 0;
    for (int k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    // The shortest form only, and no half of a UTF-16 surrogate pair.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return n;
}
