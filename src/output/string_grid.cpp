#include "output/string_grid.h"

#include <algorithm>
#include <utility>

namespace vormek {

TStringGrid::TStringGrid(int colCount, int rowCount, int fixedRows)
    : colCount_(std::max(colCount, 0)), fixedRows_(std::max(fixedRows, 0)) {
  SetRowCount(rowCount);
}

void TStringGrid::SetRowCount(int rows) {
  cells_.resize(static_cast<std::size_t>(std::max(rows, 0)),
                std::vector<std::string>(static_cast<std::size_t>(colCount_)));
  keys_.resize(cells_.size(), kNoRowKey);
}

void TStringGrid::SetColCount(int cols) {
  colCount_ = std::max(cols, 0);
  for (auto& row : cells_) row.resize(static_cast<std::size_t>(colCount_));
}

void TStringGrid::ClearCells() {
  for (auto& row : cells_)
    for (auto& cell : row) cell.clear();
  std::fill(keys_.begin(), keys_.end(), kNoRowKey);
}

void SwapGridRows(TStringGrid& grid, int a, int b) {
  if (a == b) return;
  std::swap(grid.Row(a), grid.Row(b));
  std::swap(grid.keys_.at(static_cast<std::size_t>(a)), grid.keys_.at(static_cast<std::size_t>(b)));
}

}  // namespace vormek
