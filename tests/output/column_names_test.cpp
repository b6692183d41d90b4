#include <gtest/gtest.h>

#include "output/column_names.h"

namespace vormek {
namespace {

TEST(ColumnNames, MainResultGrid) {
  const std::vector<std::string> want = {"车次", "始发", "终到", "车型", "发站", "发时", "到站", "到时",
                                         "停站", "里程", "历时", "硬座", "软座", "硬卧", "软卧"};
  EXPECT_EQ(ReportHeader(kResultGridKind, 15), want);
  for (int col = 0; col < 15; ++col) EXPECT_EQ(ResultColumnName(col), want[static_cast<std::size_t>(col)]);
  EXPECT_EQ(ResultColumnName(0), std::string("\xB3\xB5\xB4\xCE"));  // GBK bytes of "车次"
}

TEST(ColumnNames, StopList) {
  const std::vector<std::string> want = {"站序", "车站", "里程", "到时", "发时", "天数", "历时", "时速"};
  EXPECT_EQ(ReportHeader(kDetailGridKind, 8), want);
  // Any kind but 0 is the stop list.
  EXPECT_EQ(ReportHeader(7, 8), want);
  EXPECT_EQ(ReportHeader(-1, 8), want);
}

TEST(ColumnNames, OutsideTheTablesNoName) {
  EXPECT_EQ(ResultColumnName(15), "");
  EXPECT_EQ(ResultColumnName(-1), "");
  EXPECT_EQ(DetailColumnName(8), "");
  EXPECT_EQ(DetailColumnName(-1), "");
  const auto wide = ReportHeader(kDetailGridKind, 10);
  EXPECT_EQ(wide[7], "时速");
  EXPECT_EQ(wide[8], "");
  EXPECT_EQ(wide[9], "");
  EXPECT_TRUE(ReportHeader(kResultGridKind, 0).empty());
}

}  // namespace
}  // namespace vormek
