// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetFailure.h"

SheetFailure MakeSheetFailure(SheetFailureKind kind, const QString& message)
{
    SheetFailure failure;
    failure.kind = kind;
    failure.message = message;
    return failure;
}

QString LoadPhaseName(LoadPhase phase)
{
    switch (phase) {
    case LoadPhase::EnvelopeCount:
        return QStringLiteral("envelope-count");
    case LoadPhase::SlotCount:
        return QStringLiteral("slot-count");
    case LoadPhase::Envelope:
        return QStringLiteral("envelope");
    case LoadPhase::SlotFields:
        return QStringLiteral("slot-fields");
    case LoadPhase::TorquePass:
        return QStringLiteral("torque-pass");
    case LoadPhase::LoadPath:
        return QStringLiteral("load-path");
    case LoadPhase::Done:
        break;
    }
    return QStringLiteral("done");
}
