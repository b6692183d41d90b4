#include "query/query_station.h"

#include "query/table_columns.h"
#include "stations/station_selection.h"

namespace vormek {

void QueryStation(TTimetable& tt, TPub_Center& center, std::string_view comboCZ) {
  center.GridResults.clear();
  SelectTimetableStation(tt.KMSM, center, comboCZ);
  const bool exact = ApplyTimetableExactMode(center);
  const TStationMatcher selected(center.FromSelection, exact);

  const TMemTable& stops = tt.KMTrain;
  const TStopColumns sc(stops);
  const TTrainColumns tc(tt.KMList);
  const int count = stops.RecordCount();
  for (int pos = 0; pos < count; ++pos) {
    if (!selected.Contains(stops.ValueAt(pos, sc.Station))) continue;
    const std::string_view train = stops.ValueAt(pos, sc.ID);
    const int listPos = LocateTrain(tt.KMList, train);
    TPub_GridResult r;
    if (listPos >= 0) CopyTrainFields(tt.KMList, tc, listPos, r);
    if (!stops.ValueAt(pos, sc.D_Time).empty()) {
      CopyBoardingStop(stops, sc, pos, r);
      // Jump to the terminal, the train's only stop without a departure time;
      // later stops of this train at the same city are not visited.
      while (pos + 1 < count && !stops.ValueAt(pos, sc.D_Time).empty() &&
             stops.ValueAt(pos + 1, sc.ID) == train) {
        ++pos;
      }
      CopyAlightingStop(stops, sc, pos, r);
    } else {
      CopyAlightingStop(stops, sc, pos, r);
      if (listPos >= 0) BoardAtOrigin(tt.KMList, tc, listPos, r);
    }
    if (listPos < 0) continue;  // a train missing from the list yields no row
    FinishSection(center.Fares, r);
    center.GridResults.push_back(std::move(r));
  }
}

}  // namespace vormek
