// SPDX-License-Identifier: GPL-3.0-or-later
#include "AircraftLoad.h"

#include "Balance.h"
#include "Exceptions.h"
#include "IniSyntax.h"
#include "ListField.h"
#include "NumConv.h"

#include <algorithm>

namespace {

int ReadCount(const CatalogueValue& value, CatalogueKey key)
{
    int v = 0;
    return TryParseProfileInteger(value(key), v) ? v : DefaultOf(key);
}

} // namespace

QString LoadedCaption(const QString& section, const QString& make, const QString& model)
{
    return QStringLiteral("Trimwise Application - ") + section + QStringLiteral(" (") + make +
           u' ' + model + u')';
}

LoadOutcome LoadAircraft(const QString& section, const CatalogueValue& value, Sheet& sheet,
                         AircraftState& state, TArrowSeries& envelope, TArrowSeries& loadPath)
{
    LoadOutcome at;
    auto step = [&](LoadPhase phase, int index, int part) {
        at.phase = phase;
        at.index = index;
        at.part = part;
    };
    try {
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
        const QString envX = value(CatalogueKey::EnvelopeX);
        const QString envY = value(CatalogueKey::EnvelopeY);
        for (int i = 0; i < points; ++i) {
            step(LoadPhase::Envelope, i, 0);
            state.envelopeX[i] = static_cast<float>(ListFieldValue(i, envX));
            step(LoadPhase::Envelope, i, 1);
            state.envelopeY[i] = static_cast<float>(ListFieldValue(i, envY));
        }

        state.caption =
            LoadedCaption(section, value(CatalogueKey::Make), value(CatalogueKey::Model));
        sheet.SetRowCount(sheet.RowCount() + slotCount);

        const QString maxWeights = value(CatalogueKey::SlotsMaxWeight);
        const QString names = value(CatalogueKey::SlotsNames);
        state.slotMinPos.Allocate(slotCount);
        state.slotMaxPos.Allocate(slotCount);
        const QString minPos = value(CatalogueKey::SlotsMinPos);
        const QString maxPos = value(CatalogueKey::SlotsMaxPos);
        const QString weights = value(CatalogueKey::SlotsWeight);
        const QString positions = value(CatalogueKey::SlotsPos);
        for (int i = 0; i < slotCount; ++i) {
            const int r = i + firstSlotRow;
            step(LoadPhase::SlotFields, i, 0);
            sheet.SetCell(colMaxWeight, r,
                          FloatToStr(static_cast<double>(ListFieldValue(i, maxWeights))));
            sheet.SetCell(colItem, r, ListFieldText(i, names));
            sheet.SetCell(colWeight, r, ListFieldText(i, weights));
            sheet.SetCell(colPosition, r, ListFieldText(i, positions));
            step(LoadPhase::SlotFields, i, 1);
            state.slotMinPos[i] = static_cast<float>(ListFieldValue(i, minPos));
            step(LoadPhase::SlotFields, i, 2);
            state.slotMaxPos[i] = static_cast<float>(ListFieldValue(i, maxPos));
        }

        double maxWeight = 0;
        if (!TryParseProfileFloat(value(CatalogueKey::MaxWeight), maxWeight))
            maxWeight = DefaultOf(CatalogueKey::MaxWeight);
        state.maxTotalWeight = static_cast<float>(maxWeight);

        state.imperial = ReadCount(value, CatalogueKey::Unit) == ImperialUnit;
        if (state.imperial)
            for (int c = 0; c < sheetColumns; ++c)
                sheet.SetCell(c, 1, UnitLabel(SheetColumn(c), true));

        BalanceCursor cursor;
        try {
            ComputeBalance(sheet, state.envelopePoints, state.envelopeX, state.envelopeY, envelope,
                           loadPath, &cursor);
        } catch (const EConvertError&) {
            const int slot = cursor.row - firstSlotRow;
            if (cursor.loadPath)
                step(LoadPhase::LoadPath, slot, 0);
            else
                step(LoadPhase::TorquePass, slot, cursor.col == colPosition ? 0 : 1);
            throw;
        }
    } catch (const Exception& e) {
        at.errorBox = ErrorBoxText(e.Message());
        return at;
    }
    step(LoadPhase::Done, 0, 0);
    return at;
}
