// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/ComputeLoadingSheet.h"

#include "core/Balance.h"
#include "core/EditRules.h"
#include "core/Exceptions.h"
#include "core/MemorySheet.h"
#include "sheet/SlotChoice.h"

namespace {

// Fills the failure's kind and the texts every kind gives.
bool Failed(SheetFailure& failure, SheetFailureKind kind, const QString& message,
            const LoadingSheet& result)
{
    failure.kind = kind;
    failure.message = message;
    failure.aircraft = result.section;
    failure.warnings = result.warnings;
    return false;
}

} // namespace

bool ComputeLoadingSheet(const QString& section, const CatalogueValue& value,
                         const QList<SheetEdit>& edits, LoadingSheet& result, SheetFailure& failure)
{
    result.section = section;
    result.make = value(CatalogueKey::Make);
    result.model = value(CatalogueKey::Model);

    // The window's sheet before a load: the header and the metric units.
    MemorySheet sheet(firstSlotRow);
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
        failure.errorBox = load.errorBox;
        failure.load = load;
        return Failed(failure, SheetFailureKind::Load,
                      QStringLiteral("[%1] cannot be loaded: %2").arg(section, load.errorBox),
                      result);
    }

    const EditLimits limits{state.slotMinPos, state.slotMaxPos, state.maxTotalWeight};
    for (const SheetEdit& edit : edits) {
        QString why;
        const int row = SlotRow(sheet, edit.slot, why);
        if (row < 0)
            return Failed(failure, SheetFailureKind::Slot, edit.option + QStringLiteral(": ") + why,
                          result);
        // As the double click: the cell takes the text as typed, the edit
        // rules check it, and the window's Compute runs again.
        try {
            sheet.SetCell(edit.column, row, edit.value);
            CheckEdit(sheet, edit.column, row, limits,
                      [&](const QString& warning) { result.warnings << warning; });
            ComputeBalance(sheet, state.envelopePoints, state.envelopeX, state.envelopeY,
                           result.envelope, result.loadPath);
        } catch (const Exception& e) {
            failure.errorBox = ErrorBoxText(e.Message());
            return Failed(failure, SheetFailureKind::Value,
                          edit.option + QStringLiteral(": ") + failure.errorBox, result);
        }
    }

    result.rows.clear();
    for (int r = 0; r < sheet.RowCount(); ++r) {
        std::array<QString, sheetColumns> row;
        for (int c = 0; c < sheetColumns; ++c)
            row[static_cast<size_t>(c)] = sheet.Cell(c, r);
        result.rows << row;
    }
    result.judgement = EvaluateLoading(state, result.loadPath);
    return true;
}
