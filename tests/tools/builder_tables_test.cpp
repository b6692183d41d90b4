// The table texts the builder writes from a tiny authored timetable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "builder_test_tree.h"
#include "gbk_convert.h"
#include "timetable_builder.h"

namespace vormek::builder {
namespace {

using testing::TestTree;
using testing::U8;
using testing::WriteSmallNetwork;

using Row = std::vector<std::string>;

// Data rows of a table text (after the header row), fields unquoted.
std::vector<Row> DataRows(const std::string& text) {
  std::vector<Row> rows;
  std::istringstream in(text);
  std::string line;
  bool data = false;
  while (std::getline(in, line)) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "every line ends in CR LF";
    line.pop_back();
    if (!data) {
      data = line == "\"@@TABLEDEF END@@\"";
      if (data) std::getline(in, line);  // header row
      continue;
    }
    Row row;
    std::size_t i = 0;
    while (i < line.size()) {
      EXPECT_EQ(line[i], '"');
      std::size_t close = line.find('"', i + 1);
      row.push_back(line.substr(i + 1, close - i - 1));
      EXPECT_EQ(line[close + 1], ',') << "every value is followed by a comma";
      i = close + 2;
    }
    rows.push_back(row);
  }
  return rows;
}

std::map<std::string, std::vector<Row>> StopsByTrain(const TableTexts& t) {
  std::map<std::string, std::vector<Row>> stops;
  for (Row& row : DataRows(t.strain)) stops[row[0]].push_back(row);
  return stops;
}

TableTexts Build(TestTree& tree, const char8_t* trains) {
  tree.Write("trains/a.txt", U8(trains));
  Diagnostics diagnostics;
  auto tables = BuildTimetable(ReadSourceTree(tree.Root()), diagnostics);
  EXPECT_TRUE(tables.has_value()) << diagnostics.Text();
  return tables.value_or(TableTexts{});
}

// Spellings come from several files, as several authors add stations: the
// first for a station counts, strays are ignored, a station without one is a
// warning only, and a malformed line is an error.
TEST(BuilderTables, FullPinyinFilesMergeAndGapsOnlyWarn) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("trains/a.txt", U8(u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n"));
  tree.Write("pinyin/added.txt", U8(u8"甲城 jiacheng\n蔚县 yuxian\n"));
  tree.Write("pinyin/stations.txt", U8(u8"# 站名 全拼\n甲城 jiashi\n乙镇 yizhen\n丙村 bingcun\n"));
  Diagnostics diagnostics;
  auto tables = BuildTimetable(ReadSourceTree(tree.Root()), diagnostics);
  ASSERT_TRUE(tables.has_value()) << diagnostics.Text();
  EXPECT_EQ(DataRows(tables->sqp), (std::vector<Row>{{"丙村", "bingcun"}, {"甲城", "jiacheng"}, {"乙镇", "yizhen"}}));
  ASSERT_EQ(diagnostics.Warnings().size(), 1u);
  EXPECT_NE(diagnostics.Warnings()[0].message.find(U8(u8"丁城")), std::string::npos);

  tree.Write("pinyin/stations.txt", U8(u8"丁城 Dingcheng\n"));
  Diagnostics bad;
  EXPECT_FALSE(BuildTimetable(ReadSourceTree(tree.Root()), bad).has_value());
  EXPECT_EQ(bad.Text().rfind("pinyin/stations.txt:1: ", 0), 0u) << bad.Text();
}

TEST(BuilderTables, ElapsedAndClockTextsUseTheTableForms) {
  EXPECT_EQ(ElapsedText(0), "0");
  EXPECT_EQ(ElapsedText(18), "18");
  EXPECT_EQ(ElapsedText(61), "1:1");
  EXPECT_EQ(ElapsedText(129), "2:9");
  EXPECT_EQ(ElapsedText(2263), "37:43");
  EXPECT_EQ(ClockText(21 * 60 + 25, 0), "21:25");
  EXPECT_EQ(ClockText(21 * 60 + 25, 2263), "11:08");
  EXPECT_EQ(ClockText(23 * 60 + 59, 1), "00:00");
}

TEST(BuilderTables, DefinitionLinesMatchTheNationalTables) {
  std::filesystem::path shared = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(shared / "SLIST.txt")) GTEST_SKIP() << "no national tables";
  TestTree tree;
  WriteSmallNetwork(tree);
  TableTexts t = Build(tree, u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n");
  for (auto [file, text] : {std::pair{"SLIST.txt", &t.slist}, std::pair{"STRAIN.txt", &t.strain},
                            std::pair{"SM.txt", &t.sm}, std::pair{"SPY.txt", &t.spy}}) {
    std::ifstream in(shared / file, std::ios::binary);
    std::string theirs((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Everything up to and including the header row is fixed by the format.
    auto headerEnd = [](const std::string& s) {
      std::size_t end = s.find("\"@@TABLEDEF END@@\"\r\n");
      return s.find("\r\n", end + 20) + 2;
    };
    EXPECT_EQ(text->substr(0, headerEnd(*text)), theirs.substr(0, headerEnd(theirs))) << file;
  }
}

TEST(BuilderTables, StopRowsFollowDistanceSpeedAndDwell) {
  TestTree tree;
  WriteSmallNetwork(tree);
  TableTexts t = Build(tree, u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n");
  auto stops = StopsByTrain(t)["K1"];
  ASSERT_EQ(stops.size(), 4u);
  // Stop 1: no arrival, running time "0", no fares.
  EXPECT_EQ(stops[0], (Row{"K1", "\xBC\xD7\xB3\xC7", "1", "", "08:00", "0", "0", "", "", "", ""}));
  // K at 120 km/h on a 120 line runs at 93.6 km/h: 40 km take 25.6 min, plus
  // 3 min to start and stop, arriving after 29 min; 4 min dwell at a small station.
  EXPECT_EQ(stops[1][3], "08:29");
  EXPECT_EQ(stops[1][4], "08:33");
  EXPECT_EQ(stops[1][5], "29");
  EXPECT_EQ(stops[1][6], "40");
  // 55 km more: 35.3 min + 3 from 08:33 gives 09:12, elapsed 1:12.
  EXPECT_EQ(stops[2][3], "09:12");
  EXPECT_EQ(stops[2][5], "1:12");
  EXPECT_EQ(stops[3][4], "") << "no departure at the end";
  EXPECT_EQ(stops[3][2], "4");
  EXPECT_EQ(stops[3][6], "180");
  // The train list row repeats the ends.
  auto list = DataRows(t.slist);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0][4], "08:00");
  EXPECT_EQ(list[0][5], stops[3][3]);
  EXPECT_EQ(list[0][6], stops[3][5]);
  EXPECT_EQ(list[0][7], "180");
  EXPECT_EQ(Row(list[0].begin() + 8, list[0].end()), Row(stops[3].begin() + 7, stops[3].end()));
}

// G and C fares add up line by line: a line with its own rate charges its
// stretch at that rate, both ways; the others keep the general rate.
TEST(BuilderTables, HighSpeedFaresTakeEachLinesOwnRate) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("stations/b.txt", U8(u8"戊城 WC\n"));
  tree.Write("lines/b.txt", U8(u8"line 丁戊线\nspeed 300\nfare 0.42 0.71\n0 丁城\n300 戊城\n"));
  TableTexts t = Build(tree, u8"train G1 type 2 route 甲城 甲丁线 丁城 丁戊线 戊城 stops all dep 08:00 back 15:00\n");
  auto stops = StopsByTrain(t);
  auto halfYuan = [](double yuan) { return std::floor(yuan * 2 + 0.5) / 2; };
  auto amount = [](const std::string& text) { return std::stod(text); };
  // Stations with their kilometre post on the way 甲城 -> 戊城; 丁城 at 180 joins the lines.
  const std::map<std::string, int> posts = {{"\xBC\xD7\xB3\xC7", 0},
                                            {"\xD2\xD2\xD5\xF2", 40},
                                            {"\xB1\xFB\xB4\xE5", 95},
                                            {"\xB6\xA1\xB3\xC7", 180},
                                            {"\xCE\xEC\xB3\xC7", 480}};
  auto yuan = [&](int from, int to, double general, double own) {
    int lo = std::min(from, to), hi = std::max(from, to);
    return (std::min(hi, 180) - std::min(lo, 180)) * general + (std::max(hi, 180) - std::max(lo, 180)) * own;
  };
  for (const char* id : {"G1", "G2"}) {
    const auto& rows = stops[id];
    ASSERT_EQ(rows.size(), 5u) << id;
    int start = posts.at(rows[0][1]);
    for (std::size_t i = 1; i < rows.size(); ++i) {
      int at = posts.at(rows[i][1]);
      EXPECT_EQ(amount(rows[i][7]), halfYuan(yuan(start, at, 0.46, 0.42))) << id << " stop " << i;
      EXPECT_EQ(amount(rows[i][8]), halfYuan(yuan(start, at, 0.74, 0.71))) << id << " stop " << i;
    }
  }
  // A rate that is not two numbers, second class not above first, is refused.
  tree.Write("lines/b.txt", U8(u8"line 丁戊线\nspeed 300\nfare 0.71 0.42\n0 丁城\n300 戊城\n"));
  Diagnostics refused;
  EXPECT_FALSE(BuildTimetable(ReadSourceTree(tree.Root()), refused));
  EXPECT_NE(refused.Text().find("fare is two rates"), std::string::npos) << refused.Text();
}

TEST(BuilderTables, SeriesAndReturnTrainsTakePartnerNumbersAndReverseTheStops) {
  TestTree tree;
  WriteSmallNetwork(tree);
  TableTexts t = Build(tree,
                       u8"train C2001..C2005 type 3 route 甲城 甲丁线 丁城 stops 丙村\n"
                       u8"  dep 06:35 every 30 back 07:00\n"
                       u8"train 1112/1113 type 9 route 甲城 甲丁线 丁城 dep 10:00 back 12:00\n");
  auto stops = StopsByTrain(t);
  std::vector<std::string> numbers;
  for (const auto& [id, rows] : stops) numbers.push_back(id);
  EXPECT_EQ(numbers,
            (std::vector<std::string>{"1111/1114", "1112/1113", "C2001", "C2002", "C2003", "C2004", "C2005", "C2006"}));
  EXPECT_EQ(stops["C2003"][0][4], "07:05");
  EXPECT_EQ(stops["C2006"][0][4], "08:00");
  ASSERT_EQ(stops["C2002"].size(), 3u);
  EXPECT_EQ(stops["C2002"][0][1], stops["C2001"][2][1]) << "the return starts where the outward ends";
  EXPECT_EQ(stops["C2002"][1][6], "85") << "km counted from the return's own start";
  EXPECT_EQ(stops["1111/1114"][0][4], "12:00");
  EXPECT_EQ(stops["1111/1114"].back()[1], stops["1112/1113"][0][1]);
}

TEST(BuilderTables, FixedTimesRunAcrossDaysAndTheListCanEndEarly) {
  TestTree tree;
  WriteSmallNetwork(tree);
  // A slow train held for a day and a half: the fixed clock times pick the
  // elapsed times nearest to what the running allows.
  TableTexts t = Build(tree,
                       u8"train 4201 type 11 route 甲城 甲丁线 丁城 dep 21:25 speed 20\n"
                       u8"  fix 乙镇 23:34 23:40 fix 丁城 11:08 - listto 丙村\n");
  auto stops = StopsByTrain(t)["4201"];
  ASSERT_EQ(stops.size(), 4u);
  EXPECT_EQ(stops[1][5], "2:9");
  EXPECT_EQ(stops[1][4], "23:40");
  EXPECT_EQ(stops[3][3], "11:08");
  EXPECT_EQ(stops[3][5], "13:43");
  auto list = DataRows(t.slist);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0][3], stops[2][1]) << "the list record ends at the listto stop";
  EXPECT_EQ(list[0][7], "95");
  EXPECT_EQ(list[0][6], stops[2][5]);
}

TEST(BuilderTables, GroupAndPinyinTablesKeepTheirOrders) {
  TestTree tree;
  WriteSmallNetwork(tree);
  tree.Write("stations/00-first.txt", U8(u8"丁城 DC\n乙镇 YZ\n"));
  tree.Write("stations/z.txt", U8(u8"隐站 YZ unlisted\n"));
  tree.Write("groups/a.txt", U8(u8"7 甲城 丁城\n"));
  TableTexts t = Build(tree, u8"train K1 type 6 route 甲城 甲丁线 丁城 dep 08:00\n");
  std::vector<std::string> pinyin;
  for (const Row& row : DataRows(t.spy)) pinyin.push_back(ToUtf8(row[0]) + " " + row[1]);
  // By first letter; within a letter in the order the files give.
  EXPECT_EQ(pinyin, (std::vector<std::string>{U8(u8"丙村 BC"), U8(u8"丁城 DC"), U8(u8"甲城 JC"), U8(u8"乙镇 YZ")}));
  auto groups = DataRows(t.sm);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_LT(groups[0][0], groups[1][0]) << "by station, GBK byte order";
  EXPECT_EQ(groups[0][1], "7");
}

TEST(BuilderTables, SameSourcesGiveTheSameBytes) {
  TestTree tree;
  WriteSmallNetwork(tree);
  const char8_t* trains = u8"train G1..G9 type 2 route 甲城 甲丁线 丁城 dep 07:00 every 60 back 07:30\n";
  TableTexts a = Build(tree, trains);
  TableTexts b = Build(tree, trains);
  EXPECT_EQ(a.slist, b.slist);
  EXPECT_EQ(a.strain, b.strain);
  EXPECT_EQ(a.sm, b.sm);
  EXPECT_EQ(a.spy, b.spy);
}

}  // namespace
}  // namespace vormek::builder
