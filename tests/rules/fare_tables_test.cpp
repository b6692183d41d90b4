#include <gtest/gtest.h>

#include "rules/UPub_Center.h"

namespace vormek {
namespace {

class BaseFareTest : public ::testing::Test {
 protected:
  TFareTables tables = BuildFareTables();

  void ExpectFare(std::int32_t km, std::int32_t fareDistance, double fare) {
    std::int32_t f = -1;
    EXPECT_NEAR(BaseFare(tables, km, f), fare, 1e-9) << km << " km";
    EXPECT_EQ(f, fareDistance) << km << " km";
  }
};

TEST_F(BaseFareTest, BandsCoverOneToSixThousandWithoutGaps) {
  ASSERT_EQ(tables.FareBands.size(), 10u);
  std::int32_t next = 1;
  for (const TPub_CPQDSJ& group : tables.FareBands) {
    EXPECT_EQ(group.Min, next);
    ASSERT_EQ(static_cast<std::int32_t>(group.Bands.size()), group.Count);
    for (const TPub_DistanceBand& band : group.Bands) {
      EXPECT_EQ(band.Min, next);
      EXPECT_EQ(band.Max - band.Min + 1, group.Step);
      next = band.Max + 1;
    }
    EXPECT_EQ(group.Max, next - 1);
  }
  EXPECT_EQ(next, 6001);
}

TEST_F(BaseFareTest, RatesTaperByTenthsOfTheFirst) {
  ASSERT_EQ(tables.FareRates.size(), 6u);
  const double first = tables.FareRates[0].Rate;
  EXPECT_EQ(first, 0.05861);
  for (std::size_t i = 1; i < 6; ++i) {
    EXPECT_NEAR(tables.FareRates[i].Rate, first * (1.0 - 0.1 * static_cast<double>(i)), 1e-12);
    EXPECT_EQ(tables.FareRates[i].Min, tables.FareRates[i - 1].Max + 1);
  }
  EXPECT_EQ(tables.FareRates.back().Max, 6000);
}

TEST_F(BaseFareTest, WorkedExamples) {
  ExpectFare(5, 20, 1.1722);
  ExpectFare(120, 115, 6.74015);
  ExpectFare(400, 390, 21.74431);
  ExpectFare(503, 505, 27.78114);
  ExpectFare(2810, 2795, 115.315175);
}

TEST_F(BaseFareTest, ShortDistancesPayTwentyKilometres) {
  for (std::int32_t km : {1, 5, 10, 11, 19, 20}) ExpectFare(km, 20, 1.1722);
  // Nothing at all, or a negative distance, still pays the minimum.
  ExpectFare(0, 20, 1.1722);
  ExpectFare(-3, 20, 1.1722);
}

TEST_F(BaseFareTest, FareDistanceIsTheMidpointOfTheBand) {
  ExpectFare(21, 25, 25 * 0.05861);
  ExpectFare(200, 195, 195 * 0.05861);
  ExpectFare(201, 210, 200 * 0.05861 + 10 * 0.052749);
  ExpectFare(1587, 1575, 74.14165);
  ExpectFare(543, 535, 29.18778);
}

TEST_F(BaseFareTest, FarEndOfTheTariff) {
  ExpectFare(6000, 5950, 209.2377 - 50 * 0.029305);
  ExpectFare(6001, 6001, 209.2377);
  // Beyond the last bracket nothing more is charged.
  ExpectFare(9000, 9000, 209.2377);
}

TEST(ParseFare, PartsOfBerthFares) {
  EXPECT_EQ(ParseFare("280/291/303", 0), 0);  // the whole text is no number
  EXPECT_EQ(ParseFare("280/291/303", 1), 280);
  EXPECT_EQ(ParseFare("280/291/303", 2), 291);
  EXPECT_EQ(ParseFare("280/291/303", 3), 303);
  EXPECT_EQ(ParseFare("469/492", 1), 469);
  EXPECT_EQ(ParseFare("469/492", 2), 492);
  EXPECT_EQ(ParseFare("469/492", 3), 492);
}

TEST(ParseFare, SingleAmounts) {
  EXPECT_EQ(ParseFare("143", 0), 143);
  EXPECT_EQ(ParseFare("3.5", 0), 3.5);
  EXPECT_EQ(ParseFare("143", 1), 0);
  EXPECT_EQ(ParseFare("143", 2), 0);
  EXPECT_EQ(ParseFare("143", 3), 0);
}

TEST(ParseFare, MissingAndUnreadableTextsGiveZero) {
  for (int part = 0; part <= 3; ++part) {
    EXPECT_EQ(ParseFare("-", part), 0);
    EXPECT_EQ(ParseFare("", part), 0);
  }
  EXPECT_EQ(ParseFare("143", 4), 0);
  EXPECT_EQ(ParseFare("143", -1), 0);
  EXPECT_EQ(ParseFare("abc", 0), 0);
  EXPECT_EQ(ParseFare("12,5", 0), 0);  // only a point separates decimals
  EXPECT_EQ(ParseFare("nan", 0), 0);
  EXPECT_EQ(ParseFare("inf/1", 1), 0);
  EXPECT_EQ(ParseFare("-/492", 1), 0);
  EXPECT_EQ(ParseFare("-/492", 2), 492);
}

TEST(ParseFare, PartsAfterTheSlashAreCutAtThirtyCharacters) {
  const std::string longSecond = "1/" + std::string(29, '0') + "75";  // 31 chars after "/"
  EXPECT_EQ(ParseFare(longSecond, 2), 7);                             // "000...07" of 30 characters
}

}  // namespace
}  // namespace vormek
