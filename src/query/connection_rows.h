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

// The days a connection's later times fall on, counted from the first
// train's departure: its arrival at the transfer station, the second train's
// departure there and the arrival at the end; 0 is the same day.
struct TConnectionDays {
  int ArriveX = 0;
  int LeaveX = 0;
  int Arrive = 0;
};
TConnectionDays ConnectionDays(const TConnection& connection);

// A clock time as "HH:MM", with the day it falls on after the departure's
// when that is a later one: ("1:19", 2) -> "01:19+2", ("5:8", 0) -> "05:08".
std::string ClockWithDay(const std::string& clock, int day);

// ConnectionRow with its clock times as "HH:MM" and the later days marked,
// as the program's own connections window and its reports show them.
std::vector<std::string> ConnectionRowWithDays(const TConnection& connection);

// One row per connection into a grid of at least kConnectionGridRows rows;
// with markDays, the rows of ConnectionRowWithDays.
TStringGrid ConnectionGrid(const std::vector<TConnection>& connections, bool markDays = false);

}  // namespace vormek
