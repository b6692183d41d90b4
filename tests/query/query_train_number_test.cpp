#include "query/query_train_number.h"

#include <gtest/gtest.h>

#include "timetable_fixture.h"

namespace vormek {
namespace {

using fixture::S;

class TrainNumberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    auto two = [](const char* from, const char* to) {
      return std::vector<fixture::Stop>{S(from, "", "08:00", "0", 0), S(to, "09:00", "", "1:0", 80)};
    };
    fixture::Stop qd = S("青岛", "", "11:45", "0", 0);
    fixture::Stop hk = S("汉口", "08:14", "", "20:29", 1577);
    hk.p1 = "168";
    hk.p2 = "-";
    hk.p3 = "301/312/322";
    hk.p4 = "483/506";
    std::vector<fixture::Stop> run{qd};
    for (int i = 2; i < 20; ++i)
      run.push_back(S("站" + std::to_string(i), "12:00", "12:05", std::to_string(i), i * 10));
    run.push_back(hk);
    t.trains = {{"1043", 8, two("西安", "咸阳")}, {"1112/1113", 8, run},         {"1113X", 8, two("甲", "乙")},
                {"K10", 6, two("甲", "乙")},      {"K1008", 6, two("丙", "丁")}, {"D1/D2/D3", 1, two("甲", "丙")}};
    fixture::Load(t, tt_);
  }
  std::vector<std::string> Find(const char* typed) {
    QueryTrainNumber(tt_, c_, typed);
    std::vector<std::string> ids;
    for (const auto& r : c_.GridResults) ids.push_back(r.ID);
    return ids;
  }
  TTimetable tt_;
  TPub_Center c_;
};

// A train that changes its number on the way is found by any of its
// numbers, or a run of them, but never by part of one.
TEST_F(TrainNumberTest, EveryNumberOfACombinedNumberMatches) {
  EXPECT_EQ(Find("1112"), (std::vector<std::string>{"1112/1113"}));
  EXPECT_EQ(Find("1113"), (std::vector<std::string>{"1112/1113"}));
  EXPECT_EQ(Find("D3"), (std::vector<std::string>{"D1/D2/D3"}));
  EXPECT_EQ(Find("D2/D3"), (std::vector<std::string>{"D1/D2/D3"}));
  EXPECT_EQ(Find("111"), std::vector<std::string>{});
  EXPECT_EQ(Find("113"), std::vector<std::string>{});
  EXPECT_EQ(Find("1112/1113"), (std::vector<std::string>{"1112/1113"}));
  EXPECT_EQ(Find("D1"), (std::vector<std::string>{"D1/D2/D3"}));
  EXPECT_EQ(Find("D1/D2"), (std::vector<std::string>{"D1/D2/D3"}));
}

TEST_F(TrainNumberTest, APlainPrefixIsNoMatch) {
  EXPECT_EQ(Find("104"), std::vector<std::string>{});
  EXPECT_EQ(Find("K10"), (std::vector<std::string>{"K10"}));
  EXPECT_EQ(Find("k1008"), (std::vector<std::string>{"K1008"}));
  EXPECT_EQ(Find(" K1008 "), (std::vector<std::string>{"K1008"}));
  EXPECT_EQ(Find(""), std::vector<std::string>{});
}

TEST_F(TrainNumberTest, TheRowCoversTheWholeRun) {
  c_.FromSelection.Entered = "x";
  c_.ToSelection.Entered = "y";
  ASSERT_EQ(Find("1112").size(), 1u);
  const TPub_GridResult& r = c_.GridResults[0];
  EXPECT_TRUE(c_.FromSelection.Entered.empty());
  EXPECT_TRUE(c_.ToSelection.Entered.empty());
  EXPECT_EQ(r.FZ.Station, "青岛");
  EXPECT_EQ(r.FZ.S_No, 1);
  EXPECT_EQ(r.FZ.Time, "11:45");
  EXPECT_EQ(r.FZ.R_Date, "0");
  EXPECT_EQ(r.DZ.Station, "汉口");
  EXPECT_EQ(r.DZ.Time, "08:14");
  EXPECT_EQ(r.DZ.S_No, 20);
  EXPECT_EQ(r.Stops, 19);
  EXPECT_EQ(r.QJ_Distance, 1577);
  EXPECT_EQ(r.QJ_R_Date, "20:29");  // as stored
  EXPECT_EQ(r.QJ_P1, "168");
  EXPECT_EQ(r.QJ_P2, "-");
  EXPECT_EQ(r.QJ_P3, "301/312/322");
  EXPECT_EQ(r.QJ_P4, "483/506");
}

TEST_F(TrainNumberTest, TwoStopTrain) {
  ASSERT_EQ(Find("1043").size(), 1u);
  const TPub_GridResult& r = c_.GridResults[0];
  EXPECT_EQ(r.Stops, 1);
  EXPECT_EQ(r.QJ_Distance, r.QC_Distance);
  EXPECT_EQ(r.QJ_P1, "");
}

TEST_F(TrainNumberTest, TerminalStopNo) {
  EXPECT_EQ(TerminalStopNo(tt_, "1112/1113"), 20);
  EXPECT_EQ(TerminalStopNo(tt_, "K10"), 2);
  EXPECT_EQ(TerminalStopNo(tt_, "1112"), 1);
  EXPECT_EQ(TerminalStopNo(tt_, "nothing"), 1);
}

TEST(TerminalStopNoOnBrokenData, StopsAtTheTrainsLastStop) {
  fixture::Tables t;
  // A last stop that still carries a departure time.
  t.trains = {
      {"A1", 9, {S("甲", "", "08:00", "0", 0), S("乙", "09:00", "09:05", "1:0", 80)}},
      {"A2", 9, {S("丙", "", "08:00", "0", 0), S("丁", "08:30", "08:35", "30", 9), S("戊", "09:00", "", "1:0", 20)}}};
  TTimetable tt;
  fixture::Load(t, tt);
  EXPECT_EQ(TerminalStopNo(tt, "A1"), 2);
  EXPECT_EQ(TerminalStopNo(tt, "A2"), 3);
}

}  // namespace
}  // namespace vormek
