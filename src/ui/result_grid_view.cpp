#include "ui/result_grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <utility>

#include "ui/result_grid_delegate.h"
#include "ui/result_grid_model.h"

namespace vormek {

namespace {
// Qt draws a cell's grid line inside its section; the classic grid draws it
// between cells. One extra pixel keeps the cell sizes as laid out.
constexpr int kGridLine = 1;
}  // namespace

TResultGridView::TResultGridView(TResultGridModel* model, std::vector<int> columnWidths, QWidget* parent)
    : QTableView(parent), model_(model), columnWidths_(std::move(columnWidths)) {
  setModel(model_);
  setItemDelegate(new TResultGridDelegate(this));
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(RowHeight + kGridLine);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setShowGrid(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, TResultGridDelegate::GridColour);
  setPalette(pal);
  ApplyColumnWidths();
  // A reset of the model forgets the section sizes.
  connect(model_, &QAbstractItemModel::modelReset, this, &TResultGridView::ApplyColumnWidths);
  // The cells change in place (a sort swaps rows): like a string grid, the
  // selected row number stays where it was. Clearing the results clears the
  // selection on its own.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { rowBeforeReset_ = SelectedRow(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    const int row = std::exchange(rowBeforeReset_, -1);
    if (row >= 0 && SGridSelectCell(0, row))
      selectionModel()->setCurrentIndex(model_->index(row, 0),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  });
}

void TResultGridView::ApplyColumnWidths() {
  for (int c = 0; c < static_cast<int>(columnWidths_.size()); ++c)
    setColumnWidth(c, columnWidths_[static_cast<std::size_t>(c)] + kGridLine);
}

void TResultGridView::SetColumnWidths(std::vector<int> widths) {
  columnWidths_ = std::move(widths);
  ApplyColumnWidths();
}

void TResultGridView::SetRowHeight(int height) { verticalHeader()->setDefaultSectionSize(height + kGridLine); }

int TResultGridView::CellAreaWidth() const {
  return width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
}

void TResultGridView::ClearSelection() {
  if (selectionModel()) selectionModel()->clear();
}

bool TResultGridView::HasSelection() const { return SelectedRow() >= 0; }

int TResultGridView::SelectedRow() const {
  if (!selectionModel()) return -1;
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

TGridRect TResultGridView::SelectionRect() const {
  const int row = SelectedRow();
  if (row < 0) return {NoSelectionEdge, NoSelectionEdge, NoSelectionEdge, NoSelectionEdge};
  return {0, row, model_->columnCount() - 1, row};
}

bool TResultGridView::SGridSelectCell(int /*col*/, int row) const { return model_->RowHasResult(row); }

bool TResultGridView::SelectRow(int row) {
  if (!SGridSelectCell(0, row)) return false;
  const QModelIndex target = model_->index(row, 0);
  selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(target);
  return true;
}

int TResultGridView::ColumnLeftInParent(int col) const {
  return geometry().left() + frameWidth() + columnViewportPosition(col);
}

int TResultGridView::ColumnWidthInParent(int col) const { return columnWidth(col); }

QModelIndex TResultGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
  if (next.isValid() && !SGridSelectCell(next.column(), next.row())) return currentIndex();
  return next;
}

QItemSelectionModel::SelectionFlags TResultGridView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const {
  if (index.isValid() && !SGridSelectCell(index.column(), index.row())) return QItemSelectionModel::NoUpdate;
  return QTableView::selectionCommand(index, event);
}

void TResultGridView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y();
  if (steps == 0) {
    event->ignore();
    return;
  }
  const int row = SelectedRow();
  if (row < 0) {
    // Nothing selected: the wheel scrolls by one line and selects nothing.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (steps > 0 ? -1 : 1));
  } else {
    // A row selected: the wheel moves the selection, never onto an empty row.
    SelectRow(row + (steps > 0 ? -1 : 1));
  }
  event->accept();
}

void TResultGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && event->button() == Qt::LeftButton && model_->RowHasResult(index.row()))
    emit RowDoubleClicked(index.row());
}

void TResultGridView::keyPressEvent(QKeyEvent* event) {
  const int row = SelectedRow();
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier &&
      row >= 0 && model_->RowHasResult(row)) {
    emit RowDoubleClicked(row);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace vormek
