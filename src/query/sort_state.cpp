#include "query/sort_state.h"

namespace vormek {

TSortState ClickHeader(const TSortState& state, int column) {
  if (state.Column != column) return TSortState{column, true};
  return TSortState{column, !state.Ascending};
}

std::string_view SortMark(int column, const TSortState& state) {
  if (state.Column != column) return {};
  return state.Ascending ? "↑" : "↓";
}

std::string HeaderCaption(std::string_view plain, int column, const TSortState& state) {
  return std::string(plain).append(SortMark(column, state));
}

bool IsNumericResultColumn(int column) { return column == 8 || column == 9 || column == 11; }

bool IsNumericTransferColumn(int column) {
  return column == 1 || column == 2 || column == 3 || column == 7 || column == 8;
}

void SortRows(TStringGrid& grid, int rows, int column, bool ascending, bool numeric) {
  if (rows <= 0 || column < 0 || column >= grid.ColCount()) return;
  const int kept = grid.RowCount();
  if (rows > kept) rows = kept;
  grid.SetRowCount(rows);
  SortGrid(grid, column, ascending, numeric);
  grid.SetRowCount(kept);
}

void ResortResults(TStringGrid& grid, int resultCount, const TSortState& state) {
  if (resultCount == 0 || !state.Active()) return;
  SortRows(grid, resultCount, state.Column, state.Ascending, IsNumericResultColumn(state.Column));
}

void ClickResultHeader(TStringGrid& grid, bool haveResults, int resultCount, TSortState& state, int column) {
  if (!haveResults) return;
  state = ClickHeader(state, column);
  SortRows(grid, resultCount, column, state.Ascending, IsNumericResultColumn(column));
}

void ClickTransferHeader(TStringGrid& grid, int stationCount, TSortState& state, int column) {
  if (stationCount < 1) return;
  state = ClickHeader(state, column);
  SortRows(grid, stationCount, column, state.Ascending, IsNumericTransferColumn(column));
}

}  // namespace vormek
