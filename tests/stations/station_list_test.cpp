#include "stations/station_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../query/timetable_fixture.h"
#include "stations/station_text.h"

namespace vormek {
namespace {

using Items = std::vector<std::string>;

class StationListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    // Text order, not alphabetical: the list keeps it.
    t.pinyin = {{"北京", "BJ"}, {"北京西", "BJX"}, {"北京南", "BJN"}, {"北京北", "BJB"}, {"北京东", "BJD"},
                {"蚌埠", "BB"}, {"宝鸡", "BJ"},    {"北滘", "BJ"},    {"八", "B"},       {"阿拉山口", "ALSK"}};
    fixture::Load(t, tt_);
  }
  TTimetable tt_;
};

TEST_F(StationListTest, MatchesPrefixInTextOrder) {
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJ"), (Items{"北京", "北京西", "北京南", "北京北", "北京东", "宝鸡", "北滘"}));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "bj"), MatchShortCode(tt_.KMPy, "BJ"));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJX"), (Items{"北京西"}));
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "alsk"), (Items{"阿拉山口"}));
}

TEST_F(StationListTest, ShorterCodesNeverMatch) {
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "BJXX"), Items{});
  EXPECT_EQ(MatchShortCode(tt_.KMPy, "B").size(), 9u);
}

TEST_F(StationListTest, FillPadsShortLists) {
  const Items none = FillStationList(tt_.KMPy, "QQQ");
  EXPECT_EQ(none, Items(9));
  const Items one = FillStationList(tt_.KMPy, "BJX");
  ASSERT_EQ(one.size(), 9u);
  EXPECT_EQ(one[0], "北京西");
  EXPECT_EQ(one[1], "");
}

// Short codes first, exactly as without spellings; then full pinyin; then the
// beginning of the name; each station once, each part in the table's order.
class FullPinyinListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    // 沈阳 comes first in the table but after 上海 for "SH": codes lead.
    t.pinyin = {{"沈阳", "SY"},    {"上海", "SH"}, {"上海虹桥", "SHHQ"}, {"石家庄", "SJZ"},   {"北京", "BJ"},
                {"北京西", "BJX"}, {"北滘", "BJ"}, {"蚌埠", "BB"},       {"阿拉山口", "ALSK"}};
    fixture::Load(t, tt_);
    TMemTable table;
    table.LoadFromText(fixture::Text({fixture::Str("Station", 20), fixture::Str("Pinyin", 40)}, {},
                                     {"Station", "Pinyin"},
                                     {{"沈阳", "shenyang"},
                                      {"上海", "shanghai"},
                                      {"上海虹桥", "shanghaihongqiao"},
                                      {"石家庄", "shijiazhuang"},
                                      {"北京", "beijing"},
                                      {"北京西", "beijingxi"},
                                      {"北滘", "beijiao"},
                                      {"蚌埠", "bengbu"}}));
    pinyin_ = TFullPinyin(table);
  }
  TTimetable tt_;
  TFullPinyin pinyin_;
};

TEST_F(FullPinyinListTest, ShortCodesLeadThenFullPinyinThenNameBeginnings) {
  struct Case {
    const char* text;
    Items want;
  };
  const Case cases[] = {
      {"SH", {"上海", "上海虹桥", "沈阳", "石家庄"}},
      {"sha", {"上海", "上海虹桥"}},
      {"ShangHai", {"上海", "上海虹桥"}},
      {"bj", {"北京", "北京西", "北滘"}},
      {"bei", {"北京", "北京西", "北滘"}},
      {"beijingx", {"北京西"}},
      {"上海", {"上海", "上海虹桥"}},
      {"阿拉", {"阿拉山口"}},
      {"bengbuu", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MatchStation(tt_.KMPy, pinyin_, c.text), c.want);
  }
}

TEST_F(FullPinyinListTest, TheBoxListsNameBeginningsButLeavesWholeNamesAlone) {
  EXPECT_EQ(UpdateStationList(tt_.KMPy, &pinyin_, "上海").Action, TListAction::Keep)
      << "a whole name, as after picking it";
  const TStationListUpdate begins = UpdateStationList(tt_.KMPy, &pinyin_, "上");
  EXPECT_EQ(begins.Action, TListAction::Fill);
  EXPECT_EQ(begins.Items, (Items{"上海", "上海虹桥", "", "", "", "", "", "", ""}));
  EXPECT_EQ(UpdateStationList(tt_.KMPy, &pinyin_, "东京").Action, TListAction::Keep);
  EXPECT_EQ(UpdateStationList(tt_.KMPy, &pinyin_, "K1").Action, TListAction::Keep);
  EXPECT_EQ(UpdateStationList(tt_.KMPy, &pinyin_, "bengb").Items[0], "蚌埠");
  // Without spellings the box does exactly what short codes alone do.
  for (const char* text : {"SH", "sha", "上", "", "QQQ"}) {
    SCOPED_TRACE(text);
    const TStationListUpdate plain = UpdateStationList(tt_.KMPy, nullptr, text);
    EXPECT_EQ(plain.Action, StationListAction(text));
    if (plain.Action == TListAction::Fill) {
      EXPECT_EQ(plain.Items, FillStationList(tt_.KMPy, text));
    }
  }
}

// Every way of typing every station: a prefix of its short code or spelling
// in either case, or of its name by whole characters. The pick is the first
// of the box's list, narrowed to whole codes and spellings when some are,
// and a station typed in full is always among the candidates.
TEST_F(FullPinyinListTest, PickTakesTheFirstOfTheBoxListAndNeverLosesAWholeSpelling) {
  TMemTable& py = tt_.KMPy;
  for (int i = 0; i < py.RecordCount(); ++i) {
    const std::string name(py.ValueAt(i, py.FieldByName("Station").Column()));
    const std::string code(py.ValueAt(i, py.FieldByName("Shortcode").Column()));
    const std::string spelling(pinyin_.Of(name));
    std::vector<std::string> typed;
    for (const std::string& whole : {code, spelling, UpperAscii(spelling)})
      for (std::size_t n = 1; n <= whole.size(); ++n) typed.push_back(whole.substr(0, n));
    for (std::size_t n = 2; n < name.size(); n += 2) typed.push_back(name.substr(0, n));
    for (const std::string& text : typed) {
      SCOPED_TRACE(text);
      const TStationPick pick = PickStation(py, pinyin_, text);
      Items box = UpdateStationList(py, &pinyin_, text).Items;
      std::erase(box, std::string());
      if (py.Locate("Station", text)) {
        EXPECT_TRUE(pick.Candidates.empty()) << "a whole name is kept as typed";
        continue;
      }
      ASSERT_FALSE(pick.Candidates.empty());
      EXPECT_EQ(pick.Station, pick.Candidates.front());
      EXPECT_TRUE(std::includes(box.begin(), box.end(), pick.Candidates.begin(), pick.Candidates.end(),
                                [&](const std::string& a, const std::string& b) {
                                  return std::find(box.begin(), box.end(), a) < std::find(box.begin(), box.end(), b);
                                }))
          << "the candidates keep the box's order";
      const bool whole = UpperAscii(text) == code || text == spelling || text == UpperAscii(spelling);
      if (whole) {
        EXPECT_NE(std::find(pick.Candidates.begin(), pick.Candidates.end(), name), pick.Candidates.end());
      }
      if (pick.Candidates != box) {
        EXPECT_TRUE(IsAllLetters(text)) << "only letters spelling a station in full narrow the list";
      }
    }
    EXPECT_TRUE(PickStation(py, pinyin_, name).Station.empty()) << "a whole name is kept as typed";
  }
  EXPECT_TRUE(PickStation(py, pinyin_, "qqq").Candidates.empty());
  EXPECT_TRUE(PickStation(py, pinyin_, "东京").Candidates.empty());
}

TEST(PadStationList, EightOrMoreStayAsTheyAre) {
  Items three{"a", "b", "c"};
  PadStationList(three);
  EXPECT_EQ(three.size(), 9u);
  Items seven(7, "x");
  PadStationList(seven);
  EXPECT_EQ(seven.size(), 9u);
  Items eight(8, "x");
  PadStationList(eight);
  EXPECT_EQ(eight.size(), 8u);
  Items twenty(20, "x");
  PadStationList(twenty);
  EXPECT_EQ(twenty.size(), 20u);
}

TEST(StationListAction, ByWhatTheBoxHolds) {
  EXPECT_EQ(StationListAction("bj"), TListAction::Fill);
  EXPECT_EQ(StationListAction(""), TListAction::ClearToEmpty);
  EXPECT_EQ(StationListAction("北京"), TListAction::Keep);
  EXPECT_EQ(StationListAction("K1"), TListAction::Keep);
}

}  // namespace
}  // namespace vormek
