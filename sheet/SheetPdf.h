// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"

#include <QPageSize>
#include <QString>

// Writes the loading sheet as one PDF page to `path`, whole or not at all. Returns an empty string
// on success, else why it failed (for the message).
QString WriteSheetPdf(const LoadingSheet& sheet, const QString& path, QPageSize::PageSizeId paper);
