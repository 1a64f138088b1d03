// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/CatalogueFinding.h"
#include "check/CatalogueIndex.h"
#include "core/LoadingJudgement.h"

#include <QList>
#include <QString>

// One aircraft as the program loads it by default: its loading judged.
struct AircraftSummary
{
    QString section;
    qint64 line = 0;
    bool listed = false;
    // The error box a load shows, empty when the load and its Compute complete.
    QString loadError;
    int slotCount = 0;
    bool imperial = false;
    // The default loading: where its load path ends, its centre of gravity
    // and its verdict. Untouched (nothing loaded, no envelope) when the load
    // stops or the aircraft has no slot.
    LoadingJudgement loading;
};

// What the checker finds in one aircraft, and its default loading.
struct AircraftResult
{
    AircraftSummary summary;
    QList<CatalogueFinding> findings; // in no particular order: `order` places each in the file
};

// Checks one aircraft (the first section of its name) as a load reads it: its
// keys, lists, envelope, slots and settings, then its load by the headless
// load. The finding where that load stops is marked and its box is the
// summary's load error.
AircraftResult CheckAircraft(const CatalogueSection& section);
