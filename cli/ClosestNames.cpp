// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ClosestNames.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Names are compared up to this many UTF-16 units: a list holds at most
// 16 KB of names, and a long name is told by its beginning.
constexpr qsizetype MaxComparedUnits = 64;
// Edit distance up to which an unknown name is taken for a misspelt known one.
constexpr int MaxSpellingDistance = 2;

bool Admitted(Nearness nearness, const QString& known, int distance)
{
    // A short name is near to anything within two edits: only one that
    // keeps more than half of it is a misspelling.
    return nearness == Nearness::Any ||
           (distance <= MaxSpellingDistance && distance < known.size() / 2);
}

} // namespace

int NameDistance(const QString& a, const QString& b)
{
    const QString x = a.left(MaxComparedUnits).toCaseFolded();
    const QString y = b.left(MaxComparedUnits).toCaseFolded();
    std::vector<int> row(static_cast<size_t>(y.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= x.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= y.size(); ++j) {
            const int above = row[static_cast<size_t>(j)];
            row[static_cast<size_t>(j)] = std::min({above + 1, row[static_cast<size_t>(j - 1)] + 1,
                                                    diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

QStringList ClosestNames(const QString& name, const QStringList& known, qsizetype maxOffered,
                         Nearness nearness)
{
    std::vector<std::pair<int, QString>> scored;
    for (const QString& k : known) {
        const int distance = NameDistance(k, name);
        if (Admitted(nearness, k, distance))
            scored.emplace_back(distance, k);
    }
    // Stable: among names as near, the order they are known in.
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList closest;
    for (const auto& [distance, k] : scored) {
        if (closest.size() >= maxOffered)
            break;
        if (!closest.contains(k))
            closest << k;
    }
    return closest;
}
