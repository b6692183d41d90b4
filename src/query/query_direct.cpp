#include "query/query_direct.h"

#include "query/table_columns.h"
#include "stations/station_selection.h"

namespace vormek {

void QueryDirect(TTimetable& tt, TPub_Center& center, std::string_view comboFZ, std::string_view comboDZ) {
  center.GridResults.clear();
  SelectDeparture(tt.KMSM, center, comboFZ);
  SelectArrival(tt.KMSM, center, comboDZ);
  const bool exact = ApplyPairExactMode(center);
  const TStationMatcher from(center.FromSelection, exact);
  const TStationMatcher to(center.ToSelection, exact);

  const TMemTable& stops = tt.KMTrain;
  const TStopColumns sc(stops);
  const TTrainColumns tc(tt.KMList);
  const int count = stops.RecordCount();
  int pos = 0;
  while (pos < count) {
    const std::string_view train = stops.ValueAt(pos, sc.ID);
    int boarding = -1;
    int alighting = -1;
    for (; pos < count && stops.ValueAt(pos, sc.ID) == train; ++pos) {
      const std::string_view station = stops.ValueAt(pos, sc.Station);
      if (boarding < 0) {
        if (from.Contains(station)) boarding = pos;
      } else if (to.Contains(station)) {
        alighting = pos;  // a later arrival-side stop replaces an earlier one
      }
    }
    if (boarding < 0 || alighting < 0) continue;
    const int listPos = LocateTrain(tt.KMList, train);
    if (listPos < 0) continue;  // a train missing from the list yields no row
    TPub_GridResult& r = center.GridResults.emplace_back();
    CopyBoardingStop(stops, sc, boarding, r);
    CopyAlightingStop(stops, sc, alighting, r);
    CopyTrainFields(tt.KMList, tc, listPos, r);
    FinishSection(center.Fares, r);
  }
}

}  // namespace vormek
