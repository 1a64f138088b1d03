// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The length in bytes (1 to 4) of the valid UTF-8 sequence at `p`, at most
// `end - p` bytes long, with the code point it encodes in `code`; 0 when the
// bytes there are not one: a stray continuation byte, a sequence cut short
// by `end` or by a byte that does not continue it, an overlong form, a
// surrogate, or a code point past U+10FFFF. `p` must be before `end`.
int Utf8SequenceLength(const uchar* p, const uchar* end, char32_t& code);
