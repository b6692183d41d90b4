// Connections on tables the loaders never checked, as an image from disk
// brings them: its elapsed-time texts are not parsed when it opens.
#include "query/connections.h"

#include <gtest/gtest.h>

#include "data/table_ranges.h"
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

}  // namespace
}  // namespace vormek
