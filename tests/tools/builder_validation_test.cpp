// Broken sources are refused with the file, the line and the rule named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "builder_test_tree.h"
#include "timetable_builder.h"

namespace vormek::builder {
namespace {

using testing::TestTree;
using testing::U8;
using testing::WriteSmallNetwork;

struct Broken {
  const char* what;
  const char* file;  // written on top of the small network
  const char8_t* text;
  const char* expectFile;
  int expectLine;
  const char* expectRule;
};

class BrokenSources : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenSources, AreRefusedNamingFileLineAndRule) {
  const Broken& b = GetParam();
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n"
                                u8"train K9 type 6 route 乙镇 乙线 丁城 dep 08:00\n"));
  tree.Write("lines/b.txt", U8(u8"line 乙线\nspeed 80\n0 乙镇\n50 丁城\n"));
  tree.Write(b.file, U8(b.text));
  Diagnostics diagnostics;
  auto tables = BuildTimetable(ReadSourceTree(tree.Root()), diagnostics);
  EXPECT_FALSE(tables.has_value());
  bool found = false;
  for (const Diagnostic& d : diagnostics.All()) {
    if (d.file == b.expectFile && d.line == b.expectLine && d.message.find(b.expectRule) != std::string::npos) {
      found = true;
    }
  }
  EXPECT_TRUE(found) << "wanted " << b.expectFile << ":" << b.expectLine << ": ..." << b.expectRule << "...\ngot:\n"
                     << diagnostics.Text();
}

const Broken kBroken[] = {
    {"UnknownStation", "trains/b.txt", u8"# x\ntrain K3 type 6 route 甲城 甲丁线 戊庄 dep 08:00\n", "trains/b.txt", 2,
     "unknown station"},
    {"UnknownLine", "trains/b.txt", u8"train K3 type 6 route 甲城 丙线 丁城 dep 08:00\n", "trains/b.txt", 1,
     "unknown line"},
    {"DuplicateNumber", "trains/b.txt", u8"\n\ntrain K1 type 6 route 丁城 甲丁线 甲城 dep 09:00\n", "trains/b.txt", 3,
     "duplicate train number"},
    {"DuplicateFromSeries", "trains/b.txt",
     u8"train D1..D5 type 1 route 丁城 甲丁线 甲城 dep 09:00 every 60\ntrain D3 type 1 route 丁城 甲丁线 甲城 dep "
     u8"19:00\n",
     "trains/b.txt", 2, "duplicate train number"},
    {"MissingTime", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城\n", "trains/b.txt", 1, "a missing time"},
    {"TwoShortCodes", "stations/b.txt", u8"乙镇 YC\n", "stations/b.txt", 1, "two different short codes"},
    {"GroupOfSix", "groups/b.txt", u8"8 乙镇 丙村 丁城 戊一 戊二 戊三\n", "groups/b.txt", 1, "1 to 5 stations"},
    {"StationInTwoGroups", "groups/b.txt", u8"8 乙镇\n9 丁城 甲城\n", "groups/b.txt", 2, "in two groups"},
    {"DuplicateGroupNumber", "groups/b.txt", u8"7 乙镇\n", "groups/b.txt", 1, "used twice"},
    {"NameTooLong", "stations/b.txt", u8"一二三四五六七八九十一二三四五六七八九十一 YE\n", "stations/b.txt", 1,
     "longer than 20 characters"},
    {"NotGbk", "stations/b.txt", u8"\n火车\U0001F682站 HCZ\n", "stations/b.txt", 2, "GBK cannot encode"},
    {"DistanceGoingDown", "lines/b.txt", u8"line 乙线\nspeed 80\n0 乙镇\n30 丙村\n20 丁城\n", "lines/b.txt", 5,
     "distance going down"},
    {"LineStationUnknown", "lines/b.txt", u8"line 乙线\nspeed 80\n0 乙镇\n30 己镇\n", "lines/b.txt", 4,
     "unknown station"},
    {"CallsTwice", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 甲丁线 乙镇 dep 08:00\n", "trains/b.txt",
     1, "calls twice"},
    {"FixAtPassedStation", "trains/b.txt",
     u8"train K3 type 6 route 甲城 甲丁线 丁城 stops 乙镇 dep 08:00\n  fix 丙村 09:00 09:05\n", "trains/b.txt", 1,
     "not a stop"},
    {"UnknownKeyword", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 dep 08:00 via 乙镇\n", "trains/b.txt",
     1, "unknown keyword"},
    {"ListToTheEnd", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 dep 08:00 listto 丁城\n", "trains/b.txt",
     1, "not an intermediate stop"},
    {"BackNumbersDoNotMatch", "trains/b.txt",
     u8"train D3..D7 type 1 route 甲城 甲丁线 丁城 dep 08:00 every 60 back 09:00 D4..D6\n", "trains/b.txt", 1,
     "'back' gives 2 numbers for 3 trains"},
    {"SeriesWithoutInterval", "trains/b.txt", u8"train G3..G7 type 2 route 甲城 甲丁线 丁城 dep 08:00\n",
     "trains/b.txt", 1, "every"},
    {"EndStationDeparture", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 dep 08:00 fix 丁城 - 11:00\n",
     "trains/b.txt", 1, "no departure time"},
    {"BadClock", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 dep 24:10\n", "trains/b.txt", 1, "HH:MM"},
    {"UnknownStationInsideALine", "lines/b.txt", u8"line 乙线\nspeed 80\n0 乙镇\n30 己镇\n50 丁城\n", "lines/b.txt", 4,
     "unknown station"},
    {"BadFareText", "trains/b.txt", u8"train K3 type 6 route 甲城 甲丁线 丁城 dep 08:00 fares 12 - 3/4/5/6 -\n",
     "trains/b.txt", 1, "is not '-' or amounts"},
    {"ExpressSeries", "trains/b.txt", u8"\ntrain T3..T7 type 5 route 甲城 甲丁线 丁城 dep 08:00 every 300\n",
     "trains/b.txt", 2, "write each K, T, Z or numbered train"},
    {"FastSeriesOfOne", "trains/b.txt", u8"train K3..K3 type 6 route 甲城 甲丁线 丁城 dep 08:00\n", "trains/b.txt", 1,
     "a series (..) is for G, D and C trains"},
    {"NumberedSeries", "trains/b.txt", u8"train 7051..7053 type 11 route 甲城 甲丁线 丁城 dep 08:00 every 120\n",
     "trains/b.txt", 1, "a series (..)"},
    {"ExpressStopsByCount", "trains/b.txt", u8"train Z3 type 4 route 甲城 甲丁线 丁城 stops every:2 dep 20:00\n",
     "trains/b.txt", 1, "'stops every:N' is not for K, T and Z"},
    {"TypeOutOfRange", "trains/b.txt", u8"train K3 type 12 route 甲城 甲丁线 丁城 dep 08:00\n", "trains/b.txt", 1,
     "from 1 to 11"},
};

INSTANTIATE_TEST_SUITE_P(Builder, BrokenSources, ::testing::ValuesIn(kBroken),
                         [](const auto& param) { return std::string(param.param.what); });

TEST(BuilderValidation, RefusesATrainOfMoreThan62Stops) {
  TestTree tree;
  std::string stations, line = U8(u8"line 长线\nspeed 100\n");
  for (int i = 0; i < 70; ++i) {
    std::string name = U8(u8"站") + std::to_string(i);  // digits are plain in both encodings
    stations += name + " Z\n";
    line += std::to_string(i * 10) + " " + name + "\n";
  }
  tree.Write("stations/a.txt", stations);
  tree.Write("lines/a.txt", line);
  tree.Write("trains/a.txt", U8(u8"train 6001 type 11 route 站0 长线 站69 dep 06:00\n"
                                u8"train 6003 type 11 route 站0 长线 站61 dep 06:00\n"));
  Diagnostics diagnostics;
  EXPECT_FALSE(BuildTimetable(ReadSourceTree(tree.Root()), diagnostics));
  ASSERT_EQ(diagnostics.All().size(), 1u) << diagnostics.Text();
  EXPECT_NE(diagnostics.Text().find("train 6001: a train with fewer than 2 or more than 62 stops (70)"),
            std::string::npos);
}

TEST(BuilderValidation, RefusesTheLongWayRoundUnlessMarkedReal) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("lines/b.txt", U8(u8"line 乙线\nspeed 80\n0 乙镇\n50 丁城\n"));  // 甲城-乙镇-丁城 is 90 km
  const std::string train = U8(u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00");
  tree.Write("trains/a.txt", train + "\n");
  Diagnostics refused;
  EXPECT_FALSE(BuildTimetable(ReadSourceTree(tree.Root()), refused));
  ASSERT_EQ(refused.All().size(), 1u) << refused.Text();
  EXPECT_EQ(refused.All()[0].line, 1);
  EXPECT_NE(refused.Text().find("runs 180 km"), std::string::npos) << refused.Text();
  EXPECT_NE(refused.Text().find("shortest way (90 km)"), std::string::npos) << refused.Text();
  // The return train is not checked again, and a marked detour builds.
  tree.Write("trains/a.txt", train + " back 10:00 detour yes\n");
  Diagnostics accepted;
  EXPECT_TRUE(BuildTimetable(ReadSourceTree(tree.Root()), accepted)) << accepted.Text();
}

// 堡 reads pu, bao or bu: the short code's last letter must follow the
// station's spelling.
TEST(BuilderValidation, WarnsWhereAShortCodeDisagreesWithTheSpellingOfBao) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("stations/b.txt", U8(u8"柴沟堡 CGB\n河西堡 HXB\n聚乐堡 JLP\n吴堡 WB\n"));
  tree.Write("pinyin/b.txt", U8(u8"柴沟堡 chaigoupu\n河西堡 hexibao\n聚乐堡 julebao\n吴堡 wubu\n"));
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n"));
  Diagnostics diagnostics;
  EXPECT_TRUE(BuildTimetable(ReadSourceTree(tree.Root()), diagnostics)) << diagnostics.Text();
  std::vector<Diagnostic> codeWarnings;
  for (const Diagnostic& d : diagnostics.Warnings())
    if (d.file == "pinyin/b.txt") codeWarnings.push_back(d);
  ASSERT_EQ(codeWarnings.size(), 2u) << diagnostics.WarningText();
  EXPECT_EQ(codeWarnings[0].line, 1);
  EXPECT_NE(codeWarnings[0].message.find("CGB"), std::string::npos);
  EXPECT_EQ(codeWarnings[1].line, 3);
  EXPECT_NE(codeWarnings[1].message.find("JLP"), std::string::npos);
}

// What stays allowed: interval series of G, D and C trains, stops by count
// for them and for the numbered slow trains, and a K train naming its stops.
TEST(BuilderValidation, SeriesAndStopsByCountStayForMultipleUnitsAndSlowTrains) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train G1..G5 type 2 route 甲城 甲丁线 丁城 dep 07:00 every 60\n"
                                u8"train D11..D13 type 1 route 甲城 甲丁线 丁城 stops every:2 dep 08:00 every 90\n"
                                u8"train C21..C25 type 3 route 甲城 甲丁线 丁城 dep 06:30 every 30 back 06:45\n"
                                u8"train 4401 type 8 route 甲城 甲丁线 丁城 stops every:2 dep 09:00 back 15:00\n"
                                u8"train K31 type 6 route 甲城 甲丁线 丁城 stops 丙村 dep 20:00 back 21:00\n"));
  Diagnostics diagnostics;
  EXPECT_TRUE(BuildTimetable(ReadSourceTree(tree.Root()), diagnostics)) << diagnostics.Text();
}

TEST(BuilderValidation, ReportsEveryProblemNotJustTheFirst) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 戊庄 dep 08:00\n"
                                u8"train K3 type 6 route 甲城 甲丁线 丁城\n"
                                u8"train K5 type 6 route 甲城 甲丁线 丁城 dep 08:00\n"));
  Diagnostics diagnostics;
  EXPECT_FALSE(BuildTimetable(ReadSourceTree(tree.Root()), diagnostics));
  ASSERT_EQ(diagnostics.All().size(), 2u) << diagnostics.Text();
  EXPECT_EQ(diagnostics.All()[0].line, 1);
  EXPECT_EQ(diagnostics.All()[1].line, 2);
}

}  // namespace
}  // namespace vormek::builder

namespace vormek::builder {
namespace {

int RunBuilder(const std::filesystem::path& sources, const std::filesystem::path& out, std::string& errors) {
  std::filesystem::path log = out.parent_path() / "errors.txt";
  std::string command =
      std::string(VORMEK_BUILD_TOOL) + " '" + sources.string() + "' '" + out.string() + "' 2> '" + log.string() + "'";
  int status = std::system(command.c_str());
  std::ifstream in(log);
  errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return status;
}

TEST(BuilderProgram, ExitsNonZeroWithTheMessagesAndWritesNothing) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 戊庄 dep 08:00\n"));
  std::string errors;
  EXPECT_NE(RunBuilder(tree.Root(), tree.Root() / "out", errors), 0);
  EXPECT_NE(errors.find("trains/a.txt:1: unknown station"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::exists(tree.Root() / "out" / "STRAIN.txt"));
}

TEST(BuilderProgram, WritesTheFourTablesFromGoodSources) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n"));
  std::string errors;
  EXPECT_EQ(RunBuilder(tree.Root(), tree.Root() / "out", errors), 0) << errors;
  for (const char* file : {"SLIST.txt", "STRAIN.txt", "SM.txt", "SPY.txt"}) {
    EXPECT_TRUE(std::filesystem::exists(tree.Root() / "out" / file)) << file;
  }
}

}  // namespace
}  // namespace vormek::builder
