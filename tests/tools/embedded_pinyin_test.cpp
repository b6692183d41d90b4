// The full-pinyin spellings the program carries beside the reference
// timetable: place names read as places, and every station one can type has
// one.
#include <gtest/gtest.h>

#include "data/embedded_items.h"
#include "data/timetable.h"
#include "stations/full_pinyin.h"

namespace vormek {
namespace {

class EmbeddedSpellings : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VORMEK_EMBEDS_REFERENCE) GTEST_SKIP() << "another timetable is embedded";
    LoadPinyinTable(EmbeddedItems(), KMPy);
    pinyin = LoadFullPinyin(EmbeddedItems());
  }
  TMemTable KMPy;
  TFullPinyin pinyin;
};

TEST_F(EmbeddedSpellings, PolyphonesReadAsThePlaceNames) {
  const std::pair<const char*, const char*> places[] = {
      {"重庆北", "chongqingbei"}, {"长沙", "changsha"}, {"厦门", "xiamen"},  {"蚌埠", "bengbu"},
      {"六安", "luan"},           {"六合", "luhe"},     {"丽水", "lishui"},  {"乐清", "yueqing"},
      {"柴沟堡", "chaigoupu"},    {"成都", "chengdu"},  {"喀什", "kashi"},   {"洪洞", "hongtong"},
      {"乌鞘岭", "wushaoling"},   {"蔚县", "yuxian"},   {"铅山", "yanshan"}, {"中牟", "zhongmou"},
      {"歙县", "shexian"},        {"涡阳", "guoyang"},  {"吕梁", "lvliang"}};
  int checked = 0;
  for (const auto& [station, spelling] : places) {
    SCOPED_TRACE(spelling);
    if (pinyin.Of(station).empty() && !KMPy.Locate("Station", station)) continue;  // not in this timetable
    EXPECT_EQ(pinyin.Of(station), spelling);
    ++checked;
  }
  EXPECT_GE(checked, 15);
}

TEST_F(EmbeddedSpellings, EveryStationOfThePinyinTableHasOneOfLettersOnly) {
  const int station = KMPy.FieldByName("Station").Column();
  ASSERT_GT(KMPy.RecordCount(), 0);
  for (int i = 0; i < KMPy.RecordCount(); ++i) {
    const std::string_view spelling = pinyin.Of(KMPy.ValueAt(i, station));
    EXPECT_FALSE(spelling.empty()) << "row " << i + 1 << " has no full pinyin";
    EXPECT_EQ(spelling.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string_view::npos) << spelling;
  }
}

}  // namespace
}  // namespace vormek
