// What vormek-query prints, read back as a reader of its format would:
// station names holding a comma or a quote stay one field.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "query_tool_runner.h"
#include "support/csv_reader.h"
#include "support/json_reader.h"
#include "support/table_text.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::Row;
using testing::RunQueryTool;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Two stations whose names need quoting, one train between them (this
// file's literals are GBK), in a folder of the test's own: ctest may run the
// tests at once.
fs::path FolderWithAwkwardNames() {
  const fs::path dir =
      fs::path(::testing::TempDir()) /
      ("vormek_query_output_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::create_directories(dir);
  std::ofstream(dir / "SPY.txt", std::ios::binary)
      << testing::PinyinTablePreamble() << Row({"石家,庄", "SJZ"}) << Row({"保\"定", "BD"});
  std::ofstream(dir / "SM.txt", std::ios::binary)
      << testing::GroupTablePreamble() << Row({"石家,庄", "1"}) << Row({"保\"定", "2"});
  std::ofstream(dir / "SLIST.txt", std::ios::binary)
      << testing::TrainListPreamble()
      << Row({"D1", "1", "石家,庄", "保\"定", "08:00", "08:40", "40", "140", "60.5", "-", "-", "-"});
  std::ofstream(dir / "STRAIN.txt", std::ios::binary)
      << testing::StopTablePreamble() << Row({"D1", "石家,庄", "1", "", "08:00", "0", "0", "", "", "", ""})
      << Row({"D1", "保\"定", "2", "08:40", "", "40", "140", "60.5", "-", "-", "-"});
  return dir;
}

TEST(QueryOutput, FieldsHoldingCommasAndQuotesReadBackWhole) {
  const std::string dir = FolderWithAwkwardNames().string();
  const std::string from = U8(u8"石家,庄"), to = U8(u8"保\"定");
  const std::vector<std::vector<std::string>> queries{
      {"zz", from, to}, {"cz", from}, {"cc", "D1"}, {"stops", "D1"}, {"plan", from, to}};
  for (const auto& query : queries) {
    std::vector<std::string> args{"--no-cache", "--tables", dir};
    args.insert(args.end(), query.begin(), query.end());
    const auto run = RunQueryTool(args);
    ASSERT_EQ(run.status, 0) << query.front() << "\n" << run.err;
    const auto records = testing::ReadCsv(run.out, "\n");
    ASSERT_TRUE(records.has_value()) << run.out;
    ASSERT_FALSE(records->empty());
    for (const auto& record : *records) EXPECT_EQ(record.size(), records->front().size()) << run.out;
    if (query.front() == "plan") continue;  // no connection with one train
    ASSERT_GE(records->size(), 2u) << query.front();
    const auto& fields = (*records)[1];
    EXPECT_NE(std::find(fields.begin(), fields.end(), from), fields.end()) << run.out;
  }
  fs::remove_all(dir);
}

// The three forms of one answer hold the same fields.
TEST(QueryOutput, TableAndJsonHoldWhatCsvHolds) {
  const std::string dir = FolderWithAwkwardNames().string();
  const std::vector<std::string> query{"--no-cache", "--tables", dir, "zz", U8(u8"石家,庄"), U8(u8"保\"定")};
  auto run = [&](const std::string& format) {
    std::vector<std::string> args{"--format", format};
    args.insert(args.end(), query.begin(), query.end());
    const auto r = RunQueryTool(args);
    EXPECT_EQ(r.status, 0) << format << "\n" << r.err;
    return r.out;
  };
  const auto csv = testing::ReadCsv(run("csv"), "\n");
  ASSERT_TRUE(csv.has_value());
  ASSERT_EQ(csv->size(), 2u);
  const std::string json = run("json");
  ASSERT_FALSE(json.empty());
  const auto object = testing::ReadJsonObject(json.substr(0, json.size() - 1));
  ASSERT_TRUE(object.has_value()) << json;
  ASSERT_EQ(object->size(), csv->front().size());
  for (std::size_t c = 0; c < object->size(); ++c) {
    EXPECT_EQ((*object)[c].first, (*csv)[0][c]);
    EXPECT_EQ((*object)[c].second, (*csv)[1][c]);
  }
  const std::string table = run("table");
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2);
  EXPECT_NE(table.find(U8(u8"石家,庄  ")), std::string::npos) << table;
  EXPECT_EQ(RunQueryTool({"--format", "xml", "cc", "D1"}).status, 64);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vormek
