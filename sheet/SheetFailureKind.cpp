// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetFailureKind.h"

QString SheetFailureKindName(SheetFailureKind kind)
{
    switch (kind) {
    case SheetFailureKind::Option:
        return QStringLiteral("option");
    case SheetFailureKind::Catalogue:
        return QStringLiteral("catalogue");
    case SheetFailureKind::Aircraft:
        return QStringLiteral("aircraft");
    case SheetFailureKind::Slot:
        return QStringLiteral("slot");
    case SheetFailureKind::Value:
        return QStringLiteral("value");
    case SheetFailureKind::Load:
        return QStringLiteral("load");
    case SheetFailureKind::FlightKeys:
        return QStringLiteral("flight-keys");
    case SheetFailureKind::Fuel:
        return QStringLiteral("fuel");
    case SheetFailureKind::Output:
        return QStringLiteral("output");
    case SheetFailureKind::Loading:
        return QStringLiteral("loading");
    case SheetFailureKind::AircraftData:
        break;
    }
    return QStringLiteral("aircraft-data");
}
