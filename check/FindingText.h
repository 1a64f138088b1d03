// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the catalogue checker writes catalogue texts and counts into its findings.

#include <QString>

// Characters of a catalogue text shown in a message, when it is not quoted whole.
constexpr qsizetype ExcerptChars = 40;

// The text, or its first characters and "…" when it is long.
inline QString Excerpt(const QString& text)
{
    if (text.size() <= ExcerptChars)
        return text;
    qsizetype keep = ExcerptChars - 1;
    if (text[keep - 1].isHighSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}

// The excerpt in single quotes, as the error box quotes a field.
inline QString Quoted(const QString& text)
{
    return u'\'' + Excerpt(text) + u'\'';
}

// "1 slot", "4 slots".
inline QString Plural(qsizetype n, const QString& one, const QString& many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}
