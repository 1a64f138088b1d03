// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/KeySpellingCheck.h"

#include "core/IniSyntax.h"

#include <algorithm>
#include <vector>

namespace {

// Edit distance up to which an unknown key is taken for a misspelt known one.
constexpr int MaxSpellingDistance = 2;

int EditDistance(const QString& a, const QString& b)
{
    std::vector<int> row(static_cast<size_t>(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[static_cast<size_t>(j)];
            row[static_cast<size_t>(j)] = std::min({above + 1, row[static_cast<size_t>(j - 1)] + 1,
                                                    diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The known key an unknown name most likely means, empty when none is close.
QString NearestKey(const QString& name)
{
    const QString folded = IniNameKey(name);
    QString best;
    int bestDistance = MaxSpellingDistance + 1;
    for (int k = 0; k < CatalogueKeyCount; ++k) {
        const QString known = KeyName(static_cast<CatalogueKey>(k));
        const int d = EditDistance(folded, IniNameKey(known));
        if (d < bestDistance && d < known.size() / 2) {
            best = known;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

AircraftFindings CheckKeySpelling(const CatalogueSection& section)
{
    AircraftFindings found;
    for (const CatalogueEntry& e : section.entries) {
        if (e.key == CatalogueKey::Unknown) {
            const QString nearest = NearestKey(e.name);
            QString message = QStringLiteral("TRX never reads this key");
            if (!nearest.isEmpty())
                message += QStringLiteral("; did you mean %1?").arg(nearest);
            found << KeyFinding(section, &e, e.key, FindingCode::UnknownKey, message);
        } else if (e.repeats >= 0) {
            const CatalogueEntry& first = section.entries[e.repeats];
            found << KeyFinding(section, &e, e.key, FindingCode::DuplicateKey,
                                QStringLiteral("repeats %1 of line %2: only the first is read")
                                    .arg(first.name, QString::number(first.line)));
        }
    }
    if (section.firstUnlistedLine > 0) {
        CatalogueEntry more;
        more.name = section.firstUnlistedName;
        more.line = section.firstUnlistedLine;
        found << KeyFinding(section, &more, CatalogueKey::Unknown, FindingCode::UnknownKey,
                            QStringLiteral("this line and the %1 below it in this section are "
                                           "key lines that TRX never reads: unknown keys, or "
                                           "keys repeated after their first line; they are not "
                                           "listed one by one")
                                .arg(section.looseEntries - MaxLooseEntries - 1));
    }
    return found;
}
