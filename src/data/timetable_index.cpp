#include "data/timetable_index.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/timetable.h"

namespace vormek {

namespace {

// The index's arrays while they are built; they become the index's own once
// done.
struct TIndexParts {
  TStationDictionary Stations;
  std::vector<TStationId> StopStation;
  std::vector<std::uint32_t> StopTrain;
  std::vector<TTrainRun> Trains;
  std::vector<std::uint32_t> TrainsById;
  std::vector<std::uint32_t> StationStart;
  std::vector<std::uint32_t> StationStops;
  std::vector<std::int32_t> ListTrain;
  std::vector<TStationId> ListStart;
  std::vector<TStationId> ListEnd;
  std::vector<TStationId> GroupStation;
  std::vector<std::int32_t> GroupRecord;
  std::vector<TStationId> PinyinStation;
};

// -1 when the table lacks the column: tables without it get no derived
// column, and a query that needs it fails as it would without the index.
int ColumnOf(const TMemTable& table, std::string_view name) {
  try {
    return table.FieldByName(name).Column();
  } catch (const ETableError&) {
    return -1;
  }
}

// Station of every record of a one-station-column table.
std::vector<TStationId> StationColumn(const TMemTable& table, std::string_view column, TStationDictionary& dict) {
  std::vector<TStationId> ids;
  const int c = ColumnOf(table, column);
  if (c < 0) return ids;
  const int count = table.RecordCount();
  ids.reserve(static_cast<std::size_t>(count));
  for (int pos = 0; pos < count; ++pos) ids.push_back(dict.Add(table.ValueAt(pos, c)));
  return ids;
}

void IndexStops(const TMemTable& stops, TIndexParts& ix) {
  const int idCol = ColumnOf(stops, "ID");
  const int stationCol = ColumnOf(stops, "Station");
  const int departureCol = ColumnOf(stops, "D_Time");
  if (idCol < 0 || stationCol < 0 || departureCol < 0) return;
  const auto count = static_cast<std::uint32_t>(stops.RecordCount());
  ix.StopStation.reserve(count);
  ix.StopTrain.reserve(count);
  std::string_view id;
  for (std::uint32_t pos = 0; pos < count; ++pos) {
    const std::string_view stopId = stops.ValueAt(static_cast<int>(pos), idCol);
    if (pos == 0 || stopId != id) {
      // A train is a run of stops with one ID, as the current order keeps them.
      id = stopId;
      ix.Trains.push_back({pos, pos, pos, -1});
    }
    TTrainRun& run = ix.Trains.back();
    // The terminal is the first stop without a departure time.
    if (run.Last == run.Terminal && !stops.ValueAt(static_cast<int>(run.Terminal), departureCol).empty())
      run.Terminal = pos;
    run.Last = pos;
    ix.StopStation.push_back(ix.Stations.Add(stops.ValueAt(static_cast<int>(pos), stationCol)));
    ix.StopTrain.push_back(static_cast<std::uint32_t>(ix.Trains.size() - 1));
  }
}

void SortTrainsById(const TMemTable& stops, TIndexParts& ix) {
  ix.TrainsById.resize(ix.Trains.size());
  std::iota(ix.TrainsById.begin(), ix.TrainsById.end(), 0u);
  if (ix.Trains.empty()) return;
  const int idCol = ColumnOf(stops, "ID");
  std::stable_sort(ix.TrainsById.begin(), ix.TrainsById.end(), [&](std::uint32_t a, std::uint32_t b) {
    return stops.ValueAt(static_cast<int>(ix.Trains[a].First), idCol) <
           stops.ValueAt(static_cast<int>(ix.Trains[b].First), idCol);
  });
}

// Counting sort of the stop positions by station: each station's positions
// come out ascending.
void IndexStations(TIndexParts& ix) {
  const std::size_t stations = ix.Stations.Size();
  ix.StationStart.assign(stations + 1, 0);
  for (TStationId s : ix.StopStation) ++ix.StationStart[s + 1];
  for (std::size_t s = 0; s < stations; ++s) ix.StationStart[s + 1] += ix.StationStart[s];
  ix.StationStops.resize(ix.StopStation.size());
  std::vector<std::uint32_t> next(ix.StationStart.begin(), ix.StationStart.end() - 1);
  for (std::uint32_t pos = 0; pos < ix.StopStation.size(); ++pos) ix.StationStops[next[ix.StopStation[pos]]++] = pos;
}

void IndexTrainList(const TMemTable& list, const TMemTable& stops, TIndexParts& ix) {
  const int idCol = ColumnOf(list, "ID");
  const int startCol = ColumnOf(list, "startStation");
  const int endCol = ColumnOf(list, "endStation");
  if (idCol < 0 || startCol < 0 || endCol < 0) return;
  const int count = list.RecordCount();
  // The first record of each ID, as a look-up by ID finds it.
  std::unordered_map<std::string_view, std::int32_t> listOf;
  listOf.reserve(static_cast<std::size_t>(count));
  for (int pos = 0; pos < count; ++pos) listOf.try_emplace(list.ValueAt(pos, idCol), pos);
  std::unordered_map<std::string_view, std::int32_t> trainOf;
  if (!ix.Trains.empty()) {
    const int stopIdCol = ColumnOf(stops, "ID");
    trainOf.reserve(ix.Trains.size());
    for (std::size_t t = 0; t < ix.Trains.size(); ++t) {
      TTrainRun& run = ix.Trains[t];
      const std::string_view id = stops.ValueAt(static_cast<int>(run.First), stopIdCol);
      trainOf.try_emplace(id, static_cast<std::int32_t>(t));
      const auto found = listOf.find(id);
      if (found != listOf.end()) run.ListPos = found->second;
    }
  }
  ix.ListTrain.reserve(static_cast<std::size_t>(count));
  ix.ListStart.reserve(static_cast<std::size_t>(count));
  ix.ListEnd.reserve(static_cast<std::size_t>(count));
  for (int pos = 0; pos < count; ++pos) {
    const auto found = trainOf.find(list.ValueAt(pos, idCol));
    ix.ListTrain.push_back(found == trainOf.end() ? -1 : found->second);
    ix.ListStart.push_back(ix.Stations.Add(list.ValueAt(pos, startCol)));
    ix.ListEnd.push_back(ix.Stations.Add(list.ValueAt(pos, endCol)));
  }
}

}  // namespace

TTimetableIndex BuildTimetableIndex(const TTimetable& tt) {
  TIndexParts ix;
  IndexStops(tt.KMTrain, ix);
  SortTrainsById(tt.KMTrain, ix);
  IndexTrainList(tt.KMList, tt.KMTrain, ix);
  ix.GroupStation = StationColumn(tt.KMSM, "Station", ix.Stations);
  ix.PinyinStation = StationColumn(tt.KMPy, "Station", ix.Stations);
  ix.GroupRecord.assign(ix.Stations.Size(), -1);
  for (std::size_t pos = ix.GroupStation.size(); pos-- > 0;)
    ix.GroupRecord[ix.GroupStation[pos]] = static_cast<std::int32_t>(pos);
  IndexStations(ix);
  TTimetableIndex index;
  index.Stations = std::move(ix.Stations);
  index.StopStation = std::move(ix.StopStation);
  index.StopTrain = std::move(ix.StopTrain);
  index.Trains = std::move(ix.Trains);
  index.TrainsById = std::move(ix.TrainsById);
  index.StationStart = std::move(ix.StationStart);
  index.StationStops = std::move(ix.StationStops);
  index.ListTrain = std::move(ix.ListTrain);
  index.ListStart = std::move(ix.ListStart);
  index.ListEnd = std::move(ix.ListEnd);
  index.GroupStation = std::move(ix.GroupStation);
  index.GroupRecord = std::move(ix.GroupRecord);
  index.PinyinStation = std::move(ix.PinyinStation);
  return index;
}

bool IndexMatches(const TTimetable& tt) {
  const TTimetableIndex& ix = tt.Index;
  return ix.StopStation.size() == static_cast<std::size_t>(tt.KMTrain.RecordCount()) &&
         ix.ListTrain.size() == static_cast<std::size_t>(tt.KMList.RecordCount()) &&
         ix.GroupStation.size() == static_cast<std::size_t>(tt.KMSM.RecordCount()) &&
         ix.PinyinStation.size() == static_cast<std::size_t>(tt.KMPy.RecordCount()) &&
         ix.StationStart.size() == ix.Stations.Size() + 1;
}

}  // namespace vormek
