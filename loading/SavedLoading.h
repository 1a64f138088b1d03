// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/IniSection.h"

#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>

// A loading as a file keeps it: enough to make the same sheet again, and
// the aircraft's catalogue entry as it was, to tell whether it changed.

// The layout written; a file of a later one is refused.
constexpr int LoadingFormatVersion = 1;

// A change made to the sheet, in the order made.
struct SavedChange
{
    enum class Kind
    {
        Weight, // a weight cell's text
        Arm,    // an arm (position) cell's text
        Fuel    // an amount of fuel loaded: `text` is the amount with its unit ("24gal")
    };
    Kind kind = Kind::Weight;
    QString slot; // as given: a name as the sheet shows it, or a number from 1
    QString text;

    bool operator==(const SavedChange&) const = default;
};

// Fuel used before take-off or in flight: the amount as given, unit and all.
struct SavedFuelUse
{
    QString slot;
    QString amount;

    bool operator==(const SavedFuelUse&) const = default;
};

struct SavedLoading
{
    int formatVersion = LoadingFormatVersion;
    QDateTime made; // UTC, to the second
    QString aircraft;
    QChar decimalSeparator = u'.';
    QList<IniEntry> data;    // the aircraft's catalogue entry
    QString dataFingerprint; // as the file gives it: AircraftDataFingerprint(data) when sound
    QList<SavedChange> changes;
    QList<SavedFuelUse> taxi;
    QList<SavedFuelUse> burn;
    // Null when not given.
    QString pilot;
    QString registration;
    QString flight;
    QString from;
    QString to;
    QString preparedBy;

    bool operator==(const SavedLoading&) const = default;
};
