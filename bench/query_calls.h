#pragma once
// The one place where the benchmarks call the program's loading and query
// functions. When their signatures change, only this file follows.
#include <string_view>
#include <vector>

#include "data/item_set.h"
#include "data/timetable.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_transfer.h"
#include "rules/UPub_Center.h"

namespace vormek::bench {

// Loads the four tables from items as the program does.
inline void LoadTables(const TItemSet& items, TTimetable& timetable) { LoadTimetable(items, timetable); }

// What a query needs besides the timetable, and where its answer stays.
struct TQueryContext {
  TQueryContext() { Center.Fares = BuildFareTables(); }
  const TFareTables& Fares() const { return Center.Fares; }
  TPub_Center Center;
};

// Station-to-station rows.
inline const std::vector<TPub_GridResult>& RunDirect(TTimetable& tt, TQueryContext& q, std::string_view from,
                                                     std::string_view to) {
  QueryDirect(tt, q.Center, from, to);
  return q.Center.GridResults;
}

// Station timetable rows.
inline const std::vector<TPub_GridResult>& RunStation(TTimetable& tt, TQueryContext& q, std::string_view station) {
  QueryStation(tt, q.Center, station);
  return q.Center.GridResults;
}

// The transfer stations (both leg scans and the rows, as the window opens).
inline const std::vector<TPub_ZZStruct>& RunTransfer(TTimetable& tt, TQueryContext& q, std::string_view from,
                                                     std::string_view to) {
  QueryTransfer(tt, q.Center, from, to);
  return q.Center.TransferRows;
}

}  // namespace vormek::bench
