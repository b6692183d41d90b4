#include <gtest/gtest.h>

#include <set>

#include "rules/UPub_Center.h"

namespace vormek {
namespace {

TEST(TrainTypeName, NamesOfTheDefinedCodes) {
  EXPECT_EQ(TrainTypeName(1), "动车组");
  EXPECT_EQ(TrainTypeName(2), "高速动车");
  EXPECT_EQ(TrainTypeName(3), "城际高速");
  EXPECT_EQ(TrainTypeName(4), "直特");
  EXPECT_EQ(TrainTypeName(5), "空调特快");
  EXPECT_EQ(TrainTypeName(6), "空调快速");
  EXPECT_EQ(TrainTypeName(7), "快速");
  EXPECT_EQ(TrainTypeName(8), "普快");
  EXPECT_EQ(TrainTypeName(9), "空调普快");
  EXPECT_EQ(TrainTypeName(10), "空调普客");
  EXPECT_EQ(TrainTypeName(11), "普客");
  EXPECT_EQ(TrainTypeName(12), "特快");
  EXPECT_EQ(TrainTypeName(13), "空调临客");
  EXPECT_EQ(TrainTypeName(14), "临客");
}

TEST(TrainTypeName, NamesAreGbkBytes) {
  // "快速" in GBK: BF EC CB D9.
  EXPECT_EQ(TrainTypeName(7), std::string("\xBF\xEC\xCB\xD9"));
}

TEST(TrainTypeName, UnknownCodesHaveNoName) {
  for (int code : {0, -1, 15, 1000, -2147483647 - 1}) EXPECT_EQ(TrainTypeName(code), "") << code;
}

TEST(TrainTypeName, EveryDefinedNameIsDistinct) {
  std::set<std::string> names;
  for (int code = 1; code <= 14; ++code) names.insert(TrainTypeName(code));
  EXPECT_EQ(names.size(), 14u);
}

}  // namespace
}  // namespace vormek
