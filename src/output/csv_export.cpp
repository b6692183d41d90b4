#include "output/csv_export.h"

#include <algorithm>
#include <vector>

#include "output/column_names.h"
#include "output/csv_line.h"

namespace vormek {

namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendFields(std::string& out, const std::vector<std::string>& fields) { AppendCsvLine(out, fields, kLineEnd); }

}  // namespace

std::string ExportGridText(const TStringGrid& grid, TGridKind kind, int rowCount, const TMakerInfo& maker) {
  return ExportGridText(grid, ReportHeader(kind, grid.ColCount()), rowCount, maker);
}

std::string ExportGridText(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                           const TMakerInfo& maker) {
  std::string out;
  out += kLineEnd;
  out += kLineEnd;
  out += maker.Name + kLineEnd;
  out += maker.WebAddress + kLineEnd;
  out += kLineEnd;
  out += kLineEnd;
  AppendFields(out, header);
  const int rows = std::clamp(rowCount, 0, grid.RowCount());
  for (int row = 0; row < rows; ++row) AppendFields(out, grid.Row(row));
  return out;
}

}  // namespace vormek
