// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"
#include "sheet/SheetRun.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// The loading sheet as one JSON object: what the text says, and the failure
// when there is no sheet. Fields come in a fixed order.

// Raised when a field changes meaning or goes; new fields keep it.
constexpr int SheetFormatVersion = 1;

QByteArray SheetJson(const LoadingSheet& sheet);

// Why the command could not work out a sheet.
struct SheetError
{
    // "option", "catalogue", "aircraft", "slot", "value", "load".
    QString kind;
    QString message;  // as the message on stderr says it, unescaped
    QString errorBox; // the window's error box, for a refused value or a stopped load
    std::optional<QString> aircraft; // once chosen
    QStringList closest;             // an unknown aircraft: the names offered
    QStringList warnings;            // given before the failure
    std::optional<LoadOutcome> load; // a stopped load: where
};
QByteArray SheetErrorJson(const SheetError& error);

// The selector's names: {"format_version": 1, "aircraft": [...]}.
QByteArray AircraftListJson(const QStringList& names);
