// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/FindingSink.h"

#include <QByteArray>

// A saved loading file checked as trx-sheet --loading would take it: that it
// is one (strict JSON of a known format_version that fits the schema), that
// its aircraft data matches its fingerprint, and, against `catalogue` (a
// catalogue's bytes; null when there is none to compare with), that the
// catalogue still has its aircraft with the same data. Findings carry the
// aircraft as their section and, for changed data, the key; line 0.
CheckCounts CheckLoadingFile(const QByteArray& bytes, const QByteArray* catalogue,
                             FindingSink& sink);
