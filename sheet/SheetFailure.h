// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "loading/AircraftData.h"
#include "sheet/SheetFailureKind.h"

#include <QString>
#include <QStringList>

#include <optional>

// Why trx-sheet could not work out or write a sheet: what every writer says
// in its format instead of the sheet.
struct SheetFailure
{
    SheetFailureKind kind = SheetFailureKind::Load;
    // What went wrong, as the message on standard error says it after the
    // program's name; texts from outside as they are (not escaped).
    QString message;
    // Value and Load: the text of the window's error box.
    QString errorBox;
    // The aircraft, once chosen.
    std::optional<QString> aircraft;
    // Aircraft: the names offered instead, at most five.
    QStringList closest;
    // The warnings the edits gave before the failure, in order.
    QStringList warnings;
    // Load: where it stopped.
    std::optional<LoadOutcome> load;
    // AircraftData: what changed since the loading was saved.
    QList<AircraftDataChange> dataChanges;
};

// A failure of `kind` that says `message`.
SheetFailure MakeSheetFailure(SheetFailureKind kind, const QString& message);

// Where a stopped load stopped, as JSON names it: "envelope-count",
// "slot-count", "envelope", "slot-fields", "torque-pass", "load-path", "done".
QString LoadPhaseName(LoadPhase phase);
