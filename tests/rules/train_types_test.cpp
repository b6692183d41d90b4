#include <gtest/gtest.h>

#include "rules/UPub_Center.h"

namespace vormek {
namespace {

TEST(TrainTypeName, NamesAreGbkBytesOfTheCode) {
  EXPECT_EQ(TrainTypeName(1), "动车组");
  EXPECT_EQ(TrainTypeName(7), std::string("\xBF\xEC\xCB\xD9"));  // "快速"
  EXPECT_EQ(TrainTypeName(12), "特快");                          // by code: not among the express types 4 to 7
  EXPECT_EQ(TrainTypeName(14), "临客");
}

TEST(TrainTypeName, UnknownCodesHaveNoName) {
  for (int code : {0, -1, 15, 1000, -2147483647 - 1}) EXPECT_EQ(TrainTypeName(code), "") << code;
}

}  // namespace
}  // namespace vormek
