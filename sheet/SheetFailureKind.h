// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why trx-sheet wrote no sheet: the kinds its JSON names in "error"."kind"
// and its manual page lists.
enum class SheetFailureKind
{
    Option,      // the command line cannot be used
    Catalogue,   // no catalogue found, or it cannot be read
    Aircraft,    // no aircraft of that name, or several begin with it
    Slot,        // an edit names no slot, or one the window never edits
    Value,       // the conversion refused an edit's value
    Load,        // the catalogue stops the load with an error box
    FlightKeys,  // a key for the whole flight is wrong (a limit, the fuel slots, the density)
    Fuel,        // fuel that is no amount, not in a fuel slot, or more than the slot holds
    Output,      // the PDF or the saved loading cannot be written, or the PDF's writer loaded
    Loading,     // the loading file cannot be read, does not fit its schema, or is damaged
    AircraftData // the aircraft's data changed since the loading was saved
};

// "option", "catalogue", "aircraft", "slot", "value", "load", "flight-keys",
// "fuel", "output", "loading", "aircraft-data".
QString SheetFailureKindName(SheetFailureKind kind);
