// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"

#include <QByteArray>

// The loading sheet as text for a terminal: the aircraft, the rows with every
// cell's text as the window shows it, the totals, the centre of gravity, the
// envelope at the total weight, the verdict and the warnings. Numbers are
// written by FloatToStr, with the user's decimal separator; every text from
// the catalogue or the command line is escaped by TerminalText. UTF-8.
QByteArray SheetText(const LoadingSheet& sheet);

// Margins and limits shared by the writers: a moment divided by the total
// weight, in the sheet's position unit.
double PerWeight(const LoadingSheet& sheet, double moment);
