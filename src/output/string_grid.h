#pragma once
// A grid of GBK cell texts, addressed (column, row) like the windows' grids.
// Rows below FixedRows() are header rows that sorting leaves alone.
#include <string>
#include <vector>

namespace vormek {

class TStringGrid {
 public:
  TStringGrid() = default;
  TStringGrid(int colCount, int rowCount, int fixedRows = 0);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(cells_.size()); }
  int FixedRows() const { return fixedRows_; }

  // Growing adds empty rows; shrinking drops the rows past the new count.
  void SetRowCount(int rows);
  void SetColCount(int cols);
  void SetFixedRows(int rows) { fixedRows_ = rows; }

  std::string& Cell(int col, int row) { return cells_.at(row).at(col); }
  const std::string& Cell(int col, int row) const { return cells_.at(row).at(col); }

  // Every cell of one row, in column order.
  std::vector<std::string>& Row(int row) { return cells_.at(row); }
  const std::vector<std::string>& Row(int row) const { return cells_.at(row); }

  void ClearCells();  // every cell to the empty text, sizes kept

 private:
  int colCount_ = 0;
  int fixedRows_ = 0;
  std::vector<std::vector<std::string>> cells_;
};

// Exchange the contents of two rows in every column.
void SwapGridRows(TStringGrid& grid, int a, int b);

// Sort rows FixedRows()..RowCount()-1 by one column: a Hoare-partition
// quicksort, not stable. Text compares GBK bytes as unsigned values; numeric
// reads decimal numbers and writes "0" into empty cells of the column.
void SortGrid(TStringGrid& grid, int col, bool ascending, bool numeric);

}  // namespace vormek
