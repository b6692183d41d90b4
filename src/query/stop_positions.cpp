#include "query/stop_positions.h"

#include <algorithm>

#include "data/errors.h"
#include "stations/station_selection.h"

namespace vormek {

void RequireIndex(const TTimetable& tt) {
  if (!IndexMatches(tt)) throw ETableError("the timetable's index was not built from its tables");
}

std::vector<std::uint32_t> StopsOfStations(const TTimetableIndex& ix, const std::vector<TStationId>& stations) {
  std::vector<std::uint32_t> stops;
  if (stations.size() == 1) {
    const auto at = ix.StopsAt(stations[0]);
    stops.assign(at.begin(), at.end());
    return stops;
  }
  std::size_t total = 0;
  for (TStationId s : stations) total += ix.StopsAt(s).size();
  stops.reserve(total);
  // A city has a handful of stations: merge each sorted list into the rest.
  for (TStationId s : stations) {
    const auto at = ix.StopsAt(s);
    const auto middle = static_cast<std::ptrdiff_t>(stops.size());
    stops.insert(stops.end(), at.begin(), at.end());
    std::inplace_merge(stops.begin(), stops.begin() + middle, stops.end());
  }
  stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
  return stops;
}

TStationPairStops ResolveStationPair(const TTimetable& tt, const TStationPairRequest& request) {
  RequireIndex(tt);
  TStationPairStops pair;
  pair.FromSelection = ResolveSelection(tt, request.From);
  pair.ToSelection = ResolveSelection(tt, request.To);
  const bool exact = PairExactMode(pair.FromSelection, pair.ToSelection);
  const TTimetableIndex& ix = tt.Index;
  pair.From = StopsOfStations(ix, SelectedStations(pair.FromSelection, exact, ix.Stations));
  pair.To = StopsOfStations(ix, SelectedStations(pair.ToSelection, exact, ix.Stations));
  return pair;
}

std::int32_t FindTrain(const TTimetable& tt, std::string_view id) {
  const TTimetableIndex& ix = tt.Index;
  if (ix.Trains.empty()) return -1;
  const TMemTable& stops = tt.KMTrain;
  const int idCol = stops.FieldByName("ID").Column();
  auto idOf = [&](std::uint32_t t) { return stops.ValueAt(static_cast<int>(ix.Trains[t].First), idCol); };
  const auto it = std::lower_bound(ix.TrainsById.begin(), ix.TrainsById.end(), id,
                                   [&](std::uint32_t t, std::string_view v) { return idOf(t) < v; });
  if (it == ix.TrainsById.end() || idOf(*it) != id) return -1;
  return static_cast<std::int32_t>(*it);
}

}  // namespace vormek
