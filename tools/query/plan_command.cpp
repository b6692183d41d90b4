#include "plan_command.h"

#include <limits>
#include <ostream>

#include "cli_commands.h"
#include "query/connection_rows.h"
#include "query/connections.h"
#include "query/input_checks.h"
#include "query/result_filter.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"
#include "stations/station_text.h"

namespace vormek::cli {

namespace {

// 总里程 and 参考票价(硬座); the clock and duration columns sort as text,
// which their fixed "HH:MM" form allows.
bool IsNumericConnectionColumn(int column) { return column == 11 || column == 12; }

// The filter boxes judge each train as a leg of a transfer through the
// connection's station: 始发车 the first, 终到车 the second, the others both.
bool PassesFilters(const TConnection& c, std::string_view from, std::string_view to, const TFilterBoxes& boxes) {
  TFilterContext f;
  f.QueryMode = TQueryMode::Direct;
  f.EnteredFrom = from;
  f.EnteredTo = to;
  f.TransferStation = c.First.DZ.Station;
  f.Boxes = boxes;
  return vormek::PassesFilters(c.First, f) && vormek::PassesFilters(c.Second, f);
}

}  // namespace

int RunPlan(const TOptions& o, TTimetable& tt, const TTextCodec& codec, TRowWriter& writer, std::ostream& err) {
  if (o.Sort && o.Sort->Column >= kConnectionColumns) return ExitUsage;
  const std::string from = codec.Argument(o.Args[0]);
  const std::string to = codec.Argument(o.Args[1]);
  if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) return Refuse(*refusal, codec, err);
  const TConnectionIndex index(tt);
  // The boxes filter before the count is cut, so that --max still gives
  // that many lines when enough connections pass.
  TConnectionOptions search = o.Connection;
  if (o.HasFilter) search.MaxCount = std::numeric_limits<int>::max();
  std::vector<TConnection> connections = FindConnections(index, tt, from, to, search, BuildFareTables());
  if (o.HasFilter) {
    const TFilterBoxes boxes = FilterBoxesOf(o);
    std::erase_if(connections, [&](const TConnection& c) {
      return !PassesFilters(c, TrimBlanksAndControls(from), TrimBlanksAndControls(to), boxes);
    });
    if (connections.size() > static_cast<std::size_t>(o.Connection.MaxCount))
      connections.resize(static_cast<std::size_t>(o.Connection.MaxCount));
  }
  TStringGrid grid = ConnectionGrid(connections);
  const int rows = static_cast<int>(connections.size());
  if (o.Sort) SortRows(grid, rows, o.Sort->Column, !o.Sort->Descending, IsNumericConnectionColumn(o.Sort->Column));
  writer.Header(ConnectionHeader());
  for (int r = 0; r < rows; ++r) writer.Row(grid.Row(r));
  return ExitOk;
}

}  // namespace vormek::cli
