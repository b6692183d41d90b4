// vormek-query journey: its options checked as usage errors, and its lines
// the planner's journeys: one per journey, or one per ride with --rides,
// whose times, waits and trains make up the journey's line. Literals here
// are GBK, so the program runs with --gbk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query_tool_runner.h"
#include "support/csv_reader.h"

namespace vormek {
namespace {

using testing::RunQueryTool;

TEST(QueryJourney, OptionsOutsideTheirRangeAreUsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {"journey", "北京"},
      {"journey", "北京", "广州", "--depart", "10:00-09:59"},
      {"journey", "北京", "广州", "--depart", "25:00"},
      {"journey", "北京", "广州", "--depart", "9:00"},
      {"journey", "北京", "广州", "--max-changes", "3"},
      {"journey", "北京", "广州", "--min-change", "-5"},
      {"journey", "北京", "广州", "--city-change", "99999"},
      {"journey", "北京", "广州", "--max", "5"},
      {"zz", "北京", "广州", "--rides"},
  };
  for (const auto& args : bad) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 64) << args.back();
    EXPECT_NE(run.err.find("vormek-query: "), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  const auto unknown = RunQueryTool({"--gbk", "journey", "北京", "无此站"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("到站不存在"), std::string::npos) << unknown.err;
}

int Minutes(const std::string& clock) { return std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3, 2)); }
int Day(const std::string& clock) { return clock.size() > 5 ? std::stoi(clock.substr(6)) : 0; }

// Each journey's rides, read from --rides, give its line: departure, arrival
// and day, duration, changes, trains and the change stations.
TEST(QueryJourney, TheRidesMakeUpEachJourneysLine) {
  const std::vector<std::string> args = {"--gbk", "journey", "哈尔滨", "昆明", "--depart", "06:00-20:00"};
  const auto journeys = testing::ReadCsv(RunQueryTool(args).out, "\n").value();
  std::vector<std::string> withRides = args;
  withRides.push_back("--rides");
  const auto rides = testing::ReadCsv(RunQueryTool(withRides).out, "\n").value();
  ASSERT_GT(journeys.size(), 2u);
  EXPECT_EQ(journeys[0],
            (std::vector<std::string>{"出发", "到达", "历时", "换乘次数", "车次", "换乘站", "里程", "参考票价"}));
  EXPECT_EQ(rides[0], (std::vector<std::string>{"序号", "车次", "发站", "发时", "到站", "到时", "等候"}));
  std::size_t line = 1;
  for (std::size_t j = 1; j < journeys.size(); ++j) {
    const auto& row = journeys[j];
    SCOPED_TRACE(row[4]);
    std::vector<std::vector<std::string>> own;
    for (; line < rides.size() && rides[line][0] == std::to_string(j); ++line) own.push_back(rides[line]);
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(std::to_string(own.size() - 1), row[3]);
    EXPECT_EQ(own.front()[3], row[0]);
    EXPECT_EQ(own.back()[5], row[1]);
    EXPECT_GE(Minutes(row[0]), 6 * 60);
    EXPECT_LE(Minutes(row[0]), 20 * 60);
    const int total = Day(row[1]) * 1440 + Minutes(row[1]) - Minutes(row[0]);
    const std::size_t colon = row[2].find(':');
    EXPECT_EQ(std::stoi(row[2].substr(0, colon)) * 60 + std::stoi(row[2].substr(colon + 1)), total);
    std::string trains;
    for (std::size_t r = 0; r < own.size(); ++r) {
      trains += (r == 0 ? "" : "→") + own[r][1];
      if (r > 0) {
        // The wait is from the ride before's arrival to this departure.
        const int arrive = Day(own[r - 1][5]) * 1440 + Minutes(own[r - 1][5]);
        const int depart = Day(own[r][3]) * 1440 + Minutes(own[r][3]);
        EXPECT_EQ(depart - arrive, Minutes(own[r][6]));
        EXPECT_GE(depart - arrive, 30);
        EXPECT_NE(row[5].find(own[r - 1][4]), std::string::npos);
      }
    }
    EXPECT_EQ(trains, row[4]);
  }
  EXPECT_EQ(line, rides.size());
}

}  // namespace
}  // namespace vormek
