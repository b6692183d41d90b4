// vormek-query given hostile arguments and tables: counts that would
// overflow, escape sequences, empty or missing folders, GBK in reasons.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "query_tool_runner.h"
#include "support/table_text.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::RunQueryTool;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// A folder whose stop table has a GBK elapsed time "北京" on line 20.
fs::path FolderWithGbkFault() {
  using namespace vormek::testing;
  const fs::path dir = fs::path(::testing::TempDir()) / "vormek_query_hostile_test";
  fs::create_directories(dir);
  std::ofstream(dir / "SPY.txt", std::ios::binary) << PinyinTablePreamble() << Row({"北京南", "BJN"});
  std::ofstream(dir / "SM.txt", std::ios::binary) << GroupTablePreamble() << Row({"北京南", "1"});
  std::ofstream(dir / "SLIST.txt", std::ios::binary)
      << TrainListPreamble() << Row({"G1", "2", "北京南", "北京南", "", "", "", "0", "", "", "", ""});
  std::ofstream(dir / "STRAIN.txt", std::ios::binary)
      << StopTablePreamble() << Row({"G1", "北京南", "1", "", "", "北京", "0", "", "", "", ""});
  return dir;
}

TEST(QueryHostile, ArgumentsAreCheckedEscapedAndAnswered) {
  const std::string gbkFolder = FolderWithGbkFault().string();
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // the start of standard output
    std::string err;  // a part of standard error
    bool embedded;    // needs the built-in timetable
  } cases[] = {
      {{"stops", "G2", "--board", U8(u8"上海虹桥"), "--count", "2147483647"},
       2,
       "",
       U8(u8"上海虹桥 is not a stop of G2 with 2147483647 stops after it"),
       true},
      {{"stops", "G2", "--board=" + U8(u8"上海虹桥"), "--count=2"}, 0, U8(u8"站序,车站"), "", true},
      {{"cc", "--filter=dc", "--sort=0:desc", "G1"}, 0, U8(u8"车次,"), "", true},
      {{"stops", "NOPE"}, 1, "", "no train NOPE in the timetable", true},
      {{"stops", "G\x1b[2J\x9b\xc2\x9b"}, 1, "", "no train G\\x1b[2J\x9b\\xc2\\x9b", true},
      {{"zz", "--bogus\x07", "A", "B"}, 64, "", "unknown option --bogus\\x07", false},
      {{"--gbk=1", "cc", "G1"}, 64, "", "--gbk takes no value", false},
      {{"--version"}, 0, "vormek-query 2012.05.05\n", "", false},
      {{"-h"}, 0, "usage: vormek-query", "", false},
      {{"--tables", "", "cc", "G1"}, 64, "", "--tables needs a folder", false},
      {{"--tables=", "cc", "G1"}, 64, "", "--tables needs a folder", false},
      {{"--tables", "/no/such/folder", "cc", "G1"}, 66, "", "no folder /no/such/folder", false},
      {{"--tables", "/no/such/folder", "plan", "A", "B"}, 66, "", "no folder /no/such/folder", false},
      // The value of an option is no command word.
      {{"--via", "plan", "zz"}, 64, "", "zz takes 2 arguments", false},
      {{"--tables", gbkFolder, "cc", "G1"},
       1,
       "",
       U8(u8"STRAIN.txt: line 20: R_Date \"北京\" is not an elapsed time"),
       false},
      // plan reads the same option table, under the same rules.
      {{"plan", "A"}, 64, "", "plan takes 2 arguments", false},
      {{"plan", "A", "B", "--bogus\x1b[2J"}, 64, "", "unknown option --bogus\\x1b[2J", false},
      {{"--tables", "", "plan", "A", "B"}, 64, "", "--tables needs a folder", false},
      {{"--tables", gbkFolder, "plan", "A", "B"},
       1,
       "",
       U8(u8"STRAIN.txt: line 20: R_Date \"北京\" is not an elapsed time"),
       false},
      {{"plan", U8(u8"北京"), U8(u8"上海"), "--max=1", "--min-change=45"}, 0, U8(u8"车次一,发站"), "", true},
  };
  for (const Case& c : cases) {
    if (c.embedded && !VORMEK_QUERY_EMBEDDED) continue;
    const auto run = RunQueryTool(c.args);
    const std::string what = c.args.front() + " " + (c.args.size() > 1 ? c.args[1] : "");
    EXPECT_EQ(run.status, c.status) << what << "\n" << run.err;
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << what;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << what << ": an escape reached the terminal";
  }
  fs::remove_all(gbkFolder);
}

TEST(QueryHostile, OutputThatCannotBeWrittenIsAFailure) {
  using testing::TStdout;
  std::vector<std::vector<std::string>> commands{{"--help"}, {"--version"}};
  if (VORMEK_QUERY_EMBEDDED) {
    commands.push_back({"zz", U8(u8"北京"), U8(u8"上海")});
    commands.push_back({"plan", U8(u8"北京"), U8(u8"上海"), "--max=3"});
    commands.push_back({"stops", "G1"});
  }
  for (const auto& args : commands) {
    ASSERT_EQ(RunQueryTool(args).status, 0) << args.front();
    for (const TStdout to : {TStdout::Full, TStdout::Closed}) {
      const auto run = RunQueryTool(args, to);
      EXPECT_EQ(run.status, 74) << args.front() << "\n" << run.err;
      EXPECT_NE(run.err.find("vormek-query: cannot write the output"), std::string::npos) << run.err;
    }
  }
}

}  // namespace
}  // namespace vormek
