// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "sheet/LoadingSheet.h"
#include "sheet/SheetOptions.h"

#include <QString>
#include <QStringList>

// A loading sheet worked out from a catalogue, with the window's own load,
// edit rules and envelope verdict.

// Why a loading sheet could not be worked out.
struct SheetFailure
{
    enum class Kind
    {
        Slot,  // an edit names no slot, or one the window never edits
        Value, // the conversion refused an edit's value
        Load   // the catalogue stops the load with an error box
    };
    Kind kind = Kind::Load;
    // What went wrong, without the program's name; texts from outside as
    // they are (not escaped).
    QString message;
    // Value and Load: the text of the window's error box.
    QString errorBox;
    // Load: where it stopped.
    LoadOutcome load;
};

// "load", "slot", "value".
QString FailureKindText(SheetFailure::Kind kind);
// "envelope-count", "slot-count", "envelope", "slot-fields", "torque-pass",
// "load-path", "done".
QString LoadPhaseText(LoadPhase phase);

// The aircraft `wanted` names among the `listed` names: the name equal to
// it, else the one name that begins with it ignoring case. Empty when none
// or several do; `closest` then holds the names to offer (the ones that
// begin with it, else the nearest by edit distance), at most five.
QString ChooseAircraft(const QStringList& listed, const QString& wanted, QStringList& closest);

// The row of the slot `slot` names in `sheet`: a slot's name as its item cell
// shows it, else its number counted from 1. -1 with `why` when there is no
// such slot, or it is the first one, which the window never edits.
int SlotRow(const Sheet& sheet, const QString& slot, QString& why);

// Loads `section` as the window's OK button does, then applies `edits` in
// order as its double click does (the cell gets the value's text, the edit
// rules check it, the balance is computed again), into `result`. False with
// `failure` when the load stops, an edit names no editable slot or a value is
// refused; `result` then holds the aircraft and the warnings given before.
bool ComputeLoadingSheet(const QString& section, const CatalogueValue& value,
                         const QList<SheetEdit>& edits, LoadingSheet& result,
                         SheetFailure& failure);

// The command's exit status for a sheet worked out: 0 inside the envelope
// with no warning, else 1 (outside, on the boundary, no envelope to judge
// against, or warnings).
int SheetStatus(const LoadingSheet& sheet);
