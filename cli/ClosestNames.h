// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The names a command offers for one it does not know ("did you mean").

// The edit distance (insertions, deletions and substitutions of one UTF-16
// unit each) between `a` and `b`, ignoring case, on the first 64 units of
// each: a long name is told by its beginning, and the cost stays bounded.
int NameDistance(const QString& a, const QString& b);

enum class Nearness
{
    Any,        // every name, however far
    Misspelling // at most two edits, and fewer than half of the known name's units
};

// The names of `known` nearest to `name` by NameDistance, nearest first and,
// among names as near, in their order in `known`; no name twice, at most
// `maxOffered`, and only those that `nearness` admits.
QStringList ClosestNames(const QString& name, const QStringList& known, qsizetype maxOffered,
                         Nearness nearness = Nearness::Any);
