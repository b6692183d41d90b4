#include "query/query_transfer.h"

#include <string>
#include <unordered_map>

#include "query/table_columns.h"

namespace vormek {

namespace {

constexpr std::size_t kLegRoom = 5000;

// Half-open stop ranges [begin, end) of the trains, in stop-table order.
struct TTrainRange {
  int begin;
  int end;
};

std::vector<TTrainRange> TrainRanges(const TMemTable& stops, int idCol) {
  std::vector<TTrainRange> ranges;
  const int count = stops.RecordCount();
  int pos = 0;
  while (pos < count) {
    const std::string_view id = stops.ValueAt(pos, idCol);
    const int begin = pos;
    while (pos < count && stops.ValueAt(pos, idCol) == id) ++pos;
    ranges.push_back({begin, pos});
  }
  return ranges;
}

// Completes a leg into a result record as the direct query fills one.
void CompleteLeg(TTimetable& tt, const TTrainColumns& tc, const TFareTables& fares,
                 const TPub_GridResult& leg, TPub_GridResult& r) {
  const int listPos = LocateTrain(tt.KMList, leg.ID);
  if (listPos < 0) return;  // the record stays empty
  r = leg;
  CopyTrainFields(tt.KMList, tc, listPos, r);
  FinishSection(fares, r);
}

// The boarding stop is the same for all legs of one train: it is read once
// and copied, and only the alighting stop is read per leg.
void FirstLegs(const TMemTable& stops, const std::vector<TTrainRange>& ranges, const TStationMatcher& departure,
               std::vector<TPub_GridResult>& legs) {
  legs.clear();
  legs.reserve(kLegRoom);
  const TStopColumns c(stops);
  TPub_GridResult leg;
  for (const TTrainRange& t : ranges) {
    int boarding = t.begin;
    while (boarding < t.end && !departure.Contains(stops.ValueAt(boarding, c.Station))) ++boarding;
    if (boarding + 1 >= t.end) continue;
    leg.ID = stops.ValueAt(boarding, c.ID);
    CopyBoardingStop(stops, c, boarding, leg);
    for (int pos = boarding + 1; pos < t.end; ++pos) {
      CopyAlightingStop(stops, c, pos, leg);
      legs.push_back(leg);
    }
  }
}

void SecondLegs(const TMemTable& stops, const std::vector<TTrainRange>& ranges, const TStationMatcher& arrival,
                std::vector<TPub_GridResult>& legs) {
  legs.clear();
  legs.reserve(kLegRoom);
  const TStopColumns c(stops);
  TPub_GridResult leg;
  for (auto t = ranges.rbegin(); t != ranges.rend(); ++t) {
    int alighting = t->end - 1;
    while (alighting >= t->begin && !arrival.Contains(stops.ValueAt(alighting, c.Station))) --alighting;
    if (alighting - 1 < t->begin) continue;
    leg.ID = stops.ValueAt(alighting, c.ID);
    CopyAlightingStop(stops, c, alighting, leg);
    for (int pos = alighting - 1; pos >= t->begin; --pos) {
      CopyBoardingStop(stops, c, pos, leg);
      legs.push_back(leg);
    }
  }
}

}  // namespace

void CollectFirstLegs(const TMemTable& stops, const TStationMatcher& departure,
                      std::vector<TPub_GridResult>& legs) {
  FirstLegs(stops, TrainRanges(stops, TStopColumns(stops).ID), departure, legs);
}

void CollectSecondLegs(const TMemTable& stops, const TStationMatcher& arrival,
                       std::vector<TPub_GridResult>& legs) {
  SecondLegs(stops, TrainRanges(stops, TStopColumns(stops).ID), arrival, legs);
}

void BuildTransferRows(TPub_Center& center) {
  center.TransferRows.clear();
  std::unordered_map<std::string_view, std::size_t> rowOf;
  for (const TPub_GridResult& leg : center.LegOneResults) {
    auto [it, added] = rowOf.try_emplace(leg.DZ_Station, center.TransferRows.size());
    if (!added) {
      ++center.TransferRows[it->second].Count1;
      continue;
    }
    TPub_ZZStruct& row = center.TransferRows.emplace_back();
    row.Station = leg.DZ_Station;
    row.Distance1 = leg.DZ_Distance - leg.FZ_Distance;
    row.R_Date1 = ElapsedDifference(leg.FZ_R_Date, leg.DZ_R_Date);
    row.Count1 = 1;
  }
  // Every matching second leg overwrites the row's second-leg values, so the
  // last one decides them; they are worked out once per row.
  std::vector<const TPub_GridResult*> lastLeg(center.TransferRows.size(), nullptr);
  for (const TPub_GridResult& leg : center.LegTwoResults) {
    const auto it = rowOf.find(leg.FZ_Station);
    if (it == rowOf.end()) continue;
    lastLeg[it->second] = &leg;
    ++center.TransferRows[it->second].Count2;
  }
  for (std::size_t i = 0; i < lastLeg.size(); ++i) {
    const TPub_GridResult* leg = lastLeg[i];
    if (leg == nullptr) continue;
    TPub_ZZStruct& row = center.TransferRows[i];
    row.Distance2 = leg->DZ_Distance - leg->FZ_Distance;
    row.Distance = row.Distance1 + row.Distance2;
    row.R_Date2 = ElapsedDifference(leg->FZ_R_Date, leg->DZ_R_Date);
    row.R_Date = MinutesToDuration(DurationToMinutes(row.R_Date1) + DurationToMinutes(row.R_Date2));
  }
}

void QueryTransfer(TTimetable& tt, TPub_Center& center, std::string_view comboFZ, std::string_view comboDZ) {
  center.GridResults.clear();
  center.LegOneResults.clear();
  center.LegTwoResults.clear();
  SelectDeparture(tt.KMSM, center, comboFZ);
  SelectArrival(tt.KMSM, center, comboDZ);
  const bool exact = ApplyPairExactMode(center);
  // Both scans share one pass that finds where each train's stops lie.
  const std::vector<TTrainRange> ranges = TrainRanges(tt.KMTrain, TStopColumns(tt.KMTrain).ID);
  FirstLegs(tt.KMTrain, ranges, TStationMatcher(center.FromSelection, exact), center.LegOneResults);
  SecondLegs(tt.KMTrain, ranges, TStationMatcher(center.ToSelection, exact), center.LegTwoResults);
  BuildTransferRows(center);
}

int FillTransferGrid(const TPub_Center& center, TStringGrid& grid) {
  if (grid.ColCount() < kTransferColumns) grid.SetColCount(kTransferColumns);
  if (grid.RowCount() < kTransferGridRows) grid.SetRowCount(kTransferGridRows);
  int stationCount = 0;
  for (const TPub_ZZStruct& row : center.TransferRows) {
    // Only the typed names are skipped, not the rest of their city groups.
    if (row.Count2 == 0 || IsSelectedStation(center, row.Station, true, SideDeparture) ||
        IsSelectedStation(center, row.Station, true, SideArrival)) {
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
  }
  return stationCount;
}

int OpenTransferList(const TPub_Center& center, TStringGrid& grid, TSortState& sort) {
  sort = TSortState{};
  const int stationCount = FillTransferGrid(center, grid);
  ClickTransferHeader(grid, stationCount, sort, 0);
  return stationCount;
}

std::string TransferWindowCaption(int stationCount) {
  return "两地共有<" + std::to_string(stationCount) + ">个中转站供选择:";
}

void BuildTransferResults(TTimetable& tt, TPub_Center& center, std::string_view name, std::int32_t count1,
                          std::int32_t count2) {
  center.TransferStation = std::string(name);
  center.GridResults.clear();
  // Counts come from grid cells; never write past the records made for them.
  const std::size_t first = count1 > 0 ? static_cast<std::size_t>(count1) : 0;
  const std::size_t total = first + (count2 > 0 ? static_cast<std::size_t>(count2) : 0);
  center.GridResults.resize(total);
  const TTrainColumns tc(tt.KMList);
  std::size_t k = 0;
  for (const TPub_GridResult& leg : center.LegOneResults) {
    if (k >= first) break;
    if (leg.DZ_Station != name) continue;
    CompleteLeg(tt, tc, center.Fares, leg, center.GridResults[k++]);
  }
  for (const TPub_GridResult& leg : center.LegTwoResults) {
    if (k >= total) break;
    if (leg.FZ_Station != name) continue;
    CompleteLeg(tt, tc, center.Fares, leg, center.GridResults[k++]);
  }
}

}  // namespace vormek
