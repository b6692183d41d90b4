#pragma once
// The one place where the benchmarks call the program's loading and query
// functions. When their signatures change, only this file follows.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/item_set.h"
#include "data/timetable.h"
#include "data/timetable_image.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_transfer.h"
#include "rules/UPub_Center.h"

namespace vormek::bench {

// Loads the four tables from items as the program does.
inline void LoadTables(const TItemSet& items, TTimetable& timetable) { LoadTimetable(items, timetable); }

// The image of loaded tables, and a timetable opened from one as the
// command-line tool opens its own (Skip) or a cached one (Verify).
inline std::string WriteImage(const TTimetable& timetable) { return WriteTimetableImage(timetable, "bench"); }
inline void OpenImage(std::span<const std::byte> image, TImageChecksum checksum, TTimetable& timetable) {
  OpenTimetableImage(image, nullptr, checksum, timetable);
}

// What a query needs besides the timetable, and where its answer stays.
struct TQueryContext {
  TQueryContext() : Fares(BuildFareTables()) {}
  TFareTables Fares;
  std::vector<TPub_GridResult> Rows;
  std::vector<TPub_ZZStruct> TransferRows;
};

// Station-to-station rows.
inline const std::vector<TPub_GridResult>& RunDirect(const TTimetable& tt, TQueryContext& q, std::string_view from,
                                                     std::string_view to) {
  q.Rows = QueryDirect(tt, q.Fares, {std::string(from), std::string(to)}).Rows;
  return q.Rows;
}

// Station timetable rows.
inline const std::vector<TPub_GridResult>& RunStation(const TTimetable& tt, TQueryContext& q,
                                                      std::string_view station) {
  q.Rows = QueryStation(tt, q.Fares, {std::string(station)}).Rows;
  return q.Rows;
}

// The transfer stations (both leg scans and the rows, as the window opens).
inline const std::vector<TPub_ZZStruct>& RunTransfer(const TTimetable& tt, TQueryContext& q, std::string_view from,
                                                     std::string_view to) {
  q.TransferRows = QueryTransfer(tt, {std::string(from), std::string(to)}).Rows;
  return q.TransferRows;
}

}  // namespace vormek::bench
