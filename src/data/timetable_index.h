#pragma once
// Columns derived from the four tables once they are loaded, so that the
// queries compare station numbers instead of texts, know where each train's
// stops begin and end, and visit only the stops of the stations asked for.
// Positions are those of each table's current order.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "data/mapped_array.h"
#include "data/station_dictionary.h"

namespace vormek {

struct TTimetable;

// One train of the stop table: a run of stops with the same ID.
struct TTrainRun {
  std::uint32_t First = 0;     // position of its first stop
  std::uint32_t Last = 0;      // position of its last stop
  std::uint32_t Terminal = 0;  // its first stop without a departure time, else Last
  std::int32_t ListPos = -1;   // its train list record, -1 when it has none
};

struct TTimetableIndex {
  TStationDictionary Stations;
  // Per stop position.
  TMappedArray<TStationId> StopStation;
  TMappedArray<std::uint32_t> StopTrain;  // index into Trains
  TMappedArray<TTrainRun> Trains;         // in stop-table order
  // Train indexes ordered by ID, equal IDs in stop-table order: a look-up by
  // number finds the first run, as a search of the stop table does.
  TMappedArray<std::uint32_t> TrainsById;
  // Stop positions of each station, ascending: those of station s are
  // StationStops[StationStart[s] .. StationStart[s + 1]).
  TMappedArray<std::uint32_t> StationStart;
  TMappedArray<std::uint32_t> StationStops;
  // Per train list position: its run in Trains (the first one with its ID),
  // -1 when the stop table does not hold it; and its two end stations.
  TMappedArray<std::int32_t> ListTrain;
  TMappedArray<TStationId> ListStart;
  TMappedArray<TStationId> ListEnd;
  // Per group table position its station; per station its first group table
  // position, -1 for a station in no group.
  TMappedArray<TStationId> GroupStation;
  TMappedArray<std::int32_t> GroupRecord;
  // Per pinyin table position its station.
  TMappedArray<TStationId> PinyinStation;

  // The image these arrays view, when they came from one; empty when built.
  std::shared_ptr<const void> Image;

  std::span<const std::uint32_t> StopsAt(TStationId station) const {
    if (station >= Stations.Size()) return {};
    const std::uint32_t begin = StationStart[station];
    const std::uint32_t end = StationStart[station + 1];
    if (begin == end) return {};
    return {StationStops.data() + begin, StationStops.data() + end};
  }
};

// Builds the index of the tables as they are now. A table that lacks a column
// the index reads gets no derived columns, and the queries then refuse the
// timetable (IndexMatches is false).
TTimetableIndex BuildTimetableIndex(const TTimetable& timetable);

// Whether the index was built from these tables (the sizes agree); the queries
// refuse to run on a stale one.
bool IndexMatches(const TTimetable& timetable);

}  // namespace vormek
