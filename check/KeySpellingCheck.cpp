// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/KeySpellingCheck.h"

#include "cli/ClosestNames.h"
#include "core/CatalogueSchema.h"

namespace {

// The known key an unknown name most likely means, empty when none is close.
QString NearestKey(const QString& name)
{
    QStringList known;
    for (int k = 0; k < CatalogueKeyCount; ++k)
        known << KeyName(static_cast<CatalogueKey>(k));
    return ClosestNames(name, known, 1, Nearness::Misspelling).value(0);
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
