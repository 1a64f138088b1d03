// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Columns and first slot row of the loading sheet.
enum SheetColumn
{
    colItem = 0,
    colWeight = 1,
    colMaxWeight = 2,
    colPosition = 3,
    colTorque = 4
};
constexpr int firstSlotRow = 2;
constexpr int sheetColumns = colTorque + 1;

// The loading sheet as the balance logic sees it: a grid of texts addressed
// (column, row), with the slot rows from firstSlotRow to RowCount() - 1.
class Sheet
{
public:
    virtual ~Sheet() = default;
    virtual int RowCount() const = 0;
    // Rows beyond the new count are dropped; new rows hold empty texts.
    virtual void SetRowCount(int count) = 0;
    virtual QString Cell(int col, int row) const = 0;
    virtual void SetCell(int col, int row, const QString& text) = 0;
};
