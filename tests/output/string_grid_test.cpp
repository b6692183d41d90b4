#include <gtest/gtest.h>

#include "output/string_grid.h"

namespace vormek {
namespace {

TEST(TStringGrid, SizesAndCells) {
  TStringGrid grid(3, 2, 1);
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.FixedRows(), 1);
  grid.Cell(2, 1) = "北京";
  EXPECT_EQ(grid.Row(1)[2], "北京");
  EXPECT_THROW(grid.Cell(3, 0), std::out_of_range);
  EXPECT_THROW(grid.Cell(0, 2), std::out_of_range);
}

TEST(TStringGrid, GrowingAddsEmptyRowsAndShrinkingDrops) {
  TStringGrid grid(2, 1);
  grid.Cell(0, 0) = "a";
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cell(0, 0), "a");
  EXPECT_EQ(grid.Cell(1, 2), "");
  grid.Cell(0, 2) = "c";
  grid.SetRowCount(2);
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cell(0, 2), "");  // a dropped row does not come back
  grid.SetColCount(4);
  EXPECT_EQ(grid.Row(0).size(), 4u);
  EXPECT_EQ(grid.Cell(0, 0), "a");
  grid.SetRowCount(-1);
  EXPECT_EQ(grid.RowCount(), 0);
}

TEST(TStringGrid, ClearCellsKeepsSizes) {
  TStringGrid grid(2, 2);
  grid.Cell(1, 1) = "x";
  grid.ClearCells();
  EXPECT_EQ(grid.Cell(1, 1), "");
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.ColCount(), 2);
}

TEST(SwapGridRows, ExchangesEveryColumn) {
  TStringGrid grid(3, 3);
  for (int c = 0; c < 3; ++c) {
    grid.Cell(c, 0) = "a" + std::to_string(c);
    grid.Cell(c, 2) = "c" + std::to_string(c);
  }
  SwapGridRows(grid, 0, 2);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grid.Cell(c, 0), "c" + std::to_string(c));
    EXPECT_EQ(grid.Cell(c, 2), "a" + std::to_string(c));
    EXPECT_EQ(grid.Cell(c, 1), "");
  }
  SwapGridRows(grid, 1, 1);
  EXPECT_EQ(grid.Cell(0, 1), "");
}

}  // namespace
}  // namespace vormek
