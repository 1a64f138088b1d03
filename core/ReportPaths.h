// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the report lives: the chart bitmap and the supplied page, both in the
// executable's folder, and the page's URL for the browser.
struct ReportPaths
{
    QString bitmapPath; // <folder>/report.bmp
    QString pagePath;   // <folder>/report.html
    QString url;        // file:// URL of pagePath, whole, properly encoded
};

// Forms the report paths from the executable's absolute path. Throws
// EFCreateError when the bitmap would land on the executable itself (an
// executable named "report.bmp"), so that it is never overwritten.
ReportPaths ReportPathsFor(const QString& executablePath);
