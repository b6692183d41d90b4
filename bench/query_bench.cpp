// Speed of the four queries against one plain pass over the stop table's
// station column (the least any stop-table query must do).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "data/embedded_items.h"
#include "data/timetable.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_train_number.h"
#include "query/query_transfer.h"
#include "rules/UPub_Center.h"

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

void BM_BaselineStationPass(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  const TMemTable& stops = tt->KMTrain;
  const int col = stops.FieldByName("Station").Column();
  const std::string wanted = "南京";
  for (auto _ : state) {
    int hits = 0;
    for (int i = 0, n = stops.RecordCount(); i < n; ++i) hits += stops.ValueAt(i, col) == wanted;
    benchmark::DoNotOptimize(hits);
  }
}

void BM_QueryDirect(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  TPub_Center center;
  center.Fares = BuildFareTables();
  for (auto _ : state) {
    QueryDirect(*tt, center, "北京", "上海");
    benchmark::DoNotOptimize(center.GridResults.data());
  }
  state.counters["rows"] = static_cast<double>(center.GridResults.size());
}

void BM_QueryStation(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  TPub_Center center;
  center.Fares = BuildFareTables();
  for (auto _ : state) {
    QueryStation(*tt, center, "南京");
    benchmark::DoNotOptimize(center.GridResults.data());
  }
  state.counters["rows"] = static_cast<double>(center.GridResults.size());
}

void BM_QueryTrainNumber(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  TPub_Center center;
  center.Fares = BuildFareTables();
  for (auto _ : state) {
    QueryTrainNumber(*tt, center, "G1");
    benchmark::DoNotOptimize(center.GridResults.data());
  }
  state.counters["rows"] = static_cast<double>(center.GridResults.size());
}

// Both leg scans and the transfer rows, as the window opens with them.
void BM_QueryTransfer(benchmark::State& state) {
  TTimetable* tt = TablesOrSkip(state);
  if (tt == nullptr) return;
  TPub_Center center;
  center.Fares = BuildFareTables();
  for (auto _ : state) {
    QueryTransfer(*tt, center, "北京", "上海");
    benchmark::DoNotOptimize(center.TransferRows.data());
  }
  state.counters["stations"] = static_cast<double>(center.TransferRows.size());
  state.counters["legs"] = static_cast<double>(center.LegOneResults.size() + center.LegTwoResults.size());
}

void Sources(benchmark::internal::Benchmark* b) { b->ArgName("national")->Arg(Embedded)->Arg(National); }

BENCHMARK(BM_BaselineStationPass)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryDirect)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryStation)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryTrainNumber)->Apply(Sources)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryTransfer)->Apply(Sources)->Unit(benchmark::kMicrosecond);

}  // namespace
