// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "core/CatalogueSchema.h"

#include <QList>
#include <QString>

#include <optional>

// The keys that judge a whole flight (ramp, take-off, landing, zero fuel):
// read in one place for trx-check and trx-sheet. The window reads none of them.

// Something wrong with one of those keys.
struct FlightLimitProblem
{
    enum class Kind
    {
        NotANumber,    // the conversion rejects it
        NotPositive,   // 0, negative, or 0 once held as a double
        BeyondRange,   // infinite once held as a double
        NotASlot,      // a fuel slot field that is no whole number
        NoSuchSlot,    // a fuel slot past the aircraft's last
        EmptyAircraft, // fuel slot 1: the empty aircraft, never edited
        RepeatedSlot,  // a fuel slot named twice
        Unended,       // text after the last ";": no field
        Order          // limits in an impossible order
    };
    CatalogueKey key = CatalogueKey::Unknown;
    Kind kind = Kind::NotANumber;
    // FuelSlots: the field, counted from 0; -1 when the problem is the whole value.
    int field = -1;
    // The text at fault as read: the field, the text after the last ";", or
    // the whole value.
    QString raw;
    // What is wrong, to follow the quoted raw text: "is not a number",
    // "is above MaxLandingWeight (800)".
    QString what;
};

struct FlightLimits
{
    // In the catalogue's weight unit; empty when the key is missing, empty or
    // has a problem. takeOff is MaxWeight as the window reads it, when positive.
    std::optional<double> ramp;
    std::optional<double> takeOff;
    std::optional<double> landing;
    std::optional<double> zeroFuel;
    // The fuel tanks: slot indices counted from 0 (slot row minus the first
    // slot row, as AircraftState's arrays count), in the order given, each
    // once; the fields with a problem are left out.
    QList<int> fuelSlots;
    // Weight per volume: kg per litre, or lb per US gallon when imperial; the
    // unit's default when missing or with a problem.
    double fuelDensity = MetricFuelDensity;
    bool fuelDensityGiven = false;
    // In the order of the keys, each list's fields in order, the order's last.
    QList<FlightLimitProblem> problems;
};

// Reads the flight's keys of one aircraft with `slotCount` slots (Slots as
// the load reads it, negative as 0). Numbers go through StrToFloat with the
// current decimal separator, FuelSlots through the list syntax. Reports, for
// keys that are present only: a limit or density that is not a positive
// finite double; a fuel slot that is not a whole number, does not exist, is
// the first slot or repeats one; and, among the limits that are given,
// zero fuel above landing above take-off above ramp (checked between
// neighbours, the problem on the lower one, or on the ramp limit when the
// lower one is MaxWeight, whose own faults the window's rules report).
FlightLimits ReadFlightLimits(const CatalogueValue& value, int slotCount, bool imperial);
