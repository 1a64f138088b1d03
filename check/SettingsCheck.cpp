// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/SettingsCheck.h"

#include "check/FindingText.h"
#include "core/Extended.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"

#include <cmath>

AircraftFindings CheckMaxWeight(const CatalogueSection& section)
{
    const CatalogueEntry* entry = section.Find(CatalogueKey::MaxWeight);
    const QString text = entry ? entry->value : QString();
    const QString consequence = QStringLiteral("the maximum total weight is 0, so every weight "
                                               "edit warns \"Overweight\"");
    auto warn = [&](const QString& message) -> AircraftFindings {
        return {
            KeyFinding(section, entry, CatalogueKey::MaxWeight, FindingCode::MaxWeight, message)};
    };
    auto range = [&](const QString& message) -> AircraftFindings {
        return {
            KeyFinding(section, entry, CatalogueKey::MaxWeight, FindingCode::OutOfRange, message)};
    };
    Extended raw = 0;
    double value = 0;
    if (!entry)
        return warn(QStringLiteral("missing: ") + consequence);
    if (text.isEmpty())
        return warn(QStringLiteral("is empty: ") + consequence);
    if (!TryStrToFloat(text, raw))
        return warn(QStringLiteral("%1 is not a number: ").arg(Quoted(text)) + consequence);
    if (!TryParseProfileFloat(text, value))
        return range(QStringLiteral("%1 is beyond the range of a double: read as 0, so every "
                                    "weight edit warns \"Overweight\"")
                         .arg(Quoted(text)));
    if (value == 0 && raw != 0)
        return range(QStringLiteral("%1 becomes 0 in double precision: ").arg(Quoted(text)) +
                     consequence);
    if (std::isinf(static_cast<float>(value)))
        return range(QStringLiteral("%1 is infinite in single precision, as the program keeps "
                                    "it: no total is ever over it")
                         .arg(Quoted(text)));
    if (static_cast<float>(value) == 0 && value != 0)
        return range(QStringLiteral("%1 becomes 0 in single precision, as the program keeps it: ")
                         .arg(Quoted(text)) +
                     consequence);
    if (value == 0)
        return warn(QStringLiteral("is 0: every weight edit warns \"Overweight\""));
    if (value < 0)
        return warn(QStringLiteral("is negative (%1): every weight edit warns \"Overweight\"")
                        .arg(Excerpt(text)));
    return {};
}

AircraftFindings CheckUnit(const CatalogueSection& section)
{
    const CatalogueEntry* entry = section.Find(CatalogueKey::Unit);
    if (!entry)
        return {};
    int unit = 0;
    if (!TryParseProfileInteger(entry->value, unit))
        return {KeyFinding(section, entry, CatalogueKey::Unit, FindingCode::Unit,
                           QStringLiteral("%1 is not an integer: the labels are metric")
                               .arg(Quoted(entry->value)))};
    // The default unit is the metric one.
    const int metric = DefaultOf(CatalogueKey::Unit);
    if (unit != metric && unit != ImperialUnit)
        return {KeyFinding(section, entry, CatalogueKey::Unit, FindingCode::Unit,
                           QStringLiteral("is %1, but only %2 (imperial) and %3 (metric) mean "
                                          "anything: the labels are metric")
                               .arg(unit)
                               .arg(ImperialUnit)
                               .arg(metric))};
    return {};
}

bool ReadsImperial(const CatalogueSection& section)
{
    const CatalogueEntry* entry = section.Find(CatalogueKey::Unit);
    int unit = 0;
    return entry && TryParseProfileInteger(entry->value, unit) && unit == ImperialUnit;
}
