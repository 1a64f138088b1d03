// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/PageCodes.h"

#include <QFont>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

class QPrinter;
class QTextDocument;
class QWidget;

// One print of the browser's page: the page as laid out on screen and what
// the header and footer bands need.
struct TPrintJob
{
    // The page on screen; the print lays out a copy of it, which reads
    // images through the page as the screen did.
    QTextDocument* document = nullptr;
    QPageLayout pageLayout;
    QString header;
    QString footer;
    // Title, address and time of the print; page and page count are filled
    // in for each page.
    TPageCodeContext codes;
    // The header and footer are drawn in this font, at 8 points.
    QFont font;
    // Logical dots per inch of the screen the page is shown on.
    QSizeF screenDpi{96, 96};
};

// Prints the page onto an already configured printer: the page laid out as
// on screen and scaled to the printer, the header at the top and the footer
// at the bottom of every page, each split in left, centre and right parts.
// False when the printer cannot be drawn on.
bool PrintDocument(QPrinter& printer, const TPrintJob& job);

// The browser's print command: the print dialog over owner (unless prompt
// is false), then the page printed with job's page layout. Returns
// WinApi::S_OK, or WinApi::OLECMDERR_E_CANCELED when the user cancels or
// the printer fails.
int PrintWithDialog(const TPrintJob& job, QWidget* owner, bool prompt);
