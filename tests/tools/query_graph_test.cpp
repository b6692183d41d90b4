// vormek-query graph: the trains of zz, each one group of the SVG, its
// filter boxes honoured; files written whole or refused with an I/O status.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "query_tool_runner.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::RunQueryTool;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(QueryGraph, DrawsEveryTrainZzLists) {
  for (const auto& [from, to] : {std::pair{U8(u8"北京"), U8(u8"上海")}, std::pair{U8(u8"上海"), U8(u8"重庆")},
                                 std::pair{U8(u8"广州"), U8(u8"长沙")}}) {
    for (const std::string filter : {"", "dc", "sf,zd"}) {
      SCOPED_TRACE(from + to + " " + filter);
      std::vector<std::string> zz{"zz", from, to}, graph{"graph", from, to, "--svg", "-", "--span", "trains"};
      if (!filter.empty()) {
        zz.insert(zz.end(), {"--filter", filter});
        graph.insert(graph.end(), {"--filter", filter});
      }
      const auto rows = RunQueryTool(zz);
      const auto svg = RunQueryTool(graph);
      ASSERT_EQ(svg.status, 0) << svg.err;
      EXPECT_EQ(Count(svg.out, "<g class=\"train\""), Count(rows.out, "\n") - 1);
      EXPECT_EQ(svg.out.rfind("</svg>\n"), svg.out.size() - 7);
    }
  }
}

TEST(QueryGraph, WritesWholeFilesOrSaysWhyNot) {
  const fs::path dir = fs::path(::testing::TempDir()) / "vormek_query_graph";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto ok = RunQueryTool({"graph", U8(u8"北京"), U8(u8"广州"), "--svg", (dir / "g.svg").string()});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_GT(fs::file_size(dir / "g.svg"), 1000u);
  const auto missing = RunQueryTool({"graph", U8(u8"北京"), U8(u8"广州"), "--svg", (dir / "no/g.svg").string()});
  EXPECT_EQ(missing.status, 74);
  EXPECT_NE(missing.err.find("no/g.svg"), std::string::npos);
  // Nothing half-written is left beside the file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"graph", U8(u8"北京"), U8(u8"广州")},
                                              {"graph", U8(u8"北京"), U8(u8"广州"), "--svg", "-", "--width", "10"},
                                              {"graph", U8(u8"北京"), U8(u8"广州"), "--svg", "-", "--span", "week"},
                                              {"graph", U8(u8"北京"), U8(u8"广州"), "--png", "-"},
                                              {"zz", U8(u8"北京"), U8(u8"广州"), "--svg", "-"}}) {
    EXPECT_EQ(RunQueryTool(bad).status, 64) << bad.back();
  }
  EXPECT_EQ(RunQueryTool({"graph", U8(u8"北京"), U8(u8"不存在"), "--svg", "-"}).status, 2);
}

}  // namespace
}  // namespace vormek
