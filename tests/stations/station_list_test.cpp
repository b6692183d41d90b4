#include "stations/station_list.h"

#include <gtest/gtest.h>

#include "../query/timetable_fixture.h"

namespace vormek {
namespace {

using Items = std::vector<std::string>;

class StationListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    // Text order, not alphabetical: the list keeps it.
    t.pinyin = {{"北京", "BJ"}, {"北京西", "BJX"}, {"北京南", "BJN"}, {"北京北", "BJB"}, {"北京东", "BJD"},
                {"蚌埠", "BB"}, {"宝鸡", "BJ"},    {"北滘", "BJ"},     {"八", "B"},       {"阿拉山口", "ALSK"}};
    fixture::Load(t, tt_);
  }
  TTimetable tt_;
};

TEST_F(StationListTest, MatchesPrefixInTextOrder) {
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJ"), (Items{"北京", "北京西", "北京南", "北京北", "北京东", "宝鸡", "北滘"}));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "bj"), MatchShortCode(tt_.KMPy, "BJ"));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJX"), (Items{"北京西"}));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "alsk"), (Items{"阿拉山口"}));
}

TEST_F(StationListTest, ShorterCodesNeverMatch) {
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJXX"), Items{});
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "B").size(), 9u);
}

TEST_F(StationListTest, FillPadsShortLists) {
  const Items none = FillStationList(tt_.KMPy, "QQQ");
  EXPECT_EQ(none, Items(9));
  const Items one = FillStationList(tt_.KMPy, "BJX");
  ASSERT_EQ(one.size(), 9u);
  EXPECT_EQ(one[0], "北京西");
  EXPECT_EQ(one[1], "");
}

TEST(PadStationList, EightOrMoreStayAsTheyAre) {
  Items three{"a", "b", "c"};
  PadStationList(three);
  EXPECT_EQ(three.size(), 9u);
  Items seven(7, "x");
  PadStationList(seven);
  EXPECT_EQ(seven.size(), 9u);
  Items eight(8, "x");
  PadStationList(eight);
  EXPECT_EQ(eight.size(), 8u);
  Items twenty(20, "x");
  PadStationList(twenty);
  EXPECT_EQ(twenty.size(), 20u);
}

TEST(StationListAction, ByWhatTheBoxHolds) {
  EXPECT_EQ(StationListAction("bj"), TListAction::Fill);
  EXPECT_EQ(StationListAction(""), TListAction::ClearToEmpty);
  EXPECT_EQ(StationListAction("北京"), TListAction::Keep);
  EXPECT_EQ(StationListAction("K1"), TListAction::Keep);
}

}  // namespace
}  // namespace vormek
