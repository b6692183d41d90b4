// Journeys with up to two changes against an exhaustive search: for each
// departure at the origin on its own, every train boarded wherever the ride
// before arrived in time (no labels kept between departures, no pruning),
// then the Pareto set of departure, arrival and changes. On the program's
// own timetable and on the national 2019 tables when present. Every journey
// the planner gives is also checked ride by ride against the stop table.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "data/embedded_items.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "plain_timetable.h"
#include "query/journeys.h"
#include "stations/station_selection.h"

namespace vormek {
namespace {

using TTriple = std::tuple<int, int, int>;  // departure, arrival, changes
constexpr int kInf = std::numeric_limits<int>::max() / 4;

struct TSides {
  std::vector<bool> from, to;
  std::vector<int> group;               // -1: in no group
  std::vector<std::vector<int>> mates;  // the stations of each one's group, itself included
  bool Side(int s) const { return from[static_cast<std::size_t>(s)] || to[static_cast<std::size_t>(s)]; }
  bool Mates(int a, int b) const {
    const int g = group[static_cast<std::size_t>(a)];
    return a == b || (g >= 0 && g == group[static_cast<std::size_t>(b)]);
  }
};

TSides ReadSides(const PlainTimetable& plain, TTimetable& tt, const std::string& from, const std::string& to) {
  TPub_Center c;
  SelectDeparture(tt.KMSM, c, from);
  SelectArrival(tt.KMSM, c, to);
  const bool exact = ApplyPairExactMode(c);
  std::map<std::string, int> groups;
  const TMemTable& sm = tt.KMSM;
  for (int r = 0; r < sm.RecordCount(); ++r)
    groups[std::string(sm.ValueAt(r, sm.FieldByName("Station").Column()))] =
        sm.IntegerAt(r, sm.FieldByName("Gp").Column());
  TSides sides;
  for (const std::string& name : plain.names) {
    sides.from.push_back(IsSelectedStation(c, name, exact, TStationSide::Departure));
    sides.to.push_back(IsSelectedStation(c, name, exact, TStationSide::Arrival));
    const auto it = groups.find(name);
    sides.group.push_back(it == groups.end() ? -1 : it->second);
  }
  sides.mates.resize(plain.names.size());
  std::map<int, std::vector<int>> members;
  for (std::size_t s = 0; s < plain.names.size(); ++s)
    if (sides.group[s] >= 0) members[sides.group[s]].push_back(static_cast<int>(s));
  for (std::size_t s = 0; s < plain.names.size(); ++s)
    sides.mates[s] = sides.group[s] >= 0 ? members[sides.group[s]] : std::vector<int>{static_cast<int>(s)};
  return sides;
}

int NextRun(int clock, int ready) {
  int d = clock;
  while (d < ready) d += 1440;
  return d;
}

std::set<TTriple> Exhaustive(const PlainTimetable& plain, const TSides& sides, const TJourneyOptions& o) {
  const std::size_t names = plain.names.size();
  std::set<int> departures;
  for (const PlainTrain& t : plain.trains)
    for (std::size_t k = 0; k + 1 < t.stops.size(); ++k)
      if (sides.from[static_cast<std::size_t>(t.stops[k].station)] && t.stops[k].dep >= o.DepartFrom &&
          t.stops[k].dep <= o.DepartUntil)
        departures.insert(t.stops[k].dep);
  std::vector<TTriple> all;
  for (const int tau : departures) {
    // ready[s]: when a ride may board at s; exactly r - 1 rides before it.
    std::vector<int> ready(names, kInf);
    for (int rides = 1; rides <= o.MaxChanges + 1; ++rides) {
      std::vector<int> arrived(names, kInf);
      int atTo = kInf;
      // Along each train, every stop after a boarding is reached by the
      // earliest of the runs boarded before it.
      for (const PlainTrain& t : plain.trains) {
        int run = kInf;  // when the boarded run left its origin
        for (std::size_t k = 0; k < t.stops.size(); ++k) {
          const PlainStop& a = t.stops[k];
          const auto as = static_cast<std::size_t>(a.station);
          if (run < kInf && a.arr >= 0) {
            const int arrival = run + a.elapsed;
            if (sides.to[as])
              atTo = std::min(atTo, arrival);
            else if (!sides.from[as])
              arrived[as] = std::min(arrived[as], arrival);
          }
          if (a.dep < 0 || k + 1 == t.stops.size()) continue;
          int depart = kInf;
          if (rides == 1 && sides.from[as] && a.dep == tau) depart = tau;
          if (rides > 1 && !sides.Side(a.station) && ready[as] < kInf) depart = NextRun(a.dep, ready[as]);
          if (depart < kInf) run = std::min(run, depart - LeaveElapsed(a));
        }
      }
      if (atTo < kInf) all.emplace_back(tau, atTo, rides - 1);
      std::fill(ready.begin(), ready.end(), kInf);
      for (std::size_t s = 0; s < names; ++s) {
        if (arrived[s] == kInf) continue;
        for (const int m : sides.mates[s])
          ready[static_cast<std::size_t>(m)] = std::min(
              ready[static_cast<std::size_t>(m)], arrived[s] + (m == static_cast<int>(s) ? o.MinChange : o.CityChange));
      }
    }
  }
  std::set<TTriple> pareto;
  for (const TTriple& j : all) {
    const bool beaten = std::any_of(all.begin(), all.end(), [&](const TTriple& i) {
      return std::get<0>(i) >= std::get<0>(j) && std::get<1>(i) <= std::get<1>(j) && std::get<2>(i) <= std::get<2>(j) &&
             i != j;
    });
    if (!beaten) pareto.insert(j);
  }
  return pareto;
}

// Each ride as the stop table has it, each change as the rules allow.
void ExpectSound(const TJourney& j, const PlainTimetable& plain, const std::vector<std::pair<int, int>>& at,
                 const TSides& sides, const TJourneyOptions& o) {
  EXPECT_GE(j.Depart(), o.DepartFrom);
  EXPECT_LE(j.Depart(), o.DepartUntil);
  EXPECT_LE(j.Changes(), o.MaxChanges);
  int km = 0;
  for (std::size_t r = 0; r < j.Rides.size(); ++r) {
    const TJourneyRide& ride = j.Rides[r];
    const auto [t, k] = at[static_cast<std::size_t>(ride.Boarding)];
    const auto [t2, x] = at[static_cast<std::size_t>(ride.Alighting)];
    ASSERT_EQ(t, t2);
    ASSERT_LT(k, x);
    const PlainStop& b = plain.trains[static_cast<std::size_t>(t)].stops[static_cast<std::size_t>(k)];
    const PlainStop& a = plain.trains[static_cast<std::size_t>(t)].stops[static_cast<std::size_t>(x)];
    EXPECT_EQ(ride.Depart % 1440, b.dep);
    EXPECT_EQ(ride.Arrive - ride.Depart, a.elapsed - LeaveElapsed(b));
    km += a.km - b.km;
    if (r == 0) {
      EXPECT_TRUE(sides.from[static_cast<std::size_t>(b.station)]);
    }
    if (r + 1 == j.Rides.size()) {
      EXPECT_TRUE(sides.to[static_cast<std::size_t>(a.station)]);
    }
    if (r == 0) continue;
    const PlainStop& before =
        plain.trains[static_cast<std::size_t>(at[static_cast<std::size_t>(j.Rides[r - 1].Alighting)].first)]
            .stops[static_cast<std::size_t>(at[static_cast<std::size_t>(j.Rides[r - 1].Alighting)].second)];
    EXPECT_FALSE(sides.Side(before.station) || sides.Side(b.station));
    ASSERT_TRUE(sides.Mates(before.station, b.station));
    const int change = before.station == b.station ? o.MinChange : o.CityChange;
    EXPECT_EQ(ride.Wait, ride.Depart - j.Rides[r - 1].Arrive);
    EXPECT_GE(ride.Wait, change);
    EXPECT_LT(ride.Wait, change + 1440);
  }
  EXPECT_EQ(j.Distance, km);
}

void ExpectSameAsExhaustive(TTimetable& tt, const std::vector<std::pair<std::string, std::string>>& pairs,
                            std::mt19937& random) {
  const PlainTimetable plain = ReadTrains(tt.KMTrain);
  std::vector<std::pair<int, int>> at;  // stop position -> train, stop
  for (std::size_t t = 0; t < plain.trains.size(); ++t)
    for (std::size_t k = 0; k < plain.trains[t].stops.size(); ++k) at.emplace_back(t, k);
  const TConnectionIndex index(tt);
  const TJourneyPlanner planner(index, tt);
  int withJourneys = 0;
  int withTwoChanges = 0;
  for (const auto& [from, to] : pairs) {
    SCOPED_TRACE(from + " -> " + to);
    TJourneyOptions o;
    if (random() % 2) {
      o.DepartFrom = std::uniform_int_distribution<int>(0, 1439)(random);
      o.DepartUntil = std::uniform_int_distribution<int>(o.DepartFrom, 1439)(random);
    }
    o.MaxChanges = static_cast<int>(random() % 4 == 0 ? random() % 3 : 2);
    o.MinChange = std::uniform_int_distribution<int>(0, 120)(random);
    o.CityChange = std::uniform_int_distribution<int>(0, 180)(random);
    ASSERT_EQ(JourneyOptionsProblem(o), "");
    const TSides sides = ReadSides(plain, tt, from, to);
    const TJourneySides ids = JourneySides(index, tt, from, to);
    const std::vector<TJourney> got = planner.Plan(ids.From, ids.To, o);
    std::vector<TTriple> gotTriples;
    for (const TJourney& j : got) {
      gotTriples.emplace_back(j.Depart(), j.Arrive(), j.Changes());
      ExpectSound(j, plain, at, sides, o);
    }
    EXPECT_TRUE(std::is_sorted(gotTriples.begin(), gotTriples.end()));
    const std::set<TTriple> want = Exhaustive(plain, sides, o);
    EXPECT_EQ(std::set<TTriple>(gotTriples.begin(), gotTriples.end()), want);
    EXPECT_EQ(gotTriples.size(), want.size()) << "a journey listed twice";
    withJourneys += !got.empty();
    withTwoChanges += std::any_of(got.begin(), got.end(), [](const TJourney& j) { return j.Changes() == 2; });
  }
  // The random pairs must reach the two-change rounds, not agree on nothing.
  EXPECT_GT(withJourneys, static_cast<int>(pairs.size()) / 2);
  EXPECT_GT(withTwoChanges, static_cast<int>(pairs.size()) / 10);
}

TEST(Journeys, BuiltInTimetableAgreesWithTheExhaustiveSearch) {
  TTimetable tt;
  LoadTimetable(EmbeddedItems(), tt);
  std::mt19937 random(2012);
  auto pairs = RandomPairs(tt, 40, random);
  pairs.emplace_back("北京", "上海");
  pairs.emplace_back("北京", "北京西");  // one city: only the typed stations count
  ExpectSameAsExhaustive(tt, pairs, random);
}

TEST(Journeys, NationalTablesAgreeWithTheExhaustiveSearch) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  TTimetable tt;
  LoadTimetableFromDirectory(dir, tt);
  std::mt19937 random(2019);
  auto pairs = RandomPairs(tt, 20, random);
  pairs.emplace_back("北京", "广州");
  ExpectSameAsExhaustive(tt, pairs, random);
}

TEST(Journeys, OptionsOutsideTheirRangesAreRefused) {
  const auto problem = [](auto change) {
    TJourneyOptions o;
    change(o);
    return !JourneyOptionsProblem(o).empty();
  };
  EXPECT_FALSE(problem([](TJourneyOptions&) {}));
  EXPECT_TRUE(problem([](TJourneyOptions& o) {
    o.DepartFrom = 600;
    o.DepartUntil = 599;
  }));
  EXPECT_TRUE(problem([](TJourneyOptions& o) { o.DepartFrom = 1440; }));
  EXPECT_TRUE(problem([](TJourneyOptions& o) { o.MaxChanges = 3; }));
  EXPECT_TRUE(problem([](TJourneyOptions& o) { o.MinChange = -1; }));
  EXPECT_TRUE(problem([](TJourneyOptions& o) { o.CityChange = 100000; }));
}

}  // namespace
}  // namespace vormek
