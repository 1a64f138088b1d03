// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/AircraftFinding.h"

AircraftFinding KeyFinding(const CatalogueSection& section, const CatalogueEntry* entry,
                           CatalogueKey key, FindingCode code, const QString& message)
{
    AircraftFinding found;
    CatalogueFinding& f = found.finding;
    f.severity = SeverityOf(code);
    f.inSection = true;
    f.section = section.name;
    f.key = entry ? entry->name : KeyName(key);
    f.line = entry ? entry->line : 0;
    // A missing key has no line: its finding goes with the header.
    f.order = entry ? entry->line : section.line;
    f.code = CodeName(code);
    f.message = message;
    return found;
}

AircraftFinding SectionFinding(const CatalogueSection& section, FindingCode code,
                               const QString& message)
{
    AircraftFinding found = KeyFinding(section, nullptr, CatalogueKey::Unknown, code, message);
    found.finding.line = section.line;
    return found;
}

AircraftFinding StopFinding(const CatalogueSection& section, const CatalogueEntry* entry,
                            CatalogueKey key, FindingCode code, const QString& message,
                            const QString& box, LoadStep step)
{
    AircraftFinding found = KeyFinding(section, entry, key, code, message);
    found.finding.boxText = box;
    found.stop = step;
    return found;
}
