// The timetable measures on two tiny timetables built from sources: the
// classic coverage through matched station names, journeys, night departures.
#include "timetable_measure.h"

#include <gtest/gtest.h>

#include "builder_test_tree.h"
#include "timetable_builder.h"

namespace vormek::measure {
namespace {

using builder::testing::TestTree;
using builder::testing::U8;

TTimetable Build(const char8_t* stations, const char8_t* groups, const char8_t* line, const char8_t* trains) {
  TestTree tree;
  tree.Write("stations/a.txt", U8(stations));
  tree.Write("groups/a.txt", U8(groups));
  tree.Write("lines/a.txt", U8(line));
  tree.Write("trains/a.txt", U8(trains));
  builder::Diagnostics diagnostics;
  auto texts = builder::BuildTimetable(builder::ReadSourceTree(tree.Root()), diagnostics);
  EXPECT_TRUE(texts) << diagnostics.Text();
  TTimetable tables;
  if (texts) LoadTimetableFromTexts({texts->spy, texts->slist, texts->sm, texts->strain}, tables);
  return tables;
}

// The reference names 乙城's station 乙城南 in a group with 乙城; the model
// knows only 乙城, alone. A multiple unit joins nothing.
class Measures : public ::testing::Test {
 protected:
  Measures()
      : referenceTables_(Build(u8"甲城 JC\n乙城 YC\n乙城南 YCN\n丙镇 BZ\n丁城 DC\n", u8"3 乙城 乙城南\n",
                               u8"line 线\nspeed 120\n0 甲城\n50 乙城南\n100 丙镇\n150 丁城\n",
                               u8"train K1 type 6 route 甲城 线 丙镇 stops all dep 08:00\n"
                               u8"train G1 type 2 route 甲城 线 丁城 stops 丁城 dep 08:00\n"
                               u8"train 1461 type 8 route 丙镇 线 丁城 stops all dep 02:00\n")),
        modelTables_(Build(u8"甲城 JC\n乙城 YC\n丙镇 BZ\n丁城 DC\n", u8"1 甲城\n",
                           u8"line 线\nspeed 120\n0 甲城\n50 乙城\n100 丙镇\n150 丁城\n",
                           u8"train K1 type 6 route 甲城 线 乙城 dep 08:00\n"
                           u8"train T5 type 5 route 丙镇 线 丁城 dep 01:00\n"
                           u8"train K7 type 6 route 甲城 线 丁城 stops all dep 04:59\n"
                           u8"train D3 type 1 route 乙城 线 丙镇 dep 09:00\n")),
        reference_(referenceTables_),
        model_(modelTables_) {}
  TTimetable referenceTables_, modelTables_;
  Network reference_, model_;
};

TEST_F(Measures, CoverageMatchesCitiesByStationNameAndCountsOnlyClassicTrains) {
  Coverage c = ClassicCoverage(reference_, model_, 50);
  EXPECT_EQ(c.cities.size(), 4u);
  EXPECT_TRUE(c.unmatched.empty());
  // Reference pairs: 甲-乙, 甲-丙, 乙-丙 (K1), 丙-丁 (1461); not 甲-丁 (G1 only).
  EXPECT_EQ(c.pairs, 4);
  // K7 joins all four in the model; without it, K1 joins 甲-乙 and T5 丙-丁.
  EXPECT_EQ(c.joined, 4);
  Coverage top2 = ClassicCoverage(reference_, model_, 2);
  ASSERT_EQ(top2.cities.size(), 2u);
  EXPECT_EQ(top2.pairs, top2.joined);
}

TEST_F(Measures, UncoveredPairsAreNamedAndTheBusiestCitiesComeFirst) {
  TTimetable sparse = Build(u8"甲城 JC\n乙城 YC\n丙镇 BZ\n丁城 DC\n", u8"1 甲城\n",
                            u8"line 线\nspeed 120\n0 甲城\n50 乙城\n100 丙镇\n150 丁城\n",
                            u8"train K1 type 6 route 甲城 线 乙城 dep 08:00\n"
                            u8"train D3 type 1 route 乙城 线 丙镇 dep 09:00\n");
  Network model(sparse);
  Coverage c = ClassicCoverage(reference_, model, 50);
  EXPECT_EQ(c.joined, 1);
  EXPECT_EQ(c.uncovered.size(), 3u);
  // 甲城 and 丙镇 see two trains each, the group of 乙城 one.
  EXPECT_EQ(c.cities.back(), "乙城");
  EXPECT_EQ(reference_.TrainsAt(reference_.CityOf("乙城南")), 1);
}

TEST_F(Measures, JourneysNightDeparturesAndLetters) {
  Journey j = Trains(model_, "甲城", "丁城");
  EXPECT_EQ(j.trainsByLetter, (std::map<std::string, int>{{"K", 1}}));
  EXPECT_EQ(j.fastestId, "K7");
  EXPECT_GT(j.fastest, 75);  // 150 km at no more than 120 km/h, with stops
  // Boarding in a city whose trains do not reach the other: none.
  EXPECT_TRUE(Trains(model_, "丁城", "甲城").trainsByLetter.empty());
  EXPECT_EQ(NightDepartures(model_), (std::pair<int, int>{2, 3}));  // T5 at 01:00, K7 at 04:59
  EXPECT_EQ(LetterOf("Z164/Z165"), "Z");
  EXPECT_EQ(LetterOf("1112/1113"), "1000-5999");
  EXPECT_EQ(LetterOf("7510"), "6000-7999");
  EXPECT_EQ(LetterOf("872"), "other digits");
  EXPECT_FALSE(IsClassic("C2001"));
  EXPECT_TRUE(IsClassic("Y501"));
}

}  // namespace
}  // namespace vormek::measure
