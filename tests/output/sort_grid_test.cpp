#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "output/string_grid.h"

namespace vormek {
namespace {

// A grid of two columns: the key, and a tag that identifies the row; the
// row's record key is its number too.
TStringGrid KeyedGrid(const std::vector<std::string>& keys, int fixedRows = 0) {
  TStringGrid grid(2, static_cast<int>(keys.size()), fixedRows);
  for (int r = 0; r < grid.RowCount(); ++r) {
    grid.Cell(0, r) = keys[static_cast<std::size_t>(r)];
    grid.Cell(1, r) = "row" + std::to_string(r);
    grid.SetRowKey(r, r);
  }
  return grid;
}

std::vector<std::string> Column(const TStringGrid& grid, int col) {
  std::vector<std::string> out;
  for (int r = 0; r < grid.RowCount(); ++r) out.push_back(grid.Cell(col, r));
  return out;
}

using Keys = std::vector<std::string>;

TEST(SortGridText, DepartureTimesBothWays) {
  TStringGrid grid = KeyedGrid({"09:20", "23:05", "06:30", "12:00"});
  SortGrid(grid, 0, true, false);
  EXPECT_EQ(Column(grid, 0), (Keys{"06:30", "09:20", "12:00", "23:05"}));
  SortGrid(grid, 0, false, false);
  EXPECT_EQ(Column(grid, 0), (Keys{"23:05", "12:00", "09:20", "06:30"}));
}

TEST(SortGridText, JourneyTimesSortAsText) {
  TStringGrid grid = KeyedGrid({"2:9", "10:3"});
  SortGrid(grid, 0, true, false);
  EXPECT_EQ(Column(grid, 0), (Keys{"10:3", "2:9"}));
}

TEST(SortGridText, BytesCompareUnsignedAndPrefixesFirst) {
  // GBK lead bytes are above 0x80: every Chinese text after every ASCII one;
  // "北京" (B1 B1) before "上海" (C9 CF) as in pinyin.
  TStringGrid grid = KeyedGrid({"上海", "Z", "", "北京", "北", "A"});
  SortGrid(grid, 0, true, false);
  EXPECT_EQ(Column(grid, 0), (Keys{"", "A", "Z", "北", "北京", "上海"}));
}

TEST(SortGridNumeric, DistancesAsNumbersAndEmptyCellsBecomeZero) {
  TStringGrid grid = KeyedGrid({"1577", "95", "", "3.5", "120"});
  SortGrid(grid, 0, true, true);
  EXPECT_EQ(Column(grid, 0), (Keys{"0", "3.5", "95", "120", "1577"}));
  SortGrid(grid, 0, false, true);
  EXPECT_EQ(Column(grid, 0), (Keys{"1577", "120", "95", "3.5", "0"}));
}

TEST(SortGridNumeric, CellsThatAreNotNumbersGroupBelowEveryNumber) {
  TStringGrid grid = KeyedGrid({"37", "-", "5.5", "-", "0", "x", "-3"});
  SortGrid(grid, 0, true, true);
  const Keys got = Column(grid, 0);
  const Keys tail(got.begin() + 3, got.end());
  EXPECT_EQ(tail, (Keys{"-3", "0", "5.5", "37"}));
  Keys head(got.begin(), got.begin() + 3);
  std::sort(head.begin(), head.end());
  EXPECT_EQ(head, (Keys{"-", "-", "x"}));
}

TEST(SortGrid, FixedRowsStayInPlace) {
  TStringGrid grid = KeyedGrid({"header", "b", "c", "a"}, 1);
  SortGrid(grid, 0, true, false);
  EXPECT_EQ(Column(grid, 0), (Keys{"header", "a", "b", "c"}));
  TStringGrid numeric = KeyedGrid({"", "3", "1"}, 1);
  SortGrid(numeric, 0, true, true);
  EXPECT_EQ(Column(numeric, 0), (Keys{"", "1", "3"}));
}

TEST(SortGrid, NothingToSortChangesNothing) {
  TStringGrid empty(15, 0);
  SortGrid(empty, 9, true, true);
  EXPECT_EQ(empty.RowCount(), 0);
  TStringGrid one = KeyedGrid({""});
  SortGrid(one, 0, true, false);
  EXPECT_EQ(Column(one, 0), (Keys{""}));
  TStringGrid outside = KeyedGrid({"b", "a"});
  SortGrid(outside, 5, true, false);
  SortGrid(outside, -1, true, false);
  EXPECT_EQ(Column(outside, 0), (Keys{"b", "a"}));
}

TEST(SortGrid, ManyEqualKeys) {
  TStringGrid grid = KeyedGrid(Keys(50, "-"));
  SortGrid(grid, 0, false, true);
  Keys tags = Column(grid, 1);
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(std::unique(tags.begin(), tags.end()), tags.end());
  EXPECT_EQ(tags.size(), 50u);
}

// Every row stays exactly once, each whole, and the key column is ordered.
void ExpectSortedPermutation(const TStringGrid& before, const TStringGrid& after, bool ascending, bool numeric) {
  ASSERT_EQ(before.RowCount(), after.RowCount());
  std::vector<std::vector<std::string>> a, b;
  for (int r = 0; r < before.RowCount(); ++r) {
    b.push_back(before.Row(r));
    a.push_back(after.Row(r));
  }
  if (numeric)
    for (auto& row : b)
      if (row[0].empty()) row[0] = "0";
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b);

  auto key = [&](int r) {
    const std::string& s = after.Cell(0, r);
    if (!numeric) return std::make_pair(0.0, s);
    try {
      std::size_t used = 0;
      const double v = std::stod(s, &used);
      if (used == s.size()) return std::make_pair(v, std::string("1"));
    } catch (const std::exception&) {
    }
    return std::make_pair(-1e300, std::string("0"));  // below every number
  };
  for (int r = 1; r < after.RowCount(); ++r) {
    auto prev = key(r - 1), cur = key(r);
    if (!numeric) {
      EXPECT_TRUE(ascending ? prev.second <= cur.second : prev.second >= cur.second) << r;
    } else if (prev.first != cur.first) {
      EXPECT_TRUE(ascending ? prev.first < cur.first : prev.first > cur.first) << r;
    }
  }
}

TEST(SortGridProperty, RandomGridsEndSortedWithEveryRowOnce) {
  std::mt19937 rng(20120505);
  const Keys alphabet = {"", "-", "0", "7", "95", "1577", "3.5", "09:20", "10:3", "北京", "上海", "Z", "\x80"};
  for (int round = 0; round < 300; ++round) {
    const int rows = std::uniform_int_distribution<int>(0, 60)(rng);
    const int distinct = std::uniform_int_distribution<int>(1, static_cast<int>(alphabet.size()))(rng);
    Keys keys;
    for (int r = 0; r < rows; ++r) {
      const auto pick = std::uniform_int_distribution<int>(0, distinct - 1)(rng);
      std::string k = alphabet[static_cast<std::size_t>(pick)];
      if (round % 2 && k.size() < 4) k += std::to_string(rng() % 100);
      keys.push_back(k);
    }
    const bool ascending = rng() % 2 == 0;
    const bool numeric = rng() % 2 == 0;
    const TStringGrid before = KeyedGrid(keys);
    TStringGrid after = before;
    SortGrid(after, 0, ascending, numeric);
    ExpectSortedPermutation(before, after, ascending, numeric);
    // Every row still carries the key of the record it was written from.
    for (int r = 0; r < after.RowCount(); ++r) EXPECT_EQ(after.Cell(1, r), "row" + std::to_string(after.RowKey(r)));
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
}

}  // namespace
}  // namespace vormek
