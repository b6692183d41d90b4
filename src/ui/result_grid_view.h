#pragma once
// The result grid's view: whole-row single selection that never lands on an
// empty row, fixed row height and column widths, vertical scrolling only,
// and the wheel rules of the no-selection state.
#include <QTableView>
#include <vector>

namespace vormek {

class TResultGridModel;

// A selection rectangle in grid cells (left, top, right, bottom).
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TResultGridView : public QTableView {
  Q_OBJECT

 public:
  // A cell outside the grid: the no-selection marker.
  static constexpr int NoSelectionEdge = 24;
  static constexpr int RowHeight = 18;  // at the window's specified size

  TResultGridView(TResultGridModel* model, std::vector<int> columnWidths, QWidget* parent = nullptr);

  TResultGridModel* ResultModel() const { return model_; }

  void ClearSelection();
  bool HasSelection() const;
  int SelectedRow() const;  // -1 in the no-selection state
  TGridRect SelectionRect() const;
  // Whether a cell (and so its row) may become selected.
  bool SGridSelectCell(int col, int row) const;
  bool SelectRow(int row);  // false (and no change) when refused

  // Column positions as laid out, in the view's parent's coordinates, so the
  // header labels above can follow them.
  int ColumnLeftInParent(int col) const;
  int ColumnWidthInParent(int col) const;
  void ApplyColumnWidths();
  // Cell widths (without their grid line) and the cell height, kept across
  // resets of the model.
  void SetColumnWidths(std::vector<int> widths);
  const std::vector<int>& ColumnWidths() const { return columnWidths_; }
  void SetRowHeight(int height);
  // The width the cells and their grid lines may take beside the frame and
  // the vertical scroll bar.
  int CellAreaWidth() const;

 signals:
  // Only rows holding a result; Enter on the selected row as well.
  void RowDoubleClicked(int row);

 protected:
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TResultGridModel* model_;
  std::vector<int> columnWidths_;
  int rowBeforeReset_ = -1;
};

}  // namespace vormek
