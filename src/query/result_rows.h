#pragma once
// The main result grid: the fifteen cell texts of a result row, and the
// showing of a result set through the filters and the active sort.
#include <array>
#include <string>
#include <vector>

#include "output/string_grid.h"
#include "query/result_filter.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"

namespace vormek {

inline constexpr int kResultColumns = 15;
// Rows of the grid after every clearing.
inline constexpr int kClearedResultRows = 16;

// 车次,始发,终到,车型,发站,发时,到站,到时,停站,里程,历时,硬座,软座,硬卧,软卧;
// empty fares show as "-".
std::array<std::string, kResultColumns> ResultCells(const TPub_GridResult& r);

// Empties every cell and leaves 16 rows.
void ClearResults(TStringGrid& grid);

// Writes the rows that pass the filters from row 0 on, each keyed by its
// record's index in results, grows the grid when more than 16 pass, and
// re-applies the active sort. Returns ResultCount. Call ClearResults first.
int ShowResults(const std::vector<TPub_GridResult>& results, const TFilterContext& filter, const TSortState& sort,
                TStringGrid& grid);

// The record a grid row was written from, or nullptr for a row without one.
const TPub_GridResult* RecordOfRow(const std::vector<TPub_GridResult>& results, const TStringGrid& grid, int row);

// The count label: "结果:" and the count.
std::string ResultCaption(int resultCount);

}  // namespace vormek
