#pragma once
// Which header sorts a grid, and in which sense: the bold label with its
// arrow. A click on a header gives the next state.
#include <string>
#include <string_view>

#include "output/string_grid.h"

namespace vormek {

struct TSortState {
  int Column = -1;  // -1: no header chosen, rows in the order found
  bool Ascending = true;

  bool Active() const { return Column >= 0; }
  bool operator==(const TSortState&) const = default;
};

// First click on a header sorts ascending, the next descending, and so on;
// another header starts ascending.
TSortState ClickHeader(const TSortState& state, int column);

// The mark a header label ends in: "↑" or "↓" (GBK) on the sorting column,
// nothing on the others.
std::string_view SortMark(int column, const TSortState& state);
// The caption of a header label: the plain caption and its mark.
std::string HeaderCaption(std::string_view plain, int column, const TSortState& state);

// Columns that sort as numbers: 停站, 里程, 硬座 in the main grid; the
// distances and counts in the transfer window.
bool IsNumericResultColumn(int column);
bool IsNumericTransferColumn(int column);

// Sorts rows 0..rows-1 of the grid by the state's column, leaving the rows
// below alone (the grid is narrowed to them and restored).
void SortRows(TStringGrid& grid, int rows, int column, bool ascending, bool numeric);

// Re-applies the active sort of the main grid to its result rows.
void ResortResults(TStringGrid& grid, int resultCount, const TSortState& state);

// A click on a header of the main grid: nothing while the result set is
// empty; otherwise the next state, and rows 0..resultCount-1 sorted by it.
void ClickResultHeader(TStringGrid& grid, bool haveResults, int resultCount, TSortState& state, int column);

// The same for the transfer window, whose list holds stationCount rows.
void ClickTransferHeader(TStringGrid& grid, int stationCount, TSortState& state, int column);

}  // namespace vormek
