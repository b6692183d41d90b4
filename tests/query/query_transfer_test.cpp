#include "query/query_transfer.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "query/sort_state.h"
#include "timetable_fixture.h"

namespace vormek {
namespace {

using fixture::S;

// Stations A, B, C, X, Y outside any city group.
fixture::Tables LettersTables() {
  fixture::Tables t;
  t.trains = {
      {"T1", 9, {S("A", "", "08:00", "0", 0), S("X", "09:30", "09:40", "1:30", 100), S("Y", "11:00", "", "3:0", 200)}},
      {"T2", 9, {S("X", "", "10:00", "0", 0), S("B", "12:00", "", "2:0", 150)}},
      {"T3", 9, {S("Y", "", "12:00", "0", 0), S("B", "12:40", "", "40", 50)}},
      {"T4", 9, {S("C", "", "07:00", "0", 0), S("X", "08:00", "08:10", "1:0", 80), S("B", "10:05", "", "3:5", 230)}}};
  return t;
}

std::vector<std::string> Legs(const std::vector<TPub_GridResult>& legs) {
  std::vector<std::string> out;
  for (const auto& l : legs) out.push_back(l.ID + " " + l.FZ.Station + ">" + l.DZ.Station);
  return out;
}

std::vector<std::string> Legs(const TTimetable& tt, const std::vector<TTransferLeg>& legs) {
  std::vector<TPub_GridResult> records;
  for (const auto& l : legs) records.push_back(TransferLegRecord(tt, BuildFareTables(), l));
  return Legs(records);
}

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Load(LettersTables(), tt_);
    c_.Fares = BuildFareTables();
  }
  TTimetable tt_;
  TPub_Center c_;
};

TEST_F(TransferTest, LegsInTheirScanOrders) {
  QueryTransfer(tt_, c_, "A", "B");
  EXPECT_EQ(Legs(tt_, c_.LegOneResults), (std::vector<std::string>{"T1 A>X", "T1 A>Y"}));
  EXPECT_EQ(Legs(tt_, c_.LegTwoResults), (std::vector<std::string>{"T4 X>B", "T4 C>B", "T3 Y>B", "T2 X>B"}));
  const TPub_GridResult first = TransferLegRecord(tt_, c_.Fares, c_.LegOneResults[0]);
  EXPECT_EQ(first.FZ.Time, "08:00");
  EXPECT_EQ(first.DZ.Time, "09:30");
}

TEST_F(TransferTest, RowsTakeSecondLegValuesFromTheFirstTrainOfTheStopTable) {
  QueryTransfer(tt_, c_, "A", "B");
  ASSERT_EQ(c_.TransferRows.size(), 2u);
  const TPub_ZZStruct& x = c_.TransferRows[0];
  EXPECT_EQ(x.Station, "X");
  EXPECT_EQ(x.Distance1, 100);
  EXPECT_EQ(x.Distance2, 150);  // T2's, not T4's
  EXPECT_EQ(x.Distance, 250);
  EXPECT_EQ(x.R_Date1, "01:30");
  EXPECT_EQ(x.R_Date2, "02:00");
  EXPECT_EQ(x.R_Date, "3:30");
  EXPECT_EQ(x.Count1, 1);
  EXPECT_EQ(x.Count2, 2);
  const TPub_ZZStruct& y = c_.TransferRows[1];
  EXPECT_EQ(y.Station, "Y");
  EXPECT_EQ(y.Distance1, 200);
  EXPECT_EQ(y.Distance2, 50);
  EXPECT_EQ(y.R_Date1, "03:00");
  EXPECT_EQ(y.R_Date2, "00:40");
  EXPECT_EQ(y.R_Date, "3:40");
  EXPECT_EQ(y.Count2, 1);

  TStringGrid grid;
  EXPECT_EQ(FillTransferGrid(c_, grid), 2);
  EXPECT_EQ(grid.RowCount(), 20);
  EXPECT_EQ(grid.Row(0), (std::vector<std::string>{"X", "100", "150", "250", "01:30", "02:00", "3:30", "1", "2"}));
  EXPECT_EQ(grid.Cell(0, 2), "");
  EXPECT_EQ(TransferWindowCaption(2), "两地共有<2>个中转站供选择:");
}

TEST_F(TransferTest, TheWindowOpensSortedByStationAndHeadersToggle) {
  QueryTransfer(tt_, c_, "A", "B");
  std::swap(c_.TransferRows[0], c_.TransferRows[1]);  // Y first, as a later scan could meet it
  TStringGrid grid;
  TSortState sort;
  ASSERT_EQ(OpenTransferList(c_, grid, sort), 2);
  EXPECT_EQ(grid.Cell(0, 0), "X");
  EXPECT_EQ(HeaderCaption("中转站", 0, sort), "中转站↑");
  ClickTransferHeader(grid, 2, sort, 2);  // 后里程: 50 before 150, numerically
  EXPECT_EQ(grid.Cell(0, 0), "Y");
  ClickTransferHeader(grid, 2, sort, 2);
  EXPECT_EQ(grid.Cell(0, 0), "X");
  EXPECT_EQ(HeaderCaption("后里程", 2, sort), "后里程↓");
  EXPECT_EQ(HeaderCaption("中转站", 0, sort), "中转站");
  ClickTransferHeader(grid, 0, sort, 5);  // nothing listed: nothing changes
  EXPECT_EQ(sort, (TSortState{2, false}));
}

TEST_F(TransferTest, ChoosingAStationListsFirstLegsThenSecondLegs) {
  QueryTransfer(tt_, c_, "A", "B");
  BuildTransferResults(tt_, c_, "X", 1, 2);
  EXPECT_EQ(c_.TransferStation, "X");
  ASSERT_EQ(c_.GridResults.size(), 3u);
  EXPECT_EQ(Legs(c_.GridResults), (std::vector<std::string>{"T1 A>X", "T4 X>B", "T2 X>B"}));
  const TPub_GridResult& t4 = c_.GridResults[1];
  EXPECT_EQ(t4.StartStation, "C");
  EXPECT_EQ(t4.EndStation, "B");
  EXPECT_EQ(t4.Stops, 1);
  EXPECT_EQ(t4.QJ_Distance, 150);
  EXPECT_EQ(t4.QJ_R_Date, "02:05");
}

TEST_F(TransferTest, CountsLargerThanTheLegsLeaveEmptyRecordsAndNeverOverrun) {
  QueryTransfer(tt_, c_, "A", "B");
  BuildTransferResults(tt_, c_, "X", 3, 2);
  ASSERT_EQ(c_.GridResults.size(), 5u);
  EXPECT_EQ(c_.GridResults[0].ID, "T1");
  EXPECT_EQ(c_.GridResults[1].ID, "T4");  // second legs follow on at once
  EXPECT_EQ(c_.GridResults[2].ID, "T2");
  EXPECT_TRUE(c_.GridResults[3].ID.empty());
  BuildTransferResults(tt_, c_, "X", 0, 1);
  ASSERT_EQ(c_.GridResults.size(), 1u);
  EXPECT_EQ(c_.GridResults[0].ID, "T4");
  BuildTransferResults(tt_, c_, "X", -4, -1);
  EXPECT_TRUE(c_.GridResults.empty());
}

TEST_F(TransferTest, TheTypedStationsAndDeadEndsAreNotListed) {
  fixture::Tables t = LettersTables();
  // T5 reaches Z, from which nothing goes on. T6 brings first legs to B and
  // T7 runs on from B to B2 of B's city, so B has trains on both sides but is
  // the typed arrival station.
  t.trains.push_back({"T5", 9, {S("A", "", "08:00", "0", 0), S("Z", "09:00", "", "1:0", 70)}});
  t.trains.push_back(
      {"T6", 9, {S("A", "", "08:00", "0", 0), S("B", "09:00", "09:10", "1:0", 90), S("X", "10:00", "", "2:0", 150)}});
  t.trains.push_back({"T7", 9, {S("B", "", "11:00", "0", 0), S("B2", "11:30", "", "30", 20)}});
  t.groups = {{"B", 4}, {"B2", 4}};
  TTimetable tt;
  fixture::Load(t, tt);
  QueryTransfer(tt, c_, "A", "B");
  TStringGrid grid;
  ASSERT_EQ(FillTransferGrid(c_, grid), 2);
  EXPECT_EQ(grid.Cell(0, 0), "X");
  EXPECT_EQ(grid.Cell(0, 1), "Y");
  std::vector<std::string> unlisted;
  for (const auto& row : c_.TransferRows)
    if (row.Station == "Z" || row.Station == "B") unlisted.push_back(row.Station + ":" + std::to_string(row.Count2));
  EXPECT_EQ(unlisted, (std::vector<std::string>{"Z:0", "B:1"}));
}

TEST_F(TransferTest, NoTransferStationLeavesTheHeadersUnmarked) {
  QueryTransfer(tt_, c_, "B", "A");
  TStringGrid grid;
  TSortState sort;
  EXPECT_EQ(OpenTransferList(c_, grid, sort), 0);
  EXPECT_FALSE(sort.Active());
  EXPECT_EQ(TransferWindowCaption(0), "两地共有<0>个中转站供选择:");
}

TEST(TransferManyLegs, MoreLegsThanTheReservedRoomAreKept) {
  fixture::Tables t;
  std::vector<fixture::Stop> run{S("A", "", "00:00", "0", 0)};
  for (int i = 1; i < 60; ++i) run.push_back(S("S" + std::to_string(i), "01:00", "01:01", std::to_string(i), i));
  run.back().d = "";
  for (int n = 0; n < 100; ++n) t.trains.push_back({"T" + std::to_string(1000 + n), 9, run});
  TTimetable tt;
  fixture::Load(t, tt);
  TPub_Center c;
  c.Fares = BuildFareTables();
  QueryTransfer(tt, c, "A", "S59");
  EXPECT_EQ(c.LegOneResults.size(), 5900u);
  EXPECT_EQ(c.LegTwoResults.size(), 5900u);
  ASSERT_EQ(c.TransferRows.size(), 59u);
  EXPECT_EQ(c.TransferRows[0].Count1, 100);
  EXPECT_EQ(c.TransferRows[0].Count2, 100);
}

// Elapsed times a load refuses (beyond 9999:59) still reach the queries from
// an image on disk, whose texts are not parsed when it opens: two legs of
// thirty million hours add up to the longest time there is, not to one that
// wrapped round below zero.
TEST(TransferLongLegs, TheTotalOfTwoHugeLegsStopsAtTheLongestTime) {
  fixture::Tables t;
  t.trains = {{"T1", 9, {S("A", "", "08:00", "0", 0), S("X", "09:00", "", "30000000:0", 100)}},
              {"T2", 9, {S("X", "", "10:00", "0", 0), S("B", "11:00", "", "30000000:0", 100)}}};
  TTimetable tt;
  fixture::Load(t, tt);
  TPub_Center c;
  c.Fares = BuildFareTables();
  QueryTransfer(tt, c, "A", "B");
  ASSERT_EQ(c.TransferRows.size(), 1u);
  EXPECT_EQ(c.TransferRows[0].R_Date1, "30000000:00");
  EXPECT_EQ(c.TransferRows[0].R_Date, MinutesToDuration(INT32_MAX));
}

}  // namespace
}  // namespace vormek
