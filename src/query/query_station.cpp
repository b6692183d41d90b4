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
  for (const std::uint32_t pos : selected) {
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
