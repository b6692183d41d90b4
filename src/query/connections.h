#pragma once
// Connections: a first train from the departure side to a transfer station X
// and a second train from X to the arrival side, leaving X at least the
// minimum change time after the first arrives (trains run daily, so the wait
// counts forward across midnight and may not exceed a day). For each pair of
// trains only the first feasible X along the first train's run is kept.
//
// The stop table is turned once into flat arrays (station ids, clock and
// elapsed minutes, kilometres); a query joins the first legs and the second
// legs on X through per-station lists instead of walking the cursor.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/timetable.h"
#include "query/table_columns.h"
#include "rules/UPub_Center.h"

namespace vormek {

inline constexpr int kDefaultMinChange = 30;  // minutes
inline constexpr int kDefaultMaxConnections = 200;

struct TConnectionOptions {
  int MinChange = kDefaultMinChange;
  int MaxCount = kDefaultMaxConnections;
};

struct TConnection {
  // Both legs as complete result rows (train fields, section, section fares).
  TPub_GridResult First;   // boards on the departure side, alights at X
  TPub_GridResult Second;  // boards at X, alights on the arrival side
  std::int32_t WaitMinutes = 0;
  std::int32_t TotalMinutes = 0;  // departure from FROM to arrival at TO
  std::int32_t TotalDistance = 0;
  std::string HardSeatFare;  // sum of both legs' hard seat fares; "-" when a leg has none
};

// The stop table as flat arrays. Holds views into the tables: valid while
// they live and are not reloaded. KMTrain must have its SIDNo order current.
class TConnectionIndex {
 public:
  explicit TConnectionIndex(const TTimetable& timetable);

  int StationCount() const { return static_cast<int>(stationNames_.size()); }
  int TrainCount() const { return static_cast<int>(trainFirst_.size()); }
  // The id of a station name, -1 when no train calls there.
  int StationId(std::string_view name) const;
  // The stop positions at a station, in table order.
  std::span<const std::int32_t> StopsAt(std::int32_t station) const {
    return {stationStops_.data() + stationStopStart_[static_cast<std::size_t>(station)],
            stationStops_.data() + stationStopStart_[static_cast<std::size_t>(station) + 1]};
  }

 private:
  friend class TConnectionSearch;
  friend class TJourneySearch;
  struct Stop {
    std::int32_t station;
    std::int32_t train;
    std::int32_t arrClock;    // minutes after midnight, -1 when none
    std::int32_t depClock;    // minutes after midnight, -1 when none
    std::int32_t arrElapsed;  // minutes since the origin's departure
    std::int32_t depElapsed;
    std::int32_t km;
  };
  std::vector<Stop> stops_;               // in stop-table order (= table position)
  std::vector<std::int32_t> trainFirst_;  // first stop of each train; trainFirst_[t+1] ends it
  std::vector<std::string_view> stationNames_;
  std::vector<std::int32_t> stationStopStart_;  // stops at a station: stationStops_[start[s]..start[s+1])
  std::vector<std::int32_t> stationStops_;
  std::unordered_map<std::string_view, std::int32_t> stationIds_;
};

// Connections between two selections (city groups resolved as for the direct
// query: with exact mode only the typed names count). Sorted by total
// journey time, then departure time from FROM, then the trains' order in the
// stop table; at most options.MaxCount, the best kept while the search runs.
// total, when given, counts every connection there is. Moves KMList's cursor.
std::vector<TConnection> FindConnections(const TConnectionIndex& index, TTimetable& timetable,
                                         const TPub_FZStruct& from, const TPub_FZStruct& to, bool exact,
                                         const TConnectionOptions& options, const TFareTables& fares,
                                         std::size_t* total = nullptr);

// The same from two typed names, resolved through KMSM.
std::vector<TConnection> FindConnections(const TConnectionIndex& index, TTimetable& timetable, std::string_view from,
                                         std::string_view to, const TConnectionOptions& options,
                                         const TFareTables& fares, std::size_t* total = nullptr);

// One ride as a result row of its own: the train's fields, the section from
// the boarding to the alighting stop (positions in the stop table) and its
// fares. Moves KMList's cursor.
TPub_GridResult RideRecord(TTimetable& timetable, const TStopColumns& stopColumns, const TTrainColumns& trainColumns,
                           const TFareTables& fares, std::int32_t boarding, std::int32_t alighting);

// Station ids of one side: the typed name alone (exact), or its whole city
// group; names no train calls at are left out.
std::vector<std::int32_t> SideStationIds(const TConnectionIndex& index, const TPub_FZStruct& selection, bool exact);

// "HH:MM" clock text to minutes after midnight; -1 when it does not read.
std::int32_t ClockMinutes(std::string_view text);
// The wait from an arrival clock to a departure clock for a given minimum
// change time: the next daily departure at least minChange later; -1 when
// that is more than a day away.
std::int32_t ConnectionWait(std::int32_t arrClock, std::int32_t depClock, int minChange);

}  // namespace vormek
