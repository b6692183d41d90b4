#pragma once
// Column names that printed and exported reports put above a grid's rows.
// GBK bytes. They are shorter than the on-screen captions ("始发" for
// "始发站", "硬卧" for "硬卧上/中/下").
#include <string>
#include <vector>

namespace vormek {

// Which grid a report is made of: the main result grid or the stop list of
// the train detail window.
enum class TGridKind : int { Result = 0, Detail = 1 };

// Names of the main result grid's 15 columns, "车次" .. "软卧"; the empty
// text for a column outside the grid.
std::string ResultColumnName(int col);
// Names of the stop list's 8 columns, "站序" .. "时速"; the empty text for a
// column outside the grid.
std::string DetailColumnName(int col);
// ResultColumnName for the result grid, DetailColumnName for the stop list.
std::string ReportColumnName(TGridKind kind, int col);
// The names of columns 0 .. colCount-1 of a report of the given kind.
std::vector<std::string> ReportHeader(TGridKind kind, int colCount);

}  // namespace vormek
