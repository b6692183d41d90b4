// Connections on the national tables: the query with a ready index, and the
// index build that a caller pays once per timetable.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "query/connections.h"

namespace {

using namespace vormek;

TTimetable* National() {
  static std::unique_ptr<TTimetable> tables;
  static bool tried = false;
  if (!tried) {
    tried = true;
    const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
    if (std::filesystem::exists(dir / "STRAIN.txt")) {
      tables = std::make_unique<TTimetable>();
      LoadTimetableFromDirectory(dir, *tables);
    }
  }
  return tables.get();
}

void Connections(benchmark::State& state, const char* from, const char* to) {
  TTimetable* tt = National();
  if (tt == nullptr) {
    state.SkipWithError("national tables not present");
    return;
  }
  const TConnectionIndex index(*tt);
  const TFareTables fares = BuildFareTables();
  std::size_t found = 0;
  for (auto _ : state) {
    const auto result = FindConnections(index, *tt, from, to, TConnectionOptions(), fares);
    found = result.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["connections"] = static_cast<double>(found);
}

void BM_Connections_BeijingGuangzhou(benchmark::State& state) { Connections(state, "北京", "广州"); }
void BM_Connections_UrumqiShanghai(benchmark::State& state) { Connections(state, "乌鲁木齐", "上海"); }

void BM_ConnectionIndexBuild(benchmark::State& state) {
  TTimetable* tt = National();
  if (tt == nullptr) {
    state.SkipWithError("national tables not present");
    return;
  }
  for (auto _ : state) {
    const TConnectionIndex index(*tt);
    benchmark::DoNotOptimize(index.StationCount());
  }
}

BENCHMARK(BM_Connections_BeijingGuangzhou)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Connections_UrumqiShanghai)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConnectionIndexBuild)->Unit(benchmark::kMillisecond);

}  // namespace
