// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EditRules.h"

#include "core/Balance.h"
#include "core/NumConv.h"

bool IsEditableCell(int col, int row)
{
    return (col == colWeight || col == colPosition) && row > firstSlotRow;
}

QString ImpossiblePositionText()
{
    return QStringLiteral("Impossible position!");
}

QString SlotOverweightText()
{
    return QStringLiteral("Overweight in some positions!");
}

void CheckEdit(Sheet& sheet, int col, int row, const EditLimits& limits,
               const std::function<void(const QString& warning)>& warn)
{
    if (col == colPosition) {
        // Extended against the limits as stored, in single precision.
        const Extended p = StrToFloat(sheet.Cell(col, row));
        const int slot = row - firstSlotRow;
        if (p < limits.slotMinPos[slot] || p > limits.slotMaxPos[slot])
            warn(ImpossiblePositionText());
    }
    if (col == colWeight) {
        const Extended w = StrToFloat(sheet.Cell(colWeight, row));
        const Extended m = StrToFloat(sheet.Cell(colMaxWeight, row));
        if (w > m)
            warn(SlotOverweightText());
        const float total = TotalSlotWeight(sheet);
        if (total > limits.maxTotalWeight)
            warn(OverweightText(total, limits.maxTotalWeight));
    }
    sheet.SetCell(colTorque, row,
                  TorqueText(sheet.Cell(colPosition, row), sheet.Cell(colWeight, row)));
}
