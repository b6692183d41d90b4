#pragma once
// The timetable in SQLite, as a careful engineer would put it there, and the
// same queries as prepared statements. It answers into the program's own
// records, so a benchmark can check that both sides give the same rows.
#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek::bench {

class TSqlitePeer {
 public:
  // Opens (or creates) the database at path; ":memory:" keeps it in memory.
  explicit TSqlitePeer(const std::string& path);
  ~TSqlitePeer();
  TSqlitePeer(const TSqlitePeer&) = delete;
  TSqlitePeer& operator=(const TSqlitePeer&) = delete;

  // Creates the tables and indexes and copies the timetable in, one
  // transaction. Stops keep their position in the stop table as rowid.
  void Fill(const TTimetable& timetable);
  // Prepares the statements; call after Fill, or on a filled database.
  void Prepare();

  // The rows of the station-to-station query, in stop-table order.
  void Direct(const TFareTables& fares, std::string_view from, std::string_view to, std::vector<TPub_GridResult>& rows);
  // The rows of the station timetable query, in stop-table order.
  void Station(const TFareTables& fares, std::string_view station, std::vector<TPub_GridResult>& rows);
  // The transfer rows, in the order the first legs meet the stations.
  void Transfer(std::string_view from, std::string_view to, std::vector<TPub_ZZStruct>& rows);

 private:
  struct TStatements;
  int GroupOf(std::string_view station);
  void Exec(const char* sql);
  sqlite3* db_ = nullptr;
  std::unique_ptr<TStatements> st_;
};

}  // namespace vormek::bench
