#include "stations/station_selection.h"

#include <gtest/gtest.h>

#include "../query/timetable_fixture.h"

namespace vormek {
namespace {

using Names = std::vector<std::string>;

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    t.groups = {{"北京", 1},     {"北京北", 1},  {"北京东", 1}, {"北京南", 1}, {"北京西", 1}, {"上海", 2},
                {"上海虹桥", 2}, {"上海南", 2},  {"上海西", 2}, {"汉口", 30},  {"武昌", 30},  {"武汉", 30},
                {"德州", 68},    {"德州东", 68}, {"枣庄", 68},  {"枣庄西", 68}};
    fixture::Load(t, tt_);
  }

  // The stations of a list that the side accepts.
  Names Accepted(bool exact, TStationSide side, const Names& names) {
    Names out;
    TStationMatcher m(side == TStationSide::Departure ? c_.FromSelection : c_.ToSelection, exact);
    for (const auto& n : names) {
      const bool selected = IsSelectedStation(c_, n, exact, side);
      EXPECT_EQ(selected, m.Contains(n)) << n;
      if (selected) out.push_back(n);
    }
    return out;
  }

  const Names all_{"北京",   "北京北", "北京东", "北京南", "北京西", "上海", "上海虹桥", "上海南",
                   "上海西", "汉口",   "武昌",   "武汉",   "宝鸡",   "天水", "德州",     "枣庄"};
  TTimetable tt_;
  TPub_Center c_;
};

TEST_F(SelectionTest, CityGroupsOnBothSides) {
  SelectDeparture(tt_.KMSM, c_, "北京");
  SelectArrival(tt_.KMSM, c_, "上海");
  const bool exact = ApplyPairExactMode(c_);
  EXPECT_FALSE(exact);
  EXPECT_EQ(c_.FromSelection.Gp, 1);
  EXPECT_EQ(Accepted(exact, TStationSide::Departure, all_), (Names{"北京", "北京北", "北京东", "北京南", "北京西"}));
  EXPECT_EQ(Accepted(exact, TStationSide::Arrival, all_), (Names{"上海", "上海虹桥", "上海南", "上海西"}));
}

TEST_F(SelectionTest, SameCityMeansExactNames) {
  SelectDeparture(tt_.KMSM, c_, "北京");
  SelectArrival(tt_.KMSM, c_, "北京西");
  const bool exact = ApplyPairExactMode(c_);
  EXPECT_TRUE(exact);
  EXPECT_TRUE(c_.FromSelection.Group.empty());
  EXPECT_EQ(Accepted(exact, TStationSide::Departure, all_), (Names{"北京"}));
  EXPECT_EQ(Accepted(exact, TStationSide::Arrival, all_), (Names{"北京西"}));
}

TEST_F(SelectionTest, StationsInNoGroup) {
  SelectDeparture(tt_.KMSM, c_, "宝鸡");
  SelectArrival(tt_.KMSM, c_, "上海");
  bool exact = ApplyPairExactMode(c_);
  EXPECT_FALSE(exact);
  EXPECT_EQ(Accepted(exact, TStationSide::Departure, all_), (Names{"宝鸡"}));
  EXPECT_EQ(Accepted(exact, TStationSide::Arrival, all_).size(), 4u);

  SelectArrival(tt_.KMSM, c_, "天水");
  exact = ApplyPairExactMode(c_);
  EXPECT_TRUE(exact);
  EXPECT_EQ(Accepted(exact, TStationSide::Arrival, all_), (Names{"天水"}));
}

TEST_F(SelectionTest, GroupHoldsTheTypedNameAndSpansWhatTheDataSays) {
  SelectDeparture(tt_.KMSM, c_, "武昌");
  EXPECT_EQ(c_.FromSelection.Group, (Names{"汉口", "武昌", "武汉"}));  // in the group table's order
  EXPECT_NE(std::find(c_.FromSelection.Group.begin(), c_.FromSelection.Group.end(), "武昌"),
            c_.FromSelection.Group.end());
  EXPECT_EQ(Accepted(false, TStationSide::Departure, all_), (Names{"汉口", "武昌", "武汉"}));
  SelectDeparture(tt_.KMSM, c_, "德州");
  EXPECT_TRUE(IsSelectedStation(c_, "枣庄", false, TStationSide::Departure));
}

TEST_F(SelectionTest, BlanksAroundTheNameAreIgnored) {
  SelectDeparture(tt_.KMSM, c_, "  北京西\t");
  EXPECT_EQ(c_.FromSelection.Entered, "北京西");
  EXPECT_EQ(c_.FromSelection.Gp, 1);
  EXPECT_EQ(c_.FromSelection.Group.size(), 5u);
}

TEST_F(SelectionTest, TimetableStationCopiesTheNameAndGoesExactOutsideGroups) {
  c_.ToSelection.Gp = 7;
  SelectTimetableStation(tt_.KMSM, c_, " 宝鸡 ");
  EXPECT_EQ(c_.ToSelection.Entered, "宝鸡");
  EXPECT_EQ(c_.ToSelection.Gp, 7);  // the rest of the arrival side stays
  EXPECT_TRUE(ApplyTimetableExactMode(c_));
  SelectTimetableStation(tt_.KMSM, c_, "北京西");
  EXPECT_FALSE(ApplyTimetableExactMode(c_));
  EXPECT_EQ(Accepted(false, TStationSide::Departure, all_).size(), 5u);
}

TEST_F(SelectionTest, NamesAreComparedExactly) {
  SelectDeparture(tt_.KMSM, c_, "北京");
  EXPECT_FALSE(IsSelectedStation(c_, "北京 ", false, TStationSide::Departure));
  EXPECT_FALSE(IsSelectedStation(c_, "北", false, TStationSide::Departure));
  EXPECT_FALSE(IsSelectedStation(c_, "", false, TStationSide::Departure));
}

}  // namespace
}  // namespace vormek
