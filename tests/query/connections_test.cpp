// Connections on tables the loaders never checked, as an image from disk
// brings them: its elapsed-time texts are not parsed when it opens.
#include "query/connections.h"

#include <gtest/gtest.h>

#include <random>

#include "data/table_ranges.h"
#include "query/connection_rows.h"
#include "timetable_fixture.h"

namespace vormek {
namespace {

using fixture::S;

// Elapsed times of any size, even negative ones, count as no more than the
// longest a load lets in (9999:59), so that the rides, waits and totals made
// of them never overflow; the connection is still found.
TEST(Connections, ElapsedTimesBeyondTheLoadRangeCountAsTheLongest) {
  const struct {
    const char* arrival;  // the elapsed time at each train's last stop
    int ride;             // what each ride then counts
  } cases[] = {{"30000000:0", kMaxElapsedMinutes}, {"2147483647", kMaxElapsedMinutes}, {"-1000000:0", 0}, {"5:0", 300}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arrival);
    fixture::Tables t;
    t.trains = {{"T1", 9, {S("A", "", "08:00", "0", 0), S("X", "09:00", "", c.arrival, 100)}},
                {"T2", 9, {S("X", "", "10:00", "0", 0), S("B", "11:00", "", c.arrival, 100)}}};
    TTimetable tt;
    fixture::Load(t, tt);
    const TConnectionIndex index(tt);
    const auto found = FindConnections(index, tt, "A", "B", TConnectionOptions{}, BuildFareTables());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].WaitMinutes, 60);
    EXPECT_EQ(found[0].TotalMinutes, c.ride + 60 + c.ride);
  }
}

// The window's times carry the day they fall on: read back as minutes from
// the first departure's midnight, they give the first ride, the wait and the
// whole journey exactly, for trains of any length across any midnights.
TEST(ConnectionRows, MarkedDaysAddUpToTheRideTheWaitAndTheJourney) {
  std::mt19937 random(8);
  const auto absolute = [](const std::string& text) {
    const std::size_t plus = text.find('+');
    const int day = plus == std::string::npos ? 0 : std::stoi(text.substr(plus + 1));
    EXPECT_EQ(text.substr(0, plus).size(), 5u) << text << ": HH:MM";
    return DurationToMinutes(text.substr(0, plus)) + day * kMinutesPerDay;
  };
  int marked = 0;
  for (int round = 0; round < 40; ++round) {
    fixture::Tables t;
    for (int n = 0; n < 6; ++n) {
      const bool first = n < 3;
      const int leave = static_cast<int>(random() % kMinutesPerDay);
      const int ride = 10 + static_cast<int>(random() % (40 * 60));
      t.trains.push_back(
          {"T" + std::to_string(n),
           9,
           {S(first ? "A" : "X", "", HoursMinutes(leave), "0", 0),
            S(first ? "X" : "B", HoursMinutes((leave + ride) % kMinutesPerDay), "", MinutesToDuration(ride), 100)}});
    }
    TTimetable tt;
    fixture::Load(t, tt);
    const TConnectionIndex index(tt);
    for (const TConnection& c : FindConnections(index, tt, "A", "B", TConnectionOptions{}, BuildFareTables())) {
      const std::vector<std::string> row = ConnectionRowWithDays(c);
      const int leave = absolute(row[2]);
      ASSERT_LT(leave, kMinutesPerDay) << row[2];
      EXPECT_EQ(absolute(row[4]) - leave, DurationToMinutes(c.First.QJ_R_Date)) << row[4];
      EXPECT_EQ(absolute(row[6]) - absolute(row[4]), c.WaitMinutes) << row[4] << " " << row[6];
      EXPECT_EQ(absolute(row[9]) - leave, c.TotalMinutes) << row[9];
      marked += row[9].find('+') != std::string::npos;
    }
  }
  EXPECT_GT(marked, 20) << "few journeys reach another day";
  EXPECT_EQ(ClockWithDay("1:19", 2), "01:19+2");
  EXPECT_EQ(ClockWithDay("5:8", 0), "05:08");
}

}  // namespace
}  // namespace vormek
