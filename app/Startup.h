// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TApplication;

// Start-up in its fixed order, the event loop, and the end of the run. An
// error that escapes start-up is shown in the error box. Always returns 0.
int RunTrimwise(TApplication& app);
