#pragma once
// A grid of GBK cell texts, addressed (column, row) like the windows' grids.
// Rows below FixedRows() are header rows that sorting leaves alone. Each row
// carries the key of the record it was written from (kNoRowKey for none), and
// moves it along when rows are swapped.
#include <string>
#include <vector>

namespace vormek {

inline constexpr int kNoRowKey = -1;

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

  void ClearCells();  // every cell to the empty text and every key to none, sizes kept

  int RowKey(int row) const { return keys_.at(static_cast<std::size_t>(row)); }
  void SetRowKey(int row, int key) { keys_.at(static_cast<std::size_t>(row)) = key; }

 private:
  friend void SwapGridRows(TStringGrid& grid, int a, int b);
  int colCount_ = 0;
  int fixedRows_ = 0;
  std::vector<std::vector<std::string>> cells_;
  std::vector<int> keys_;
};

// Exchange the contents of two rows in every column.
void SwapGridRows(TStringGrid& grid, int a, int b);

// Sort rows FixedRows()..RowCount()-1 by one column: a Hoare-partition
// quicksort, not stable. Text compares GBK bytes as unsigned values; numeric
// reads decimal numbers and writes "0" into empty cells of the column.
void SortGrid(TStringGrid& grid, int col, bool ascending, bool numeric);

}  // namespace vormek
