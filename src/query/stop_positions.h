#pragma once
// What the queries ask of the timetable's index: the stops of a set of
// stations, and a train by its number.
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/timetable.h"
#include "query/query_results.h"

namespace vormek {

// Throws ETableError when the index was not built from these tables.
void RequireIndex(const TTimetable& timetable);

// Every stop position of the stations, ascending (so grouped by train, in
// stop order within a train).
std::vector<std::uint32_t> StopsOfStations(const TTimetableIndex& index, const std::vector<TStationId>& stations);

// Both sides of a station pair: their selections (exact names when both
// boxes hold one, else whole cities) and the stops each side covers.
struct TStationPairStops {
  TPub_FZStruct FromSelection;
  TPub_DZStruct ToSelection;
  std::vector<std::uint32_t> From, To;
};
TStationPairStops ResolveStationPair(const TTimetable& timetable, const TStationPairRequest& request);

// The first run of stops with this train number, or -1.
std::int32_t FindTrain(const TTimetable& timetable, std::string_view id);

}  // namespace vormek
