// Connections against a plain enumeration of every pair of trains, on the
// program's own timetable and on the national 2019 tables when present.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <tuple>

#include "data/embedded_items.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "plain_timetable.h"
#include "query/connections.h"
#include "stations/station_selection.h"

namespace vormek {
namespace {

TEST(ConnectionWait, NextDailyDepartureAtLeastTheChangeTimeLaterAndAtMostADay) {
  struct Case {
    const char* arr;
    const char* dep;
    int minChange;
    int wait;  // -1: no feasible departure
  } cases[] = {
      {"10:00", "10:30", 30, 30},    // exactly the change time
      {"10:00", "10:29", 30, -1},    // one minute short: tomorrow's is over a day away
      {"23:50", "00:40", 30, 50},    // across midnight
      {"10:00", "09:59", 30, 1439},  // almost a day
      {"10:00", "10:00", 30, 1440},  // the same clock tomorrow
      {"10:00", "10:00", 0, 0},     {"10:00", "12:00", 180, -1}, {"", "12:00", 30, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConnectionWait(ClockMinutes(c.arr), ClockMinutes(c.dep), c.minChange), c.wait)
        << c.arr << " -> " << c.dep << " change " << c.minChange;
  }
}

// ---- the enumeration ------------------------------------------------------

struct Plain {
  std::string id1, x, id2;
  int wait, total, km;
  int departure, t1, t2;
  auto Key() const { return std::tie(total, departure, t1, t2); }
};

std::vector<Plain> Enumerate(const PlainTimetable& plain, TTimetable& tt, const std::string& from,
                             const std::string& to, int minChange, int maxCount, std::size_t* total) {
  const auto& trains = plain.trains;
  TPub_Center c;
  SelectDeparture(tt.KMSM, c, from);
  SelectArrival(tt.KMSM, c, to);
  const bool exact = ApplyPairExactMode(c);
  std::vector<bool> fromSide, toSide;
  for (const std::string& name : plain.names) {
    fromSide.push_back(IsSelectedStation(c, name, exact, TStationSide::Departure));
    toSide.push_back(IsSelectedStation(c, name, exact, TStationSide::Arrival));
  }
  auto isFrom = [&](int s) { return fromSide[static_cast<std::size_t>(s)]; };
  auto isTo = [&](int s) { return toSide[static_cast<std::size_t>(s)]; };
  // Each train's first departure-side stop and last arrival-side stop.
  std::vector<int> board(trains.size(), -1), alight(trains.size(), -1);
  for (std::size_t t = 0; t < trains.size(); ++t) {
    const auto& stops = trains[t].stops;
    for (std::size_t k = 0; k < stops.size(); ++k) {
      if (board[t] < 0 && isFrom(stops[k].station)) board[t] = static_cast<int>(k);
      if (isTo(stops[k].station)) alight[t] = static_cast<int>(k);
    }
  }
  std::vector<Plain> all;
  for (std::size_t i1 = 0; i1 < trains.size(); ++i1) {
    const auto& s1 = trains[i1].stops;
    if (board[i1] < 0) continue;
    const auto b = static_cast<std::size_t>(board[i1]);
    for (std::size_t i2 = 0; i2 < trains.size(); ++i2) {
      if (i2 == i1 || alight[i2] < 0) continue;
      const auto& s2 = trains[i2].stops;
      const int q = alight[i2];
      bool paired = false;
      for (std::size_t x = b + 1; x < s1.size() && !paired; ++x) {
        if (isFrom(s1[x].station) || isTo(s1[x].station)) continue;
        for (int j = 0; j < q && !paired; ++j) {
          if (s2[static_cast<std::size_t>(j)].station != s1[x].station) continue;
          const int arr = s1[x].arr, dep = s2[static_cast<std::size_t>(j)].dep;
          if (arr < 0 || dep < 0) continue;
          int wait = dep - arr;
          while (wait < 0) wait += 1440;
          while (wait < minChange) wait += 1440;
          if (wait > 1440) continue;
          paired = true;
          const auto& y = s2[static_cast<std::size_t>(j)];
          const auto& end = s2[static_cast<std::size_t>(q)];
          all.push_back({trains[i1].id, plain.names[static_cast<std::size_t>(s1[x].station)], trains[i2].id, wait,
                         s1[x].elapsed - LeaveElapsed(s1[b]) + wait + end.elapsed - LeaveElapsed(y),
                         s1[x].km - s1[b].km + end.km - y.km, s1[b].dep, static_cast<int>(i1), static_cast<int>(i2)});
        }
      }
    }
  }
  std::sort(all.begin(), all.end(), [](const Plain& a, const Plain& b) { return a.Key() < b.Key(); });
  *total = all.size();
  if (static_cast<int>(all.size()) > maxCount) all.resize(static_cast<std::size_t>(maxCount));
  return all;
}

void ExpectSameAsEnumeration(TTimetable& tt, const std::vector<std::pair<std::string, std::string>>& pairs,
                             std::mt19937& random) {
  const PlainTimetable plain = ReadTrains(tt.KMTrain);
  const TConnectionIndex index(tt);
  const TFareTables fares = BuildFareTables();
  int nonEmpty = 0;
  for (const auto& [from, to] : pairs) {
    TConnectionOptions options;
    options.MinChange = std::uniform_int_distribution<int>(0, 120)(random);
    options.MaxCount = random() % 2 ? 200 : 7;
    std::size_t wantTotal = 0;
    std::size_t gotTotal = 0;
    const std::vector<Plain> want = Enumerate(plain, tt, from, to, options.MinChange, options.MaxCount, &wantTotal);
    const std::vector<TConnection> got = FindConnections(index, tt, from, to, options, fares, &gotTotal);
    ASSERT_EQ(got.size(), want.size()) << from << " -> " << to;
    EXPECT_EQ(gotTotal, wantTotal) << from << " -> " << to;
    nonEmpty += !got.empty();
    for (std::size_t i = 0; i < got.size(); ++i) {
      const TConnection& g = got[i];
      const Plain& w = want[i];
      SCOPED_TRACE(from + " -> " + to + " row " + std::to_string(i));
      EXPECT_EQ(g.First.ID, w.id1);
      EXPECT_EQ(g.Second.ID, w.id2);
      EXPECT_EQ(g.First.DZ.Station, w.x);
      EXPECT_EQ(g.Second.FZ.Station, w.x);
      EXPECT_EQ(g.WaitMinutes, w.wait);
      EXPECT_EQ(g.TotalMinutes, w.total);
      EXPECT_EQ(g.TotalDistance, w.km);
      // Each leg is priced like a result row of its own.
      EXPECT_FALSE(g.First.QJ_R_Date.empty());
      EXPECT_EQ(g.HardSeatFare == "-", ParseFare(g.First.QJ_P1, 0) <= 0 || ParseFare(g.Second.QJ_P1, 0) <= 0);
    }
  }
  // The random pairs must exercise the join, not just agree on nothing.
  EXPECT_GT(nonEmpty, static_cast<int>(pairs.size()) / 4);
}

TEST(Connections, BuiltInTimetableAgreesWithEnumeration) {
  TTimetable tt;
  LoadTimetable(EmbeddedItems(), tt);
  std::mt19937 random(2012);
  auto pairs = RandomPairs(tt, 150, random);
  pairs.emplace_back("北京", "上海");
  pairs.emplace_back("北京", "北京西");  // one city: only the typed stations count
  ExpectSameAsEnumeration(tt, pairs, random);
}

TEST(Connections, NationalTablesAgreeWithEnumeration) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  TTimetable tt;
  LoadTimetableFromDirectory(dir, tt);
  std::mt19937 random(2019);
  auto pairs = RandomPairs(tt, 40, random);
  pairs.emplace_back("北京", "广州");
  ExpectSameAsEnumeration(tt, pairs, random);
}

}  // namespace
}  // namespace vormek
