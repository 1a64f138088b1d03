// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FloatArray.h"
#include "core/Sheet.h"

#include <QString>

#include <functional>

// What an edit of a weight or a position checks once its cell holds the new
// text: the window shows each warning in a message box, the loading sheet
// command lists them.

// Only weights and positions of the slots after the first can be edited.
bool IsEditableCell(int col, int row);

QString ImpossiblePositionText();
QString SlotOverweightText();

// The limits an edit is checked against, as the main window keeps them.
struct EditLimits
{
    const TFloatArray& slotMinPos;
    const TFloatArray& slotMaxPos;
    float maxTotalWeight;
};

// For an editable cell (col, row): the position check, or the slot and total
// weight checks, each warning handed to `warn` when it is due and in the
// order the window shows them; then the row's torque cell. A cell that is not
// a number throws EConvertError, leaving what was done before it in place.
void CheckEdit(Sheet& sheet, int col, int row, const EditLimits& limits,
               const std::function<void(const QString& warning)>& warn);
