// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/CatalogueFinding.h"
#include "check/CatalogueIndex.h"
#include "check/FindingCodes.h"
#include "core/AircraftLoad.h"

#include <QList>
#include <QString>

#include <optional>

// Where a load of the aircraft stops: the headless load's phase and, within
// it, the vertex or slot and the part.
struct LoadStep
{
    LoadPhase phase = LoadPhase::Done;
    int index = 0;
    int part = 0;
    bool operator==(const LoadStep&) const = default;
};

// A finding about one aircraft, as each part of its check returns it.
struct AircraftFinding
{
    CatalogueFinding finding;
    // Set for a finding that stops a load: the step where it does.
    std::optional<LoadStep> stop;
};
using AircraftFindings = QList<AircraftFinding>;

// A finding on `entry` of `section`, or on its missing `key` when `entry` is
// null; severity and code from the code table.
AircraftFinding KeyFinding(const CatalogueSection& section, const CatalogueEntry* entry,
                           CatalogueKey key, FindingCode code, const QString& message);
// A finding about the whole section, at its header.
AircraftFinding SectionFinding(const CatalogueSection& section, FindingCode code,
                               const QString& message);
// A finding for something that stops a load at `step` with the error box `box`.
AircraftFinding StopFinding(const CatalogueSection& section, const CatalogueEntry* entry,
                            CatalogueKey key, FindingCode code, const QString& message,
                            const QString& box, LoadStep step);
