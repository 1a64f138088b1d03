// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Sheet.h"

#include <vector>

// A loading sheet held in memory: its columns of texts, as the window's sheet
// holds them, for running the balance logic without a window.
class MemorySheet : public Sheet
{
public:
    explicit MemorySheet(int rowCount)
        : m_rows(rowCount), m_cells(static_cast<size_t>(rowCount) * sheetColumns)
    {
    }
    int RowCount() const override { return m_rows; }
    void SetRowCount(int count) override
    {
        m_rows = count > 0 ? count : 0;
        m_cells.resize(static_cast<size_t>(m_rows) * sheetColumns);
    }
    QString Cell(int col, int row) const override
    {
        return Inside(col, row) ? m_cells[Index(col, row)] : QString();
    }
    void SetCell(int col, int row, const QString& text) override
    {
        if (Inside(col, row))
            m_cells[Index(col, row)] = text;
    }

private:
    bool Inside(int col, int row) const
    {
        return col >= 0 && col < sheetColumns && row >= 0 && row < m_rows;
    }
    static size_t Index(int col, int row) { return static_cast<size_t>(row) * sheetColumns + col; }

    int m_rows;
    std::vector<QString> m_cells;
};
