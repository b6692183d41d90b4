#pragma once
// The bytes of an exported grid: GBK text for a spreadsheet, CR LF after
// every line, the last included, and no byte-order mark.
#include <string>
#include <vector>

#include "output/column_names.h"
#include "output/maker_info.h"
#include "output/string_grid.h"

namespace vormek {

// Two empty lines, the maker's name, the maker's web address, two empty
// lines, the header (ReportColumnName of columns 0 .. C-1 for the kind), then
// rows 0 .. rowCount-1 of the grid in their present order. Fields are joined
// by "," as they are, without trimming and with no comma after the last; only
// a field holding a comma, a quote or a line break is quoted (csv_line.h), so
// that it stays one field. rowCount is clamped to the grid's rows.
std::string ExportGridText(const TStringGrid& grid, TGridKind kind, int rowCount,
                           const TMakerInfo& maker = DefaultMakerInfo());
// The same for a grid of another window, headed by the given column names.
std::string ExportGridText(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                           const TMakerInfo& maker = DefaultMakerInfo());

}  // namespace vormek
