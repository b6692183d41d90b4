// vormek-query over the national 2019 tables (third-party data, read where it
// lies; the tests skip when it is absent).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "data/gbk_codec.h"
#include "query_tool_runner.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using vormek::testing::RunQueryTool;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

using Row = std::vector<std::string>;

std::vector<Row> Lines(const std::string& out) {
  std::vector<Row> rows;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    Row row;
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = line.find(',', start);
      row.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    rows.push_back(row);
  }
  return rows;
}

class NationalTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
    if (!fs::exists(dir_ / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  }
  vormek::testing::TQueryRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--tables", dir_.string()});
    return RunQueryTool(args);
  }
  // Data rows (header dropped) of a successful run.
  std::vector<Row> Rows(std::vector<std::string> args) {
    const auto run = Run(std::move(args));
    EXPECT_EQ(run.status, 0) << run.err;
    auto rows = Lines(run.out);
    if (!rows.empty()) rows.erase(rows.begin());
    return rows;
  }
  const Row* Find(const std::vector<Row>& rows, const std::string& id) {
    for (const Row& r : rows)
      if (r[0] == id) return &r;
    return nullptr;
  }
  fs::path dir_;
};

TEST_F(NationalTablesTest, AZeroKilometreSectionHasNoFareAndNoSpeed) {
  const auto rows = Rows({"zz", U8(u8"无锡"), U8(u8"常州")});
  const Row* d306 = Find(rows, "D306/D307");
  ASSERT_NE(d306, nullptr);
  EXPECT_EQ((*d306)[4], U8(u8"无锡"));
  EXPECT_EQ((*d306)[6], U8(u8"常州"));
  EXPECT_EQ((*d306)[9], "0");
  EXPECT_EQ((*d306)[11], "-");
  EXPECT_EQ((*d306)[12], "-");

  const auto run = Run({"stops", "D306/D307", "--board", U8(u8"无锡"), "--count", "1"});
  ASSERT_EQ(run.status, 0);
  const auto stops = Lines(run.out);
  bool sawLeg = false;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    if (stops[i][1] != U8(u8"常州")) continue;
    sawLeg = true;
    EXPECT_EQ(stops[i][7], "");  // same distance as 无锡: no speed
    EXPECT_EQ(stops[i][5], U8(u8"第2天"));
  }
  EXPECT_TRUE(sawLeg);
  EXPECT_NE(run.err.find(U8(u8"区间：0km/历时00:23/速度km/h")), std::string::npos) << run.err;
}

TEST_F(NationalTablesTest, ATrainWithThreeNumbersIsFoundByEachOfThem) {
  const auto first = Rows({"cc", "d5221"});
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0][0], "D5221/D5224/D5253");
  EXPECT_EQ(Rows({"cc", "D5224"}), first);
  EXPECT_EQ(Rows({"cc", "D5253"}), first);
  EXPECT_TRUE(Rows({"cc", "D522"}).empty());
  EXPECT_EQ(Rows({"cc", "D5221/D5224"}).size(), 1u);
  EXPECT_EQ(Rows({"cc", "D5221/D5224/D5253"}).size(), 1u);
}

TEST_F(NationalTablesTest, CityGroupsOnBothSidesAndAfterFilters) {
  const std::vector<std::string> beijing{U8(u8"北京"), U8(u8"北京东"), U8(u8"北京南"), U8(u8"北京西")};
  const std::vector<std::string> shanghai{U8(u8"上海"), U8(u8"上海虹桥"), U8(u8"上海南"), U8(u8"上海西")};
  auto in = [](const std::vector<std::string>& set, const std::string& s) {
    return std::find(set.begin(), set.end(), s) != set.end();
  };
  const auto all = Rows({"zz", U8(u8"北京"), U8(u8"上海")});
  ASSERT_GT(all.size(), 20u);
  std::map<std::string, int> perTrain;
  for (const Row& r : all) {
    ASSERT_EQ(r.size(), 15u);
    EXPECT_TRUE(in(beijing, r[4])) << r[0];
    EXPECT_TRUE(in(shanghai, r[6])) << r[0];
    EXPECT_GE(std::stoi(r[8]), 1);
    ++perTrain[r[0]];
  }
  for (const auto& [id, n] : perTrain) EXPECT_EQ(n, 1) << id;

  const auto exact = Rows({"zz", "--filter", "jq,dc", U8(u8"北京"), U8(u8"上海")});
  EXPECT_LT(exact.size(), all.size());
  for (const Row& r : exact) {
    EXPECT_EQ(r[4], U8(u8"北京"));
    EXPECT_EQ(r[6], U8(u8"上海"));
    EXPECT_TRUE(r[0][0] == 'C' || r[0][0] == 'D' || r[0][0] == 'G');
  }
  // 北京北 is in no group here and has no trains: an empty list, no refusal.
  EXPECT_TRUE(Rows({"cz", U8(u8"北京北")}).empty());
  const auto station = Rows({"cz", U8(u8"北京东")});
  std::set<std::string> boarding;
  for (const Row& r : station) {
    EXPECT_TRUE(in(beijing, r[4]) || in(beijing, r[6])) << r[0];
    boarding.insert(r[4]);
  }
  EXPECT_GT(boarding.size(), 2u);
}

TEST_F(NationalTablesTest, TransferListAndTheLegsThroughOneStation) {
  const auto list = Rows({"zz", "--transfer", U8(u8"北京"), U8(u8"上海")});
  ASSERT_GT(list.size(), 50u);
  std::string previous;
  for (const Row& r : list) {
    ASSERT_EQ(r.size(), 9u);
    EXPECT_NE(r[0], U8(u8"北京"));
    EXPECT_NE(r[0], U8(u8"上海"));
    EXPECT_GT(std::stoi(r[8]), 0);
    EXPECT_EQ(std::stoi(r[3]), std::stoi(r[1]) + std::stoi(r[2]));
    const std::string gbk = *Utf8ToGbk(r[0]);
    EXPECT_LE(previous, gbk);  // byte order of the GBK names
    previous = gbk;
  }
  // Direction and time play no part: a station beyond the destination is
  // offered when trains run from it back to the arrival side.
  const auto fromNanjing = Rows({"zz", "--transfer", U8(u8"南京"), U8(u8"上海")});
  EXPECT_NE(Find(fromNanjing, U8(u8"北京")), nullptr);

  const Row& chosen = list[list.size() / 2];
  const auto legs = Rows({"zz", "--via", chosen[0], U8(u8"北京"), U8(u8"上海")});
  const std::size_t count1 = std::stoul(chosen[7]);
  ASSERT_EQ(legs.size(), count1 + std::stoul(chosen[8]));
  for (std::size_t i = 0; i < legs.size(); ++i) {
    EXPECT_EQ(i < count1 ? legs[i][6] : legs[i][4], chosen[0]);
  }
}

}  // namespace
}  // namespace vormek
