// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Sheet.h"

#include <QString>

// The row of the slot `slot` names in `sheet`: a slot's name as its item cell
// shows it, else its number counted from 1. -1 with `why` when there is no
// such slot, or it is the first one, which the window never edits.
int SlotRow(const Sheet& sheet, const QString& slot, QString& why);
