#include "query/result_rows.h"

namespace vormek {

namespace {
std::string FareCell(const std::string& fare) { return fare.empty() ? std::string("-") : fare; }
}  // namespace

std::array<std::string, kResultColumns> ResultCells(const TPub_GridResult& r) {
  return {r.ID,
          r.StartStation,
          r.EndStation,
          r.TypeName,
          r.FZ.Station,
          r.FZ.Time,
          r.DZ.Station,
          r.DZ.Time,
          std::to_string(r.Stops),
          std::to_string(r.QJ_Distance),
          r.QJ_R_Date,
          FareCell(r.QJ_P1),
          FareCell(r.QJ_P2),
          FareCell(r.QJ_P3),
          FareCell(r.QJ_P4)};
}

void ClearResults(TStringGrid& grid) {
  if (grid.ColCount() != kResultColumns) grid.SetColCount(kResultColumns);
  grid.ClearCells();
  grid.SetRowCount(kClearedResultRows);
}

int ShowResults(const std::vector<TPub_GridResult>& results, const TFilterContext& filter, const TSortState& sort,
                TStringGrid& grid) {
  if (grid.ColCount() != kResultColumns) grid.SetColCount(kResultColumns);
  int count = 0;
  for (std::size_t key = 0; key < results.size(); ++key) {
    const TPub_GridResult& r = results[key];
    if (!PassesFilters(r, filter)) continue;
    if (grid.RowCount() <= count) grid.SetRowCount(count + 1);
    auto cells = ResultCells(r);
    std::vector<std::string>& row = grid.Row(count);
    for (int c = 0; c < kResultColumns; ++c) row[c] = std::move(cells[c]);
    grid.SetRowKey(count, static_cast<int>(key));
    ++count;
  }
  ResortResults(grid, count, sort);
  return count;
}

const TPub_GridResult* RecordOfRow(const std::vector<TPub_GridResult>& results, const TStringGrid& grid, int row) {
  if (row < 0 || row >= grid.RowCount()) return nullptr;
  const int key = grid.RowKey(row);
  if (key < 0 || static_cast<std::size_t>(key) >= results.size()) return nullptr;
  return &results[static_cast<std::size_t>(key)];
}

std::string ResultCaption(int resultCount) { return "结果:" + std::to_string(resultCount); }

}  // namespace vormek
