#include "cli_commands.h"

#include <optional>
#include <ostream>

#include "graph_command.h"
#include "journey_command.h"
#include "output/column_names.h"
#include "plan_command.h"
#include "query/input_checks.h"
#include "query/query_direct.h"
#include "query/query_results.h"
#include "query/query_station.h"
#include "query/query_train_number.h"
#include "query/query_transfer.h"
#include "query/result_rows.h"
#include "query/sort_state.h"
#include "query/stop_list.h"
#include "query/stop_positions.h"
#include "query/table_columns.h"
#include "row_writer.h"
#include "stations/station_text.h"

namespace vormek::cli {

namespace {

// The transfer window's captions; the other two grids use the report names.
std::vector<std::string> TransferHeader() {
  std::vector<std::string> names;
  for (const std::string_view caption : TransferColumnCaptions()) names.emplace_back(caption);
  return names;
}

void WriteRows(TRowWriter& writer, const TStringGrid& grid, int rows) {
  for (int r = 0; r < rows; ++r) writer.Row(grid.Row(r));
}

}  // namespace

int Refuse(const TInputRefusal& refusal, const TTextCodec& codec, std::ostream& err) {
  err << "vormek-query: " << codec.Output(refusal.Message) << '\n';
  return ExitRefused;
}

TFilterBoxes FilterBoxesOf(const TOptions& o) {
  TFilterBoxes b;
  if (!o.HasFilter) return b;
  std::size_t start = 0;
  while (start <= o.Filter.size()) {
    std::size_t comma = o.Filter.find(',', start);
    if (comma == std::string::npos) comma = o.Filter.size();
    const std::string item = o.Filter.substr(start, comma - start);
    b.CBSF |= item == "sf";
    b.CBZD |= item == "zd";
    b.CBJQ |= item == "jq";
    b.CBDC |= item == "dc";
    start = comma + 1;
  }
  return b;
}

namespace {

// Clicks on one header until it shows the requested sense (at most twice).
template <typename Click>
void ClickUntil(const TSortState& state, const TSortRequest& want, Click click) {
  for (int i = 0; i < 2 && !(state.Column == want.Column && state.Ascending == !want.Descending); ++i) click();
}

// The main grid as it shows the results: the query's own showing, the boxes
// checked, then the header clicked.
int ShowGrid(const TOptions& o, const TPub_Center& center, TQueryMode queryMode, std::string_view stationBox,
             TRowWriter& printer) {
  const TFilterContext filter = FilterContextOf(center, queryMode, stationBox, FilterBoxesOf(o));
  TStringGrid grid;
  ClearResults(grid);
  const int count = ShowResults(center.GridResults, filter, TSortState{}, grid);
  if (o.Sort && o.Sort->Column >= kResultColumns) return ExitUsage;
  if (o.Sort && !center.GridResults.empty()) {
    TSortState state;
    ClickUntil(state, *o.Sort, [&] { ClickResultHeader(grid, true, count, state, o.Sort->Column); });
  }
  printer.Header(ReportHeader(TGridKind::Result, kResultColumns));
  WriteRows(printer, grid, count);
  return ExitOk;
}

int Transfer(const TOptions& o, TTimetable& tt, TPub_Center& center, const TTextCodec& codec, TRowWriter& printer,
             std::ostream& err) {
  const std::string from = codec.Argument(o.Args[0]);
  const std::string to = codec.Argument(o.Args[1]);
  if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) return Refuse(*refusal, codec, err);
  StoreResult(center, QueryTransfer(tt, TStationPairRequest{std::string(TrimBlanksAndControls(from)),
                                                            std::string(TrimBlanksAndControls(to))}));
  TStringGrid grid;
  TSortState state;
  const int stationCount = OpenTransferList(center, grid, state);
  if (o.Command == TCommand::Transfer) {
    if (o.Sort && o.Sort->Column >= kTransferColumns) return ExitUsage;
    if (o.Sort && stationCount >= 1) {
      ClickUntil(state, *o.Sort, [&] { ClickTransferHeader(grid, stationCount, state, o.Sort->Column); });
    }
    printer.Header(TransferHeader());
    WriteRows(printer, grid, stationCount);
    return ExitOk;
  }
  const std::string via(TrimBlanksAndControls(codec.Argument(o.Via)));
  for (int r = 0; r < stationCount; ++r) {
    const std::optional<TTransferPick> pick = TransferPickOfRow(center, grid, r);
    if (!pick || pick->Station != via) continue;
    StoreResult(center, *pick, TransferLegResults(tt, center.Fares, center.LegOneResults, center.LegTwoResults, *pick));
    return ShowGrid(o, center, TQueryMode::Direct, "", printer);
  }
  err << "vormek-query: " << Echo(o.Via, codec.Gbk()) << " is not in the transfer list\n";
  return ExitNotListed;
}

int Stops(const TOptions& o, const TTimetable& tt, const TTextCodec& codec, TRowWriter& printer, std::ostream& err) {
  const std::string number = codec.Argument(o.Args[0]);
  const std::int32_t train = number.empty() ? -1 : FindTrain(tt, number);
  if (train < 0) {
    err << "vormek-query: no train " << Echo(o.Args[0], codec.Gbk()) << " in the timetable\n";
    return ExitNoData;
  }
  const TMemTable& stops = tt.KMTrain;
  const TStopColumns sc(stops);
  const TTrainRun& run = tt.Index.Trains[static_cast<std::size_t>(train)];
  const int first = static_cast<int>(run.First);
  const int last = static_cast<int>(run.Last);

  TStopListRequest request;
  request.TrainID = number;
  if (o.HasBoard) {
    const std::string station(TrimBlanksAndControls(codec.Argument(o.Board)));
    int b = first;
    while (b <= last && stops.ValueAt(b, sc.Station) != station) ++b;
    // Compared as a difference: b + Count could pass the largest int.
    if (b > last || o.Count > last - b) {
      err << "vormek-query: " << Echo(o.Board, codec.Gbk()) << " is not a stop of " << Echo(o.Args[0], codec.Gbk())
          << " with " << o.Count << " stops after it\n";
      return ExitRefused;
    }
    const int a = b + o.Count;
    request.BoardingStation = station;
    request.Stops = std::to_string(o.Count);
    request.SectionKm = std::to_string(stops.IntegerAt(a, sc.Distance) - stops.IntegerAt(b, sc.Distance));
    request.SectionTime = ElapsedDifference(stops.ValueAt(b, sc.R_Date), stops.ValueAt(a, sc.R_Date));
  } else {
    // The row the train number query shows for this train: the whole run.
    const TTrainColumns tc(tt.KMList);
    const std::int32_t listPos = run.ListPos;
    if (listPos >= 0) {
      request.BoardingStation = tt.KMList.ValueAt(listPos, tc.StartStation);
      request.Stops = std::to_string(TerminalStopNo(tt, number) - 1);
      request.SectionKm = std::to_string(tt.KMList.IntegerAt(listPos, tc.Distance));
      request.SectionTime = tt.KMList.ValueAt(listPos, tc.R_Date);
    } else {
      request.BoardingStation = stops.ValueAt(first, sc.Station);
      request.Stops = std::to_string(last - first);
      request.SectionKm = std::to_string(stops.IntegerAt(last, sc.Distance));
      request.SectionTime = stops.ValueAt(last, sc.R_Date);
    }
  }
  const auto list = BuildStopList(tt, request);
  if (!list) return ExitNoData;
  printer.Header(ReportHeader(TGridKind::Detail, kStopColumns));
  WriteRows(printer, list->Grid, list->FilledRows);
  err << codec.Output(list->LabQC) << '\n' << codec.Output(list->LabQJ) << '\n';
  return ExitOk;
}

}  // namespace

namespace {

int RunQuery(const TOptions& o, TTimetable& tt, TPub_Center& center, const TTextCodec& codec, TRowWriter& printer,
             std::ostream& err) {
  switch (o.Command) {
    case TCommand::Direct: {
      const std::string from = codec.Argument(o.Args[0]);
      const std::string to = codec.Argument(o.Args[1]);
      if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) return Refuse(*refusal, codec, err);
      StoreResult(center, QueryDirect(tt, center.Fares, TStationPairRequest{from, to}));
      return ShowGrid(o, center, TQueryMode::Direct, "", printer);
    }
    case TCommand::Transfer:
    case TCommand::Via: return Transfer(o, tt, center, codec, printer, err);
    case TCommand::TrainNumber: {
      const std::string number = codec.Argument(o.Args[0]);
      if (auto refusal = CheckTrainNumberInput(number)) return Refuse(*refusal, codec, err);
      StoreResult(center, QueryTrainNumber(tt, TTrainNumberRequest{number}));
      return ShowGrid(o, center, TQueryMode::TrainNumber, "", printer);
    }
    case TCommand::Station: {
      const std::string station = codec.Argument(o.Args[0]);
      if (auto refusal = CheckStationInput(tt.KMPy, station)) return Refuse(*refusal, codec, err);
      StoreResult(center, QueryStation(tt, center.Fares, TStationRequest{station}));
      return ShowGrid(o, center, TQueryMode::Station, TrimBlanksAndControls(station), printer);
    }
    case TCommand::Stops: return Stops(o, tt, codec, printer, err);
    case TCommand::Plan: return RunPlan(o, tt, codec, printer, err);
    case TCommand::Journey: return RunJourney(o, tt, codec, printer, err);
    case TCommand::Graph: return RunGraph(o, tt, codec, err);
    case TCommand::Stations: break;  // a list, not rows: see ListStations
  }
  return ExitUsage;
}

}  // namespace

int RunCommand(const TOptions& o, TTimetable& tt, const TTextCodec& codec, std::ostream& out, std::ostream& err) {
  TPub_Center center;
  center.Fares = BuildFareTables();
  TRowWriter printer(codec, out, o.Format);
  const int status = RunQuery(o, tt, center, codec, printer, err);
  printer.Finish();
  return status;
}

}  // namespace vormek::cli
