// Journeys with up to two changes on the national tables, over the same
// random station pairs: the planner, and beside it the peer a careful reader
// of the literature would write, a connection-scan profile search with one
// profile per number of rides, the timetable unrolled over several days.
// Each prints the median and the 99th percentile of its queries' CPU time; the peer
// also counts the pairs where its Pareto set differs from the planner's.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <tuple>

#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "plain_timetable.h"
#include "query/journeys.h"
#include "stations/station_selection.h"

namespace {

using namespace vormek;

constexpr int kPairs = 1000;
constexpr int kRides = 3;
constexpr int kDays = 5;        // the unrolled days: longer journeys than these are never Pareto
constexpr int kDaysBefore = 4;  // no train runs longer than this
constexpr std::size_t kRunsPerTrain = kDays + kDaysBefore;
constexpr int kNever = std::numeric_limits<int>::max() / 4;
using TTriple = std::tuple<int, int, int>;

struct TNational {
  TTimetable tt;
  std::unique_ptr<TConnectionIndex> index;
  std::unique_ptr<TJourneyPlanner> planner;
  std::vector<std::pair<std::string, std::string>> pairs;
};

TNational* National() {
  static std::unique_ptr<TNational> national;
  static bool tried = false;
  if (tried) return national.get();
  tried = true;
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) return nullptr;
  national = std::make_unique<TNational>();
  LoadTimetableFromDirectory(dir, national->tt);
  national->index = std::make_unique<TConnectionIndex>(national->tt);
  national->planner = std::make_unique<TJourneyPlanner>(*national->index, national->tt);
  std::mt19937 random(2012);
  national->pairs = RandomPairs(national->tt, kPairs, random);
  return national.get();
}

// CPU microseconds of this thread: what a query costs, whatever else the
// machine runs.
double CpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void ReportPercentiles(benchmark::State& state, std::vector<double> micros) {
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["median_ms"] = micros[micros.size() / 2] / 1000;
  state.counters["p99_ms"] = micros[micros.size() * 99 / 100] / 1000;
  state.counters["max_ms"] = micros.back() / 1000;
}

// The connection-scan peer: every pair of consecutive stops of every train
// on each of kDays days, latest departure first; a profile of (departure,
// arrivals with at most 1, 2, 3 rides) at each station, and for each train
// run the arrival when staying on.
class TCsaPeer {
 public:
  TCsaPeer(const TTimetable& tt, const PlainTimetable& plain) : plain_(plain) {
    for (std::size_t t = 0; t < plain.trains.size(); ++t) {
      const auto& stops = plain.trains[t].stops;
      if (stops.empty() || stops.front().dep < 0) continue;
      // Runs that left their origin up to kDaysBefore days earlier still
      // call on the first day.
      for (int day = -kDaysBefore; day < kDays; ++day) {
        const int run = day * 1440 + stops.front().dep;
        for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
          if (stops[k].dep < 0 || stops[k + 1].arr < 0) continue;
          connections_.push_back({run + LeaveElapsed(stops[k]), run + stops[k + 1].elapsed, stops[k].station,
                                  stops[k + 1].station,
                                  static_cast<int>(t * kRunsPerTrain + static_cast<std::size_t>(day + kDaysBefore))});
        }
      }
    }
    std::sort(connections_.begin(), connections_.end(),
              [](const TConnection& a, const TConnection& b) { return a.dep > b.dep; });
    runs_ = plain.trains.size() * kRunsPerTrain;
    std::map<std::string, int> groups;
    const TMemTable& sm = tt.KMSM;
    for (int r = 0; r < sm.RecordCount(); ++r)
      groups[std::string(sm.ValueAt(r, sm.FieldByName("Station").Column()))] =
          sm.IntegerAt(r, sm.FieldByName("Gp").Column());
    std::map<int, std::vector<int>> members;
    group_.assign(plain.names.size(), -1);
    for (std::size_t s = 0; s < plain.names.size(); ++s) {
      const auto it = groups.find(plain.names[s]);
      if (it != groups.end()) group_[s] = it->second, members[it->second].push_back(static_cast<int>(s));
    }
    mates_.resize(plain.names.size());
    for (std::size_t s = 0; s < plain.names.size(); ++s)
      mates_[s] = group_[s] >= 0 ? members[group_[s]] : std::vector<int>{static_cast<int>(s)};
    for (std::size_t s = 0; s < plain.names.size(); ++s) ids_[plain.names[s]] = static_cast<int>(s);
  }

  std::set<TTriple> Plan(TTimetable& tt, const std::string& from, const std::string& to,
                         const TJourneyOptions& o) const {
    TPub_FZStruct fromSel = ResolveSelection(tt, from);
    TPub_FZStruct toSel = ResolveSelection(tt, to);
    const bool exact = PairExactMode(fromSel, toSel);
    std::vector<std::uint8_t> side(plain_.names.size(), 0);
    auto mark = [&](const TPub_FZStruct& sel, std::uint8_t bit) {
      const auto names = exact || sel.Group.empty() ? std::vector<std::string>{sel.Entered} : sel.Group;
      for (const std::string& name : names) {
        const auto it = ids_.find(name);
        if (it != ids_.end()) side[static_cast<std::size_t>(it->second)] |= bit;
      }
    };
    mark(fromSel, 1);
    mark(toSel, 2);
    using TArrivals = std::array<int, kRides>;
    std::vector<TArrivals> stay(runs_, TArrivals{kNever, kNever, kNever});
    // Each station's profile, departures falling as they are added.
    std::vector<std::vector<std::pair<int, TArrivals>>> profile(plain_.names.size());
    auto evaluate = [&](int station, int time) {
      const auto& p = profile[static_cast<std::size_t>(station)];
      // The last entry (earliest departure) still at or after time.
      auto it = std::partition_point(p.begin(), p.end(), [&](const auto& e) { return e.first >= time; });
      return it == p.begin() ? TArrivals{kNever, kNever, kNever} : std::prev(it)->second;
    };
    std::vector<TTriple> all;
    for (const TConnection& c : connections_) {
      if (c.dep > o.DepartUntil + (kDays - 1) * 1440) continue;
      TArrivals best = stay[static_cast<std::size_t>(c.run)];
      if (side[static_cast<std::size_t>(c.to)] & 2) {
        for (int& a : best) a = std::min(a, c.arr);
      } else if (side[static_cast<std::size_t>(c.to)] == 0) {
        for (const int m : mates_[static_cast<std::size_t>(c.to)]) {
          if (side[static_cast<std::size_t>(m)] != 0) continue;
          const TArrivals after = evaluate(m, c.arr + (m == c.to ? o.MinChange : o.CityChange));
          for (int k = 1; k < kRides; ++k)
            best[static_cast<std::size_t>(k)] =
                std::min(best[static_cast<std::size_t>(k)], after[static_cast<std::size_t>(k - 1)]);
        }
      }
      stay[static_cast<std::size_t>(c.run)] = best;
      const std::uint8_t at = side[static_cast<std::size_t>(c.from)];
      if ((at & 1) && c.dep >= o.DepartFrom && c.dep <= o.DepartUntil) {
        for (int k = 0; k <= o.MaxChanges; ++k)
          if (best[static_cast<std::size_t>(k)] < kNever) all.emplace_back(c.dep, best[static_cast<std::size_t>(k)], k);
      }
      if (at != 0) continue;
      auto& p = profile[static_cast<std::size_t>(c.from)];
      const TArrivals later = p.empty() ? TArrivals{kNever, kNever, kNever} : p.back().second;
      bool better = false;
      for (int k = 0; k < kRides; ++k)
        better = better || best[static_cast<std::size_t>(k)] < later[static_cast<std::size_t>(k)];
      if (!better) continue;
      for (int k = 0; k < kRides; ++k)
        best[static_cast<std::size_t>(k)] =
            std::min(best[static_cast<std::size_t>(k)], later[static_cast<std::size_t>(k)]);
      if (!p.empty() && p.back().first == c.dep)
        p.back().second = best;
      else
        p.emplace_back(c.dep, best);
    }
    // With at most k rides the arrival counts for k - 1 changes only when
    // fewer rides do not reach as early: the Pareto set drops the rest.
    std::set<TTriple> pareto;
    std::sort(all.begin(), all.end(), [](const TTriple& a, const TTriple& b) {
      return std::make_tuple(-std::get<0>(a), std::get<1>(a), std::get<2>(a)) <
             std::make_tuple(-std::get<0>(b), std::get<1>(b), std::get<2>(b));
    });
    std::array<int, kRides> reached{kNever, kNever, kNever};
    for (const TTriple& j : all) {
      const int k = std::get<2>(j);
      if (std::get<1>(j) >= reached[static_cast<std::size_t>(k)]) continue;
      for (int r = k; r < kRides; ++r)
        reached[static_cast<std::size_t>(r)] = std::min(reached[static_cast<std::size_t>(r)], std::get<1>(j));
      pareto.insert(j);
    }
    return pareto;
  }

 private:
  struct TConnection {
    int dep, arr, from, to, run;
  };
  const PlainTimetable& plain_;
  std::vector<TConnection> connections_;
  std::size_t runs_ = 0;
  std::vector<int> group_;
  std::vector<std::vector<int>> mates_;
  std::map<std::string, int> ids_;
};

void BM_Journeys_National(benchmark::State& state) {
  TNational* n = National();
  if (n == nullptr) {
    state.SkipWithError("national tables not present");
    return;
  }
  std::vector<double> micros;
  std::size_t i = 0;
  std::size_t journeys = 0;
  for (auto _ : state) {
    const auto& [from, to] = n->pairs[i++ % n->pairs.size()];
    const double start = CpuMicros();
    const TJourneySides sides = JourneySides(*n->index, n->tt, from, to);
    const auto found = n->planner->Plan(sides.From, sides.To, TJourneyOptions());
    micros.push_back(CpuMicros() - start);
    journeys += found.size();
    benchmark::DoNotOptimize(found.data());
  }
  ReportPercentiles(state, micros);
  state.counters["journeys_per_query"] = static_cast<double>(journeys) / static_cast<double>(micros.size());
}
BENCHMARK(BM_Journeys_National)->Iterations(kPairs)->Unit(benchmark::kMillisecond);

void BM_Journeys_National_CsaPeer(benchmark::State& state) {
  TNational* n = National();
  if (n == nullptr) {
    state.SkipWithError("national tables not present");
    return;
  }
  const PlainTimetable plain = ReadTrains(n->tt.KMTrain);
  const TCsaPeer peer(n->tt, plain);
  std::vector<double> micros;
  std::size_t i = 0;
  int differing = 0;
  for (auto _ : state) {
    const auto& [from, to] = n->pairs[i++ % n->pairs.size()];
    const double start = CpuMicros();
    const std::set<TTriple> found = peer.Plan(n->tt, from, to, TJourneyOptions());
    micros.push_back(CpuMicros() - start);
    state.PauseTiming();
    const TJourneySides sides = JourneySides(*n->index, n->tt, from, to);
    std::set<TTriple> ours;
    for (const TJourney& j : n->planner->Plan(sides.From, sides.To, TJourneyOptions()))
      ours.emplace(j.Depart(), j.Arrive(), j.Changes());
    if (ours != found && differing++ == 0 && std::getenv("VORMEK_BENCH_SHOW_DIFF") != nullptr) {
      std::fprintf(stderr, "pair %zu differs\n", i - 1);
      for (const auto& [d, a, c] : ours)
        if (!found.count({d, a, c})) std::fprintf(stderr, "  ours only: %d %d %d\n", d, a, c);
      for (const auto& [d, a, c] : found)
        if (!ours.count({d, a, c})) std::fprintf(stderr, "  peer only: %d %d %d\n", d, a, c);
    }
    state.ResumeTiming();
  }
  ReportPercentiles(state, micros);
  state.counters["pairs_differing"] = differing;
}
BENCHMARK(BM_Journeys_National_CsaPeer)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
