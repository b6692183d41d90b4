// vormek-query --pinyin: station arguments in letters resolve to the station
// they name, and only then; everything else answers as without the option.
#include <gtest/gtest.h>

#include "query_tool_runner.h"

namespace vormek {
namespace {

using vormek::testing::RunQueryTool;

// Arguments and output are UTF-8; this file's narrow literals are GBK.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(QueryPinyin, LettersNamingOneCityRunAsTheNameAndSeveralAreRefused) {
  if (!VORMEK_QUERY_EMBEDDED) GTEST_SKIP() << "no embedded timetable";
  struct Case {
    std::vector<std::string> pinyin;  // with --pinyin
    std::vector<std::string> named;   // the same query with the names
  };
  const Case same[] = {
      {{"zz", "beijingxi", "ShangHai"}, {"zz", U8(u8"北京西"), U8(u8"上海")}},
      {{"zz", "guangzh", "shangha"}, {"zz", U8(u8"广州"), U8(u8"上海")}},  // prefixes of one city each
      {{"cz", "xian"}, {"cz", U8(u8"西安")}},                              // the full pinyin, not 西安北 too
      {{"cz", "chaigoupu"}, {"cz", U8(u8"柴沟堡")}},
      {{"zz", "--transfer", "chongqingbei", "bengbu"}, {"zz", "--transfer", U8(u8"重庆北"), U8(u8"蚌埠")}},
      {{"zz", "--via", "xuzhou", "beijing", "xian"}, {"zz", "--via", U8(u8"徐州"), U8(u8"北京"), U8(u8"西安")}},
      {{"cz", U8(u8"南京")}, {"cz", U8(u8"南京")}},
  };
  for (const Case& c : same) {
    std::vector<std::string> args{"--pinyin"};
    args.insert(args.end(), c.pinyin.begin(), c.pinyin.end());
    SCOPED_TRACE(c.pinyin[1]);
    const auto withPinyin = RunQueryTool(args);
    const auto withNames = RunQueryTool(c.named);
    EXPECT_EQ(withPinyin.status, withNames.status) << withPinyin.err;
    EXPECT_TRUE(withPinyin.out == withNames.out);
    EXPECT_GT(std::count(withNames.out.begin(), withNames.out.end(), '\n'), 1) << "a query with results";
  }

  const auto ambiguous = RunQueryTool({"--pinyin", "zz", "bj", U8(u8"上海")});
  EXPECT_EQ(ambiguous.status, 2);
  EXPECT_TRUE(ambiguous.out.empty());
  for (const char8_t* candidate : {u8"北京", u8"宝鸡", u8"北滘"}) {
    EXPECT_NE(ambiguous.err.find(U8(candidate)), std::string::npos) << ambiguous.err;
  }
  // Without the option letters stay a short code the window refuses.
  const auto plain = RunQueryTool({"zz", "beijingxi", U8(u8"上海")});
  EXPECT_EQ(plain.status, 2);
  EXPECT_TRUE(plain.out.empty());
  EXPECT_EQ(plain.err, U8(u8"vormek-query: 请输入发站。\n"));
  // With it, letters naming no station are a station that does not exist.
  const std::pair<std::vector<std::string>, const char8_t*> nothing[] = {
      {{"zz", "xyzqw", U8(u8"上海")}, u8"发站不存在。\n"},
      {{"zz", U8(u8"上海"), "qqqq"}, u8"到站不存在。\n"},
      {{"zz", "--transfer", "xyzqw", U8(u8"上海")}, u8"发站不存在。\n"},
      {{"cz", "xyzqw"}, u8"车站不存在。\n"},
  };
  for (const auto& [args, message] : nothing) {
    std::vector<std::string> withPinyin{"--pinyin"};
    withPinyin.insert(withPinyin.end(), args.begin(), args.end());
    const auto run = RunQueryTool(withPinyin);
    EXPECT_EQ(run.status, 2) << args[1];
    EXPECT_EQ(run.err, "vormek-query: " + U8(message)) << args[1];
  }
}

}  // namespace
}  // namespace vormek
