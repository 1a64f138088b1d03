// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ArrowSeries.h"
#include "core/CatalogueSchema.h"
#include "core/FloatArray.h"
#include "core/Sheet.h"

#include <QString>

#include <functional>

// The one load of an aircraft, on a Sheet and an AircraftState: the main
// window's OK button reads through it and shows what it sets; the commands
// load through it headless, with the same steps, order and error box.

// What the main window keeps of the loaded aircraft.
struct AircraftState
{
    int envelopePoints = 0;
    TFloatArray envelopeX;
    TFloatArray envelopeY;
    TFloatArray slotMinPos;
    TFloatArray slotMaxPos;
    float maxTotalWeight = 0;
    bool imperial = false;
    QString caption; // the main window's caption, once the load has set it
};

// Where in a load something is taken: a load stops at the first failure in
// this order, and within a phase at the lowest (index, part).
enum class LoadPhase
{
    EnvelopeCount, // the EnvelopePoints refusal
    SlotCount,     // the Slots refusal
    Envelope,      // vertex by vertex: part 0 X, part 1 Y
    SlotFields,    // slot by slot: part 0 maximum weight, 1 minimum, 2 maximum position
    TorquePass,    // the Compute it ends with, row by row: part 0 position, 1 weight
    LoadPath,      // Compute reads each torque back
    Done           // the load and its Compute completed
};

struct LoadOutcome
{
    LoadPhase phase = LoadPhase::Done;
    int index = 0; // the vertex or slot, from 0
    int part = 0;
    // The error box's text ("." rule applied); empty when the load completed.
    QString errorBox;
    bool Completed() const { return phase == LoadPhase::Done; }
};

// The value of `key` in the aircraft's section as the reader gives it (at
// most 2047 characters), empty when the key is missing.
using CatalogueValue = std::function<QString(CatalogueKey key)>;

// Where a window shows what the load has set, at the moment the load sets it,
// so that a load stopping later leaves on screen what it had shown.
struct LoadSteps
{
    // The caption is known; called before the sheet grows.
    std::function<void(const QString& caption)> captionSet;
    // The aircraft is imperial; called before the units row is rewritten.
    std::function<void()> imperialUnits;
};

// The load without its Compute: reads the aircraft `section` into `sheet`
// (which holds only its header and units rows) and `state`. Throws
// ECatalogueError or EConvertError where the window's load stops, leaving
// what was done before in place.
void ReadAircraft(const QString& section, const CatalogueValue& value, Sheet& sheet,
                  AircraftState& state, const LoadSteps& steps = {});

// Loads the aircraft `section` into `sheet` (which holds only its header and
// units rows) and `state`, then computes the balance into the two series.
// Stops where the window's load stops, leaving what was done before in place.
LoadOutcome LoadAircraft(const QString& section, const CatalogueValue& value, Sheet& sheet,
                         AircraftState& state, TArrowSeries& envelope, TArrowSeries& loadPath);

// The main window's caption after loading `section`.
QString LoadedCaption(const QString& section, const QString& make, const QString& model);
