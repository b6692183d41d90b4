// Stored fares: the tariff the builder prices with, and the round trip
// through the section-fare rules the queries use.
#include <gtest/gtest.h>

#include "pricing.h"
#include "rules/UPub_Center.h"

namespace vormek::builder {
namespace {

TEST(BuilderPricing, TariffAgreesWithTheRulesAtEveryDistance) {
  TFareTables tables = BuildFareTables();
  for (int km = 1; km <= 6100; ++km) {
    int ours = 0;
    std::int32_t theirs = 0;
    double fare = TariffBase(km, ours);
    ASSERT_DOUBLE_EQ(fare, BaseFare(tables, km, theirs)) << km << " km";
    ASSERT_EQ(ours, theirs) << km << " km";
  }
}

TEST(BuilderPricing, ClassicFaresOfTheWorkedExamples) {
  ClassicTerms t1{5, 1.5, true, true};
  EXPECT_EQ(ClassicFares(1587, t1), (FareTexts{"191", "-", "324/335/345", "506/529"}));
  ClassicTerms ordinary{8, 1.0, true, true};
  EXPECT_EQ(ClassicFares(503, ordinary), (FareTexts{"37", "-", "78/80/83", "123/128"}));
  // A hard seat sum of 5 or less takes a half yuan, above it a whole one.
  ClassicTerms local{11, 1.0, false, false};
  EXPECT_EQ(ClassicFares(20, local), (FareTexts{"1.5", "-", "-", "-"}));
}

TEST(BuilderPricing, MultipleUnitFaresPerKilometre) {
  EXPECT_EQ(EmuFares(703, true), (FareTexts{"218", "261", "-", "-"}));
  EXPECT_EQ(EmuFares(398, true)[0], "123");
  EXPECT_EQ(EmuFares(120, false), (FareTexts{"55", "89", "-", "-"}));
  EXPECT_EQ(EmuFares(1318, false), (FareTexts{"606.5", "975.5", "-", "-"}));
}

// What a query shows for a ride over the whole run boarded anywhere but at
// the start: the rules recover the price factor from the whole-run fare.
TPub_GridResult WholeRunAsSection(int km, int type, const FareTexts& fares) {
  TPub_GridResult r;
  r.ID = "K1";
  r.NType = type;
  r.StartStation = "A";
  r.FZ.Station = "B";
  r.QC_Distance = km;
  r.QJ_Distance = km;
  r.QC_P1 = fares[0];
  r.QC_P2 = fares[1];
  r.QC_P3 = fares[2];
  r.QC_P4 = fares[3];
  return r;
}

TEST(BuilderPricing, SectionRulesGiveBackEveryStoredWholeRunFare) {
  TFareTables tables = BuildFareTables();
  int checked = 0;
  for (int type = 4; type <= 11; ++type) {
    for (int km = 1; km <= 4500; km += 3) {
      double factor = DefaultFactor(type, km);
      ClassicTerms terms{type, factor, IsAirConditioned(type), km >= 500};
      FareTexts stored = ClassicFares(km, terms);
      TPub_GridResult r = WholeRunAsSection(km, type, stored);
      SectionFares(tables, r);
      bool same = r.QJ_P1 == stored[0] && (!terms.sleepers || (r.QJ_P3 == stored[2] && r.QJ_P4 == stored[3]));
      EXPECT_TRUE(same) << "type " << type << " factor " << factor << " " << km << " km: " << r.QJ_P1 << " " << r.QJ_P3
                        << " " << r.QJ_P4 << " for " << stored[0] << " " << stored[2] << " " << stored[3];
      ++checked;
    }
  }
  EXPECT_EQ(checked, 8 * 1500);
}

}  // namespace
}  // namespace vormek::builder
