// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/CatalogueFinding.h"
#include "check/CatalogueIndex.h"

#include <QList>
#include <QString>

// One aircraft as the program loads it by default: its load path's end.
struct AircraftSummary
{
    enum class Fit
    {
        Inside, // on or inside the envelope
        Outside,
        NoEnvelope // the envelope is open, degenerate or self-intersecting
    };
    QString section;
    qint64 line = 0;
    bool listed = false;
    // The error box a load shows, empty when the load and its Compute complete.
    QString loadError;
    int slotCount = 0;
    float weight = 0; // load path's end, single precision as the program keeps it
    float moment = 0;
    bool imperial = false;
    Fit fit = Fit::NoEnvelope;
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
