#include "query/query_direct.h"

#include <cstdint>
#include <utility>

#include "query/stop_positions.h"
#include "query/table_columns.h"

namespace vormek {

TDirectResult QueryDirect(const TTimetable& tt, const TFareTables& fares, const TStationPairRequest& request) {
  TStationPairStops pair = ResolveStationPair(tt, request);
  TDirectResult result;
  result.FromSelection = std::move(pair.FromSelection);
  result.ToSelection = std::move(pair.ToSelection);
  const std::vector<std::uint32_t>& from = pair.From;
  const std::vector<std::uint32_t>& to = pair.To;
  if (from.empty()) return result;
  const TTimetableIndex& ix = tt.Index;

  const TStopColumns sc(tt.KMTrain);
  const TTrainColumns tc(tt.KMList);
  std::size_t next = 0;  // into `to`; both lists run in train order
  std::uint32_t previousTrain = UINT32_MAX;
  for (const std::uint32_t boarding : from) {
    const std::uint32_t train = ix.StopTrain[boarding];
    if (train == previousTrain) continue;  // a train boards at its first departure-side stop
    previousTrain = train;
    const TTrainRun& run = ix.Trains[train];
    // The last arrival-side stop after boarding, within this train.
    std::int64_t alighting = -1;
    for (; next < to.size() && to[next] <= run.Last; ++next)
      if (to[next] > boarding) alighting = to[next];
    if (alighting < 0 || run.ListPos < 0) continue;  // a train missing from the list yields no row
    TPub_GridResult& r = result.Rows.emplace_back();
    CopyBoardingStop(tt.KMTrain, sc, static_cast<int>(boarding), r);
    CopyAlightingStop(tt.KMTrain, sc, static_cast<int>(alighting), r);
    CopyTrainFields(tt.KMList, tc, run.ListPos, r);
    FinishSection(fares, r);
  }
  return result;
}

void QueryDirect(const TTimetable& tt, TPub_Center& center, std::string_view comboFZ, std::string_view comboDZ) {
  StoreResult(center, QueryDirect(tt, center.Fares, TStationPairRequest{std::string(comboFZ), std::string(comboDZ)}));
}

}  // namespace vormek
