// vormek-query on the embedded timetable against reviewed outputs under
// golden/. After a deliberate change of the output or of the timetable,
// regenerate them with
//   VORMEK_UPDATE_GOLDEN=1 <build>/tests/tools_query_golden_test
// and review the diff before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/gbk_codec.h"
#include "query_tool_runner.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using vormek::testing::RunQueryTool;

struct TGoldenCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  bool checkStderr;
};

// The arguments are UTF-8, as a terminal passes them; this file's narrow
// literals are GBK, so the Chinese ones are spelled as UTF-8 bytes.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::vector<TGoldenCase> Cases() {
  return {
      {"zz_beijing_shanghai", {"zz", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_beijing_shanghai_dc_dep_desc",
       {"zz", "--filter", "dc", "--sort", "5:desc", U8(u8"北京"), U8(u8"上海")},
       0,
       false},
      {"zz_beijing_shanghai_sf_jq_km",
       {"zz", "--filter", "sf,jq", "--sort", "9", U8(u8"北京南"), U8(u8"上海虹桥")},
       0,
       false},
      {"zz_beijing_nanjing_seat_desc", {"zz", "--sort", "11:desc", U8(u8"北京"), U8(u8"南京")}, 0, false},
      {"zz_transfer_beijing_shanghai", {"zz", "--transfer", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_transfer_beijing_shanghai_km2_desc",
       {"zz", "--transfer", "--sort", "2:desc", U8(u8"北京"), U8(u8"上海")},
       0,
       false},
      {"zz_transfer_beijing_shanghai_name_desc",
       {"zz", "--transfer", "--sort", "0:desc", U8(u8"北京"), U8(u8"上海")},
       0,
       false},
      {"zz_via_jinanxi", {"zz", "--via", U8(u8"济南西"), U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_via_jinanxi_zd_sort_arr",
       {"zz", "--via", U8(u8"济南西"), "--filter", "zd", "--sort", "7", U8(u8"北京"), U8(u8"上海")},
       0,
       false},
      {"cc_g1_lower_case", {"cc", "g1"}, 0, false},
      {"cz_nanjingnan", {"cz", U8(u8"南京南")}, 0, false},
      {"cz_tianjin_sf_sort_type", {"cz", "--filter", "sf", "--sort", "3", U8(u8"天津")}, 0, false},
      {"stops_g1", {"stops", "G1"}, 0, true},
      {"stops_g1_from_nanjingnan", {"stops", "G1", "--board", U8(u8"南京南"), "--count", "1"}, 0, true},
  };
}

fs::path GoldenDir() { return fs::path(VORMEK_TEST_SOURCE_DIR) / "tools" / "golden"; }

bool Updating() {
  const char* v = std::getenv("VORMEK_UPDATE_GOLDEN");
  return v != nullptr && std::string(v) == "1";
}

void CheckAgainst(const fs::path& file, const std::string& actual) {
  if (Updating()) {
    std::ofstream(file, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(fs::exists(file)) << file << " is missing; run with VORMEK_UPDATE_GOLDEN=1";
  const std::string expected = vormek::testing::ReadWholeFile(file);
  EXPECT_TRUE(expected == actual) << "output differs from " << file << ":\n"
                                  << vormek::testing::UnifiedDiff(file, actual);
}

class QueryGoldenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VORMEK_QUERY_EMBEDDED) GTEST_SKIP() << "this build carries no timetable";
  }
};

TEST_F(QueryGoldenTest, OutputsMatchTheReviewedFiles) {
  for (const TGoldenCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const auto run = RunQueryTool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    CheckAgainst(GoldenDir() / (std::string(c.name) + ".txt"), run.out);
    if (c.checkStderr) CheckAgainst(GoldenDir() / (std::string(c.name) + ".stderr.txt"), run.err);
  }
}

TEST_F(QueryGoldenTest, GbkModeGivesTheSameTextInGbk) {
  const auto utf8 = RunQueryTool({"cz", U8(u8"南京南")});
  const auto gbk = RunQueryTool({"--gbk", "cz", "南京南"});  // a GBK literal here
  ASSERT_EQ(gbk.status, 0);
  EXPECT_EQ(GbkToUtf8(gbk.out), utf8.out);
  EXPECT_NE(gbk.out, utf8.out);
  const auto refused = RunQueryTool({"--gbk", "cz", "火星"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "vormek-query: 车站不存在。\n");
}

TEST_F(QueryGoldenTest, RefusalsPrintTheHandlersMessage) {
  std::string paste;
  for (int i = 0; i < 10000; ++i) paste += U8(u8"京");
  const std::vector<std::pair<std::vector<std::string>, const char8_t*>> refusals = {
      {{"zz", U8(u8"北京"), ""}, u8"请输入到站。"},
      {{"zz", U8(u8"北京"), U8(u8" 北京 ")}, u8"发站与到站相同。"},
      {{"zz", "--via", U8(u8"济南西"), paste, U8(u8"上海")}, u8"发站不存在。"},
      {{"zz", "--transfer", U8(u8"北京"), U8(u8"上海😀")}, u8"到站不存在。"},
      {{"cc", " \t"}, u8"请输入车次。"},
      {{"cz", "\x01\x02"}, u8"请输入车站。"},
      {{"cz", "\xff\xfe"}, u8"车站不存在。"},
  };
  for (const auto& [args, message] : refusals) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 2) << args[1];
    EXPECT_EQ(run.err, "vormek-query: " + U8(message) + "\n");
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(QueryGoldenTest, NothingFoundIsNotAnError) {
  const auto none = RunQueryTool({"cc", U8(u8"车次😀")});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, U8(u8"车次,始发,终到,车型,发站,发时,到站,到时,停站,里程,历时,硬座,软座,硬卧,软卧\n"));
  const auto unknownTrain = RunQueryTool({"stops", "G1X"});
  EXPECT_EQ(unknownTrain.status, 1);
  EXPECT_EQ(unknownTrain.out, "");
  const auto notListed = RunQueryTool({"zz", "--via", U8(u8"北京"), U8(u8"北京"), U8(u8"上海")});
  EXPECT_EQ(notListed.status, 3);
}

TEST_F(QueryGoldenTest, UsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"zz", "A"},
                                             {"zz", "--sort", "15", U8(u8"北京"), U8(u8"上海")},
                                             {"zz", "--transfer", "--filter", "sf", "A", "B"},
                                             {"stops", "G1", "--board", "A"},
                                             {"cz", "--tables"}}) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 64) << args.size();
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
  }
  const auto help = RunQueryTool({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"--transfer", "--via", "stops", "--board", "--count", "--filter", "--sort", "--gbk",
                           "--tables", "--pinyin", "plan", "--min-change", "--max"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace vormek
