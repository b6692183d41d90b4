#include <gtest/gtest.h>

#include <cmath>

#include "data/errors.h"
#include "rules/UPub_Center.h"

namespace vormek {
namespace {

TEST(RoundHalfUp, HalvesGoUpAndNegativesTruncate) {
  EXPECT_EQ(RoundHalfUp(2.5), 3);
  EXPECT_EQ(RoundHalfUp(2.49), 2);
  EXPECT_EQ(RoundHalfUp(3.5), 4);  // not banker's rounding
  EXPECT_EQ(RoundHalfUp(4.5), 5);
  EXPECT_EQ(RoundHalfUp(0.0), 0);
  EXPECT_EQ(RoundHalfUp(-2.7), -2);
  EXPECT_EQ(RoundHalfUp(-2.5), -2);
}

TEST(RoundHalfUp, OutOfRangeValuesSaturate) {
  EXPECT_EQ(RoundHalfUp(1e300), 2147483647);
  EXPECT_EQ(RoundHalfUp(-1e300), -2147483647 - 1);
  EXPECT_EQ(RoundHalfUp(std::nan("")), 0);
}

TEST(DurationToMinutes, ReadsEveryFormOfTheTables) {
  EXPECT_EQ(DurationToMinutes("37:43"), 2263);
  EXPECT_EQ(DurationToMinutes("21:2"), 1262);
  EXPECT_EQ(DurationToMinutes("1:1"), 61);
  EXPECT_EQ(DurationToMinutes("33"), 33);
  EXPECT_EQ(DurationToMinutes("0"), 0);
  EXPECT_EQ(DurationToMinutes(""), 0);
}

TEST(DurationToMinutes, PartsThatDoNotReadCountAsZeroIndependently) {
  EXPECT_EQ(DurationToMinutes("x:30"), 30);
  EXPECT_EQ(DurationToMinutes("2:xx"), 120);
  EXPECT_EQ(DurationToMinutes(":"), 0);
  EXPECT_EQ(DurationToMinutes("2:"), 120);
  EXPECT_EQ(DurationToMinutes("abc"), 0);
  EXPECT_EQ(DurationToMinutes("1.5"), 0);
  // A count that does not fit 32 bits reads as nothing rather than wrapping.
  EXPECT_EQ(DurationToMinutes("99999999999"), 0);
  EXPECT_EQ(DurationToMinutes("2000000000:0"), 2147483647);
}

TEST(MinutesToDuration, WritesHoursAndMinutesWithoutPadding) {
  EXPECT_EQ(MinutesToDuration(125), "2:5");
  EXPECT_EQ(MinutesToDuration(59), "0:59");
  EXPECT_EQ(MinutesToDuration(600), "10:0");
  EXPECT_EQ(MinutesToDuration(2263), "37:43");
  EXPECT_EQ(MinutesToDuration(0), "0:0");
}

TEST(MinutesToDuration, RoundTripsThroughDurationToMinutes) {
  for (int n : {0, 1, 59, 60, 61, 599, 600, 2263, 100000}) EXPECT_EQ(DurationToMinutes(MinutesToDuration(n)), n) << n;
}

TEST(ElapsedDifference, WorkedExamples) {
  EXPECT_EQ(ElapsedDifference("0", "1:1"), "01:01");
  EXPECT_EQ(ElapsedDifference("2:9", "37:43"), "35:34");
  EXPECT_EQ(ElapsedDifference("0", "33"), "00:33");
  EXPECT_EQ(ElapsedDifference("31", "1:32"), "01:01");
  EXPECT_EQ(ElapsedDifference("5:36", "5:36"), "0");
  EXPECT_EQ(ElapsedDifference("0", "120:5"), "120:05");
}

TEST(ElapsedDifference, PaddingAndIdenticalTexts) {
  EXPECT_EQ(ElapsedDifference("0", "0"), "0");
  EXPECT_EQ(ElapsedDifference("0", "60"), "01:00");
  EXPECT_EQ(ElapsedDifference("3:0", "3:05"), "00:05");
  EXPECT_EQ(ElapsedDifference("0", "9:9"), "09:09");
  EXPECT_EQ(ElapsedDifference("0", "10:10"), "10:10");
  // Equal times written differently are still a difference of nothing.
  EXPECT_EQ(ElapsedDifference("1:5", "1:05"), "00:00");
}

TEST(ElapsedDifference, OnlyTwoMinuteDigitsCountAndEmptyPartsAreZero) {
  EXPECT_EQ(ElapsedDifference("0", "1:234"), "01:23");
  EXPECT_EQ(ElapsedDifference("", "2:"), "02:00");
  EXPECT_EQ(ElapsedDifference(":", "1:"), "01:00");
}

TEST(ElapsedDifference, PartThatIsNotDecimalThrows) {
  EXPECT_THROW(ElapsedDifference("0", "1:ab"), EConvertError);
  EXPECT_THROW(ElapsedDifference("x:10", "2:00"), EConvertError);
  EXPECT_THROW(ElapsedDifference("0", "33m"), EConvertError);
  EXPECT_THROW(ElapsedDifference("0", "99999999999"), EConvertError);
  // Identical texts are never read, whatever they hold.
  EXPECT_EQ(ElapsedDifference("junk", "junk"), "0");
}

TEST(ElapsedDifference, LaterBeforeEarlierIsSigned) { EXPECT_EQ(ElapsedDifference("1:05", "0"), "-01:05"); }

TEST(AverageSpeed, RoundsHalfUpAndIsEmptyWhenUndefined) {
  EXPECT_EQ(AverageSpeed("1318", "4:48"), "275");
  EXPECT_EQ(AverageSpeed("90", "1:20"), "68");  // 67.5
  EXPECT_EQ(AverageSpeed("0", "1:00"), "");
  EXPECT_EQ(AverageSpeed("100", "0"), "");
  EXPECT_EQ(AverageSpeed("abc", "1:00"), "");
  EXPECT_EQ(AverageSpeed("-5", "1:00"), "");
}

TEST(LegSpeed, SpeedBetweenTwoStops) {
  EXPECT_EQ(LegSpeed("151", "277", "1:9", "2:6"), "133");
  EXPECT_EQ(LegSpeed("0", "60", "0", "1:0"), "60");
  EXPECT_EQ(LegSpeed("151", "151", "1:9", "2:6"), "");
  EXPECT_EQ(LegSpeed("151", "277", "2:6", "2:6"), "");
  EXPECT_EQ(LegSpeed("277", "151", "1:9", "2:6"), "");
  EXPECT_EQ(LegSpeed("", "x", "", ""), "");
}

}  // namespace
}  // namespace vormek
