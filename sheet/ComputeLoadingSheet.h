// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "sheet/LoadingSheet.h"
#include "sheet/SheetFailure.h"
#include "sheet/SheetOptions.h"

#include <QList>
#include <QString>

// Loads `section` as the window's OK button does, then applies `edits` in
// order as its double click does (the cell gets the value's text, the edit
// rules check it, the balance is computed again), and judges the loading,
// into `result`. False with `failure` (kind Load, Slot or Value, the
// aircraft and the warnings given before) when the load stops, an edit names
// no editable slot or a value is refused; `result` then holds the aircraft
// and those warnings.
bool ComputeLoadingSheet(const QString& section, const CatalogueValue& value,
                         const QList<SheetEdit>& edits, LoadingSheet& result,
                         SheetFailure& failure);
