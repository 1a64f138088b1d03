// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/ComputeLoadingSheet.h"

#include "core/Balance.h"
#include "core/EditRules.h"
#include "core/Exceptions.h"
#include "core/FlightLimits.h"
#include "core/MemorySheet.h"
#include "core/NumConv.h"
#include "sheet/SlotChoice.h"

#include <algorithm>

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
                         const SheetOptions& options, LoadingSheet& result, SheetFailure& failure)
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

    const FlightLimits flightKeys =
        ReadFlightLimits(value, sheet.RowCount() - firstSlotRow, state.imperial);
    if (!flightKeys.problems.isEmpty()) {
        const FlightLimitProblem& p = flightKeys.problems.first();
        return Failed(
            failure, SheetFailureKind::FlightKeys,
            QStringLiteral("[%1] %2: '%3' %4").arg(section, KeyName(p.key), p.raw, p.what), result);
    }
    result.fuelDensity = flightKeys.fuelDensity;
    // The rows the catalogue names as fuel tanks; none when it names none.
    std::vector<int> fuelRows;
    for (int slot : flightKeys.fuelSlots)
        fuelRows.push_back(slot + firstSlotRow);
    const bool tanksNamed = !fuelRows.empty();
    // Fuel given on a slot: its row, once it is known to be a tank.
    auto fuelRow = [&](const QString& option, const QString& slot, int& row) {
        QString why;
        row = SlotRow(sheet, slot, why);
        if (row < 0)
            return Failed(failure, SheetFailureKind::Slot, option + QStringLiteral(": ") + why,
                          result);
        const bool tank = std::find(fuelRows.begin(), fuelRows.end(), row) != fuelRows.end();
        if (tanksNamed && !tank)
            return Failed(
                failure, SheetFailureKind::Fuel,
                QStringLiteral("%1: %2 is not a fuel slot (%3)")
                    .arg(option, sheet.Cell(colItem, row), KeyName(CatalogueKey::FuelSlots)),
                result);
        if (!tank)
            fuelRows.push_back(row);
        return true;
    };
    auto fuelAmount = [&](const QString& option, const QString& text, FuelAmount& amount) {
        if (ReadFuelAmount(text, amount))
            return true;
        return Failed(failure, SheetFailureKind::Fuel,
                      QStringLiteral("%1: '%2' is no amount of fuel: a weight, or a volume in L "
                                     "or gal, not negative")
                          .arg(option, text),
                      result);
    };
    std::vector<FuelUnit> volumeUnits;
    auto noteFuel = [&](FuelLine::Use use, int row, const FuelAmount& amount) {
        const double weight = FuelWeight(amount, result.fuelDensity, state.imperial);
        result.fuel << FuelLine{use, sheet.Cell(colItem, row), amount, weight};
        if (amount.unit != FuelUnit::Weight)
            volumeUnits.push_back(amount.unit);
        return weight;
    };

    const EditLimits limits{state.slotMinPos, state.slotMaxPos, state.maxTotalWeight};
    for (const SheetEdit& edit : options.edits) {
        int row = -1;
        QString text = edit.value;
        if (edit.fuel) {
            FuelAmount amount;
            if (!fuelRow(edit.option, edit.slot, row) ||
                !fuelAmount(edit.option, edit.value, amount))
                return false;
            const double weight = noteFuel(FuelLine::Use::Load, row, amount);
            // A weight goes in as typed, as --weight does; a volume as the
            // weight it makes.
            if (amount.unit != FuelUnit::Weight)
                text = FloatToStr(weight);
        } else {
            QString why;
            row = SlotRow(sheet, edit.slot, why);
            if (row < 0)
                return Failed(failure, SheetFailureKind::Slot,
                              edit.option + QStringLiteral(": ") + why, result);
        }
        // As the double click: the cell takes the text as typed, the edit
        // rules check it, and the window's Compute runs again.
        try {
            sheet.SetCell(edit.column, row, text);
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

    // The fuel used before take-off and in flight.
    std::vector<FuelUse> taxi;
    std::vector<FuelUse> burn;
    for (const auto* uses : {&options.taxi, &options.burn}) {
        const bool isTaxi = uses == &options.taxi;
        for (const FuelUseOption& use : *uses) {
            int row = -1;
            FuelAmount amount;
            if (!fuelRow(use.option, use.slot, row) || !fuelAmount(use.option, use.amount, amount))
                return false;
            const double weight =
                noteFuel(isTaxi ? FuelLine::Use::Taxi : FuelLine::Use::Burn, row, amount);
            (isTaxi ? taxi : burn).push_back(FuelUse{row, weight});
        }
    }
    const QString problem = FuelUseProblem(sheet, taxi, burn);
    if (!problem.isEmpty())
        return Failed(failure, SheetFailureKind::Fuel, problem, result);
    if (!volumeUnits.empty() && std::all_of(volumeUnits.begin(), volumeUnits.end(),
                                            [&](FuelUnit u) { return u == volumeUnits.front(); }))
        result.volumeUnit = volumeUnits.front();
    const ConditionLimits weightLimits{flightKeys.ramp, flightKeys.takeOff, flightKeys.landing,
                                       flightKeys.zeroFuel};
    result.flight = JudgeFlight(sheet, state, weightLimits, fuelRows, taxi, burn);
    return true;
}
