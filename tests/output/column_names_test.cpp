#include "output/column_names.h"

#include <gtest/gtest.h>

namespace vormek {
namespace {

TEST(ColumnNames, ResultKindIsTheResultGridAnyOtherTheStopList) {
  EXPECT_EQ(ResultColumnName(0), std::string("\xB3\xB5\xB4\xCE"));  // GBK "车次"
  EXPECT_EQ(ResultColumnName(14), "软卧");
  const std::vector<std::string> stops = {"站序", "车站", "里程", "到时", "发时", "天数", "历时", "时速"};
  EXPECT_EQ(ReportHeader(TGridKind::Detail, 8), stops);
  EXPECT_EQ(ReportHeader(static_cast<TGridKind>(7), 8), stops);
  EXPECT_EQ(ReportHeader(static_cast<TGridKind>(-1), 8), stops);
  EXPECT_EQ(ReportHeader(TGridKind::Result, 2), (std::vector<std::string>{"车次", "始发"}));
}

TEST(ColumnNames, OutsideTheTablesNoName) {
  EXPECT_EQ(ResultColumnName(15), "");
  EXPECT_EQ(ResultColumnName(-1), "");
  EXPECT_EQ(DetailColumnName(8), "");
  const auto wide = ReportHeader(TGridKind::Detail, 10);
  EXPECT_EQ(wide[7], "时速");
  EXPECT_EQ(wide[8], "");
  EXPECT_TRUE(ReportHeader(TGridKind::Result, 0).empty());
}

}  // namespace
}  // namespace vormek
