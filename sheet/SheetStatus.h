// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"

// The command's exit status for a sheet worked out: 0 within limits (on the
// envelope's outline included) with no warning, else 1 (outside, no envelope
// to judge against, or warnings).
int SheetStatus(const LoadingSheet& sheet);
