#include "query/query_station.h"

#include "query/stop_positions.h"
#include "query/table_columns.h"
#include "stations/station_selection.h"

namespace vormek {

TStationResult QueryStation(const TTimetable& tt, const TFareTables& fares, const TStationRequest& request) {
  RequireIndex(tt);
  TStationResult result;
  result.Selection = ResolveSelection(tt, request.Station);
  const bool exact = result.Selection.Gp == 0;
  if (exact) result.Selection.Group.clear();
  const TTimetableIndex& ix = tt.Index;
  const std::vector<std::uint32_t> selected =
      StopsOfStations(ix, SelectedStations(result.Selection, exact, ix.Stations));

  const TMemTable& stops = tt.KMTrain;
  const TStopColumns sc(stops);
  const TTrainColumns tc(tt.KMList);
  std::uint32_t resume = 0;  // stops before it were passed by a jump to a terminal
  result.Rows.reserve(selected.size());
  // The stops of a big city lie all over a large table: while one row is
  // made, ask the memory for what the rows some steps later read, each step
  // needing what the one before brought in.
  constexpr std::size_t kStep = 8;
  using P = TMemTable::TPrefetch;
  auto runOf = [&ix](std::uint32_t pos) -> const TTrainRun& { return ix.Trains[ix.StopTrain[pos]]; };
  auto ahead = [&selected](std::size_t i, std::size_t steps) {
    return i + steps * kStep < selected.size() ? static_cast<int>(selected[i + steps * kStep]) : -1;
  };
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (const int later = ahead(i, 4); later >= 0) {
      stops.Prefetch(later, P::Order);
      __builtin_prefetch(&ix.StopTrain[static_cast<std::size_t>(later)]);
    }
    if (const int later = ahead(i, 3); later >= 0) {
      stops.Prefetch(later, P::Place);
      __builtin_prefetch(&runOf(static_cast<std::uint32_t>(later)));
    }
    if (const int later = ahead(i, 2); later >= 0) {
      const TTrainRun& run = runOf(static_cast<std::uint32_t>(later));
      stops.Prefetch(later, P::Values);
      stops.Prefetch(static_cast<int>(run.Terminal), P::Order);
      tt.KMList.Prefetch(run.ListPos, P::Order);
    }
    if (const int later = ahead(i, 1); later >= 0) {
      const TTrainRun& run = runOf(static_cast<std::uint32_t>(later));
      stops.Prefetch(static_cast<int>(run.Terminal), P::Place);
      tt.KMList.Prefetch(run.ListPos, P::Place);
    }
    if (i + 1 < selected.size()) {
      const TTrainRun& run = runOf(selected[i + 1]);
      stops.Prefetch(static_cast<int>(run.Terminal), P::Values);
      tt.KMList.Prefetch(run.ListPos, P::Values);
    }
    const std::uint32_t pos = selected[i];
    if (pos < resume) continue;
    const TTrainRun& run = ix.Trains[ix.StopTrain[pos]];
    const bool leaves = !stops.ValueAt(static_cast<int>(pos), sc.D_Time).empty();
    std::uint32_t alighting = pos;
    if (leaves) {
      // On to the terminal, the first later stop without a departure time;
      // later stops of this train in the same city are not visited.
      if (pos <= run.Terminal) {
        alighting = run.Terminal;
      } else {
        while (alighting < run.Last && !stops.ValueAt(static_cast<int>(alighting), sc.D_Time).empty()) ++alighting;
      }
    }
    resume = alighting + 1;
    if (run.ListPos < 0) continue;  // a train missing from the list yields no row
    TPub_GridResult& r = result.Rows.emplace_back();
    CopyTrainFields(tt.KMList, tc, run.ListPos, r);
    CopyAlightingStop(stops, sc, static_cast<int>(alighting), r);
    if (leaves) {
      CopyBoardingStop(stops, sc, static_cast<int>(pos), r);
    } else {
      BoardAtOrigin(tt.KMList, tc, run.ListPos, r);  // the train ends here: from its origin
    }
    FinishSection(fares, r);
  }
  return result;
}

void QueryStation(const TTimetable& tt, TPub_Center& center, std::string_view comboCZ) {
  StoreResult(center, QueryStation(tt, center.Fares, TStationRequest{std::string(comboCZ)}));
}

}  // namespace vormek
