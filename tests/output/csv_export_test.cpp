#include "output/csv_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vormek {
namespace {

const TMakerInfo kMaker{"维墨克", "http://vormek.example.org"};

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const auto comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

TEST(ExportGridText, TrainNumberResultIsEightLines) {
  TStringGrid grid(15, 16);
  const std::vector<std::string> row = {"1112/1113", "北京西", "昆明",  "普快",        "北京西",
                                        "18:31",     "昆明",   "15:00", "1",           "1577",
                                        "20:29",     "186",    "-",     "301/312/322", "-"};
  grid.Row(0) = row;
  const std::string text = ExportGridText(grid, TGridKind::Result, 1, kMaker);
  const auto lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "维墨克");
  EXPECT_EQ(lines[3], "http://vormek.example.org");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "车次,始发,终到,车型,发站,发时,到站,到时,停站,里程,历时,硬座,软座,硬卧,软卧");
  const auto fields = Fields(lines[7]);
  ASSERT_EQ(fields.size(), 15u);
  EXPECT_EQ(fields[9], "1577");
  EXPECT_EQ(fields[10], "20:29");
  EXPECT_EQ(fields[12], "-");
  EXPECT_EQ(fields[13], "301/312/322");
  EXPECT_EQ(fields, row);
}

TEST(ExportGridText, ExactBytesOfASmallStopList) {
  TStringGrid grid(8, 3);
  grid.Row(0) = {"1", "北京", "0", "", "08:00", "1", "0", ""};
  grid.Row(1) = {"2", "天津", "137", "09:10", "09:12", "1", "1:10", "117"};
  const std::string want =
      "\r\n\r\nM\r\nW\r\n\r\n\r\n"
      "\xD5\xBE\xD0\xF2,\xB3\xB5\xD5\xBE,\xC0\xEF\xB3\xCC,\xB5\xBD\xCA\xB1,"
      "\xB7\xA2\xCA\xB1,\xCC\xEC\xCA\xFD,\xC0\xFA\xCA\xB1,\xCA\xB1\xCB\xD9\r\n"
      "1,\xB1\xB1\xBE\xA9,0,,08:00,1,0,\r\n"
      "2,\xCC\xEC\xBD\xF2,137,09:10,09:12,1,1:10,117\r\n";
  EXPECT_EQ(ExportGridText(grid, TGridKind::Detail, 2, {"M", "W"}), want);
}

// Untrimmed; quoted only where a comma or a quote would split the field.
TEST(ExportGridText, FieldsAreWrittenAsTheyAreUnlessTheyMustBeQuoted) {
  TStringGrid grid(3, 1);
  grid.Row(0) = {" a ", "x,y", "\"q\""};
  const auto lines = SplitCrLf(ExportGridText(grid, TGridKind::Result, 1, kMaker));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6], "车次,始发,终到");
  EXPECT_EQ(lines[7], " a ,\"x,y\",\"\"\"q\"\"\"");
}

TEST(ExportGridText, OnlyTheRowsAskedForInTheirOrder) {
  TStringGrid grid(2, 16);
  for (int r = 0; r < 3; ++r) grid.Row(r) = {std::to_string(3 - r), "k"};
  const auto lines = SplitCrLf(ExportGridText(grid, TGridKind::Result, 3, kMaker));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[7], "3,k");
  EXPECT_EQ(lines[8], "2,k");
  EXPECT_EQ(lines[9], "1,k");
  // More rows than the grid holds: only the grid's rows.
  EXPECT_EQ(SplitCrLf(ExportGridText(grid, TGridKind::Result, 99, kMaker)).size(), 7u + 16u);
  EXPECT_EQ(SplitCrLf(ExportGridText(grid, TGridKind::Result, -4, kMaker)).size(), 7u);
}

TEST(ExportGridText, EmptyFieldsKeepTheirCommas) {
  TStringGrid grid(15, 1);
  const auto lines = SplitCrLf(ExportGridText(grid, TGridKind::Result, 1, kMaker));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[7], std::string(14, ','));
}

}  // namespace
}  // namespace vormek
