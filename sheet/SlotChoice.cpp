// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SlotChoice.h"

#include "core/EditRules.h"

#include <QList>
#include <QStringList>

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
