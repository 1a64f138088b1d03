// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The catalogue a command reads when its command line names none: that of
// the TRX in `binDir` (the command's own folder, a build's bin folder), else
// that of the installed TRX in `appDirFromBinDir` (relative to `binDir`).
// When there is neither it is empty, and `why` says where the command
// (`program`, "trx-check") looked and how its command line names a
// catalogue (`naming`, "with --catalogue FILE"): "no TRX beside <program>
// (<binDir>) nor in <folder>: name the catalogue <naming>". The folders are
// as the file system gives them, not escaped.
QString DefaultCataloguePath(const QString& binDir, const QString& appDirFromBinDir,
                             const QString& program, const QString& naming, QString& why);
