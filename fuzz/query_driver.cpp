#include "query_driver.h"

#include <string>

#include "output/column_names.h"
#include "output/csv_export.h"
#include "query/connection_rows.h"
#include "query/connections.h"
#include "query/input_checks.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_train_number.h"
#include "query/query_transfer.h"
#include "query/result_filter.h"
#include "query/result_rows.h"
#include "query/sort_state.h"
#include "query/stop_list.h"

namespace vormek::fuzz {

namespace {

TFilterBoxes Boxes(FuzzedDataProvider& in) {
  return {in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool()};
}

void Show(FuzzedDataProvider& in, TTimetable& tt, const TPub_Center& center, TQueryMode mode, std::string_view box) {
  const TFilterContext filter = FilterContextOf(center, mode, box, Boxes(in));
  TStringGrid grid;
  ClearResults(grid);
  TSortState sort;
  const int count = ShowResults(center.GridResults, filter, sort, grid);
  Check(count >= 0 && count <= static_cast<int>(center.GridResults.size()));
  for (int clicks = in.ConsumeIntegralInRange(0, 2); clicks > 0; --clicks)
    ClickResultHeader(grid, !center.GridResults.empty(), count, sort, in.ConsumeIntegralInRange(0, kResultColumns - 1));
  (void)ExportGridText(grid, TGridKind::Result, count);
  if (count == 0) return;
  const int row = in.ConsumeIntegralInRange(0, count - 1);
  const std::string stops = in.ConsumeBool() ? grid.Cell(8, row) : in.ConsumeRandomLengthString(12);
  const auto list = BuildStopList(
      tt, TStopListRequest{grid.Cell(0, row), grid.Cell(4, row), stops, grid.Cell(9, row), grid.Cell(10, row)});
  if (!list) return;
  for (int r = 0; r < list->Grid.RowCount(); ++r) (void)list->InSection(r);
  (void)ExportGridText(list->Grid, TGridKind::Detail, list->FilledRows);
}

}  // namespace

void RunFuzzQuery(FuzzedDataProvider& in, TTimetable& tt, TPub_Center& center, TFuzzQuery query, std::string_view from,
                  std::string_view to) {
  switch (query) {
    case TFuzzQuery::Direct:
      if (CheckDirectInput(tt.KMPy, from, to)) return;
      QueryDirect(tt, center, from, to);
      Show(in, tt, center, TQueryMode::Direct, "");
      return;
    case TFuzzQuery::TrainNumber:
      QueryTrainNumber(tt, center, from);
      Show(in, tt, center, TQueryMode::TrainNumber, "");
      return;
    case TFuzzQuery::Station:
      QueryStation(tt, center, from);
      Show(in, tt, center, TQueryMode::Station, from);
      return;
    case TFuzzQuery::Transfer: {
      if (CheckDirectInput(tt.KMPy, from, to)) return;
      QueryTransfer(tt, center, from, to);
      TStringGrid list;
      TSortState sort;
      const int stations = OpenTransferList(center, list, sort);
      if (stations == 0) return;
      ClickTransferHeader(list, stations, sort, in.ConsumeIntegralInRange(0, kTransferColumns - 1));
      const int row = in.ConsumeIntegralInRange(0, stations - 1);
      BuildTransferResults(tt, center, list.Cell(0, row), std::stoi(list.Cell(7, row)), std::stoi(list.Cell(8, row)));
      Show(in, tt, center, TQueryMode::Direct, "");
      return;
    }
    case TFuzzQuery::Connections: {
      const TConnectionIndex index(tt);
      TConnectionOptions options;
      options.MinChange = in.ConsumeIntegralInRange(0, kMinutesPerDay);
      const auto connections = FindConnections(index, tt, from, to, options, center.Fares);
      Check(connections.size() <= static_cast<std::size_t>(options.MaxCount));
      (void)ConnectionGrid(connections);
      return;
    }
  }
}

}  // namespace vormek::fuzz
