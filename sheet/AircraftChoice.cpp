// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/AircraftChoice.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int MaxOffered = 5;
// Names are compared for the nearest up to this many characters: the list
// holds at most 16 KB of names, and a long name is told by its beginning.
constexpr qsizetype MaxComparedChars = 64;

int EditDistance(const QString& a, const QString& b)
{
    const QString x = a.left(MaxComparedChars).toCaseFolded();
    const QString y = b.left(MaxComparedChars).toCaseFolded();
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

QString Listed(const QStringList& names)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted << u'\'' + n + u'\'';
    return quoted.join(QStringLiteral(", "));
}

} // namespace

QString ChooseAircraft(const QStringList& listed, const QString& wanted, QStringList& closest)
{
    closest.clear();
    if (listed.contains(wanted))
        return wanted;
    for (const QString& name : listed)
        if (name.startsWith(wanted, Qt::CaseInsensitive) && !closest.contains(name))
            closest << name;
    if (closest.size() == 1)
        return closest.takeFirst();
    if (closest.isEmpty()) {
        std::vector<std::pair<int, QString>> scored;
        for (const QString& name : listed)
            scored.emplace_back(EditDistance(name, wanted), name);
        // Stable: among names as near, the selector's order.
        std::stable_sort(scored.begin(), scored.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [distance, name] : scored)
            if (!closest.contains(name))
                closest << name;
    }
    closest = closest.mid(0, MaxOffered);
    return QString();
}

QString NoAircraftMessage(const QString& wanted, const QStringList& closest)
{
    if (closest.isEmpty())
        return QStringLiteral("no aircraft '%1': the catalogue lists none").arg(wanted);
    if (closest.first().startsWith(wanted, Qt::CaseInsensitive))
        return QStringLiteral("'%1' could be %2").arg(wanted, Listed(closest));
    return QStringLiteral("no aircraft '%1'; the closest: %2").arg(wanted, Listed(closest));
}
