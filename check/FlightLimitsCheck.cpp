// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FlightLimitsCheck.h"

#include "check/FindingText.h"
#include "check/ListCheck.h"
#include "check/SettingsCheck.h"
#include "core/FlightLimits.h"

namespace {

FindingCode CodeOf(const FlightLimitProblem& p)
{
    if (p.kind == FlightLimitProblem::Kind::Order)
        return FindingCode::LimitOrder;
    if (p.key == CatalogueKey::FuelSlots)
        return FindingCode::FuelSlots;
    if (p.key == CatalogueKey::FuelDensity)
        return FindingCode::FuelDensity;
    return FindingCode::WeightLimit;
}

// "field 2 'x' is not a slot number", "'heavy' is not a number".
QString MessageOf(const FlightLimitProblem& p)
{
    QString message;
    if (p.field >= 0)
        message = QStringLiteral("field %1 ").arg(p.field + 1);
    if (!p.raw.isEmpty())
        message += Quoted(p.raw) + u' ';
    return message + p.what;
}

} // namespace

AircraftFindings CheckFlightLimits(const CatalogueSection& section)
{
    const FlightLimits limits = ReadFlightLimits(
        [&section](CatalogueKey key) {
            const CatalogueEntry* entry = section.Find(key);
            return entry ? entry->value : QString();
        },
        ReadCount(section, CatalogueKey::Slots).value, ReadsImperial(section));
    AircraftFindings found;
    for (const FlightLimitProblem& p : limits.problems)
        found << KeyFinding(section, section.Find(p.key), p.key, CodeOf(p), MessageOf(p));
    return found;
}
