// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetRun.h"

#include "cli/ClosestNames.h"
#include "cli/CommandOutput.h"
#include "core/Balance.h"
#include "core/EditRules.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "core/TextSheet.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int MaxOffered = 5;

} // namespace

QString FailureKindText(SheetFailure::Kind kind)
{
    switch (kind) {
    case SheetFailure::Kind::Slot:
        return QStringLiteral("slot");
    case SheetFailure::Kind::Value:
        return QStringLiteral("value");
    case SheetFailure::Kind::Load:
        break;
    }
    return QStringLiteral("load");
}

QString LoadPhaseText(LoadPhase phase)
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

QString ChooseAircraft(const QStringList& listed, const QString& wanted, QStringList& closest)
{
    closest.clear();
    if (listed.contains(wanted))
        return wanted;
    for (const QString& name : listed)
        if (name.startsWith(wanted, Qt::CaseInsensitive) && !closest.contains(name))
            closest << name;
    if (closest.size() == 1)
        return closest.takeFirst();
    // Among names as near, the selector's order.
    if (closest.isEmpty())
        closest = ClosestNames(wanted, listed, MaxOffered);
    closest = closest.mid(0, MaxOffered);
    return QString();
}

int SlotRow(const Sheet& sheet, const QString& slot, QString& why)
{
    int row = -1;
    QList<int> named;
    for (int r = firstSlotRow; r < sheet.RowCount(); ++r)
        if (sheet.Cell(colItem, r) == slot)
            named << r;
    const int slotCount = sheet.RowCount() - firstSlotRow;
    if (named.size() > 1) {
        QStringList numbers;
        for (int r : std::as_const(named))
            numbers << QString::number(r - firstSlotRow + 1);
        why = QStringLiteral("%1 slots are named '%2' (%3): give the number")
                  .arg(named.size())
                  .arg(slot, numbers.join(QStringLiteral(", ")));
        return -1;
    }
    if (named.size() == 1) {
        row = named.first();
    } else {
        bool digits = !slot.isEmpty() && slot.size() <= 9;
        for (QChar c : slot)
            digits = digits && c >= u'0' && c <= u'9';
        const int number = digits ? slot.toInt() : 0;
        if (!digits || number < 1 || number > slotCount) {
            QStringList names;
            for (int r = firstSlotRow; r < sheet.RowCount() && names.size() < 10; ++r)
                names << QStringLiteral("%1 '%2'")
                             .arg(r - firstSlotRow + 1)
                             .arg(sheet.Cell(colItem, r));
            if (sheet.RowCount() - firstSlotRow > names.size())
                names << QStringLiteral("...");
            why = digits ? QStringLiteral("no slot %1: the aircraft has %2 slots")
                               .arg(slot)
                               .arg(slotCount)
                         : QStringLiteral("no slot named '%1'").arg(slot);
            if (slotCount > 0)
                why += QStringLiteral("; the slots are ") + names.join(QStringLiteral(", "));
            return -1;
        }
        row = number - 1 + firstSlotRow;
    }
    if (!IsEditableCell(colWeight, row)) {
        why = QStringLiteral("slot 1 ('%1') cannot be changed: the window changes only the "
                             "slots after the first")
                  .arg(sheet.Cell(colItem, row));
        return -1;
    }
    return row;
}

bool ComputeLoadingSheet(const QString& section, const CatalogueValue& value,
                         const QList<SheetEdit>& edits, LoadingSheet& result, SheetFailure& failure)
{
    result.section = section;
    result.make = value(CatalogueKey::Make);
    result.model = value(CatalogueKey::Model);

    // The window's sheet before a load: the header and the metric units.
    TextSheet sheet(firstSlotRow);
    for (int c = 0; c < sheetColumns; ++c) {
        sheet.SetCell(c, 0, HeaderLabel(SheetColumn(c)));
        sheet.SetCell(c, 1, UnitLabel(SheetColumn(c), false));
    }
    AircraftState state;
    const LoadOutcome load =
        LoadAircraft(section, value, sheet, state, result.envelope, result.loadPath);
    result.caption = state.caption;
    result.imperial = state.imperial;
    if (!load.Completed()) {
        failure.kind = SheetFailure::Kind::Load;
        failure.errorBox = load.errorBox;
        failure.message = load.errorBox;
        failure.load = load;
        return false;
    }

    const EditLimits limits{state.slotMinPos, state.slotMaxPos, state.maxTotalWeight};
    for (const SheetEdit& edit : edits) {
        QString why;
        const int row = SlotRow(sheet, edit.slot, why);
        if (row < 0) {
            failure.kind = SheetFailure::Kind::Slot;
            failure.message = edit.option + QStringLiteral(": ") + why;
            return false;
        }
        // As the double click: the cell takes the text as typed, the edit
        // rules check it, and the window's Compute runs again.
        try {
            sheet.SetCell(edit.column, row, edit.value);
            CheckEdit(sheet, edit.column, row, limits,
                      [&](const QString& warning) { result.warnings << warning; });
            ComputeBalance(sheet, state.envelopePoints, state.envelopeX, state.envelopeY,
                           result.envelope, result.loadPath);
        } catch (const Exception& e) {
            failure.kind = SheetFailure::Kind::Value;
            failure.errorBox = ErrorBoxText(e.Message());
            failure.message = edit.option + QStringLiteral(": ") + failure.errorBox;
            return false;
        }
    }

    result.rows.clear();
    for (int r = 0; r < sheet.RowCount(); ++r) {
        std::array<QString, sheetColumns> row;
        for (int c = 0; c < sheetColumns; ++c)
            row[static_cast<size_t>(c)] = sheet.Cell(c, r);
        result.rows << row;
    }
    const LoadPathEnd end = EndOfLoadPath(result.loadPath);
    result.totalWeight = end.weight;
    result.totalMoment = end.moment;
    const double weight = end.weight;
    const double moment = end.moment;
    result.centreOfGravity = weight != 0 && std::isfinite(weight) && std::isfinite(moment)
                                 ? FloatToStr(moment / weight)
                                 : QString();
    std::vector<float> x;
    std::vector<float> y;
    for (int i = 0; i < state.envelopePoints; ++i) {
        x.push_back(state.envelopeX[i]);
        y.push_back(state.envelopeY[i]);
    }
    result.verdict = JudgeLoading(EnvelopeShape(std::move(x), std::move(y)), moment, weight);
    return true;
}

int SheetStatus(const LoadingSheet& sheet)
{
    return sheet.verdict.fit == EnvelopeVerdict::Fit::Inside && sheet.warnings.isEmpty()
               ? CommandOutput::ExitOk
               : CommandOutput::ExitFindings;
}
