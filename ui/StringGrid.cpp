// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StringGrid.h"

#include "ui/Application.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <utility>

namespace {

const int RowPitch = TStringGrid::DefaultRowHeight + TStringGrid::GridLineWidth;
const int ColPitch = TStringGrid::DefaultColWidth + TStringGrid::GridLineWidth;

// The heading row is painted in the button-face colour, read from the palette
// at paint time so a theme change follows.
class HeadingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->backgroundBrush = option->palette.button();
        option->palette.setBrush(QPalette::Text, option->palette.buttonText());
    }
};

bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

// The keys that edit the current cell as a double click does; modifiers
// other than the keypad's leave them to the window.
bool IsEditKey(const QKeyEvent* e)
{
    if (e->modifiers() & ~Qt::KeypadModifier)
        return false;
    return e->key() == Qt::Key_F2 || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent)
{
    // Headers hidden before there are sections: a visible header would measure
    // its labels, loading the bold font of header labels for nothing.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(false);
    verticalHeader()->setSectionsMovable(false);
    horizontalHeader()->setDefaultSectionSize(ColPitch);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowPitch);
    // The sheet's columns; the heading row and the units row.
    setColumnCount(sheetColumns);
    setRowCount(firstSlotRow);
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, ColPitch);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setCornerButtonEnabled(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Grid"));

    // Row 0 stays in the model (so it is a row like any other for readers
    // and screen readers) but is shown by a one-row view pinned above the
    // scrolling body, so it never scrolls away.
    m_heading = new QTableView(this);
    m_heading->horizontalHeader()->hide();
    m_heading->verticalHeader()->hide();
    m_heading->setModel(model());
    m_heading->setItemDelegate(new HeadingDelegate(m_heading));
    m_heading->verticalHeader()->setMinimumSectionSize(1);
    m_heading->verticalHeader()->setDefaultSectionSize(RowPitch);
    m_heading->setFrameShape(QFrame::NoFrame);
    m_heading->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_heading->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_heading->setHorizontalScrollMode(ScrollPerPixel);
    m_heading->setFocusPolicy(Qt::NoFocus);
    m_heading->setSelectionMode(NoSelection);
    m_heading->setEditTriggers(NoEditTriggers);
    m_heading->setWordWrap(false);
    m_heading->setTextElideMode(Qt::ElideNone);
    m_heading->setAccessibleName(QStringLiteral("Column headings"));
    for (int c = 0; c < columnCount(); ++c)
        m_heading->setColumnWidth(c, ColPitch);
    m_heading->viewport()->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_heading->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(m_heading->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { m_heading->horizontalScrollBar()->setValue(horizontalScrollBar()->value()); });
    setViewportMargins(0, RowPitch, 0, 0);

    for (int r = 0; r < rowCount(); ++r)
        InitRow(r);
    setRowHidden(0, true);

    m_heldErrorTimer.setSingleShot(true);
    // Never early: a second press may come up to the full interval later.
    m_heldErrorTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_heldErrorTimer, &QTimer::timeout, this, &TStringGrid::ShowHeldError);

    MakeCurrent(0, 1, false);
    PlaceHeading();
}

// A held error is dropped with the grid: nothing is left to show it on.
TStringGrid::~TStringGrid() = default;

void TStringGrid::InitRow(int row)
{
    const Qt::ItemFlags flags =
        row == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    for (int c = 0; c < columnCount(); ++c) {
        if (!item(row, c))
            setItem(row, c, new QTableWidgetItem);
        item(row, c)->setFlags(flags);
    }
    if (row > 0)
        m_heading->setRowHidden(row, true);
}

int TStringGrid::RowCount() const
{
    return rowCount();
}

void TStringGrid::SetRowCount(int count)
{
    count = std::max(count, 1);
    const int oldCount = rowCount();
    if (count == oldCount)
        return;
    const int col = Col();
    const int row = Row();
    setRowCount(count);
    for (int r = oldCount; r < count; ++r)
        InitRow(r);
    // A current cell in a removed row moves to the new last row.
    if (count > 1 && (row < 1 || row >= count || !currentIndex().isValid()))
        MakeCurrent(col, std::clamp(row, 1, count - 1), false);
}

QString TStringGrid::Cell(int col, int row) const
{
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

void TStringGrid::SetCell(int col, int row, const QString& text)
{
    if (QTableWidgetItem* it = item(row, col))
        it->setText(text);
}

int TStringGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

int TStringGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TStringGrid::SetCurrentCell(int col, int row)
{
    if (col < 0 || col >= columnCount() || row < 1 || row >= rowCount())
        return;
    MakeCurrent(col, row, false);
}

QRect TStringGrid::Selection() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return QRect(QPoint(Col(), Row()), QPoint(Col(), Row()));
    const QTableWidgetSelectionRange& r = ranges.first();
    return QRect(QPoint(r.leftColumn(), r.topRow()), QPoint(r.rightColumn(), r.bottomRow()));
}

int TStringGrid::ColWidth(int col) const
{
    if (col < 0 || col >= columnCount())
        return 0;
    return columnWidth(col) - GridLineWidth;
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= columnCount())
        return;
    width = std::max(width, 0) + GridLineWidth;
    setColumnWidth(col, width);
    m_heading->setColumnWidth(col, width);
}

QRect TStringGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= rowCount())
        return QRect();
    if (row == 0)
        return QRect(columnViewportPosition(col), -RowPitch, columnWidth(col) - GridLineWidth,
                     DefaultRowHeight);
    return visualRect(model()->index(row, col));
}

TStringGrid::Hit TStringGrid::HitTest(const QPoint& pos, int* col, int* row) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return Hit::Empty;
    *col = index.column();
    *row = index.row();
    return *row == 0 ? Hit::Heading : Hit::Cell;
}

void TStringGrid::SelectRange(int anchorCol, int anchorRow, int endCol, int endRow)
{
    const QModelIndex topLeft =
        model()->index(std::min(anchorRow, endRow), std::min(anchorCol, endCol));
    const QModelIndex bottomRight =
        model()->index(std::max(anchorRow, endRow), std::max(anchorCol, endCol));
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::ClearAndSelect);
}

void TStringGrid::MakeCurrent(int col, int row, bool extend)
{
    if (!extend)
        m_anchor = QPoint(col, row);
    selectionModel()->setCurrentIndex(model()->index(row, col), QItemSelectionModel::NoUpdate);
    SelectRange(m_anchor.x(), m_anchor.y(), col, row);
}

void TStringGrid::mousePressEvent(QMouseEvent* e)
{
    int col = 0;
    int row = 0;
    const Hit hit = HitTest(e->position().toPoint(), &col, &row);
    Press(e, hit, col, row);
}

void TStringGrid::Press(QMouseEvent* e, Hit hit, int col, int row)
{
    e->accept();
    if (m_heldError) {
        // The press that would have met the error box had it been shown at
        // once: show it now and let the box have the press.
        m_pressedOnCell = false;
        ShowHeldError();
        return;
    }
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton)
        return;
    m_pressedOnCell = hit == Hit::Cell;
    if (m_pressedOnCell)
        MakeCurrent(col, row, e->modifiers() & Qt::ShiftModifier);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    if (!m_pressedOnCell || !(e->buttons() & Qt::LeftButton) || rowCount() < 2)
        return;
    // The range runs to the cell nearest the pointer; beyond an edge it
    // reaches one cell further each move, which scrolls the grid along.
    const QPoint pos = e->position().toPoint();
    const QRect area = viewport()->rect();
    const int x = std::clamp(pos.x(), 0, area.width() - 1);
    const int y = std::clamp(pos.y(), 0, area.height() - 1);
    int col = columnAt(x);
    int row = rowAt(y);
    if (col < 0)
        col = columnCount() - 1;
    if (row < 0)
        row = rowCount() - 1;
    if (pos.x() >= area.width())
        ++col;
    else if (pos.x() < 0)
        --col;
    if (pos.y() >= area.height())
        ++row;
    else if (pos.y() < 0)
        --row;
    col = std::clamp(col, 0, columnCount() - 1);
    row = std::clamp(row, 1, rowCount() - 1);
    SelectRange(m_anchor.x(), m_anchor.y(), col, row);
    scrollTo(model()->index(row, col));
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* e)
{
    Release(e);
}

void TStringGrid::Release(QMouseEvent* e)
{
    e->accept();
    if (e->button() != Qt::LeftButton || !m_pressedOnCell)
        return;
    m_pressedOnCell = false;
    FireClickFromMouse();
}

void TStringGrid::FireClickFromMouse()
{
    if (!OnClick)
        return;
    try {
        OnClick();
    } catch (...) {
        // Shown at once, its modal box would take the second press of a
        // double click, and a cell the click cannot compute could never be
        // reached by the double click that mends it.
        m_heldError = std::current_exception();
        m_heldErrorTimer.start(QApplication::doubleClickInterval());
    }
}

void TStringGrid::ShowHeldError()
{
    m_heldErrorTimer.stop();
    if (std::exception_ptr error = std::exchange(m_heldError, nullptr))
        TApplication::ShowException(error);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    DoubleClick(e);
}

void TStringGrid::DoubleClick(QMouseEvent* e)
{
    e->accept();
    if (e->button() != Qt::LeftButton)
        return;
    // The second release fires nothing.
    m_pressedOnCell = false;
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    FireDblClick();
}

void TStringGrid::FireDblClick()
{
    // A click's held error comes first, as it would have without holding.
    ShowHeldError();
    if (OnDblClick)
        TApplication::Guard(OnDblClick);
}

QAbstractItemView::CursorAction TStringGrid::ActionForKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return MoveLeft;
    case Qt::Key_Right:
        return MoveRight;
    case Qt::Key_Up:
        return MoveUp;
    case Qt::Key_Down:
        return MoveDown;
    case Qt::Key_Home:
        return MoveHome;
    case Qt::Key_End:
        return MoveEnd;
    case Qt::Key_PageUp:
        return MovePageUp;
    default:
        return MovePageDown;
    }
}

void TStringGrid::keyPressEvent(QKeyEvent* e)
{
    if (IsEditKey(e)) {
        e->accept();
        // A key held down opens the dialog once, not again after each answer.
        if (!e->isAutoRepeat())
            FireDblClick();
        return;
    }
    if (!IsNavigationKey(e->key()) || (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        e->ignore();
        return;
    }
    e->accept();
    ShowHeldError();
    const QModelIndex target = moveCursor(ActionForKey(e->key()), e->modifiers());
    if (!target.isValid() || target == currentIndex())
        return;
    MakeCurrent(target.column(), target.row(), e->modifiers() & Qt::ShiftModifier);
    scrollTo(target);
    if (OnClick)
        TApplication::Guard(OnClick);
}

QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int lastRow = rowCount() - 1;
    const int lastCol = columnCount() - 1;
    if (lastRow < 1 || lastCol < 0)
        return QModelIndex();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int page = std::max(1, viewport()->height() / RowPitch);
    int col = Col();
    int row = std::max(Row(), 1);
    switch (action) {
    case MoveLeft:
        --col;
        break;
    case MoveRight:
        ++col;
        break;
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MoveHome:
        col = 0;
        if (ctrl)
            row = 1;
        break;
    case MoveEnd:
        col = lastCol;
        if (ctrl)
            row = lastRow;
        break;
    case MovePageUp:
        row = ctrl ? 1 : row - page;
        break;
    case MovePageDown:
        row = ctrl ? lastRow : row + page;
        break;
    default:
        break;
    }
    return model()->index(std::clamp(row, 1, lastRow), std::clamp(col, 0, lastCol));
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != m_heading->viewport())
        return QTableWidget::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        Press(static_cast<QMouseEvent*>(e), Hit::Heading, 0, 0);
        return true;
    case QEvent::MouseButtonRelease:
        Release(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::MouseButtonDblClick:
        DoubleClick(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

void TStringGrid::resizeEvent(QResizeEvent* e)
{
    QTableWidget::resizeEvent(e);
    PlaceHeading();
}

void TStringGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    // The table view sizes the top margin for its own (hidden) header; the
    // heading row takes that place instead.
    const QMargins margins(0, RowPitch, 0, 0);
    if (viewportMargins() != margins)
        setViewportMargins(margins);
    PlaceHeading();
}

void TStringGrid::PlaceHeading()
{
    if (!m_heading)
        return;
    const QRect body = viewport()->geometry();
    m_heading->setGeometry(body.left(), body.top() - RowPitch, body.width(), RowPitch);
}
