#include "query/result_rows.h"

#include <gtest/gtest.h>

namespace vormek {
namespace {

TPub_GridResult Result(const std::string& id, const std::string& dep, int km, const std::string& seat) {
  TPub_GridResult r;
  r.ID = id;
  r.StartStation = "甲";
  r.EndStation = "乙";
  r.TypeName = "快速";
  r.FZ.Station = "甲";
  r.FZ.Time = dep;
  r.DZ.Station = "乙";
  r.DZ.Time = "23:59";
  r.Stops = 3;
  r.QJ_Distance = km;
  r.QJ_R_Date = "01:05";
  r.QJ_P1 = seat;
  r.QJ_P3 = "280/291/303";
  r.QJ_P4 = "-";
  return r;
}

std::vector<std::string> Column(const TStringGrid& g, int col, int rows) {
  std::vector<std::string> out;
  for (int r = 0; r < rows; ++r) out.push_back(g.Cell(col, r));
  return out;
}

TEST(ResultCells, FifteenTextsWithDashesForMissingFares) {
  const auto cells = ResultCells(Result("1043", "21:25", 173, "23.5"));
  EXPECT_EQ(std::vector<std::string>(cells.begin(), cells.end()),
            (std::vector<std::string>{"1043", "甲", "乙", "快速", "甲", "21:25", "乙", "23:59", "3", "173", "01:05",
                                      "23.5", "-", "280/291/303", "-"}));
}

TEST(ShowResults, SixteenRowsAtLeastAndTheCount) {
  TStringGrid grid;
  ClearResults(grid);
  std::vector<TPub_GridResult> many;
  for (int i = 0; i < 40; ++i) many.push_back(Result("K" + std::to_string(i), "08:00", i, "1"));
  EXPECT_EQ(ShowResults(many, {}, {}, grid), 40);
  EXPECT_EQ(grid.RowCount(), 40);
  ClearResults(grid);
  many.resize(5);
  EXPECT_EQ(ShowResults(many, {}, {}, grid), 5);
  EXPECT_EQ(grid.RowCount(), 16);
  EXPECT_EQ(grid.Cell(0, 4), "K4");
  EXPECT_EQ(grid.Cell(0, 5), "");
  EXPECT_EQ(ResultCaption(5), "结果:5");
}

TEST(ShowResults, FilteredRowsLeaveNoGapAndSortStaysAboveTheEmptyRows) {
  std::vector<TPub_GridResult> rows = {Result("K1", "09:20", 1577, "30"), Result("D2", "08:00", 95, "-"),
                                       Result("G3", "21:00", 300, ""), Result("D4", "06:10", 95, "5")};
  TFilterContext f;
  f.QueryMode = TQueryMode::Direct;
  f.Boxes.CBDC = true;
  TStringGrid grid;
  ClearResults(grid);
  const int count = ShowResults(rows, f, TSortState{5, true}, grid);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(Column(grid, 0, 4), (std::vector<std::string>{"D4", "D2", "G3", ""}));
  EXPECT_EQ(grid.RowCount(), 16);
}

TEST(ShowResults, NewResultsComeSortedByTheActiveHeader) {
  std::vector<TPub_GridResult> rows = {Result("A", "1", 10, "3.5"), Result("B", "2", 20, "143"),
                                       Result("C", "3", 30, "27")};
  TStringGrid grid;
  ClearResults(grid);
  TSortState sort = ClickHeader(ClickHeader({}, 11), 11);  // 硬座, descending
  ShowResults(rows, {}, sort, grid);
  EXPECT_EQ(Column(grid, 0, 3), (std::vector<std::string>{"B", "C", "A"}));
}

TEST(SortState, ClicksCycleAndAnotherHeaderStartsAscending) {
  TSortState s;
  EXPECT_FALSE(s.Active());
  s = ClickHeader(s, 5);
  EXPECT_EQ(s, (TSortState{5, true}));
  EXPECT_EQ(HeaderCaption("发时", 5, s), "发时↑");
  s = ClickHeader(s, 5);
  EXPECT_EQ(HeaderCaption("发时", 5, s), "发时↓");
  s = ClickHeader(s, 5);
  EXPECT_TRUE(s.Ascending);
  s = ClickHeader(ClickHeader(s, 5), 9);
  EXPECT_EQ(s, (TSortState{9, true}));
  EXPECT_EQ(HeaderCaption("发时", 5, s), "发时");
  EXPECT_EQ(HeaderCaption("里程", 9, s), "里程↑");
}

TEST(SortState, NumericAndTextColumns) {
  std::vector<TPub_GridResult> rows = {Result("A", "1", 1577, "1"), Result("B", "2", 95, "1")};
  rows[0].QJ_R_Date = "10:3";
  rows[1].QJ_R_Date = "2:9";
  TStringGrid grid;
  ClearResults(grid);
  ShowResults(rows, {}, TSortState{9, true}, grid);
  EXPECT_EQ(Column(grid, 9, 2), (std::vector<std::string>{"95", "1577"}));
  ClearResults(grid);
  ShowResults(rows, {}, TSortState{10, true}, grid);
  EXPECT_EQ(Column(grid, 10, 2), (std::vector<std::string>{"10:3", "2:9"}));  // text order
}

TEST(ClickResultHeader, NothingHappensWithoutResults) {
  TStringGrid grid;
  ClearResults(grid);
  TSortState sort{5, true};
  ClickResultHeader(grid, false, 0, sort, 9);
  EXPECT_EQ(sort, (TSortState{5, true}));
  std::vector<TPub_GridResult> one = {Result("A", "1", 10, "1")};
  const int count = ShowResults(one, {}, sort, grid);
  ClickResultHeader(grid, true, count, sort, 9);
  EXPECT_EQ(sort, (TSortState{9, true}));
  EXPECT_EQ(grid.Cell(0, 0), "A");
}

}  // namespace
}  // namespace vormek
