#include "output/string_grid.h"

#include <gtest/gtest.h>

namespace vormek {
namespace {

TEST(TStringGrid, ResizingKeepsCellsAndDropsRowsForGood) {
  TStringGrid grid(2, 1);
  grid.Cell(0, 0) = "a";
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cell(1, 2), "");
  grid.Cell(0, 2) = "c";
  grid.SetRowCount(2);
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cell(0, 2), "");
  grid.SetColCount(4);
  EXPECT_EQ(grid.Row(0).size(), 4u);
  EXPECT_EQ(grid.Cell(0, 0), "a");
  EXPECT_THROW(grid.Cell(4, 0), std::out_of_range);
  grid.SetRowCount(-1);
  EXPECT_EQ(grid.RowCount(), 0);
}

TEST(SwapGridRows, ExchangesEveryColumn) {
  TStringGrid grid(3, 3);
  for (int c = 0; c < 3; ++c) {
    grid.Cell(c, 0) = "a" + std::to_string(c);
    grid.Cell(c, 2) = "c" + std::to_string(c);
  }
  SwapGridRows(grid, 0, 2);
  SwapGridRows(grid, 1, 1);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grid.Cell(c, 0), "c" + std::to_string(c));
    EXPECT_EQ(grid.Cell(c, 1), "");
    EXPECT_EQ(grid.Cell(c, 2), "a" + std::to_string(c));
  }
}

}  // namespace
}  // namespace vormek
