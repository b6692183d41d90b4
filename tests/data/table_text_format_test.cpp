// Reading table text of format "251": what loads, and every malformation
// refused with the line it is on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/mem_table.h"
#include "support/table_text.h"

namespace vormek {
namespace {

using testing::ColumnDef;
using testing::IndexDef;
using testing::Preamble;
using testing::Row;
using testing::Single;

// Two columns like the group table: lines 1-9 are the preamble, 10 the
// header, data from line 11.
std::string GroupPreamble() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Gp", "Integer", 0, 10),
                  IndexDef("SStation", "Station", true) + IndexDef("SGp", "Gp", false)) +
         Row({"Station", "Gp"});
}

int ErrorLine(const std::string& text) {
  TMemTable table;
  try {
    table.LoadFromText(text);
  } catch (const ETableFormatError& e) {
    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(e.line())), std::string::npos);
    EXPECT_EQ(table.ColumnCount(), 0) << "a failed load leaves the table empty";
    EXPECT_EQ(table.RecordCount(), 0);
    return e.line();
  }
  ADD_FAILURE() << "loaded without complaint";
  return 0;
}

TEST(TableText, ReadsColumnsIndexesAndRows) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"北京", "1"}) + Row({"北京西", "1"}) + Row({"汉口", "7"}));
  ASSERT_EQ(table.ColumnCount(), 2);
  EXPECT_EQ(table.Columns()[0].name, "Station");
  EXPECT_EQ(table.Columns()[0].type, TFieldType::WideString);
  EXPECT_EQ(table.Columns()[0].size, 20);
  EXPECT_EQ(table.Columns()[1].type, TFieldType::Integer);
  ASSERT_EQ(table.Indexes().size(), 2u);
  EXPECT_EQ(table.Indexes()[0].name, "SStation");
  EXPECT_TRUE(table.Indexes()[0].unique);
  EXPECT_EQ(table.Indexes()[0].columns, std::vector<int>{0});
  EXPECT_FALSE(table.Indexes()[1].unique);
  EXPECT_EQ(table.Indexes()[1].columns, std::vector<int>{1});
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.IndexName(), "");
  EXPECT_EQ(table.ValueAt(1, 0), "北京西");
  EXPECT_EQ(table.IntegerAt(2, 1), 7);
  EXPECT_EQ(table.ValueAt(2, 1), "7");
}

TEST(TableText, StoredDefinitionLinesReadAsSpelledInTheTables) {
  // Verbatim lines of the stored format, doubled quotes and all.
  const std::string text =
      "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n"
      "\"ID=WideString,35,\"\"ID\"\",\"\"\"\",35,Data,\"\"\"\"\"\r\n"
      "\"S_No=Integer,0,\"\"S_No\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
      "\"NType=SmallInt,0,\"\"NType\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
      "\"@@INDEXDEF START@@\"\r\n"
      "\"SIDNo=\"\"ID;S_No\"\",\"\"SIDNo\"\",UNIQ\"\r\n"
      "\"SType=\"\"ntype\"\",\"\"SType\"\"\"\r\n"
      "\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n"
      "\"ID\",\"S_No\",\"NType\",\r\n"
      "\"T100A\",\"2\",\"5\",\r\n";
  TMemTable table;
  table.LoadFromText(text);
  ASSERT_EQ(table.ColumnCount(), 3);
  EXPECT_EQ(table.Columns()[0].size, 35);
  EXPECT_EQ(table.Columns()[2].type, TFieldType::SmallInt);
  EXPECT_EQ(table.Indexes()[0].columns, (std::vector<int>{0, 1}));
  EXPECT_TRUE(table.Indexes()[0].unique);
  EXPECT_EQ(table.Indexes()[1].columns, std::vector<int>{2});  // "ntype" names NType
  EXPECT_EQ(table.ValueAt(0, 0), "T100A");
}

TEST(TableText, DoubledQuotesAndCommasInsideValues) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"a\"b", "1"}) + Row({"\"\"", "2"}) + Row({"x,\"y\",z", "3"}) +
                     Row({"", "4"}));
  EXPECT_EQ(table.RecordCount(), 4);
  EXPECT_EQ(table.ValueAt(0, 0), "a\"b");
  EXPECT_EQ(table.ValueAt(1, 0), "\"\"");
  EXPECT_EQ(table.ValueAt(2, 0), "x,\"y\",z");
  EXPECT_EQ(table.ValueAt(3, 0), "");
  EXPECT_EQ(table.IntegerAt(3, 1), 4);
}

// Every value reads back as written, whatever mix of short rows, rows of
// hundreds of bytes, doubled quotes and integers with leading zeros a table
// holds, in text order and under an index that reorders it.
TEST(TableText, EveryValueReadsBackWhateverTheRowsHold) {
  std::mt19937 random(20120505);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // One value in three may hold a quote.
  auto text = [&](int longest) {
    std::string v;
    const int length = pick(longest + 1);
    const int pieces = pick(3) == 0 ? 5 : 4;
    for (int i = 0; i < length; ++i)
      v += std::array<const char*, 5>{"a", "b", ",", "北", "\""}[static_cast<std::size_t>(pick(pieces))];
    return v;
  };
  std::vector<std::vector<std::string>> rows;
  std::vector<std::int32_t> numbers;
  std::string body;
  for (int r = 0; r < 400; ++r) {
    const std::int32_t number = pick(2000) - 1000;
    const std::string written = (pick(4) == 0 && number > 0 ? "00" : "") + std::to_string(number);
    rows.push_back({text(pick(8) == 0 ? 200 : 6), text(pick(8) == 0 ? 200 : 6), text(3)});
    numbers.push_back(number);
    body += Row({rows.back()[0], written, rows.back()[1], rows.back()[2]});
  }
  TMemTable table;
  table.LoadFromText(Preamble(ColumnDef("A", "WideString", 400, 400) + ColumnDef("N", "Integer", 0, 10) +
                                  ColumnDef("B", "WideString", 400, 400) + ColumnDef("C", "WideString", 9, 9),
                              IndexDef("ByN", "N", false)) +
                     Row({"A", "N", "B", "C"}) + body);
  ASSERT_EQ(table.RecordCount(), 400);
  for (int r = 0; r < 400; ++r) {
    const auto& row = rows[static_cast<std::size_t>(r)];
    EXPECT_EQ(table.ValueAt(r, 0), row[0]) << r;
    EXPECT_EQ(table.ValueAt(r, 1), std::to_string(numbers[static_cast<std::size_t>(r)])) << r;
    EXPECT_EQ(table.ValueAt(r, 2), row[1]) << r;
    EXPECT_EQ(table.ValueAt(r, 3), row[2]) << r;
  }
  table.SetIndexName("ByN");
  for (int p = 1; p < 400; ++p) EXPECT_LE(table.IntegerAt(p - 1, 1), table.IntegerAt(p, 1));
  for (int p = 0; p < 400; ++p) {
    const std::string_view a = table.ValueAt(p, 0);
    bool matches = false;
    for (int r = 0; r < 400 && !matches; ++r)
      matches = numbers[static_cast<std::size_t>(r)] == table.IntegerAt(p, 1) &&
                rows[static_cast<std::size_t>(r)][0] == a &&
                rows[static_cast<std::size_t>(r)][1] == table.ValueAt(p, 2);
    EXPECT_TRUE(matches) << p;
  }
}

// A text of megabytes is read in two halves at once and, from 16 MiB, hands
// back the pages its values moved away from; none of the values may suffer,
// whether a record is short, long (one row in 997) or holds doubled quotes
// (one in 89), and the first bad row is the one refused, wherever the halves
// meet.
std::string LargeValue(int row, int column) {
  if (row % 997 == 0) {
    std::string v;
    for (int i = 0; i < 100; ++i) v += "北";
    return v + std::to_string(row);
  }
  std::string v(static_cast<std::size_t>((row + column) % 13), 'x');
  if (row % 89 == 0) v += "\"q\"";
  for (int i = row % 7; i > 0; --i) v += "北";
  return v + std::to_string(row * 7 + column);
}

std::string LargeText(int rows, const std::vector<int>& badRows) {
  std::string text = Preamble(ColumnDef("A", "WideString", 120, 120) + ColumnDef("B", "WideString", 120, 120) +
                                  ColumnDef("C", "WideString", 120, 120) + ColumnDef("N", "Integer", 0, 10),
                              "") +
                     Row({"A", "B", "C", "N"});
  for (int r = 0; r < rows; ++r) {
    const bool bad = std::find(badRows.begin(), badRows.end(), r) != badRows.end();
    text += Row({LargeValue(r, 0), LargeValue(r, 1), LargeValue(r, 2), bad ? "x" : std::to_string(r)});
  }
  return text;
}

TEST(TableText, LargeTableReadsBackWhole) {
  // Above the sizes that read in halves (2 MiB) and hand pages back (16 MiB).
  for (const auto& [rows, bytes] : {std::pair{60000, std::size_t{2} << 20}, std::pair{300000, std::size_t{16} << 20}}) {
    std::string text = LargeText(rows, {});
    ASSERT_GT(text.size(), bytes);
    TMemTable table;
    table.LoadFromOwnedText(std::move(text));
    ASSERT_EQ(table.RecordCount(), rows);
    int wrong = 0;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < 3; ++c) wrong += table.ValueAt(r, c) != LargeValue(r, c) || table.IntegerAt(r, 3) != r;
    EXPECT_EQ(wrong, 0) << rows << " rows";
  }
  // Rows start on line 11; the halves meet near row 30,000.
  const struct {
    std::vector<int> bad;
    int line;
  } refusals[] = {{{100}, 111}, {{50000}, 50011}, {{100, 59999}, 111}, {{59999}, 60010}};
  for (const auto& r : refusals) EXPECT_EQ(ErrorLine(LargeText(60000, r.bad)), r.line) << r.bad.front();
}

TEST(TableText, TrailingCommaMakesNoExtraColumn) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"北京", "1"}));
  EXPECT_EQ(table.ColumnCount(), 2);
  EXPECT_THROW(table.ValueAt(0, 2), ETableError);
}

TEST(TableText, EmptyIntegerIsNullAndReadsAsZero) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"甲", ""}) + Row({"乙", "-12"}) + Row({"丙", "007"}));
  EXPECT_EQ(table.ValueAt(0, 1), "");
  EXPECT_EQ(table.IntegerAt(0, 1), 0);
  EXPECT_EQ(table.IntegerAt(1, 1), -12);
  // A number written with leading zeros reads back in its plain form.
  EXPECT_EQ(table.ValueAt(2, 1), "7");
  EXPECT_EQ(table.IntegerAt(2, 1), 7);
}

TEST(TableText, IntegerRangesFollowTheDeclaredType) {
  const std::string pre =
      Preamble(ColumnDef("N", "SmallInt", 0, 10) + ColumnDef("D", "Integer", 0, 10), "") + Row({"N", "D"});
  TMemTable table;
  table.LoadFromText(pre + Row({"32767", "2147483647"}) + Row({"-32768", "-2147483648"}));
  EXPECT_EQ(table.IntegerAt(0, 0), 32767);
  EXPECT_EQ(table.IntegerAt(1, 1), INT32_MIN);
  EXPECT_EQ(ErrorLine(pre + Row({"32768", "1"})), 9);
  EXPECT_EQ(ErrorLine(pre + Row({"1", "2147483648"})), 9);
  EXPECT_EQ(ErrorLine(pre + Row({"1", "99999999999999999999"})), 9);
}

TEST(TableText, TextLengthCountsCharactersNotBytes) {
  const std::string pre = Preamble(ColumnDef("Shortcode", "WideString", 4, 10), "") + Row({"Shortcode"});
  TMemTable table;
  table.LoadFromText(pre + Row({"阿拉山口"}) + Row({"ALSK"}) + Row({"a\"\"b"}));
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(ErrorLine(pre + Row({"ALSK"}) + Row({"阿拉山口站"})), 9);
  EXPECT_EQ(ErrorLine(pre + Row({"ALSKX"})), 8);
}

TEST(TableText, HeaderOnlyGivesEmptyTable) {
  TMemTable table;
  table.LoadFromText(GroupPreamble());
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.ColumnCount(), 2);
}

TEST(TableText, ReloadReplacesEverything) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"北京", "1"}));
  table.SetIndexName("SStation");
  table.LoadFromText(Preamble(ColumnDef("ID", "WideString", 35, 35), "") + Row({"ID"}) + Row({"G1"}) + Row({"D1"}));
  EXPECT_EQ(table.ColumnCount(), 1);
  EXPECT_TRUE(table.Indexes().empty());
  EXPECT_EQ(table.IndexName(), "");
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.FieldByName("id").AsString(), "G1");
}

TEST(TableText, MalformedStructureNamesItsLine) {
  const std::string good = GroupPreamble() + Row({"北京", "1"});
  EXPECT_EQ(ErrorLine(""), 1);
  EXPECT_EQ(ErrorLine("\"@@FILE VERSION@@\",\"250\"\r\n"), 1);                    // unknown version
  EXPECT_EQ(ErrorLine("\"@@FILE VERSION@@\"\r\n"), 1);                            // no version field
  EXPECT_EQ(ErrorLine("\"@@FILE VERSION@@\",\"251\"\r\n"), 2);                    // text ends
  EXPECT_EQ(ErrorLine("\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF\"\r\n"), 2);  // wrong marker
  // Missing markers: drop each of the four and find the error at or after
  // the place it belonged.
  for (const char* marker : {"@@TABLEDEF START@@", "@@INDEXDEF START@@", "@@INDEXDEF END@@", "@@TABLEDEF END@@"}) {
    std::string text = good;
    const std::string line = Single(marker);
    text.erase(text.find(line), line.size());
    EXPECT_GT(ErrorLine(text), 1) << marker;
  }
  // Only definitions, no header row.
  EXPECT_EQ(ErrorLine(Preamble(ColumnDef("Station", "WideString", 20, 20), "")), 7);
  // No columns at all.
  EXPECT_EQ(ErrorLine(Preamble("", "")), 3);
}

TEST(TableText, MalformedDefinitionsNameTheirLine) {
  auto withColumn = [](const std::string& def) {
    return Preamble(ColumnDef("Station", "WideString", 20, 20) + Single(def), "") + Row({"Station", "X"});
  };
  EXPECT_EQ(ErrorLine(withColumn("Gp=Float,0,\"Gp\",\"\",10,Data,\"\"")), 4);  // unknown type
  EXPECT_EQ(ErrorLine(withColumn("Gp=integer,0")), 4);                         // type names are exact
  EXPECT_EQ(ErrorLine(withColumn("=Integer,0")), 4);
  EXPECT_EQ(ErrorLine(withColumn("Gp")), 4);
  EXPECT_EQ(ErrorLine(withColumn("Gp=Integer")), 4);
  EXPECT_EQ(ErrorLine(withColumn("Gp=WideString,x")), 4);
  EXPECT_EQ(ErrorLine(withColumn("Gp=WideString,0")), 4);
  EXPECT_EQ(ErrorLine(withColumn("Gp=WideString,32768")), 4);    // beyond what a value may hold
  EXPECT_EQ(ErrorLine(withColumn("STATION=WideString,20")), 4);  // duplicate column

  auto withIndex = [](const std::string& def) {
    return Preamble(ColumnDef("Station", "WideString", 20, 20), Single(def)) + Row({"Station"});
  };
  EXPECT_EQ(ErrorLine(withIndex("S=\"Gp\",\"S\"")), 5);            // unknown column
  EXPECT_EQ(ErrorLine(withIndex("S=\"Station;\",\"S\"")), 5);      // empty column name
  EXPECT_EQ(ErrorLine(withIndex("S=\"Station\",\"S\",DESC")), 5);  // unknown option
  EXPECT_EQ(ErrorLine(withIndex("S=\"Station\"")), 5);
  EXPECT_EQ(ErrorLine(withIndex("S=\"Station")), 5);
  EXPECT_EQ(ErrorLine(withIndex("S=Station")), 5);
  EXPECT_EQ(ErrorLine(withIndex("=\"Station\",\"S\"")), 5);
  EXPECT_EQ(ErrorLine(Preamble(ColumnDef("Station", "WideString", 20, 20),
                               IndexDef("S", "Station", true) + IndexDef("s", "Station", false)) +
                      Row({"Station"})),
            6);  // duplicate index
}

TEST(TableText, MalformedRowsNameTheirLine) {
  const std::string pre = GroupPreamble();                             // data starts on line 11
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1"}) + Row({"北京"})), 12);  // too few fields
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1", "2"})), 11);             // too many fields
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\"\r\n"), 11);                // no trailing comma
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\",,\r\n"), 11);              // empty unquoted field
  EXPECT_EQ(ErrorLine(pre + "\"北京\",1,\r\n"), 11);                   // unquoted field
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\r\n\"1\",\"1\",\r\n"), 11);  // unterminated quote
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1"), 11);                      // unterminated at end
  EXPECT_EQ(ErrorLine(pre + "\"北京\"x,\"1\",\r\n"), 11);              // junk after quote
  EXPECT_EQ(ErrorLine(pre + "\"北京\" ,\"1\",\r\n"), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1"}) + "\r\n"), 12);  // blank line
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "x"})), 11);           // text in integer column
  EXPECT_EQ(ErrorLine(pre + Row({"北京", " 1"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1.5"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "-"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "+1"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1\"\""})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"一二三四五六七八九十一二三四五六七八九十一", "1"})), 11);  // 21 characters
  // Header row that does not match the columns.
  EXPECT_EQ(ErrorLine(Preamble(ColumnDef("Station", "WideString", 20, 20), "") + Row({"Gp"})), 7);
  EXPECT_EQ(ErrorLine(Preamble(ColumnDef("Station", "WideString", 20, 20), "") + "\"Station\"\r\n"), 7);
}

TEST(TableText, LineEndsMustBeCrLf) {
  const std::string pre = GroupPreamble();
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\",\n"), 11);                  // bare LF
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\",\r"), 11);                  // CR at the very end
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\",\r\"x\",\"2\",\r\n"), 11);  // bare CR
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\","), 11);                    // last line without CR LF
  EXPECT_EQ(ErrorLine(pre + "\"北\r\n京\",\"1\",\r\n"), 11);            // line break inside a value
  EXPECT_EQ(ErrorLine(pre + "\"北京\",\"1\",\r\r\n"), 11);
  EXPECT_EQ(ErrorLine("\"@@FILE VERSION@@\",\"251\"\n"), 1);
}

TEST(TableText, BytesMustBeWholeGbkCharacters) {
  const std::string pre = GroupPreamble();
  const std::string bj = "北京";
  ASSERT_EQ(bj.size(), 4u) << "sources must compile to GBK";
  EXPECT_EQ(ErrorLine(pre + Row({bj.substr(0, 3), "1"})), 11);  // lead byte before the quote
  EXPECT_EQ(ErrorLine(pre + Row({"\x80", "1"})), 11);           // not a lead byte
  EXPECT_EQ(ErrorLine(pre + Row({"\xFF\xA1", "1"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"\xB1\x7F", "1"})), 11);  // 0x7F is never a trail byte
  EXPECT_EQ(ErrorLine(pre + Row({"\xB1\x30", "1"})), 11);
  EXPECT_EQ(ErrorLine(pre + Row({"北京", "1"}) + "\"\xB1"), 12);  // cut at the end of the text
  TMemTable table;
  table.LoadFromText(pre + Row({"\x81\x40\xFE\xFE", "1"}));  // extremes of the ranges
  EXPECT_EQ(table.ValueAt(0, 0).size(), 4u);
}

TEST(TableText, PercentSignIsAnOrdinaryCharacter) {
  TMemTable table;
  table.LoadFromText(GroupPreamble() + Row({"50%", "1"}) + Row({"%2C", "2"}));
  EXPECT_EQ(table.ValueAt(0, 0), "50%");
  EXPECT_EQ(table.ValueAt(1, 0), "%2C");
}

}  // namespace
}  // namespace vormek
