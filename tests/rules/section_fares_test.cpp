#include <gtest/gtest.h>

#include <string>

#include "rules/UPub_Center.h"

namespace vormek {
namespace {

struct Fares {
  std::string p1, p2, p3, p4;
};

// A record as a query leaves it before pricing: boarding at an intermediate
// stop unless the test moves it to the start.
TPub_GridResult Record(std::string id, int type, int wholeKm, Fares whole, int sectionKm) {
  TPub_GridResult r;
  r.ID = std::move(id);
  r.NType = type;
  r.StartStation = "北京";
  r.EndStation = "上海";
  r.QC_Distance = wholeKm;
  r.QC_P1 = whole.p1;
  r.QC_P2 = whole.p2;
  r.QC_P3 = whole.p3;
  r.QC_P4 = whole.p4;
  r.FZ.Station = "天津";
  r.DZ.Station = "南京";
  r.QJ_Distance = sectionKm;
  return r;
}

void SetBoarding(TPub_GridResult& r, Fares f) {
  r.FZ.P1 = f.p1;
  r.FZ.P2 = f.p2;
  r.FZ.P3 = f.p3;
  r.FZ.P4 = f.p4;
}

void SetAlighting(TPub_GridResult& r, Fares f) {
  r.DZ.P1 = f.p1;
  r.DZ.P2 = f.p2;
  r.DZ.P3 = f.p3;
  r.DZ.P4 = f.p4;
}

class SectionFaresTest : public ::testing::Test {
 protected:
  TFareTables tables = BuildFareTables();

  Fares Price(TPub_GridResult r) {
    SectionFares(tables, r);
    return {r.QJ_P1, r.QJ_P2, r.QJ_P3, r.QJ_P4};
  }
};

void ExpectFares(const Fares& got, const Fares& want) {
  EXPECT_EQ(got.p1, want.p1);
  EXPECT_EQ(got.p2, want.p2);
  EXPECT_EQ(got.p3, want.p3);
  EXPECT_EQ(got.p4, want.p4);
}

const Fares kT1Whole{"191", "-", "324/335/345", "506/529"};
const Fares k1043Whole{"143", "-", "280/291/303", "469/492"};

// ---- rule 1: boarding at the start of the run -------------------------------

TEST_F(SectionFaresTest, BoardingAtTheStartCopiesTheAlightingStopFares) {
  TPub_GridResult r = Record("1043", 8, 2810, k1043Whole, 503);
  r.FZ.Station = r.StartStation;
  SetAlighting(r, {"61", "-", "", "205/214"});
  ExpectFares(Price(r), {"61", "-", "", "205/214"});
}

TEST_F(SectionFaresTest, BoardingAtTheStartWithNoClassAtTheStopIsPricedByTheTariff) {
  // The T1 whole run, boarded at its start and alighting at a stop whose
  // four fares are "-": the tariff gives back the stored whole-run fares.
  TPub_GridResult r = Record("T1", 5, 1587, kT1Whole, 1587);
  r.FZ.Station = r.StartStation;
  SetAlighting(r, {"-", "-", "-", "-"});
  ExpectFares(Price(r), {"191", "", "324/335/345", "506/529"});
}

TEST_F(SectionFaresTest, BoardingAtTheStartOfAMultipleUnitWithNoClassAtTheStop) {
  TPub_GridResult r = Record("G7", 2, 1318, {"555", "935", "-", "-"}, 300);
  r.FZ.Station = r.StartStation;
  SetAlighting(r, {"-", "-", "-", "-"});
  // Rule 2 differences of the unread stop fares: nothing positive remains.
  ExpectFares(Price(r), {"", "", "", ""});
}

// ---- rule 2: multiple-unit trains -------------------------------------------

TEST_F(SectionFaresTest, DTrainWorkedExample) {
  TPub_GridResult r = Record("D1", 1, 703, {"207", "249", "-", "-"}, 398);
  SetBoarding(r, {"45", "53", "-", "-"});
  SetAlighting(r, {"168", "201", "-", "-"});
  ExpectFares(Price(r), {"123", "148", "", ""});
}

TEST_F(SectionFaresTest, DTrainLowerCaseLetterAndSleepers) {
  TPub_GridResult r = Record("d5", 1, 1000, {"310", "372", "-", "594/668"}, 100);
  SetBoarding(r, {"10", "12", "-", "19/21"});
  // 100 km at 0.3097222: 30.97; the berths are fixed shares of the seat.
  ExpectFares(Price(r), {"31", "37", "", "59/67"});
}

TEST_F(SectionFaresTest, DTrainLowerBerthZeroWhenTheStopHasOnlyOne) {
  TPub_GridResult r = Record("D7", 1, 1000, {"310", "372", "-", "594"}, 100);
  SetBoarding(r, {"10", "12", "-", "19/-"});
  ExpectFares(Price(r), {"31", "37", "", "59/0"});
}

TEST_F(SectionFaresTest, DTrainDiscountAppliesOnlyBeyondSevenHundredKilometres) {
  // 232 yuan for 1000 km is a 75 % run (0.232 / 0.3097222 = 0.749).
  TPub_GridResult r = Record("D301", 1, 1000, {"232", "-", "-", "-"}, 800);
  SetBoarding(r, {"10", "-", "-", "-"});
  EXPECT_EQ(Price(r).p1, "186");  // 800 * 0.3097222 * 0.75 = 185.8
  r.QJ_Distance = 700;
  EXPECT_EQ(Price(r).p1, "217");  // 700 * 0.3097222 = 216.8, no discount
}

TEST_F(SectionFaresTest, DTrainDearerRunKeepsItsOwnRate) {
  TPub_GridResult r = Record("D9", 1, 1000, {"400", "-", "-", "-"}, 100);
  SetBoarding(r, {"10", "-", "-", "-"});
  EXPECT_EQ(Price(r).p1, "40");
}

TEST_F(SectionFaresTest, DTrainWithoutWholeRunFareHasNoFares) {
  for (const char* whole : {"-", "", "0", "abc"}) {
    TPub_GridResult r = Record("D1", 1, 703, {whole, "249", "-", "-"}, 398);
    SetBoarding(r, {"45", "53", "-", "-"});
    ExpectFares(Price(r), {"", "", "", ""});
  }
  TPub_GridResult zeroKm = Record("D1", 1, 0, {"207", "249", "-", "-"}, 398);
  ExpectFares(Price(zeroKm), {"", "", "", ""});
}

TEST_F(SectionFaresTest, GAndCTrainsTakeTheDifferenceOfTheStopFares) {
  TPub_GridResult g = Record("G7", 2, 1318, {"555", "935", "-", "-"}, 300);
  SetBoarding(g, {"50.5", "80", "-", "-"});
  SetAlighting(g, {"180", "290", "-", "-"});
  ExpectFares(Price(g), {"130", "210", "", ""});  // 129.5 rounds up

  TPub_GridResult c = Record("c2001", 3, 120, {"58", "69", "-", "-"}, 60);
  SetBoarding(c, {"10", "12", "-", "100/120"});
  SetAlighting(c, {"40", "47", "-", "300/350"});
  ExpectFares(Price(c), {"30", "35", "", "200/230"});
}

TEST_F(SectionFaresTest, GTrainClassDearerAtBoardingStaysEmpty) {
  TPub_GridResult g = Record("G7", 2, 1318, {"555", "935", "-", "-"}, 300);
  SetBoarding(g, {"200", "80", "-", "-"});
  SetAlighting(g, {"180", "290", "-", "-"});
  ExpectFares(Price(g), {"", "210", "", ""});
}

TEST_F(SectionFaresTest, G100IsOnePriceForEverySection) {
  for (const char* id : {"G100", "G1001", "G100/G101"}) {
    TPub_GridResult g = Record(id, 1, 1318, {"555", "935", "-", "-"}, 23);
    SetBoarding(g, {"400", "600", "-", "-"});
    SetAlighting(g, {"410", "620", "-", "-"});
    ExpectFares(Price(g), {"333", "532", "", ""});
  }
  TPub_GridResult g10 = Record("G10", 1, 1318, {"555", "935", "-", "-"}, 23);
  SetBoarding(g10, {"400", "600", "-", "-"});
  SetAlighting(g10, {"410", "620", "-", "-"});
  ExpectFares(Price(g10), {"10", "20", "", ""});
}

TEST_F(SectionFaresTest, MultipleUnitWithAnotherLetterHasNoFares) {
  TPub_GridResult r = Record("K7", 1, 1000, {"310", "372", "-", "-"}, 100);
  SetBoarding(r, {"10", "12", "-", "-"});
  SetAlighting(r, {"40", "47", "-", "-"});
  ExpectFares(Price(r), {"", "", "", ""});
}

TEST_F(SectionFaresTest, MultipleUnitLeavesHardSleeperAlone) {
  TPub_GridResult r = Record("G7", 2, 1318, {"555", "935", "1/2/3", "-"}, 300);
  r.QJ_P3 = "kept";
  SetAlighting(r, {"180", "290", "9/9/9", "-"});
  EmuSectionFares(tables, r);
  EXPECT_EQ(r.QJ_P3, "kept");
}

// ---- rule 3: the distance tariff ------------------------------------------

TEST_F(SectionFaresTest, ClassicWorkedExample1043) {
  TPub_GridResult r = Record("1043", 8, 2810, k1043Whole, 503);
  ExpectFares(Price(r), {"37", "", "78/80/83", "123/128"});
}

TEST_F(SectionFaresTest, ClassicWorkedExampleT1WithPriceFactorAndExpress) {
  TPub_GridResult r = Record("T1", 5, 1587, kT1Whole, 543);
  ExpectFares(Price(r), {"76", "", "134/139/143", "206/215"});
}

TEST_F(SectionFaresTest, ClassicWholeRunOfT1GivesBackTheStoredFares) {
  TPub_GridResult r = Record("T1", 5, 1587, kT1Whole, 1587);
  ExpectFares(Price(r), {"191", "", "324/335/345", "506/529"});
}

TEST_F(SectionFaresTest, ExpressSupplementOfType7IsDoubledOnlyInTheCalibration) {
  TPub_GridResult r = Record("T1", 5, 1587, kT1Whole, 543);
  for (int type : {4, 6}) {
    r.NType = type;
    ExpectFares(Price(r), {"76", "", "134/139/143", "206/215"});
  }
  // Same factor 1.5 as type 5, but the section's supplement of 9 is single.
  r.NType = 7;
  ExpectFares(Price(r), {"67", "", "125/130/134", "197/206"});
}

TEST_F(SectionFaresTest, Type12PaysNoExpressSupplement) {
  // With no supplement anywhere, type 12 prices exactly like type 8.
  for (int section : {15, 85, 543, 1587}) {
    TPub_GridResult r = Record("K12", 8, 1587, kT1Whole, section);
    const Fares plain = Price(r);
    r.NType = 12;
    ExpectFares(Price(r), plain);
    r.NType = 7;
    EXPECT_NE(Price(r).p3, plain.p3) << section;
  }
}

TEST_F(SectionFaresTest, ShortHardSeatRoundsToHalfYuanUpToFive) {
  // Section 85 km: fare distance 85, b = 4.98185, seat R(5.08) = 5.
  // A cheap whole run (q / E1 < 1.1) drops the quarter supplement: H = 5.
  TPub_GridResult cheap = Record("1043", 8, 2810, {"120", "-", "-", "-"}, 85);
  EXPECT_EQ(Price(cheap).p1, "5.5");
  // The 1043 run keeps it: a = R(1.245) = 1, H = 6.
  TPub_GridResult dear = Record("1043", 8, 2810, k1043Whole, 85);
  EXPECT_EQ(Price(dear).p1, "7");
  // Soft seat: R(2b + s) = R(10.06) = 10, plus 1.
  TPub_GridResult soft = Record("1043", 8, 2810, {"120", "220", "-", "-"}, 85);
  EXPECT_EQ(Price(soft).p2, "11");
}

TEST_F(SectionFaresTest, ClassicReferenceFallsBackThroughTheClasses) {
  // Only the sleeper fares of 1043: the upper hard-sleeper berth calibrates.
  TPub_GridResult r = Record("1043", 8, 2810, {"-", "-", "280/291/303", "469/492"}, 503);
  const Fares f = Price(r);
  EXPECT_EQ(f.p1, "");
  EXPECT_EQ(f.p2, "");
  EXPECT_FALSE(f.p3.empty());
  EXPECT_FALSE(f.p4.empty());

  // An empty whole-run seat fare is no reference, but does not stop output.
  TPub_GridResult emptySeat = Record("1043", 8, 2810, {"", "-", "280/291/303", "469/492"}, 503);
  EXPECT_FALSE(Price(emptySeat).p1.empty());
}

TEST_F(SectionFaresTest, ClassicWithoutAnyReferenceWritesNothing) {
  TPub_GridResult r = Record("1043", 8, 2810, {"-", "", "-", "x"}, 503);
  r.QJ_P1 = "untouched";
  ExpectFares(Price(r), {"untouched", "", "", ""});
}

}  // namespace
}  // namespace vormek
