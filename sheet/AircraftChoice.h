// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The aircraft a command line names among those the selector lists.

// The aircraft `wanted` names among the `listed` names: the name equal to
// it, else the one name that begins with it ignoring case. Empty when none
// or several do; `closest` then holds the names to offer (the ones that
// begin with it, else the nearest by edit distance), at most five.
QString ChooseAircraft(const QStringList& listed, const QString& wanted, QStringList& closest);

// Why `wanted` names no one aircraft, offering `closest` as ChooseAircraft
// gave them; texts from outside as they are (not escaped).
QString NoAircraftMessage(const QString& wanted, const QStringList& closest);
