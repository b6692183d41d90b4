// Train numbers as patterns write them: series and return partners.
#include <gtest/gtest.h>

#include "train_numbers.h"

namespace vormek::builder {
namespace {

std::vector<std::string> Expand(const char* word) {
  std::string error;
  auto numbers = ExpandNumbers(word, error);
  return numbers ? *numbers : std::vector<std::string>{"error: " + error};
}

TEST(BuilderNumbers, SeriesTakeEverySecondNumber) {
  EXPECT_EQ(Expand("G101..G107"), (std::vector<std::string>{"G101", "G103", "G105", "G107"}));
  EXPECT_EQ(Expand("6002..6004"), (std::vector<std::string>{"6002", "6004"}));
  EXPECT_EQ(Expand("K9..K9"), (std::vector<std::string>{"K9"}));
  EXPECT_EQ(Expand("1112/1113"), (std::vector<std::string>{"1112/1113"}));
}

TEST(BuilderNumbers, RefusesMalformedNumbersAndSeries) {
  for (const char* bad : {"G101..G102", "G107..G101", "G101..D103", "G1..", "K1//K2", "/K1", "K-1", "K1..K3A"}) {
    std::string error;
    EXPECT_FALSE(ExpandNumbers(bad, error).has_value()) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(BuilderNumbers, PartnersFlipWithinTheirOddEvenPair) {
  EXPECT_EQ(PartnerNumber("G101"), "G102");
  EXPECT_EQ(PartnerNumber("G102"), "G101");
  EXPECT_EQ(PartnerNumber("T1"), "T2");
  EXPECT_EQ(PartnerNumber("1112/1113"), "1111/1114");
  EXPECT_EQ(PartnerNumber("K1002/K1003"), "K1001/K1004");
  EXPECT_EQ(PartnerNumber("T100A"), "T99A");
  EXPECT_EQ(PartnerNumber("0"), std::nullopt);
  EXPECT_EQ(PartnerNumber("Y"), std::nullopt);
}

}  // namespace
}  // namespace vormek::builder
