// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AircraftLoad.h"

#include "core/Balance.h"
#include "core/Exceptions.h"
#include "core/IniSyntax.h"
#include "core/ListField.h"
#include "core/NumConv.h"

#include <algorithm>

namespace {

// The fields of the list `key`, split once: field i is what ListFieldText(i)
// gives, and a field past the end is missing (empty), as it is there. Taking
// them one by one from the text would scan it again for every field.
QStringList ReadList(const CatalogueValue& value, CatalogueKey key)
{
    return ListFields(value(key));
}

int ReadCount(const CatalogueValue& value, CatalogueKey key)
{
    int v = 0;
    return TryParseProfileInteger(value(key), v) ? v : DefaultOf(key);
}

void MarkStep(LoadOutcome& at, LoadPhase phase, int index, int part)
{
    at.phase = phase;
    at.index = index;
    at.part = part;
}

// The load up to its Compute; `at` follows the step in progress.
void Read(const QString& section, const CatalogueValue& value, Sheet& sheet, AircraftState& state,
          const LoadSteps& steps, LoadOutcome& at)
{
    auto step = [&at](LoadPhase phase, int index, int part) { MarkStep(at, phase, index, part); };
    const int slotCount = std::max(0, ReadCount(value, CatalogueKey::Slots));
    const int points = std::max(0, ReadCount(value, CatalogueKey::EnvelopePoints));
    step(LoadPhase::EnvelopeCount, 0, 0);
    if (points > MaxListCount)
        throw ECatalogueError(CountRefusalText(section, CatalogueKey::EnvelopePoints, points));
    step(LoadPhase::SlotCount, 0, 0);
    if (slotCount > MaxListCount)
        throw ECatalogueError(CountRefusalText(section, CatalogueKey::Slots, slotCount));

    state.envelopePoints = points;
    state.envelopeX.Allocate(points);
    state.envelopeY.Allocate(points);
    const QStringList envX = ReadList(value, CatalogueKey::EnvelopeX);
    const QStringList envY = ReadList(value, CatalogueKey::EnvelopeY);
    for (int i = 0; i < points; ++i) {
        step(LoadPhase::Envelope, i, 0);
        state.envelopeX[i] = static_cast<float>(StrToFloat(envX.value(i)));
        step(LoadPhase::Envelope, i, 1);
        state.envelopeY[i] = static_cast<float>(StrToFloat(envY.value(i)));
    }

    state.caption = LoadedCaption(section, value(CatalogueKey::Make), value(CatalogueKey::Model));
    if (steps.captionSet)
        steps.captionSet(state.caption);
    sheet.SetRowCount(sheet.RowCount() + slotCount);

    const QStringList maxWeights = ReadList(value, CatalogueKey::SlotsMaxWeight);
    const QStringList names = ReadList(value, CatalogueKey::SlotsNames);
    state.slotMinPos.Allocate(slotCount);
    state.slotMaxPos.Allocate(slotCount);
    const QStringList minPos = ReadList(value, CatalogueKey::SlotsMinPos);
    const QStringList maxPos = ReadList(value, CatalogueKey::SlotsMaxPos);
    const QStringList weights = ReadList(value, CatalogueKey::SlotsWeight);
    const QStringList positions = ReadList(value, CatalogueKey::SlotsPos);
    for (int i = 0; i < slotCount; ++i) {
        const int r = i + firstSlotRow;
        step(LoadPhase::SlotFields, i, 0);
        sheet.SetCell(colMaxWeight, r,
                      FloatToStr(static_cast<double>(StrToFloat(maxWeights.value(i)))));
        sheet.SetCell(colItem, r, names.value(i));
        sheet.SetCell(colWeight, r, weights.value(i));
        sheet.SetCell(colPosition, r, positions.value(i));
        step(LoadPhase::SlotFields, i, 1);
        state.slotMinPos[i] = static_cast<float>(StrToFloat(minPos.value(i)));
        step(LoadPhase::SlotFields, i, 2);
        state.slotMaxPos[i] = static_cast<float>(StrToFloat(maxPos.value(i)));
    }

    double maxWeight = 0;
    if (!TryParseProfileFloat(value(CatalogueKey::MaxWeight), maxWeight))
        maxWeight = DefaultOf(CatalogueKey::MaxWeight);
    state.maxTotalWeight = static_cast<float>(maxWeight);

    state.imperial = ReadCount(value, CatalogueKey::Unit) == ImperialUnit;
    if (state.imperial) {
        if (steps.imperialUnits)
            steps.imperialUnits();
        for (int c = 0; c < sheetColumns; ++c)
            sheet.SetCell(c, 1, UnitLabel(SheetColumn(c), true));
    }
}

} // namespace

QString LoadedCaption(const QString& section, const QString& make, const QString& model)
{
    return QStringLiteral("Trimwise Application - ") + section + QStringLiteral(" (") + make +
           u' ' + model + u')';
}

void ReadAircraft(const QString& section, const CatalogueValue& value, Sheet& sheet,
                  AircraftState& state, const LoadSteps& steps)
{
    LoadOutcome at;
    Read(section, value, sheet, state, steps, at);
}

LoadOutcome LoadAircraft(const QString& section, const CatalogueValue& value, Sheet& sheet,
                         AircraftState& state, TArrowSeries& envelope, TArrowSeries& loadPath)
{
    LoadOutcome at;
    try {
        Read(section, value, sheet, state, {}, at);
        BalanceCursor cursor;
        try {
            ComputeBalance(sheet, state.envelopePoints, state.envelopeX, state.envelopeY, envelope,
                           loadPath, &cursor);
        } catch (const EConvertError&) {
            const int slot = cursor.row - firstSlotRow;
            if (cursor.loadPath)
                MarkStep(at, LoadPhase::LoadPath, slot, 0);
            else
                MarkStep(at, LoadPhase::TorquePass, slot, cursor.col == colPosition ? 0 : 1);
            throw;
        }
    } catch (const Exception& e) {
        at.errorBox = ErrorBoxText(e.Message());
        return at;
    }
    return LoadOutcome{};
}
