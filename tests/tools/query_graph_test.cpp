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
                                              {"graph", U8(u8"北京"), U8(u8"广州"), "--png", ""},
                                              {"zz", U8(u8"北京"), U8(u8"广州"), "--svg", "-"}}) {
    EXPECT_EQ(RunQueryTool(bad).status, 64) << bad.back();
  }
  EXPECT_EQ(RunQueryTool({"graph", U8(u8"北京"), U8(u8"不存在"), "--svg", "-"}).status, 2);
}

TEST(QueryGraph, PngNeedsAChineseFaceAndWritesAPicture) {
  const fs::path dir = fs::path(::testing::TempDir()) / "vormek_query_graph_png";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path png = dir / "g.png";
  ::setenv("VORMEK_GRAPH_FONT", (dir / "none.ttc").c_str(), 1);
  const auto noFace = RunQueryTool({"graph", U8(u8"北京"), U8(u8"上海"), "--png", png.string()});
  ::unsetenv("VORMEK_GRAPH_FONT");
  EXPECT_EQ(noFace.status, 66);
  EXPECT_FALSE(fs::exists(png));

  const auto run = RunQueryTool({"graph", U8(u8"北京"), U8(u8"上海"), "--png", png.string(), "--width", "800"});
  if (run.status == 66) GTEST_SKIP() << "no Chinese face installed: " << run.err;
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string bytes = testing::ReadWholeFile(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // The IHDR's width and height, big-endian: 800 by five eighths of it.
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint32_t(std::uint8_t(bytes[at + 3]));
  };
  EXPECT_EQ(be32(16), 800u);
  EXPECT_EQ(be32(20), 500u);
}

}  // namespace
}  // namespace vormek
