// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Sheet.h"

#include <QTableWidget>
#include <QTimer>
#include <exception>
#include <functional>

class QTableView;

// The loading sheet's grid: text cells addressed (column, row), row 0 a fixed
// heading row that never scrolls and never becomes current, one current cell
// and a rectangular range selection. Cells change only through SetCell.
//
// Events:
// - OnClick on the left-button release after a press on an ordinary cell,
//   and whenever a navigation key moves the current cell;
//   a press on the heading row or on the empty area around the cells makes
//   nothing current and fires nothing; a drag selects a range while the
//   pressed cell stays current; Shift+press extends the range to the
//   pressed cell, which becomes current;
// - OnDblClick on the second press of a left double click anywhere in the
//   grid, acting on the current cell; and, for the keyboard, on F2, Return
//   or keypad Enter while the grid has the focus, without OnClick.
// Handlers may throw; the exception leaves the Qt event handler and the
// application object shows it. One exception to that: an error thrown by
// OnClick on a mouse release is held back until it is certain no double click
// follows, so that its modal box cannot swallow the second press.
class TStringGrid : public QTableWidget, public Sheet
{
    Q_OBJECT
public:
    static constexpr int DefaultColWidth = 62;
    static constexpr int DefaultRowHeight = 24;
    static constexpr int GridLineWidth = 1;

    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    int RowCount() const override;
    // At least 1 (the heading row); new rows are empty.
    void SetRowCount(int count) override;
    int ColCount() const { return columnCount(); }

    // Out-of-range cells read as "" and ignore writes.
    QString Cell(int col, int row) const override;
    void SetCell(int col, int row, const QString& text) override;

    // The current cell; Row() is 0 only while the grid has no ordinary row.
    int Col() const;
    int Row() const;
    // Ignored for the heading row and for cells outside the grid.
    void SetCurrentCell(int col, int row);

    // The selected range, corners included.
    QRect Selection() const;

    // Widths and heights exclude the 1-pixel grid line, which is drawn as
    // part of each cell by the view.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight() const { return DefaultRowHeight; }

    // The cell's rectangle in viewport() coordinates; the heading row lies
    // above the viewport (negative y). Empty for cells outside the grid.
    QRect CellRect(int col, int row) const;

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void updateGeometries() override;

private:
    enum class Hit
    {
        Cell,
        Heading,
        Empty
    };
    static CursorAction ActionForKey(int key);
    void FireDblClick();
    Hit HitTest(const QPoint& viewportPos, int* col, int* row) const;
    void Press(QMouseEvent* e, Hit hit, int col, int row);
    void Release(QMouseEvent* e);
    void DoubleClick(QMouseEvent* e);
    void SelectRange(int anchorCol, int anchorRow, int endCol, int endRow);
    void MakeCurrent(int col, int row, bool extend);
    void FireClickFromMouse();
    void ShowHeldError();
    void PlaceHeading();
    void InitRow(int row);

    QTableView* m_heading = nullptr;
    bool m_pressedOnCell = false;
    QPoint m_anchor{0, 1};
    std::exception_ptr m_heldError;
    QTimer m_heldErrorTimer;
};
