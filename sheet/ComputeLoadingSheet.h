// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "sheet/LoadingSheet.h"
#include "sheet/SheetFailure.h"
#include "sheet/SheetOptions.h"

#include <QList>
#include <QString>

// Loads `section` as the window's OK button does, then applies the edits of
// `options` in order as its double click does (the cell gets the value's
// text, the edit rules check it, the balance is computed again; --fuel
// gives the weight its amount makes), and judges the loading and the whole
// flight with its taxi and burn, into `result`. False with `failure` (the
// aircraft and the warnings given before) when the load stops, the flight's
// keys are wrong, an edit names no editable slot, a value is refused or the
// fuel cannot be used so; `result` then holds the aircraft and those
// warnings.
bool ComputeLoadingSheet(const QString& section, const CatalogueValue& value,
                         const SheetOptions& options, LoadingSheet& result, SheetFailure& failure);
