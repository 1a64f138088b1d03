// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loading/SavedLoading.h"

#include <QByteArray>
#include <QString>

// Writes `loading` to the file `path` (in the file system's bytes), whole or
// not at all: aside, then renamed over it. What is written is first read
// back and must give the same loading, so that a file this program writes is
// always one it reads. Empty when written; else why not.
QString SaveLoading(const QByteArray& path, const SavedLoading& loading);
