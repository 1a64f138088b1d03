// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/PageCodes.h"

#include <QLocale>
#include <QStringList>

THeaderFooterLine ExpandPageCodes(const QString& codes, const TPageCodeContext& context)
{
    QStringList parts{QString()};
    const QLocale locale;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QChar c = codes.at(i);
        if (c != QLatin1Char('&') || i + 1 >= codes.size()) {
            parts.last() += c;
            continue;
        }
        const QChar code = codes.at(++i);
        switch (code.unicode()) {
        case 'w':
            parts.last() += context.title;
            break;
        case 'u':
            parts.last() += context.url;
            break;
        case 'd':
            parts.last() += locale.toString(context.now.date(), QLocale::ShortFormat);
            break;
        case 'D':
            parts.last() += locale.toString(context.now.date(), QLocale::LongFormat);
            break;
        case 't':
            parts.last() += locale.toString(context.now.time(), QLocale::ShortFormat);
            break;
        case 'T':
            parts.last() += context.now.time().toString(QStringLiteral("HH:mm"));
            break;
        case 'p':
            parts.last() += QString::number(context.page);
            break;
        case 'P':
            parts.last() += QString::number(context.pageCount);
            break;
        case 'b':
            parts.append(QString());
            break;
        case '&':
            parts.last() += QLatin1Char('&');
            break;
        default:
            parts.last() += c;
            parts.last() += code;
            break;
        }
    }

    THeaderFooterLine line;
    line.left = parts.at(0);
    if (parts.size() == 2) {
        line.right = parts.at(1);
    } else if (parts.size() >= 3) {
        line.centre = parts.at(1);
        // Further breaks have no place of their own: they stay on the right.
        line.right = parts.mid(2).join(QString());
    }
    return line;
}
