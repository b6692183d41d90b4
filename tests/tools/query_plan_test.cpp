// vormek-query plan: the connections as the window lists them, its own
// options checked, input refused as the window refuses it. Literals here
// are GBK, so the program runs with --gbk.
#include <gtest/gtest.h>

#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "query/connection_rows.h"
#include "query/connections.h"
#include "query_tool_runner.h"

namespace vormek {
namespace {

using testing::RunQueryTool;

TEST(QueryPlan, OptionsOutsideTheirRangeAreUsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {"plan", "北京"},
      {"plan", "北京", "上海", "--min-change", "1441"},
      {"plan", "北京", "上海", "--min-change", "-5"},
      {"plan", "北京", "上海", "--max", "0"},
      {"plan", "北京", "上海", "--max"},
      {"plan", "北京", "上海", "--via", "南京"},
  };
  for (const auto& args : bad) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 64) << args.back();
    EXPECT_NE(run.err.find("usage: vormek-query"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(QueryPlan, NationalTablesLinesAreTheConnectionsRows) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  const auto same = RunQueryTool({"--gbk", "--tables", dir.string(), "plan", "北京", "北京"});
  EXPECT_EQ(same.status, 2);
  EXPECT_EQ(same.err, "发站与到站相同。\n");

  const auto run = RunQueryTool(
      {"--gbk", "--tables", dir.string(), "plan", "乌鲁木齐", "上海", "--min-change", "45", "--max", "12"});
  ASSERT_EQ(run.status, 0) << run.err;
  TTimetable tt;
  LoadTimetableFromDirectory(dir, tt);
  const TConnectionIndex index(tt);
  const auto want = FindConnections(index, tt, "乌鲁木齐", "上海", TConnectionOptions{45, 12}, BuildFareTables());
  ASSERT_EQ(want.size(), 12u);
  auto line = [](const std::vector<std::string>& fields) {
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + fields[i];
    return joined + "\n";
  };
  std::string expected = line(ConnectionHeader());
  for (const TConnection& c : want) expected += line(ConnectionRow(c));
  EXPECT_EQ(run.out, expected);
}

}  // namespace
}  // namespace vormek
