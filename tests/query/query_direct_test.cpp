#include "query/query_direct.h"

#include <gtest/gtest.h>

#include "direct_and_station_fixture.h"

namespace vormek {
namespace {

class DirectQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Load(fixture::NorthWestTables(), tt_);
    c_.Fares = BuildFareTables();
  }
  std::vector<std::string> Ids() const {
    std::vector<std::string> ids;
    for (const auto& r : c_.GridResults) ids.push_back(r.ID);
    return ids;
  }
  TTimetable tt_;
  TPub_Center c_;
};

TEST_F(DirectQueryTest, SectionFromTheBoardingStopsArrival) {
  QueryDirect(tt_, c_, "咸阳", "宝鸡");
  ASSERT_EQ(c_.GridResults.size(), 1u);
  const TPub_GridResult& r = c_.GridResults[0];
  EXPECT_EQ(r.ID, "1043");
  EXPECT_EQ(r.FZ.Station, "咸阳");
  EXPECT_EQ(r.FZ.Time, "21:45");
  EXPECT_EQ(r.DZ.Station, "宝鸡");
  EXPECT_EQ(r.DZ.Time, "23:34");
  EXPECT_EQ(r.Stops, 3);
  EXPECT_EQ(r.QJ_Distance, 150);
  EXPECT_EQ(r.QJ_R_Date, "01:51");  // counted from the arrival at 咸阳, 21:43
  EXPECT_EQ(r.StartStation, "西安");
  EXPECT_EQ(r.EndStation, "奎屯");
  EXPECT_EQ(r.QC_Distance, 2810);
  EXPECT_EQ(r.TypeName, TrainTypeName(8));
}

TEST_F(DirectQueryTest, TrainsTheOtherWayAndUnlistedTrainsGiveNoRow) {
  // 1044 runs 宝鸡 -> 西安; Z9 is missing from the train list.
  QueryDirect(tt_, c_, "西安", "宝鸡");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1043"}));
  EXPECT_EQ(c_.GridResults[0].QJ_R_Date, "02:09");
  EXPECT_EQ(c_.GridResults[0].Stops, 4);
  QueryDirect(tt_, c_, "宝鸡", "西安");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1044"}));
}

TEST_F(DirectQueryTest, CityGroupsBoardAtTheFirstAndAlightAtTheLastStation) {
  QueryDirect(tt_, c_, "乌海", "天津");
  ASSERT_EQ(c_.GridResults.size(), 1u);
  const TPub_GridResult& r = c_.GridResults[0];
  EXPECT_EQ(r.ID, "1134/1135");
  EXPECT_EQ(r.FZ.Station, "乌海西");
  EXPECT_EQ(r.FZ.S_No, 1);
  EXPECT_EQ(r.DZ.Station, "天津");  // not 天津北, the earlier stop of the group
  EXPECT_EQ(r.DZ.S_No, 5);
  EXPECT_EQ(r.Stops, 4);
  EXPECT_EQ(r.QJ_Distance, 1332);
  EXPECT_EQ(c_.FromSelection.Group.size(), 2u);
}

TEST_F(DirectQueryTest, SameCityLooksAtTheTypedStationsOnly) {
  QueryDirect(tt_, c_, "北京西", "北京");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"D1"}));
  QueryDirect(tt_, c_, "北京", "北京西");
  EXPECT_TRUE(c_.GridResults.empty());
  EXPECT_TRUE(c_.FromSelection.Group.empty());
  EXPECT_TRUE(c_.ToSelection.Group.empty());
}

TEST_F(DirectQueryTest, EachQueryReplacesTheResults) {
  QueryDirect(tt_, c_, "西安", "宝鸡");
  QueryDirect(tt_, c_, "塘沽", "乌海");
  EXPECT_TRUE(c_.GridResults.empty());
  EXPECT_EQ(c_.FromSelection.Entered, "塘沽");
  EXPECT_EQ(c_.ToSelection.Entered, "乌海");
}

}  // namespace
}  // namespace vormek
