#pragma once
// Connections as grid rows: the columns of the connections window, of its
// printed and exported reports and of the command-line tool.
#include <string>
#include <vector>

#include "output/string_grid.h"
#include "query/connections.h"

namespace vormek {

// 车次一,发站,发时,中转站,到时,车次二,开时,等候,到站,到时,总历时,总里程,参考票价(硬座)
inline constexpr int kConnectionColumns = 13;
inline constexpr int kConnectionGridRows = 20;
// Columns holding the first leg (the rest, from 车次二, the second).
inline constexpr int kFirstLegLastColumn = 4;

// The 13 column names (GBK).
std::vector<std::string> ConnectionHeader();

// Minutes as "HH:MM", hours running past 24: 95 -> "01:35", 1505 -> "25:05".
std::string HoursMinutes(int minutes);

std::vector<std::string> ConnectionRow(const TConnection& connection);

// One row per connection into a grid of at least kConnectionGridRows rows.
TStringGrid ConnectionGrid(const std::vector<TConnection>& connections);

}  // namespace vormek
