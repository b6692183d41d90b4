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
      {"zz_beijing_shanghai_dc_dep_desc", {"zz", "--filter", "dc", "--sort", "5:desc", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_beijing_shanghai_sf_jq_km", {"zz", "--filter", "sf,jq", "--sort", "9", U8(u8"北京南"), U8(u8"上海虹桥")}, 0, false},
      {"zz_beijing_nanjing_seat_desc", {"zz", "--sort", "11:desc", U8(u8"北京"), U8(u8"南京")}, 0, false},
      {"zz_transfer_beijing_shanghai", {"zz", "--transfer", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_transfer_beijing_shanghai_km2_desc", {"zz", "--transfer", "--sort", "2:desc", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_transfer_beijing_shanghai_name_desc", {"zz", "--transfer", "--sort", "0:desc", U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_via_jinanxi", {"zz", "--via", U8(u8"济南西"), U8(u8"北京"), U8(u8"上海")}, 0, false},
      {"zz_via_jinanxi_zd_sort_arr", {"zz", "--via", U8(u8"济南西"), "--filter", "zd", "--sort", "7", U8(u8"北京"), U8(u8"上海")}, 0, false},
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

TEST_F(QueryGoldenTest, OutputIsPlainCommaSeparatedLines) {
  const auto run = RunQueryTool({"zz", U8(u8"北京"), U8(u8"上海")});
  ASSERT_EQ(run.status, 0);
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
  EXPECT_EQ(run.out.find(" "), std::string::npos);
  EXPECT_EQ(run.out.find(",\n"), std::string::npos);
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST_F(QueryGoldenTest, GbkModeGivesTheSameTextInGbk) {
  const auto utf8 = RunQueryTool({"cz", U8(u8"南京南")});
  const auto gbk = RunQueryTool({"--gbk", "cz", "南京南"});  // a GBK literal here
  ASSERT_EQ(gbk.status, 0);
  EXPECT_EQ(GbkToUtf8(gbk.out), utf8.out);
  EXPECT_NE(gbk.out, utf8.out);
  const auto refused = RunQueryTool({"--gbk", "cz", "火星"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "车站不存在。\n");
}

TEST_F(QueryGoldenTest, RefusalsPrintTheHandlersMessage) {
  struct TRefusal {
    std::vector<std::string> args;
    const char8_t* message;
  };
  const std::string paste(10000 * 3 / 3, 'x');
  std::string chinesePaste;
  for (int i = 0; i < 10000; ++i) chinesePaste += U8(u8"京");
  const std::vector<TRefusal> refusals = {
      {{"zz", "BJ", U8(u8"上海")}, u8"请输入发站。"},
      {{"zz", U8(u8"北京"), ""}, u8"请输入到站。"},
      {{"zz", U8(u8"北京"), U8(u8" 北京 ")}, u8"发站与到站相同。"},
      {{"zz", U8(u8"火星"), U8(u8"上海")}, u8"发站不存在。"},
      {{"zz", U8(u8"北京"), U8(u8"上海😀")}, u8"到站不存在。"},
      {{"zz", "--transfer", U8(u8"北京"), "123"}, u8"到站不存在。"},
      {{"zz", "--via", U8(u8"济南西"), chinesePaste, U8(u8"上海")}, u8"发站不存在。"},
      {{"cc", " \t"}, u8"请输入车次。"},
      {{"cz", paste}, u8"请输入车站。"},
      {{"cz", "\x01\x02"}, u8"请输入车站。"},
      {{"cz", "\xff\xfe"}, u8"车站不存在。"},
      {{"cz", U8(u8"南京\n南")}, u8"车站不存在。"},
  };
  for (const TRefusal& r : refusals) {
    const auto run = RunQueryTool(r.args);
    EXPECT_EQ(run.status, 2) << r.args.back().substr(0, 20);
    EXPECT_EQ(run.err, U8(r.message) + "\n");
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
  EXPECT_EQ(notListed.out, "");
}

TEST_F(QueryGoldenTest, UsageErrors) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"zz", "A"},
           {"xx", "A"},
           {"zz", "--sort", "x", "A", "B"},
           {"zz", "--sort", "15", U8(u8"北京"), U8(u8"上海")},
           {"zz", "--filter", "sf,xx", "A", "B"},
           {"zz", "--transfer", "--filter", "sf", "A", "B"},
           {"zz", "--transfer", "--via", "C", "A", "B"},
           {"cc", "G1", "--board", "A"},
           {"stops", "G1", "--board", "A"},
           {"stops", "G1", "--count", "0", "--board", "A"},
           {"cz", "A", "--bogus"},
           {"cz", "--tables"}}) {
    const auto run = RunQueryTool(args);
    EXPECT_EQ(run.status, 64) << (args.empty() ? "" : args[0]);
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
  }
  const auto help = RunQueryTool({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"zz", "--transfer", "--via", "cc", "cz", "stops", "--board", "--count", "--filter",
                           "--sort", "--gbk", "--tables", "64"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace vormek
