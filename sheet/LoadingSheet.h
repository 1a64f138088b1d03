// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ArrowSeries.h"
#include "core/FlightJudgement.h"
#include "core/FuelAmount.h"
#include "core/LoadingJudgement.h"
#include "core/Sheet.h"
#include "loading/AircraftData.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Fuel as the command line gave it: loaded (--fuel), used before take-off
// (--taxi) or in flight (--burn).
struct FuelLine
{
    enum class Use
    {
        Load,
        Taxi,
        Burn
    };
    Use use = Use::Load;
    QString slot; // the slot's name as its item cell shows it
    FuelAmount amount;
    double weight = 0; // in the sheet's weight unit
};

// One aircraft's loading, worked out as the window works it out: what the
// loading sheet command writes as text, as JSON and as a PDF page.
struct LoadingSheet
{
    QString section; // the aircraft as the selector lists it
    QString make;
    QString model;
    QString caption; // the main window's caption after the load
    bool imperial = false;

    // The sheet's texts, cell by cell, as the window's sheet holds them:
    // row 0 the header, row 1 the units, then one row per slot.
    QList<std::array<QString, sheetColumns>> rows;

    // The loading judged once: where the load path ends, the centre of
    // gravity, the envelope's limits at the total weight, the verdict and the
    // margins. Every writer takes its figures and words from here.
    LoadingJudgement judgement;

    // The whole flight: ramp (the loading above), take-off, landing and zero
    // fuel, and the ways between them.
    FlightJudgement flight;
    // The fuel given, in order, and the density volumes were taken at.
    QList<FuelLine> fuel;
    double fuelDensity = 0;
    // The unit every volume given shares, to say where along a way something
    // happens in it too; Weight when there is none or they differ.
    FuelUnit volumeUnit = FuelUnit::Weight;

    // Every warning the edits gave, in order, as the window's message boxes
    // say them.
    QStringList warnings;

    // For the header: given on the command line, null when not.
    QString pilot;
    QString registration;
    QString flightId;
    QString from;
    QString to;
    QString preparedBy;
    QDateTime when;

    // Integrity: the fingerprints of the aircraft's data the sheet was made
    // from and of the loading (its data, changes, fuel and texts).
    QString dataFingerprint;
    QString loadingFingerprint;
    // The loading file read (--loading) or written (--save, which wins), as
    // given; empty when there is none.
    QString loadingFile;
    // A saved loading made again: when it was saved (null otherwise), whether
    // the sheet is of the aircraft's data as saved rather than as the
    // catalogue holds it now, whether the catalogue still has the aircraft,
    // and what changed in its data since.
    QDateTime savedOn;
    bool fromSavedData = false;
    bool aircraftGone = false;
    QList<AircraftDataChange> dataChanges;

    // The chart's two series, as the window's Compute leaves them.
    TArrowSeries envelope;
    TArrowSeries loadPath;
};
