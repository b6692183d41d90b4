// vormek-query plan: the connections as the window lists them, its own
// options checked, input refused as the window refuses it. Literals here
// are GBK, so the program runs with --gbk.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string Field(const std::string& line, int column) {
  std::size_t start = 0;
  for (int c = 0; c < column; ++c) start = line.find(',', start) + 1;
  return line.substr(start, line.find(',', start) - start);
}

// plan reads the one option table: help, and the filter boxes and the sort
// of the other grids, applied to both trains and the 13 columns.
TEST(QueryPlan, HelpFilterAndSortAsForTheOtherCommands) {
  for (const char* help : {"--help", "-h"}) {
    const auto run = RunQueryTool({"plan", help});
    EXPECT_EQ(run.status, 0) << help;
    EXPECT_NE(run.out.find("--min-change"), std::string::npos);
  }
  if (!VORMEK_QUERY_EMBEDDED) GTEST_SKIP() << "no embedded timetable";
  const std::vector<std::string> query{"--gbk", "plan", "北京", "上海"};
  auto run = [&](std::vector<std::string> options) {
    options.insert(options.begin(), query.begin(), query.end());
    const auto r = RunQueryTool(options);
    EXPECT_EQ(r.status, 0) << r.err;
    return Lines(r.out);
  };
  const auto all = run({"--max=100000"});
  ASSERT_GT(all.size(), 20u);
  auto multipleUnit = [](const std::string& number) { return number.find_first_of("CDG") == 0; };
  std::vector<std::string> want{all.front()};
  for (std::size_t i = 1; i < all.size() && want.size() < 8; ++i)
    if (multipleUnit(Field(all[i], 0)) && multipleUnit(Field(all[i], 5))) want.push_back(all[i]);
  ASSERT_EQ(want.size(), 8u) << "seven connections by multiple-unit trains";
  EXPECT_EQ(run({"--filter", "dc", "--max=7"}), want);

  auto sorted = run({"--sort=11:desc", "--max=100000"});
  for (std::size_t i = 2; i < sorted.size(); ++i)
    EXPECT_GE(std::stoi(Field(sorted[i - 1], 11)), std::stoi(Field(sorted[i], 11))) << sorted[i];
  std::sort(sorted.begin() + 1, sorted.end());
  auto unsorted = all;
  std::sort(unsorted.begin() + 1, unsorted.end());
  EXPECT_EQ(sorted, unsorted);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--sort=13"}, {"--board", "北京"}, {"--via=南京"}}) {
    auto args = query;
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunQueryTool(args).status, 64) << bad.front();
  }
}

TEST(QueryPlan, NationalTablesLinesAreTheConnectionsRows) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  const auto same = RunQueryTool({"--gbk", "--tables", dir.string(), "plan", "北京", "北京"});
  EXPECT_EQ(same.status, 2);
  EXPECT_EQ(same.err, "vormek-query: 发站与到站相同。\n");

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
