#include "query/query_transfer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "query/stop_positions.h"
#include "query/table_columns.h"
#include "rules/number_text.h"
#include "stations/station_selection.h"

namespace vormek {

namespace {

// Every train's first departure-side stop, with one leg to each later stop.
std::vector<TTransferLeg> FirstLegs(const TTimetableIndex& ix, const std::vector<std::uint32_t>& departure) {
  std::vector<TTransferLeg> legs;
  std::uint32_t previousTrain = UINT32_MAX;
  for (const std::uint32_t boarding : departure) {
    const std::uint32_t train = ix.StopTrain[boarding];
    if (train == previousTrain) continue;
    previousTrain = train;
    for (std::uint32_t pos = boarding + 1; pos <= ix.Trains[train].Last; ++pos) legs.push_back({train, boarding, pos});
  }
  return legs;
}

// Every train's last arrival-side stop, with one leg from each earlier stop;
// trains backwards, as a walk from the table's end meets them.
std::vector<TTransferLeg> SecondLegs(const TTimetableIndex& ix, const std::vector<std::uint32_t>& arrival) {
  std::vector<TTransferLeg> legs;
  std::uint32_t previousTrain = UINT32_MAX;
  for (auto it = arrival.rbegin(); it != arrival.rend(); ++it) {
    const std::uint32_t alighting = *it;
    const std::uint32_t train = ix.StopTrain[alighting];
    if (train == previousTrain) continue;
    previousTrain = train;
    for (std::uint32_t pos = alighting; pos-- > ix.Trains[train].First;) legs.push_back({train, pos, alighting});
  }
  return legs;
}

std::int32_t LegDistance(const TMemTable& stops, const TStopColumns& c, const TTransferLeg& leg) {
  return stops.IntegerAt(static_cast<int>(leg.Alighting), c.Distance) -
         stops.IntegerAt(static_cast<int>(leg.Boarding), c.Distance);
}

std::string LegTime(const TMemTable& stops, const TStopColumns& c, const TTransferLeg& leg) {
  return ElapsedDifference(stops.ValueAt(static_cast<int>(leg.Boarding), c.R_Date),
                           stops.ValueAt(static_cast<int>(leg.Alighting), c.R_Date));
}

// Rows are counted on station numbers; the texts are made once per row, from
// the first leg that reached the station and the last second leg leaving it.
std::vector<TPub_ZZStruct> TransferRows(const TTimetable& tt, const std::vector<TTransferLeg>& firstLegs,
                                        const std::vector<TTransferLeg>& secondLegs) {
  const TTimetableIndex& ix = tt.Index;
  struct TCount {
    TStationId Station;
    TTransferLeg First;
    const TTransferLeg* Second = nullptr;
    std::int32_t Count1 = 0;
    std::int32_t Count2 = 0;
  };
  std::vector<TCount> counts;
  std::vector<std::int32_t> rowOf(ix.Stations.Size(), -1);
  for (const TTransferLeg& leg : firstLegs) {
    const TStationId station = ix.StopStation[leg.Alighting];
    std::int32_t& row = rowOf[station];
    if (row < 0) {
      row = static_cast<std::int32_t>(counts.size());
      counts.push_back({station, leg});
    }
    ++counts[static_cast<std::size_t>(row)].Count1;
  }
  for (const TTransferLeg& leg : secondLegs) {
    const std::int32_t row = rowOf[ix.StopStation[leg.Boarding]];
    if (row < 0) continue;
    TCount& count = counts[static_cast<std::size_t>(row)];
    count.Second = &leg;
    ++count.Count2;
  }
  const TStopColumns c(tt.KMTrain);
  std::vector<TPub_ZZStruct> rows(counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const TCount& count = counts[i];
    TPub_ZZStruct& row = rows[i];
    row.Station = ix.Stations.Name(count.Station);
    row.Distance1 = LegDistance(tt.KMTrain, c, count.First);
    row.R_Date1 = LegTime(tt.KMTrain, c, count.First);
    row.Count1 = count.Count1;
    row.Count2 = count.Count2;
    if (count.Second == nullptr) continue;
    row.Distance2 = LegDistance(tt.KMTrain, c, *count.Second);
    row.Distance = row.Distance1 + row.Distance2;
    row.R_Date2 = LegTime(tt.KMTrain, c, *count.Second);
    // Each leg's time may reach the longest there is (an image's texts are
    // not range-checked when it opens): add them without overflowing.
    row.R_Date =
        MinutesToDuration(ClampToInt32(std::int64_t{DurationToMinutes(row.R_Date1)} + DurationToMinutes(row.R_Date2)));
  }
  return rows;
}

}  // namespace

TTransferResult QueryTransfer(const TTimetable& tt, const TStationPairRequest& request) {
  TStationPairStops pair = ResolveStationPair(tt, request);
  TTransferResult result;
  result.FromSelection = std::move(pair.FromSelection);
  result.ToSelection = std::move(pair.ToSelection);
  result.FirstLegs = FirstLegs(tt.Index, pair.From);
  result.SecondLegs = SecondLegs(tt.Index, pair.To);
  result.Rows = TransferRows(tt, result.FirstLegs, result.SecondLegs);
  return result;
}

void QueryTransfer(const TTimetable& tt, TPub_Center& center, std::string_view comboFZ, std::string_view comboDZ) {
  StoreResult(center, QueryTransfer(tt, TStationPairRequest{std::string(comboFZ), std::string(comboDZ)}));
}

namespace {

TPub_GridResult LegRecord(const TTimetable& tt, const TStopColumns& sc, const TTrainColumns& tc,
                          const TFareTables& fares, const TTransferLeg& leg) {
  TPub_GridResult r;
  const TTrainRun& run = tt.Index.Trains[leg.Train];
  if (run.ListPos < 0) return r;  // the record stays empty
  CopyBoardingStop(tt.KMTrain, sc, static_cast<int>(leg.Boarding), r);
  CopyAlightingStop(tt.KMTrain, sc, static_cast<int>(leg.Alighting), r);
  CopyTrainFields(tt.KMList, tc, run.ListPos, r);
  FinishSection(fares, r);
  return r;
}

}  // namespace

TPub_GridResult TransferLegRecord(const TTimetable& tt, const TFareTables& fares, const TTransferLeg& leg) {
  return LegRecord(tt, TStopColumns(tt.KMTrain), TTrainColumns(tt.KMList), fares, leg);
}

std::vector<TPub_GridResult> TransferLegResults(const TTimetable& tt, const TFareTables& fares,
                                                const std::vector<TTransferLeg>& firstLegs,
                                                const std::vector<TTransferLeg>& secondLegs,
                                                const TTransferPick& pick) {
  RequireIndex(tt);
  // Counts come from the list; never make more records than they ask for.
  const std::size_t first = pick.Count1 > 0 ? static_cast<std::size_t>(pick.Count1) : 0;
  const std::size_t total = first + (pick.Count2 > 0 ? static_cast<std::size_t>(pick.Count2) : 0);
  std::vector<TPub_GridResult> rows(total);
  const TStationId station = tt.Index.Stations.Find(pick.Station);
  if (station == kNoStation) return rows;
  const TMappedArray<TStationId>& stationOf = tt.Index.StopStation;
  const TStopColumns sc(tt.KMTrain);
  const TTrainColumns tc(tt.KMList);
  std::size_t k = 0;
  for (const TTransferLeg& leg : firstLegs) {
    if (k >= first) break;
    if (stationOf[leg.Alighting] == station) rows[k++] = LegRecord(tt, sc, tc, fares, leg);
  }
  for (const TTransferLeg& leg : secondLegs) {
    if (k >= total) break;
    if (stationOf[leg.Boarding] == station) rows[k++] = LegRecord(tt, sc, tc, fares, leg);
  }
  return rows;
}

int FillTransferGrid(const TPub_Center& center, TStringGrid& grid) {
  if (grid.ColCount() < kTransferColumns) grid.SetColCount(kTransferColumns);
  if (grid.RowCount() < kTransferGridRows) grid.SetRowCount(kTransferGridRows);
  int stationCount = 0;
  for (std::size_t key = 0; key < center.TransferRows.size(); ++key) {
    const TPub_ZZStruct& row = center.TransferRows[key];
    // Only the typed names are skipped, not the rest of their city groups.
    if (row.Count2 == 0 || IsSelectedStation(center, row.Station, true, TStationSide::Departure) ||
        IsSelectedStation(center, row.Station, true, TStationSide::Arrival)) {
      continue;
    }
    ++stationCount;
    if (grid.RowCount() < stationCount) grid.SetRowCount(stationCount);
    std::vector<std::string>& cells = grid.Row(stationCount - 1);
    cells[0] = row.Station;
    cells[1] = std::to_string(row.Distance1);
    cells[2] = std::to_string(row.Distance2);
    cells[3] = std::to_string(row.Distance);
    cells[4] = row.R_Date1;
    cells[5] = row.R_Date2;
    cells[6] = row.R_Date;
    cells[7] = std::to_string(row.Count1);
    cells[8] = std::to_string(row.Count2);
    grid.SetRowKey(stationCount - 1, static_cast<int>(key));
  }
  return stationCount;
}

int OpenTransferList(const TPub_Center& center, TStringGrid& grid, TSortState& sort) {
  sort = TSortState{};
  const int stationCount = FillTransferGrid(center, grid);
  ClickTransferHeader(grid, stationCount, sort, 0);
  return stationCount;
}

std::optional<TTransferPick> TransferPickOfRow(const TPub_Center& center, const TStringGrid& grid, int row) {
  if (row < 0 || row >= grid.RowCount()) return std::nullopt;
  const int key = grid.RowKey(row);
  if (key < 0 || static_cast<std::size_t>(key) >= center.TransferRows.size()) return std::nullopt;
  const TPub_ZZStruct& r = center.TransferRows[static_cast<std::size_t>(key)];
  return TTransferPick{r.Station, r.Count1, r.Count2};
}

std::string TransferWindowCaption(int stationCount) {
  return "两地共有<" + std::to_string(stationCount) + ">个中转站供选择:";
}

std::string_view TransferNote() { return "中转换乘牵涉因素较多，请综合各种因素进行换乘站选择。"; }

const std::array<std::string_view, kTransferColumns>& TransferColumnCaptions() {
  static constexpr std::array<std::string_view, kTransferColumns> kCaptions{
      "中转站", "前里程", "后里程", "总里程", "前历时", "后历时", "总历时", "发站车数", "到站车数"};
  return kCaptions;
}

void BuildTransferResults(const TTimetable& tt, TPub_Center& center, std::string_view name, std::int32_t count1,
                          std::int32_t count2) {
  const TTransferPick pick{std::string(name), count1, count2};
  StoreResult(center, pick, TransferLegResults(tt, center.Fares, center.LegOneResults, center.LegTwoResults, pick));
}

}  // namespace vormek
