// The queries beside their peers, in one process on the same tables:
//   bare   - one pass over a 16-bit station-code column, counting the stops
//            of the stations involved: what no stop-table query can beat;
//   sqlite - the same query as prepared SQLite statements over indexed
//            tables, answering into the same records;
//   ours   - the program's query functions.
// Before timing, each sqlite and ours benchmark checks once that both sides
// give the same rows, and fails when they do not. After the runs the program
// prints the ratio table (ours / sqlite, ours / bare) of CPU times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "bench_tables.h"
#include "query_calls.h"
#ifdef VORMEK_HAVE_SQLITE
#include "sqlite_peer.h"
#endif

namespace {

using namespace vormek;
using namespace vormek::bench;

enum class TKind { Direct, Station, Transfer };

struct TBenchQuery {
  const char* Key;    // ASCII, for the benchmark's name
  const char* Label;  // for the table (UTF-8)
  TKind Kind;
  std::string From, To;
};

// Texts in GBK, as the tables hold them.
const std::vector<TBenchQuery>& BenchQueries() {
  static const std::vector<TBenchQuery> queries = {
      {"pair_big", "\xe5\x8c\x97\xe4\xba\xac\xe2\x86\x92\xe4\xb8\x8a\xe6\xb5\xb7", TKind::Direct, "北京", "上海"},
      {"pair_small", "\xe5\xa4\xa7\xe5\x90\x8c\xe2\x86\x92\xe9\x98\xb3\xe9\xab\x98", TKind::Direct, "大同", "阳高"},
      {"station_big", "\xe8\xbd\xa6\xe7\xab\x99 \xe5\x8d\x97\xe4\xba\xac", TKind::Station, "南京", ""},
      {"station_small", "\xe8\xbd\xa6\xe7\xab\x99 \xe9\x98\xb3\xe9\xab\x98", TKind::Station, "阳高", ""},
      {"transfer", "\xe4\xb8\xad\xe8\xbd\xac \xe5\x8c\x97\xe4\xba\xac\xe2\x86\x92\xe4\xb8\x8a\xe6\xb5\xb7",
       TKind::Transfer, "北京", "上海"},
  };
  return queries;
}

// One timetable with everything its peers need.
struct TSource {
  std::string Name;
  std::unique_ptr<TTimetable> Tables;
  std::vector<std::uint16_t> Codes;  // station code of every stop, in stop order
  std::unordered_map<std::string, std::uint16_t> Dictionary;
#ifdef VORMEK_HAVE_SQLITE
  std::unique_ptr<TSqlitePeer> Sqlite;
#endif
};

void BuildCodes(TSource& s) {
  const TMemTable& stops = s.Tables->KMTrain;
  const int station = stops.FieldByName("Station").Column();
  s.Codes.reserve(static_cast<std::size_t>(stops.RecordCount()));
  for (int pos = 0, n = stops.RecordCount(); pos < n; ++pos) {
    const auto [it, added] = s.Dictionary.try_emplace(std::string(stops.ValueAt(pos, station)),
                                                      static_cast<std::uint16_t>(s.Dictionary.size()));
    s.Codes.push_back(it->second);
  }
}

std::vector<std::unique_ptr<TSource>>& Sources() {
  static std::vector<std::unique_ptr<TSource>> sources;
  return sources;
}

void AddSource(const std::string& name, const TTableTexts& texts) {
  auto s = std::make_unique<TSource>();
  s->Name = name;
  s->Tables = LoadTexts(texts);
  BuildCodes(*s);
#ifdef VORMEK_HAVE_SQLITE
  s->Sqlite = std::make_unique<TSqlitePeer>(":memory:");
  s->Sqlite->Fill(*s->Tables);
  s->Sqlite->Prepare();
#endif
  Sources().push_back(std::move(s));
}

// ---- row equality --------------------------------------------------------
#ifdef VORMEK_HAVE_SQLITE

auto Fields(const TPub_GridResult& r) {
  return std::tie(r.ID, r.NType, r.TypeName, r.StartStation, r.EndStation, r.QC_R_Date, r.QC_Distance, r.QC_P1, r.QC_P2,
                  r.QC_P3, r.QC_P4, r.FZ.Station, r.FZ.S_No, r.FZ.Distance, r.FZ.P1, r.FZ.P2, r.FZ.P3, r.FZ.P4,
                  r.FZ.Time, r.FZ.R_Date, r.DZ.Station, r.DZ.S_No, r.DZ.Time, r.DZ.R_Date, r.DZ.Distance, r.DZ.P1,
                  r.DZ.P2, r.DZ.P3, r.DZ.P4, r.Stops, r.QJ_Distance, r.QJ_R_Date, r.QJ_P1, r.QJ_P2, r.QJ_P3, r.QJ_P4);
}
auto Fields(const TPub_ZZStruct& r) {
  return std::tie(r.Station, r.Distance1, r.Distance2, r.Distance, r.R_Date1, r.R_Date2, r.R_Date, r.Count1, r.Count2);
}

// The same rows, whatever their order.
template <typename Row>
bool SameRowSet(std::vector<Row> a, std::vector<Row> b) {
  auto less = [](const Row& x, const Row& y) { return Fields(x) < Fields(y); };
  std::sort(a.begin(), a.end(), less);
  std::sort(b.begin(), b.end(), less);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const Row& x, const Row& y) { return Fields(x) == Fields(y); });
}
#endif

// ---- the three peers -----------------------------------------------------

std::size_t RunOurs(TSource& s, TQueryContext& q, const TBenchQuery& asked) {
  switch (asked.Kind) {
    case TKind::Direct: return RunDirect(*s.Tables, q, asked.From, asked.To).size();
    case TKind::Station: return RunStation(*s.Tables, q, asked.From).size();
    case TKind::Transfer: return RunTransfer(*s.Tables, q, asked.From, asked.To).size();
  }
  return 0;
}

#ifdef VORMEK_HAVE_SQLITE
struct TSqliteRows {
  std::vector<TPub_GridResult> Grid;
  std::vector<TPub_ZZStruct> Transfer;
};

std::size_t RunSqlite(TSource& s, const TFareTables& fares, const TBenchQuery& asked, TSqliteRows& rows) {
  switch (asked.Kind) {
    case TKind::Direct: s.Sqlite->Direct(fares, asked.From, asked.To, rows.Grid); return rows.Grid.size();
    case TKind::Station: s.Sqlite->Station(fares, asked.From, rows.Grid); return rows.Grid.size();
    case TKind::Transfer: s.Sqlite->Transfer(asked.From, asked.To, rows.Transfer); return rows.Transfer.size();
  }
  return 0;
}
#endif

// Both sides once; false (and the reason) when their rows differ.
bool RowsAgree(TSource& s, const TBenchQuery& asked, std::string& why) {
#ifdef VORMEK_HAVE_SQLITE
  TQueryContext q;
  RunOurs(s, q, asked);
  TSqliteRows rows;
  RunSqlite(s, q.Fares, asked, rows);
  const bool same =
      asked.Kind == TKind::Transfer ? SameRowSet(q.TransferRows, rows.Transfer) : SameRowSet(q.Rows, rows.Grid);
  if (!same) {
    const std::size_t ours = asked.Kind == TKind::Transfer ? q.TransferRows.size() : q.Rows.size();
    const std::size_t theirs = asked.Kind == TKind::Transfer ? rows.Transfer.size() : rows.Grid.size();
    why = "rows differ from SQLite's (" + std::to_string(ours) + " vs " + std::to_string(theirs) + ")";
  }
  return same;
#else
  (void)s;
  (void)asked;
  (void)why;
  return true;
#endif
}

// The codes a query's stations stand for, both sides.
std::vector<std::uint16_t> WantedCodes(const TSource& s, const TBenchQuery& asked) {
  std::vector<std::string> names;
  if (asked.Kind == TKind::Station) {
    names = CityStations(*s.Tables, asked.From, GroupOf(*s.Tables, asked.From) == 0);
  } else {
    const bool exact = GroupOf(*s.Tables, asked.From) == GroupOf(*s.Tables, asked.To);
    names = CityStations(*s.Tables, asked.From, exact);
    for (const std::string& n : CityStations(*s.Tables, asked.To, exact)) names.push_back(n);
  }
  std::vector<std::uint16_t> codes;
  for (const std::string& n : names) {
    const auto it = s.Dictionary.find(n);
    if (it != s.Dictionary.end()) codes.push_back(it->second);
  }
  return codes;
}

void Bare(benchmark::State& state, TSource* s, const TBenchQuery* asked) {
  // One byte per station code says whether the query involves it; the pass
  // adds them up, four stops at a time.
  std::vector<std::uint8_t> wanted(s->Dictionary.size() + 1, 0);
  for (const std::uint16_t code : WantedCodes(*s, *asked)) wanted[code] = 1;
  const std::uint8_t* mark = wanted.data();
  const std::uint16_t* column = s->Codes.data();
  const std::size_t n = s->Codes.size();
  std::size_t hits = 0;
  for (auto _ : state) {
    std::size_t h0 = 0, h1 = 0, h2 = 0, h3 = 0;
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      h0 += mark[column[i]];
      h1 += mark[column[i + 1]];
      h2 += mark[column[i + 2]];
      h3 += mark[column[i + 3]];
    }
    for (; i < n; ++i) h0 += mark[column[i]];
    hits = h0 + h1 + h2 + h3;
    benchmark::DoNotOptimize(hits);
  }
  state.counters["stops"] = static_cast<double>(hits);
}

void Ours(benchmark::State& state, TSource* s, const TBenchQuery* asked) {
  std::string why;
  if (!RowsAgree(*s, *asked, why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  TQueryContext q;
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = RunOurs(*s, q, *asked);
    benchmark::ClobberMemory();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void Sqlite(benchmark::State& state, TSource* s, const TBenchQuery* asked) {
#ifdef VORMEK_HAVE_SQLITE
  std::string why;
  if (!RowsAgree(*s, *asked, why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  const TFareTables fares = BuildFareTables();
  TSqliteRows out;
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = RunSqlite(*s, fares, *asked, out);
    benchmark::ClobberMemory();
  }
  state.counters["rows"] = static_cast<double>(rows);
#else
  (void)s;
  (void)asked;
  state.SkipWithError("built without SQLite (libsqlite3-dev)");
#endif
}

// ---- the ratio table -----------------------------------------------------

// Shows the runs as usual and keeps each one's time per iteration.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      // CPU time: the queries run on one thread, and on a shared machine it
      // is the steadier figure.
      const double ns = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      times_[run.run_name.function_name] = ns;
      const auto rows = run.counters.find("rows");
      if (rows != run.counters.end()) rows_[run.run_name.function_name] = rows->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintTable() const {
    std::printf(
        "\n| Timetable | Query | Rows | Ours (us) | SQLite (us) | Bare pass (us) | Ours / SQLite | Ours / bare |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& source : Sources()) {
      for (const TBenchQuery& asked : BenchQueries()) {
        const std::string stem = source->Name + "/" + asked.Key + "/";
        const double ours = Time(stem + "ours");
        const double sqlite = Time(stem + "sqlite");
        const double bare = Time(stem + "bare");
        if (ours <= 0) continue;
        const auto rows = rows_.find(stem + "ours");
        std::printf("| %s | %s | %.0f | %s | %s | %s | %s | %s |\n", source->Name.c_str(), asked.Label,
                    rows == rows_.end() ? 0.0 : rows->second, Micro(ours).c_str(), Micro(sqlite).c_str(),
                    Micro(bare).c_str(), Ratio(ours, sqlite).c_str(), Ratio(ours, bare).c_str());
      }
    }
  }

 private:
  double Time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }
  static std::string Micro(double ns) {
    if (ns <= 0) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, ns < 10'000 ? "%.2f" : "%.0f", ns / 1000.0);
    return buffer;
  }
  static std::string Ratio(double a, double b) {
    if (a <= 0 || b <= 0) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", a / b);
    return buffer;
  }
  std::map<std::string, double> times_;
  std::map<std::string, double> rows_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // The built-in timetable, the national one when present, and ten times the
  // larger of the two, renumbered.
  const TTableTexts builtin = BuiltinTexts();
  const std::optional<TTableTexts> national = NationalTexts();
  AddSource("builtin", builtin);
  if (national) AddSource("national", *national);
  AddSource(national ? "national_x10" : "builtin_x10", ScaleTexts(national ? *national : builtin, 10));

  for (const auto& source : Sources()) {
    for (const TBenchQuery& asked : BenchQueries()) {
      const std::string stem = source->Name + "/" + asked.Key + "/";
      benchmark::RegisterBenchmark((stem + "bare").c_str(), Bare, source.get(), &asked)->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark((stem + "sqlite").c_str(), Sqlite, source.get(), &asked)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark((stem + "ours").c_str(), Ours, source.get(), &asked)->Unit(benchmark::kMicrosecond);
    }
  }
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
