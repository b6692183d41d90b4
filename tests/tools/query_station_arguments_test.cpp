// vormek-query's station arguments as users type them: letters as initials
// or full pinyin, the beginning of a name; each runs as the name it picks,
// and a choice among several is said on standard error.
#include <gtest/gtest.h>

#include "query_tool_runner.h"

namespace vormek {
namespace {

using vormek::testing::RunQueryTool;

// Arguments and output are UTF-8; this file's narrow literals are GBK.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(QueryStationArguments, TypedStationsRunAsTheNameTheBoxListsFirst) {
  if (!VORMEK_QUERY_EMBEDDED) GTEST_SKIP() << "no embedded timetable";
  struct Case {
    std::vector<std::string> typed;
    std::vector<std::string> named;      // the same query with the names
    std::vector<const char8_t*> listed;  // the candidates said, none when the text is plain
  };
  const Case cases[] = {
      {{"zz", "beijingxi", "ShangHai"}, {"zz", U8(u8"北京西"), U8(u8"上海")}, {}},
      {{"cz", "xian"}, {"cz", U8(u8"西安")}, {}},  // the full pinyin, not 西安北 too
      {{"cz", "chaigoupu"}, {"cz", U8(u8"柴沟堡")}, {}},
      {{"zz", "--transfer", "chongqingbei", "bengbu"}, {"zz", "--transfer", U8(u8"重庆北"), U8(u8"蚌埠")}, {}},
      {{"zz", "--via", "xuzhou", "beijing", "xian"}, {"zz", "--via", U8(u8"徐州"), U8(u8"北京"), U8(u8"西安")}, {}},
      {{"zz", "bj", U8(u8"上海")}, {"zz", U8(u8"北京"), U8(u8"上海")}, {u8"北京, 宝鸡, 北滘", u8"taking 北京"}},
      {{"zz", "guangzh", "shangha"}, {"zz", U8(u8"广州"), U8(u8"上海")}, {u8"广州, 广州南", u8"上海, 上海虹桥"}},
      {{"cz", U8(u8"北")}, {"cz", U8(u8"北京")}, {u8"北京, 北京西", u8" in all); taking 北京"}},
      {{"stops", "G1", "--board", "njn", "--count", "1"},
       {"stops", "G1", "--board", U8(u8"南京南"), "--count", "1"},
       {}},
      {{"plan", "bjn", "shhq", "--max=5"}, {"plan", U8(u8"北京南"), U8(u8"上海虹桥"), "--max=5"}, {u8"宝鸡南"}},
      {{"cz", U8(u8"南京")}, {"cz", U8(u8"南京")}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed[1]);
    const auto typed = RunQueryTool(c.typed);
    const auto named = RunQueryTool(c.named);
    EXPECT_EQ(typed.status, 0) << typed.err;
    EXPECT_TRUE(typed.out == named.out);
    EXPECT_GT(std::count(named.out.begin(), named.out.end(), '\n'), 1) << "a query with results";
    if (c.listed.empty()) {
      EXPECT_EQ(typed.err, named.err);
    } else {
      EXPECT_EQ(typed.err.rfind("vormek-query: ", 0), 0u) << typed.err;
    }
    for (const char8_t* part : c.listed) EXPECT_NE(typed.err.find(U8(part)), std::string::npos) << typed.err;
    // --pinyin, once needed for letters, changes nothing.
    std::vector<std::string> withOption{"--pinyin"};
    withOption.insert(withOption.end(), c.typed.begin(), c.typed.end());
    const auto old = RunQueryTool(withOption);
    EXPECT_TRUE(old.out == typed.out && old.err == typed.err && old.status == typed.status);
  }

  // Texts the box lists nothing for are stations that do not exist.
  const std::pair<std::vector<std::string>, const char8_t*> nothing[] = {
      {{"zz", "xyzqw", U8(u8"上海")}, u8"发站不存在。\n"},
      {{"zz", U8(u8"上海"), "qqqq"}, u8"到站不存在。\n"},
      {{"zz", "--transfer", "xyzqw", U8(u8"上海")}, u8"发站不存在。\n"},
      {{"cz", "xyzqw"}, u8"车站不存在。\n"},
      {{"cz", U8(u8"火星")}, u8"车站不存在。\n"},
      {{"plan", U8(u8"火"), "sh"}, u8"发站不存在。\n"},
  };
  for (const auto& [args, message] : nothing) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 2) << args[1];
    EXPECT_NE(run.err.find("vormek-query: " + U8(message)), std::string::npos) << run.err;
  }
}

// stations PREFIX lists what the box lists, so its first line is the
// station a query picks for the same text.
TEST(QueryStationArguments, TheListedStationsBeginWithThePick) {
  if (!VORMEK_QUERY_EMBEDDED) GTEST_SKIP() << "no embedded timetable";
  const auto all = RunQueryTool({"stations"});
  ASSERT_EQ(all.status, 0);
  ASSERT_GT(std::count(all.out.begin(), all.out.end(), '\n'), 100);
  for (const std::string& typed : {std::string("b"), std::string("beij"), U8(u8"北"), std::string("SHH")}) {
    SCOPED_TRACE(typed);
    const auto listed = RunQueryTool({"stations", typed});
    ASSERT_EQ(listed.status, 0);
    const std::string first = listed.out.substr(0, listed.out.find('\n'));
    ASSERT_FALSE(first.empty());
    EXPECT_NE(all.out.find(first + "\n"), std::string::npos);
    EXPECT_TRUE(RunQueryTool({"cz", typed}).out == RunQueryTool({"cz", first}).out);
  }
  EXPECT_EQ(RunQueryTool({"stations", "xyzqw"}).out, "");
  EXPECT_EQ(RunQueryTool({"stations", "a", "b"}).status, 64);
}

}  // namespace
}  // namespace vormek
