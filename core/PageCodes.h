// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// What the header and footer codes stand for on one printed page.
struct TPageCodeContext
{
    QString title;
    QString url;
    QDateTime now;
    int page = 1;
    int pageCount = 1;
};

// A header or footer line split at its alignment breaks.
struct THeaderFooterLine
{
    QString left;
    QString centre;
    QString right;

    bool operator==(const THeaderFooterLine&) const = default;
};

// Expands the browser's header and footer codes: &w title, &u address, &d
// short date, &D long date, &t time, &T 24-hour time, &p page, &P page count
// and && "&"; dates and times in the default locale's formats. &b breaks the
// line: one break gives left and right parts, two give left, centre and
// right, and further parts join the right one. Unknown codes and a lone "&"
// at the end stay as written.
THeaderFooterLine ExpandPageCodes(const QString& codes, const TPageCodeContext& context);
