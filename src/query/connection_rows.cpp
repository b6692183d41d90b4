#include "query/connection_rows.h"

#include <algorithm>
#include <cstdio>

#include "rules/UPub_Center.h"

namespace vormek {

std::vector<std::string> ConnectionHeader() {
  return {"车次一", "发站", "发时", "中转站", "到时",   "车次二",        "开时",
          "等候",   "到站", "到时", "总历时", "总里程", "参考票价(硬座)"};
}

std::string HoursMinutes(int minutes) {
  if (minutes < 0) minutes = 0;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::vector<std::string> ConnectionRow(const TConnection& c) {
  return {c.First.ID,
          c.First.FZ.Station,
          c.First.FZ.Time,
          c.First.DZ.Station,
          c.First.DZ.Time,
          c.Second.ID,
          c.Second.FZ.Time,
          HoursMinutes(c.WaitMinutes),
          c.Second.DZ.Station,
          c.Second.DZ.Time,
          HoursMinutes(c.TotalMinutes),
          std::to_string(c.TotalDistance),
          c.HardSeatFare};
}

TConnectionDays ConnectionDays(const TConnection& c) {
  const int leave = DurationToMinutes(c.First.FZ.Time);
  const int arriveX = leave + DurationToMinutes(c.First.QJ_R_Date);
  return {arriveX / kMinutesPerDay, (arriveX + c.WaitMinutes) / kMinutesPerDay,
          (leave + c.TotalMinutes) / kMinutesPerDay};
}

std::string ClockWithDay(const std::string& clock, int day) {
  if (clock.empty()) return clock;
  const std::string text = HoursMinutes(DurationToMinutes(clock) % kMinutesPerDay);
  return day > 0 ? text + "+" + std::to_string(day) : text;
}

std::vector<std::string> ConnectionRowWithDays(const TConnection& c) {
  std::vector<std::string> row = ConnectionRow(c);
  const TConnectionDays days = ConnectionDays(c);
  row[2] = ClockWithDay(row[2], 0);
  row[4] = ClockWithDay(row[4], days.ArriveX);
  row[6] = ClockWithDay(row[6], days.LeaveX);
  row[9] = ClockWithDay(row[9], days.Arrive);
  return row;
}

TStringGrid ConnectionGrid(const std::vector<TConnection>& connections, bool markDays) {
  const int rows = std::max(kConnectionGridRows, static_cast<int>(connections.size()));
  TStringGrid grid(kConnectionColumns, rows);
  for (std::size_t i = 0; i < connections.size(); ++i)
    grid.Row(static_cast<int>(i)) = markDays ? ConnectionRowWithDays(connections[i]) : ConnectionRow(connections[i]);
  return grid;
}

}  // namespace vormek
