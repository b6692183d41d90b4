#include "sqlite_peer.h"

#include <stdexcept>
#include <unordered_map>

namespace vormek::bench {

namespace {

// Tables as the queries read them. A train gets a dense number (tid) in
// stop-table order; its first and last stop positions sit in its row, so
// a range of a train's stops is a rowid range.
constexpr const char* kSchema = R"sql(
CREATE TABLE stops(pos INTEGER PRIMARY KEY, tid INTEGER NOT NULL, station TEXT NOT NULL, s_no INTEGER,
                   a_time TEXT, d_time TEXT, r_date TEXT, distance INTEGER, p1 TEXT, p2 TEXT, p3 TEXT, p4 TEXT);
CREATE TABLE trains(tid INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, ntype INTEGER, start_station TEXT,
                    end_station TEXT, a_time TEXT, r_date TEXT, distance INTEGER, p1 TEXT, p2 TEXT, p3 TEXT,
                    p4 TEXT, first_pos INTEGER, last_pos INTEGER);
CREATE TABLE groups(station TEXT PRIMARY KEY, gp INTEGER NOT NULL) WITHOUT ROWID;
)sql";

// Built after the rows are in: a covering index from station to the train
// and the stop position, and the group number to its stations.
constexpr const char* kIndexes = R"sql(
CREATE INDEX stops_by_station ON stops(station, tid, pos);
CREATE INDEX groups_by_gp ON groups(gp, station);
ANALYZE;
)sql";

// The stations one side matches: the typed name, plus its city group unless
// the caller binds no group (-1) for exact mode.
#define VORMEK_SIDE(name, nameParam, gpParam) \
  name "(st) AS (SELECT " nameParam " UNION SELECT station FROM groups WHERE gp = " gpParam ")"

// Boarding: a train's first departure-side stop; alighting: its last
// arrival-side stop, which must come after the boarding one.
constexpr const char* kDirect = "WITH " VORMEK_SIDE("f", "?1", "?2") ", " VORMEK_SIDE("t", "?3", "?4") R"sql(,
b AS (SELECT s.tid, MIN(s.pos) AS fz FROM f JOIN stops s ON s.station = f.st GROUP BY s.tid),
a AS (SELECT s.tid, MAX(s.pos) AS dz FROM t JOIN stops s ON s.station = t.st GROUP BY s.tid)
SELECT tr.id, tr.ntype, tr.start_station, tr.end_station, tr.r_date, tr.distance, tr.p1, tr.p2, tr.p3, tr.p4,
       sb.station, sb.s_no, sb.d_time, sb.r_date, sb.distance, sb.p1, sb.p2, sb.p3, sb.p4,
       sa.station, sa.s_no, sa.a_time, sa.r_date, sa.distance, sa.p1, sa.p2, sa.p3, sa.p4
FROM b JOIN a ON a.tid = b.tid AND a.dz > b.fz
JOIN trains tr ON tr.tid = b.tid
JOIN stops sb ON sb.pos = b.fz
JOIN stops sa ON sa.pos = a.dz
ORDER BY b.fz
)sql";

// A train's first selected stop; it rides on to the first stop without a
// departure time (its terminal), or, ending there, came from its origin.
constexpr const char* kStation = "WITH " VORMEK_SIDE("sel", "?1", "?2") R"sql(,
h AS (SELECT s.tid, MIN(s.pos) AS pos FROM sel JOIN stops s ON s.station = sel.st GROUP BY s.tid)
SELECT tr.id, tr.ntype, tr.start_station, tr.end_station, tr.r_date, tr.distance, tr.p1, tr.p2, tr.p3, tr.p4,
       sb.station, sb.s_no, sb.d_time, sb.r_date, sb.distance, sb.p1, sb.p2, sb.p3, sb.p4,
       sa.station, sa.s_no, sa.a_time, sa.r_date, sa.distance, sa.p1, sa.p2, sa.p3, sa.p4, tr.a_time
FROM h JOIN trains tr ON tr.tid = h.tid
JOIN stops sb ON sb.pos = h.pos
JOIN stops sa ON sa.pos = CASE WHEN sb.d_time = '' THEN h.pos ELSE
     COALESCE((SELECT MIN(e.pos) FROM stops e WHERE e.pos BETWEEN h.pos AND tr.last_pos AND e.d_time = ''),
              tr.last_pos) END
ORDER BY h.pos
)sql";

// First legs: every stop after a train's boarding stop; second legs: every
// stop before its alighting stop. Per station, the first leg values come
// from the earliest train (its smallest alighting position), the second leg
// values likewise; SQLite takes the bare columns from the MIN row.
constexpr const char* kTransfer = "WITH " VORMEK_SIDE("f", "?1", "?2") ", " VORMEK_SIDE("t", "?3", "?4") R"sql(,
b AS (SELECT s.tid, MIN(s.pos) AS fz FROM f JOIN stops s ON s.station = f.st GROUP BY s.tid),
a AS (SELECT s.tid, MAX(s.pos) AS dz FROM t JOIN stops s ON s.station = t.st GROUP BY s.tid),
l1 AS (SELECT s.station, s.pos AS pos, b.fz AS other FROM b JOIN trains tr ON tr.tid = b.tid
       JOIN stops s ON s.pos > b.fz AND s.pos <= tr.last_pos),
l2 AS (SELECT s.station, s.pos AS pos, a.dz AS other FROM a JOIN trains tr ON tr.tid = a.tid
       JOIN stops s ON s.pos >= tr.first_pos AND s.pos < a.dz),
r1 AS (SELECT station, COUNT(*) AS c, MIN(pos) AS pos, other FROM l1 GROUP BY station),
r2 AS (SELECT station, COUNT(*) AS c, MIN(pos) AS pos, other FROM l2 GROUP BY station)
SELECT r1.station, r1.c, x1.distance - y1.distance, y1.r_date, x1.r_date,
       COALESCE(r2.c, 0), x2.distance - y2.distance, y2.r_date, x2.r_date
FROM r1 JOIN stops y1 ON y1.pos = r1.other JOIN stops x1 ON x1.pos = r1.pos
LEFT JOIN r2 ON r2.station = r1.station
LEFT JOIN stops y2 ON y2.pos = r2.pos LEFT JOIN stops x2 ON x2.pos = r2.other
ORDER BY r1.pos
)sql";

#undef VORMEK_SIDE

class TStatement {
 public:
  TStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("sqlite prepare: ") + sqlite3_errmsg(db));
  }
  ~TStatement() { sqlite3_finalize(stmt_); }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;
  sqlite3_stmt* get() { return stmt_; }
  // Resets for a new run; the bound texts are the caller's (static binding).
  sqlite3_stmt* Start() {
    sqlite3_reset(stmt_);
    return stmt_;
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

void BindText(sqlite3_stmt* s, int i, std::string_view text) {
  sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

std::string Text(sqlite3_stmt* s, int i) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return p == nullptr ? std::string() : std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
}

// The nine stop columns from `first` on: station, stop number, time, elapsed
// time, distance, four fares.
void ReadStop(sqlite3_stmt* s, int first, TStopFields& stop) {
  stop.Station = Text(s, first);
  stop.S_No = sqlite3_column_int(s, first + 1);
  stop.Time = Text(s, first + 2);
  stop.R_Date = Text(s, first + 3);
  stop.Distance = sqlite3_column_int(s, first + 4);
  stop.P1 = Text(s, first + 5);
  stop.P2 = Text(s, first + 6);
  stop.P3 = Text(s, first + 7);
  stop.P4 = Text(s, first + 8);
}

// Columns 0..27 of the direct and station statements into a record.
void ReadRow(sqlite3_stmt* s, TPub_GridResult& r) {
  r.ID = Text(s, 0);
  r.NType = sqlite3_column_int(s, 1);
  r.TypeName = TrainTypeName(r.NType);
  r.StartStation = Text(s, 2);
  r.EndStation = Text(s, 3);
  r.QC_R_Date = Text(s, 4);
  r.QC_Distance = sqlite3_column_int(s, 5);
  r.QC_P1 = Text(s, 6);
  r.QC_P2 = Text(s, 7);
  r.QC_P3 = Text(s, 8);
  r.QC_P4 = Text(s, 9);
  ReadStop(s, 10, r.FZ);
  ReadStop(s, 19, r.DZ);
}

void FinishRow(const TFareTables& fares, TPub_GridResult& r) {
  r.Stops = r.DZ.S_No - r.FZ.S_No;
  r.QJ_Distance = r.DZ.Distance - r.FZ.Distance;
  r.QJ_R_Date = ElapsedDifference(r.FZ.R_Date, r.DZ.R_Date);
  SectionFares(fares, r);
}

}  // namespace

struct TSqlitePeer::TStatements {
  explicit TStatements(sqlite3* db)
      : group(db, "SELECT gp FROM groups WHERE station = ?1"),
        direct(db, kDirect),
        station(db, kStation),
        transfer(db, kTransfer) {}
  TStatement group, direct, station, transfer;
};

TSqlitePeer::TSqlitePeer(const std::string& path) {
  if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
    const std::string why = sqlite3_errmsg(db_);
    sqlite3_close(db_);
    throw std::runtime_error("sqlite open " + path + ": " + why);
  }
}

TSqlitePeer::~TSqlitePeer() {
  st_.reset();
  sqlite3_close(db_);
}

void TSqlitePeer::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error != nullptr ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error("sqlite: " + why);
  }
}

void TSqlitePeer::Fill(const TTimetable& tt) {
  st_.reset();
  Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;");
  Exec(kSchema);
  const TMemTable& stops = tt.KMTrain;
  const TMemTable& list = tt.KMList;
  auto col = [](const TMemTable& t, const char* name) { return t.FieldByName(name).Column(); };

  // Train numbers in stop-table order, with their stop range.
  std::unordered_map<std::string, int> tids;
  std::vector<std::pair<int, int>> ranges;
  {
    TStatement insert(db_, "INSERT INTO stops VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    const int id = col(stops, "ID"), station = col(stops, "Station"), sNo = col(stops, "S_No"),
              aTime = col(stops, "A_Time"), dTime = col(stops, "D_Time"), rDate = col(stops, "R_Date"),
              distance = col(stops, "Distance"), p1 = col(stops, "P1"), p2 = col(stops, "P2"), p3 = col(stops, "P3"),
              p4 = col(stops, "P4");
    for (int pos = 0, n = stops.RecordCount(); pos < n; ++pos) {
      const auto [it, added] = tids.try_emplace(std::string(stops.ValueAt(pos, id)), static_cast<int>(tids.size()));
      if (added) ranges.emplace_back(pos, pos);
      ranges[static_cast<std::size_t>(it->second)].second = pos;
      sqlite3_stmt* s = insert.Start();
      sqlite3_bind_int(s, 1, pos);
      sqlite3_bind_int(s, 2, it->second);
      BindText(s, 3, stops.ValueAt(pos, station));
      sqlite3_bind_int(s, 4, stops.IntegerAt(pos, sNo));
      BindText(s, 5, stops.ValueAt(pos, aTime));
      BindText(s, 6, stops.ValueAt(pos, dTime));
      BindText(s, 7, stops.ValueAt(pos, rDate));
      sqlite3_bind_int(s, 8, stops.IntegerAt(pos, distance));
      BindText(s, 9, stops.ValueAt(pos, p1));
      BindText(s, 10, stops.ValueAt(pos, p2));
      BindText(s, 11, stops.ValueAt(pos, p3));
      BindText(s, 12, stops.ValueAt(pos, p4));
      if (sqlite3_step(s) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }
  }
  {
    TStatement insert(db_, "INSERT INTO trains VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    const int id = col(list, "ID"), nType = col(list, "NType"), start = col(list, "startStation"),
              end = col(list, "endStation"), aTime = col(list, "A_Time"), rDate = col(list, "R_Date"),
              distance = col(list, "Distance"), p1 = col(list, "P1"), p2 = col(list, "P2"), p3 = col(list, "P3"),
              p4 = col(list, "P4");
    int spare = static_cast<int>(tids.size());
    for (int pos = 0, n = list.RecordCount(); pos < n; ++pos) {
      const auto found = tids.find(std::string(list.ValueAt(pos, id)));
      const bool hasStops = found != tids.end();
      const int tid = hasStops ? found->second : spare++;
      sqlite3_stmt* s = insert.Start();
      sqlite3_bind_int(s, 1, tid);
      BindText(s, 2, list.ValueAt(pos, id));
      sqlite3_bind_int(s, 3, list.IntegerAt(pos, nType));
      BindText(s, 4, list.ValueAt(pos, start));
      BindText(s, 5, list.ValueAt(pos, end));
      BindText(s, 6, list.ValueAt(pos, aTime));
      BindText(s, 7, list.ValueAt(pos, rDate));
      sqlite3_bind_int(s, 8, list.IntegerAt(pos, distance));
      BindText(s, 9, list.ValueAt(pos, p1));
      BindText(s, 10, list.ValueAt(pos, p2));
      BindText(s, 11, list.ValueAt(pos, p3));
      BindText(s, 12, list.ValueAt(pos, p4));
      sqlite3_bind_int(s, 13, hasStops ? ranges[static_cast<std::size_t>(tid)].first : -1);
      sqlite3_bind_int(s, 14, hasStops ? ranges[static_cast<std::size_t>(tid)].second : -2);
      if (sqlite3_step(s) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }
  }
  {
    TStatement insert(db_, "INSERT OR IGNORE INTO groups VALUES (?1, ?2)");
    const int station = col(tt.KMSM, "Station"), gp = col(tt.KMSM, "Gp");
    for (int pos = 0, n = tt.KMSM.RecordCount(); pos < n; ++pos) {
      sqlite3_stmt* s = insert.Start();
      BindText(s, 1, tt.KMSM.ValueAt(pos, station));
      sqlite3_bind_int(s, 2, tt.KMSM.IntegerAt(pos, gp));
      if (sqlite3_step(s) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }
  }
  Exec(kIndexes);
  Exec("COMMIT;");
}

void TSqlitePeer::Prepare() { st_ = std::make_unique<TStatements>(db_); }

int TSqlitePeer::GroupOf(std::string_view station) {
  sqlite3_stmt* s = st_->group.Start();
  BindText(s, 1, station);
  return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
}

void TSqlitePeer::Direct(const TFareTables& fares, std::string_view from, std::string_view to,
                         std::vector<TPub_GridResult>& rows) {
  rows.clear();
  const int gpFrom = GroupOf(from);
  const int gpTo = GroupOf(to);
  const bool exact = gpFrom == gpTo;  // the same city, or neither in a group
  sqlite3_stmt* s = st_->direct.Start();
  BindText(s, 1, from);
  sqlite3_bind_int(s, 2, exact ? -1 : gpFrom);
  BindText(s, 3, to);
  sqlite3_bind_int(s, 4, exact ? -1 : gpTo);
  while (sqlite3_step(s) == SQLITE_ROW) {
    TPub_GridResult& r = rows.emplace_back();
    ReadRow(s, r);
    FinishRow(fares, r);
  }
}

void TSqlitePeer::Station(const TFareTables& fares, std::string_view station, std::vector<TPub_GridResult>& rows) {
  rows.clear();
  const int gp = GroupOf(station);
  sqlite3_stmt* s = st_->station.Start();
  BindText(s, 1, station);
  sqlite3_bind_int(s, 2, gp == 0 ? -1 : gp);
  while (sqlite3_step(s) == SQLITE_ROW) {
    TPub_GridResult& r = rows.emplace_back();
    ReadRow(s, r);
    if (r.FZ.Time.empty()) {
      // The train ends here: it is ridden from its origin.
      r.FZ = OriginStop(r.StartStation, Text(s, 28));
    }
    FinishRow(fares, r);
  }
}

void TSqlitePeer::Transfer(std::string_view from, std::string_view to, std::vector<TPub_ZZStruct>& rows) {
  rows.clear();
  const int gpFrom = GroupOf(from);
  const int gpTo = GroupOf(to);
  const bool exact = gpFrom == gpTo;
  sqlite3_stmt* s = st_->transfer.Start();
  BindText(s, 1, from);
  sqlite3_bind_int(s, 2, exact ? -1 : gpFrom);
  BindText(s, 3, to);
  sqlite3_bind_int(s, 4, exact ? -1 : gpTo);
  while (sqlite3_step(s) == SQLITE_ROW) {
    TPub_ZZStruct& r = rows.emplace_back();
    r.Station = Text(s, 0);
    r.Count1 = sqlite3_column_int(s, 1);
    r.Distance1 = sqlite3_column_int(s, 2);
    r.R_Date1 = ElapsedDifference(Text(s, 3), Text(s, 4));
    r.Count2 = sqlite3_column_int(s, 5);
    if (r.Count2 > 0) {
      r.Distance2 = sqlite3_column_int(s, 6);
      r.R_Date2 = ElapsedDifference(Text(s, 7), Text(s, 8));
      r.Distance = r.Distance1 + r.Distance2;
      r.R_Date = MinutesToDuration(DurationToMinutes(r.R_Date1) + DurationToMinutes(r.R_Date2));
    }
  }
}

}  // namespace vormek::bench
