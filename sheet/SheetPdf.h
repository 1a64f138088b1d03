// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

// Writes the loading sheet as a PDF to `path`, whole or not at all: one page
// when it fits, else as many as its rows need, each under the sheet's
// header. Returns an empty string on success, else why it failed (for the
// message).
QString WriteSheetPdf(const LoadingSheet& sheet, const QString& path, QPageSize::PageSizeId paper);
// The same document in `document`, for standard output; empty on failure.
QString SheetPdfDocument(const LoadingSheet& sheet, QPageSize::PageSizeId paper,
                         QByteArray& document);
