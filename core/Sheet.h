// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The loading sheet as the balance logic sees it: a grid of texts addressed
// (column, row), with the slot rows from row 2 to RowCount() - 1.
class Sheet
{
public:
    virtual ~Sheet() = default;
    virtual int RowCount() const = 0;
    virtual QString Cell(int col, int row) const = 0;
    virtual void SetCell(int col, int row, const QString& text) = 0;
};
