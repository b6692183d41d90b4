// Speed of the queries against two lower bounds measured in the same run:
// one pass over a 16-bit station code column (the least a scan of the stop
// table can do), and the old baseline, one pass over the station texts
// through the table's accessor. BM_BuildDirectRows is the cost of building
// the rows of a station-to-station answer once its stops are known, so a
// direct query can be judged against code pass + rows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/embedded_items.h"
#include "data/timetable.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_train_number.h"
#include "query/query_transfer.h"
#include "query/table_columns.h"
#include "rules/UPub_Center.h"
#include "stations/station_selection.h"

namespace {

using namespace vormek;

enum TSource { Embedded, National };

// Loaded once per source; nullptr when the national tables are absent.
TTimetable* Tables(TSource source) {
  static std::unique_ptr<TTimetable> embedded;
  static std::unique_ptr<TTimetable> national;
  static bool nationalTried = false;
  if (source == Embedded) {
    if (!embedded) {
      embedded = std::make_unique<TTimetable>();
      LoadTimetable(EmbeddedItems(), *embedded);
    }
    return embedded.get();
  }
  if (!nationalTried) {
    nationalTried = true;
    const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
    if (std::filesystem::exists(dir / "STRAIN.txt")) {
      national = std::make_unique<TTimetable>();
      LoadTimetableFromDirectory(dir, *national);
    }
  }
  return national.get();
}

TTimetable* TablesOrSkip(benchmark::State& state) {
  TTimetable* tt = Tables(static_cast<TSource>(state.range(0)));
  if (tt == nullptr) state.SkipWithError("national tables not present");
  return tt;
}

// The names asked, per source: the small pair and small station differ
// because the built-in timetable lacks the national ones.
struct TNames {
  const char* BigFrom = "北京";
  const char* BigTo = "上海";
  const char* SmallFrom;
  const char* SmallTo;
  const char* BigStation = "南京";
  const char* SmallStation;
};
TNames NamesOf(benchmark::State& state) {
  if (state.range(0) == Embedded) return {"北京", "上海", "咸阳", "宝鸡", "南京", "宝鸡"};
  return {"北京", "上海", "大同", "阳高", "南京", "阳高"};
}

// The stop table's station column as 16-bit codes, made once per source.
struct TCodeColumn {
  std::vector<std::uint16_t> Codes;
  std::unordered_map<std::string, std::uint16_t> CodeOf;
};
const TCodeColumn& Codes(TSource source, const TTimetable& tt) {
  static std::unique_ptr<TCodeColumn> made[2];
  std::unique_ptr<TCodeColumn>& column = made[source];
  if (!column) {
    column = std::make_unique<TCodeColumn>();
    const int col = tt.KMTrain.FieldByName("Station").Column();
    for (int i = 0, n = tt.KMTrain.RecordCount(); i < n; ++i) {
      const auto [it, added] = column->CodeOf.try_emplace(std::string(tt.KMTrain.ValueAt(i, col)),
                                                          static_cast<std::uint16_t>(column->CodeOf.size()));
      column->Codes.push_back(it->second);
    }
  }
  return *column;
}

void BM_BareCodePass(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TCodeColumn& column = Codes(static_cast<TSource>(state.range(0)), *tt);
  const std::uint16_t wanted = column.CodeOf.at(NamesOf(state).BigStation);
  for (auto _ : state) {
    int hits = 0;
    for (const std::uint16_t code : column.Codes) hits += code == wanted;
    benchmark::DoNotOptimize(hits);
  }
}

void BM_BaselineStationPass(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TMemTable& stops = tt->KMTrain;
  const int col = stops.FieldByName("Station").Column();
  const std::string wanted = NamesOf(state).BigStation;
  for (auto _ : state) {
    int hits = 0;
    for (int i = 0, n = stops.RecordCount(); i < n; ++i) hits += stops.ValueAt(i, col) == wanted;
    benchmark::DoNotOptimize(hits);
  }
}

// The stops of a direct answer found by a plain scan, then only the rows
// built from them in the loop.
void BuildDirectRows(benchmark::State& state, bool big) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TNames names = NamesOf(state);
  TPub_Center center;
  center.Fares = BuildFareTables();
  SelectDeparture(tt->KMSM, center, big ? names.BigFrom : names.SmallFrom);
  SelectArrival(tt->KMSM, center, big ? names.BigTo : names.SmallTo);
  const bool exact = ApplyPairExactMode(center);
  const TStationMatcher from(center.FromSelection, exact);
  const TStationMatcher to(center.ToSelection, exact);
  const TStopColumns sc(tt->KMTrain);
  const TTrainColumns tc(tt->KMList);
  struct TFound {
    int Boarding, Alighting, ListPos;
  };
  std::vector<TFound> found;
  for (int pos = 0, n = tt->KMTrain.RecordCount(); pos < n;) {
    const std::string_view train = tt->KMTrain.ValueAt(pos, sc.ID);
    int boarding = -1;
    int alighting = -1;
    for (; pos < n && tt->KMTrain.ValueAt(pos, sc.ID) == train; ++pos) {
      const std::string_view station = tt->KMTrain.ValueAt(pos, sc.Station);
      if (boarding < 0) {
        if (from.Contains(station)) boarding = pos;
      } else if (to.Contains(station)) {
        alighting = pos;
      }
    }
    const int listPos = boarding >= 0 && alighting >= 0 ? LocateTrain(tt->KMList, train) : -1;
    if (listPos >= 0) found.push_back({boarding, alighting, listPos});
  }
  for (auto _ : state) {
    std::vector<TPub_GridResult> rows;
    for (const TFound& f : found) {
      TPub_GridResult& r = rows.emplace_back();
      CopyBoardingStop(tt->KMTrain, sc, f.Boarding, r);
      CopyAlightingStop(tt->KMTrain, sc, f.Alighting, r);
      CopyTrainFields(tt->KMList, tc, f.ListPos, r);
      FinishSection(center.Fares, r);
    }
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["rows"] = static_cast<double>(found.size());
}
void BM_BuildDirectRowsBig(benchmark::State& state) { BuildDirectRows(state, true); }
void BM_BuildDirectRowsSmall(benchmark::State& state) { BuildDirectRows(state, false); }

void Direct(benchmark::State& state, bool big) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TNames names = NamesOf(state);
  const TFareTables fares = BuildFareTables();
  const TStationPairRequest request{big ? names.BigFrom : names.SmallFrom, big ? names.BigTo : names.SmallTo};
  std::size_t rows = 0;
  for (auto _ : state) {
    const TDirectResult result = QueryDirect(*tt, fares, request);
    rows = result.Rows.size();
    benchmark::DoNotOptimize(result.Rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
void BM_QueryDirectBig(benchmark::State& state) { Direct(state, true); }
void BM_QueryDirectSmall(benchmark::State& state) { Direct(state, false); }

void Station(benchmark::State& state, bool big) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TNames names = NamesOf(state);
  const TFareTables fares = BuildFareTables();
  const TStationRequest request{big ? names.BigStation : names.SmallStation};
  std::size_t rows = 0;
  for (auto _ : state) {
    const TStationResult result = QueryStation(*tt, fares, request);
    rows = result.Rows.size();
    benchmark::DoNotOptimize(result.Rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
void BM_QueryStationBig(benchmark::State& state) { Station(state, true); }
void BM_QueryStationSmall(benchmark::State& state) { Station(state, false); }

void BM_QueryTrainNumber(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  std::size_t rows = 0;
  for (auto _ : state) {
    const TTrainNumberResult result = QueryTrainNumber(*tt, TTrainNumberRequest{"G1"});
    rows = result.Rows.size();
    benchmark::DoNotOptimize(result.Rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// Both sides' legs and the transfer rows, as the window opens with them.
void BM_QueryTransfer(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TStationPairRequest request{"北京", "上海"};
  std::size_t stations = 0;
  std::size_t legs = 0;
  for (auto _ : state) {
    const TTransferResult result = QueryTransfer(*tt, request);
    stations = result.Rows.size();
    legs = result.FirstLegs.size() + result.SecondLegs.size();
    benchmark::DoNotOptimize(result.Rows.data());
  }
  state.counters["stations"] = static_cast<double>(stations);
  state.counters["legs"] = static_cast<double>(legs);
}

// The rows of one transfer station once it is picked (南京).
void BM_TransferPick(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TFareTables fares = BuildFareTables();
  const TTransferResult transfer = QueryTransfer(*tt, TStationPairRequest{"北京", "上海"});
  TTransferPick pick;
  for (const TPub_ZZStruct& row : transfer.Rows)
    if (row.Station == "南京") pick = {row.Station, row.Count1, row.Count2};
  std::size_t rows = 0;
  for (auto _ : state) {
    const std::vector<TPub_GridResult> result =
        TransferLegResults(*tt, fares, transfer.FirstLegs, transfer.SecondLegs, pick);
    rows = result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void Sources(benchmark::internal::Benchmark* b) { b->ArgName("national")->Arg(Embedded)->Arg(National); }

BENCHMARK(BM_BareCodePass)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaselineStationPass)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildDirectRowsBig)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildDirectRowsSmall)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryDirectBig)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryDirectSmall)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryStationBig)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryStationSmall)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryTrainNumber)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryTransfer)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TransferPick)->Apply(Sources)->Unit(benchmark::kMicrosecond);

}  // namespace
