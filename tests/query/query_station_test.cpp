#include "query/query_station.h"

#include <gtest/gtest.h>

#include "direct_and_station_fixture.h"

namespace vormek {
namespace {

class StationQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Load(fixture::NorthWestTables(), tt_);
    c_.Fares = BuildFareTables();
  }
  const TPub_GridResult* Row(const std::string& id) const {
    for (const auto& r : c_.GridResults)
      if (r.ID == id) return &r;
    return nullptr;
  }
  TTimetable tt_;
  TPub_Center c_;
};

TEST_F(StationQueryTest, TrainsLeavingRunToTheirTerminal) {
  QueryStation(tt_, c_, "宝鸡");
  ASSERT_EQ(c_.GridResults.size(), 2u);  // Z9 is not in the train list
  const TPub_GridResult* r = Row("1043");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->FZ.Station, "宝鸡");
  EXPECT_EQ(r->FZ.S_No, 5);
  EXPECT_EQ(r->FZ.Time, "23:40");
  EXPECT_EQ(r->DZ.Station, "奎屯");
  EXPECT_EQ(r->DZ.S_No, 7);
  EXPECT_EQ(r->DZ.Time, "11:08");
  EXPECT_EQ(r->Stops, 2);
  EXPECT_EQ(r->QJ_Distance, 2637);
  EXPECT_EQ(r->QJ_R_Date, "35:34");
  EXPECT_EQ(c_.ToSelection.Entered, "宝鸡");
}

TEST_F(StationQueryTest, TrainsEndingHereBoardAtTheirOrigin) {
  QueryStation(tt_, c_, "奎屯");
  const TPub_GridResult* ends = Row("1043");
  ASSERT_NE(ends, nullptr);
  EXPECT_EQ(ends->FZ.Station, "西安");
  EXPECT_EQ(ends->FZ.S_No, 1);
  EXPECT_EQ(ends->FZ.Time, "21:25");
  EXPECT_EQ(ends->FZ.R_Date, "0");
  EXPECT_EQ(ends->DZ.Station, "奎屯");
  EXPECT_EQ(ends->Stops, 6);
  EXPECT_EQ(ends->QJ_Distance, 2810);
  EXPECT_EQ(ends->QJ_R_Date, "37:43");
  const TPub_GridResult* starts = Row("1044");
  ASSERT_NE(starts, nullptr);
  EXPECT_EQ(starts->FZ.Station, "奎屯");
  EXPECT_EQ(starts->FZ.R_Date, "0");
  EXPECT_EQ(starts->DZ.Station, "西安");
}

TEST_F(StationQueryTest, OneRowPerTrainAtItsFirstStationOfTheCity) {
  QueryStation(tt_, c_, "北京南");
  ASSERT_EQ(c_.GridResults.size(), 1u);
  EXPECT_EQ(c_.GridResults[0].FZ.Station, "北京西");
  EXPECT_EQ(c_.GridResults[0].DZ.Station, "天津");
}

TEST_F(StationQueryTest, TheJumpToTheTerminalSkipsLaterStopsOfTheCity) {
  // 1134/1135 calls at 天津北 and 天津; the row starts at 天津北 and the
  // jump passes 天津 without a second row.
  QueryStation(tt_, c_, "天津");
  std::vector<std::string> ids;
  for (const auto& r : c_.GridResults) ids.push_back(r.ID);
  EXPECT_EQ(ids, (std::vector<std::string>{"1134/1135", "D1"}));
  EXPECT_EQ(Row("1134/1135")->FZ.Station, "天津北");
  EXPECT_EQ(Row("1134/1135")->DZ.Station, "塘沽");
  EXPECT_EQ(Row("D1")->FZ.Station, "北京西");  // ends at 天津
}

}  // namespace
}  // namespace vormek
