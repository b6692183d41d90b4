#include "query/stop_list.h"

#include <gtest/gtest.h>

#include "timetable_fixture.h"

namespace vormek {
namespace {

using fixture::S;

class StopListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    t.trains = {
        // One midnight: 01:19 is on day 2.
        {"1043",
         8,
         {S("西安", "", "21:25", "0", 0), S("咸阳", "21:43", "21:45", "18", 23), S("兴平", "22:26", "22:28", "1:1", 60),
          S("宝鸡", "23:34", "23:40", "2:9", 173), S("天水", "01:19", "01:25", "3:54", 327),
          S("兰州", "06:00", "", "8:35", 600)}},
        // Two midnights, the second passed while standing at 丙.
        {"K9",
         6,
         {S("甲", "", "22:00", "0", 0), S("乙", "02:00", "02:10", "4:0", 300), S("丙", "23:50", "00:20", "25:50", 1600),
          S("丁", "01:00", "", "27:0", 1650)}},
        // Last in the stop table; a same-distance leg and an elapsed "2:".
        {"Z1", 4, {S("子", "", "08:00", "0", 0), S("丑", "09:00", "09:01", "1:0", 0), S("寅", "10:00", "", "2:", 100)}},
    };
    fixture::Load(t, tt_);
  }
  std::vector<std::string> Col(const TStopList& l, int c) {
    std::vector<std::string> out;
    for (int r = 0; r < l.FilledRows; ++r) out.push_back(l.Grid.Cell(c, r));
    return out;
  }
  TTimetable tt_;
};

TEST_F(StopListTest, DaysCountAtArrivalsAfterMidnight) {
  auto l = BuildStopList(tt_, {"1043", "咸阳", "3", "150", "01:51"});
  ASSERT_TRUE(l);
  EXPECT_EQ(l->FilledRows, 6);
  EXPECT_EQ(l->Grid.RowCount(), 20);
  EXPECT_EQ(Col(*l, 5), (std::vector<std::string>{"当天", "当天", "当天", "当天", "第2天", "第2天"}));
  auto k = BuildStopList(tt_, {"K9", "甲", "3", "1650", "27:00"});
  ASSERT_TRUE(k);
  EXPECT_EQ(Col(*k, 5), (std::vector<std::string>{"当天", "第2天", "第2天", "第3天"}));
}

TEST_F(StopListTest, RowsAndLegSpeeds) {
  auto l = BuildStopList(tt_, {"1043", "咸阳", "3", "150", "01:51"});
  ASSERT_TRUE(l);
  EXPECT_EQ(l->Grid.Row(1), (std::vector<std::string>{"2", "咸阳", "23", "21:43", "21:45", "当天", "18", "77"}));
  EXPECT_EQ(l->Grid.Cell(7, 0), "");
  EXPECT_EQ(l->Grid.Cell(3, 0), "");
  EXPECT_EQ(l->Grid.Cell(4, 5), "");
  EXPECT_EQ(l->Grid.Cell(7, 2), "52");  // 37 km in 43 minutes
}

TEST_F(StopListTest, TheQueriedSection) {
  auto l = BuildStopList(tt_, {"1043", "咸阳", "3", "150", "01:51"});
  ASSERT_TRUE(l);
  EXPECT_EQ(l->SectionFirst, 2);
  EXPECT_EQ(l->SectionLast, 5);
  std::string blue;
  for (int r = 0; r < 20; ++r) blue += l->InSection(r) ? 'B' : '.';
  EXPECT_EQ(blue, ".BBBB...............");
  EXPECT_EQ(l->LabQC, "全程：600km/历时8:35/速度70km/h");
  EXPECT_EQ(l->LabQJ, "区间：150km/历时01:51/速度81km/h");
}

TEST_F(StopListTest, BoardingAtTheStartAndABoardingStationNotOnTheTrain) {
  auto l = BuildStopList(tt_, {"1043", "西安", "5", "600", "8:35"});
  ASSERT_TRUE(l);
  EXPECT_EQ(l->SectionFirst, 1);
  EXPECT_EQ(l->SectionLast, 6);
  EXPECT_TRUE(l->InSection(0));
  auto missing = BuildStopList(tt_, {"1043", "北京", "2", "10", "1:0"});
  ASSERT_TRUE(missing);  // finishes, counting one step per stop
  EXPECT_EQ(missing->SectionFirst, 6);
}

TEST_F(StopListTest, LastTrainOfTheTableAndOddTimes) {
  auto l = BuildStopList(tt_, {"Z1", "子", "2", "100", "2:"});
  ASSERT_TRUE(l);
  EXPECT_EQ(l->FilledRows, 3);
  EXPECT_EQ(Col(*l, 6), (std::vector<std::string>{"0", "1:0", "2:0"}));
  EXPECT_EQ(l->Grid.Cell(7, 1), "");  // no distance on that leg
  EXPECT_EQ(l->Grid.Cell(7, 2), "100");
  EXPECT_EQ(l->LabQC, "全程：100km/历时2:/速度50km/h");
}

TEST_F(StopListTest, UnknownNumbersOpenNothing) {
  EXPECT_FALSE(BuildStopList(tt_, {"1044", "西安", "1", "1", "1"}));
  EXPECT_FALSE(BuildStopList(tt_, {"", "", "", "", ""}));
  EXPECT_FALSE(BuildStopList(tt_, {"104", "", "", "", ""}));
}

}  // namespace
}  // namespace vormek
