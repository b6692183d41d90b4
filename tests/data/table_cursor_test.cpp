// The cursor operations the queries rely on: walks, end flags, Locate,
// FieldByName and index orders.
#include <gtest/gtest.h>

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

// Stops deliberately out of index order: the order comes from SIDNo, not from
// the text.
std::string StopText() {
  return testing::StopTablePreamble() +
         Row({"K10", "成都", "2", "08:00", "08:10", "2:0", "120", "20", "-", "40/42/44", "60/64"}) +
         Row({"D1", "北京", "1", "", "07:00", "0", "0", "", "", "", ""}) +
         Row({"K10", "重庆", "1", "", "06:00", "0", "0", "", "", "", ""}) +
         Row({"1043", "西安", "1", "", "21:25", "0", "0", "", "", "", ""}) +
         Row({"D1", "天津", "2", "07:30", "", "30", "120", "", "35", "", ""}) +
         Row({"K10", "绵阳", "10", "09:00", "", "3:0", "240", "30", "-", "50/52/54", "70/74"}) +
         Row({"1043", "奎屯", "2", "11:08", "", "37:43", "2810", "143", "-", "280/291/303", "469/492"});
}

std::string TrainListText() {
  return Preamble(ColumnDef("ID", "WideString", 35, 35) + ColumnDef("NType", "SmallInt", 0, 10) +
                      ColumnDef("StartStation", "WideString", 20, 20) + ColumnDef("endStation", "WideString", 20, 20) +
                      ColumnDef("A_Time", "WideString", 20, 20) + ColumnDef("D_Time", "WideString", 20, 20),
                  IndexDef("SID", "ID", true) + IndexDef("SstartStation", "startStation", false) +
                      IndexDef("SendStation", "endStation", false)) +
         Row({"ID", "NType", "StartStation", "endStation", "A_Time", "D_Time"}) +
         Row({"1043", "9", "西安", "奎屯", "21:25", "11:08"}) +
         Row({"C2001", "3", "北京南", "天津", "06:00", "06:30"}) + Row({"D1", "1", "北京", "天津", "07:00", "07:30"}) +
         Row({"G1", "2", "北京南", "上海虹桥", "09:00", "13:48"}) +
         Row({"K10", "6", "重庆", "绵阳", "06:00", "09:00"}) + Row({"T100A", "5", "北京", "上海", "20:00", "08:00"});
}

std::string PinyinText() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Shortcode", "WideString", 10, 10),
                  IndexDef("PyIndex", "ShortCode", false) + IndexDef("StationIndex", "Station", false)) +
         Row({"Station", "Shortcode"}) + Row({"阿拉山口", "ALSK"}) + Row({"北京", "BJ"}) + Row({"北京西", "BJX"}) +
         Row({"北京南", "BJN"}) + Row({"北京北", "BJB"}) + Row({"北京东", "BJD"}) + Row({"蚌埠", "BB"});
}

std::vector<std::string> Walk(TMemTable& table, std::string_view column) {
  std::vector<std::string> seen;
  const TField field = table.FieldByName(column);
  for (table.First(); !table.Eof(); table.Next()) seen.emplace_back(field.AsString());
  return seen;
}

std::vector<std::string> StopKeys(TMemTable& stops) {
  std::vector<std::string> keys;
  const TField id = stops.FieldByName("ID");
  const TField no = stops.FieldByName("S_No");
  for (stops.First(); !stops.Eof(); stops.Next())
    keys.push_back(std::string(id.AsString()) + "#" + std::to_string(no.AsInteger()));
  return keys;
}

TEST(TableCursor, ForwardWalkEndsOnLastRecordWithEof) {
  TMemTable py;
  py.LoadFromText(PinyinText());
  py.First();
  EXPECT_FALSE(py.Eof());
  EXPECT_TRUE(py.Bof());
  const TField station = py.FieldByName("Station");
  int visited = 0;
  while (!py.Eof()) {
    ++visited;
    py.Next();
  }
  EXPECT_EQ(visited, 7);
  // A failed Next leaves the cursor on the last record.
  EXPECT_EQ(station.AsString(), "蚌埠");
  EXPECT_EQ(py.RecNo(), 6);
  py.Next();
  EXPECT_TRUE(py.Eof());
  EXPECT_EQ(station.AsString(), "蚌埠");
}

TEST(TableCursor, BackwardWalkEndsOnFirstRecordWithBof) {
  TMemTable py;
  py.LoadFromText(PinyinText());
  py.Last();
  EXPECT_FALSE(py.Bof());
  const TField code = py.FieldByName("Shortcode");
  std::vector<std::string> seen;
  while (!py.Bof()) {
    seen.emplace_back(code.AsString());
    py.Prior();
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"BB", "BJD", "BJB", "BJN", "BJX", "BJ", "ALSK"}));
  EXPECT_EQ(code.AsString(), "ALSK");
  EXPECT_EQ(py.RecNo(), 0);
}

TEST(TableCursor, EmptyTableIsAtBothEnds) {
  TMemTable table;
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.Bof());
  table.LoadFromText(Preamble(ColumnDef("Station", "WideString", 20, 20), IndexDef("S", "Station", true)) +
                     Row({"Station"}));
  table.SetIndexName("S");
  for (auto move : {&TMemTable::First, &TMemTable::Last, &TMemTable::Next, &TMemTable::Prior}) {
    (table.*move)();
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.RecNo(), -1);
  }
  EXPECT_EQ(table.FieldByName("station").AsString(), "");
  EXPECT_EQ(table.FieldByName("station").AsInteger(), 0);
  EXPECT_FALSE(table.Locate("Station", ""));
  EXPECT_THROW(table.ValueAt(0, 0), ETableError);
}

TEST(TableCursor, PinyinTableKeepsTextOrder) {
  TMemTable py;
  py.LoadFromText(PinyinText());
  EXPECT_EQ(py.IndexName(), "");
  EXPECT_EQ(Walk(py, "Station"),
            (std::vector<std::string>{"阿拉山口", "北京", "北京西", "北京南", "北京北", "北京东", "蚌埠"}));
  // Locate scans text order without an index.
  EXPECT_TRUE(py.Locate("Shortcode", "BJN"));
  EXPECT_EQ(py.FieldByName("Station").AsString(), "北京南");
}

TEST(TableCursor, FieldByNameIgnoresLetterCase) {
  TMemTable list;
  list.LoadFromText(TrainListText());
  list.SetIndexName("SID");
  ASSERT_TRUE(list.Locate("ID", "D1"));
  EXPECT_EQ(list.FieldByName("startStation").FieldName(), "StartStation");
  EXPECT_EQ(list.FieldByName("startStation").AsString(), "北京");
  EXPECT_EQ(list.FieldByName("A_time").AsString(), "07:00");
  EXPECT_EQ(list.FieldByName("D_TIME").AsString(), "07:30");
  EXPECT_EQ(list.FieldByName("ntype").AsInteger(), 1);
  EXPECT_EQ(list.FieldByName("startStation").Column(), list.FieldByName("StartStation").Column());
  EXPECT_THROW(list.FieldByName("Start"), ETableError);
  EXPECT_THROW(list.FieldByName("StartStation "), ETableError);
  // The index declared on "startStation" uses that same column.
  EXPECT_EQ(list.Indexes()[1].columns, std::vector<int>{list.FieldByName("StartStation").Column()});
}

TEST(TableCursor, FieldHandleFollowsTheCursor) {
  TMemTable list;
  list.LoadFromText(TrainListText());
  const TField id = list.FieldByName("ID");
  list.First();
  EXPECT_EQ(id.AsString(), "1043");
  list.Next();
  EXPECT_EQ(id.AsString(), "C2001");
  EXPECT_EQ(id.AsInteger(), 0);  // text that is not a number
  list.First();
  EXPECT_EQ(id.AsInteger(), 1043);
  EXPECT_THROW(TField().AsString(), ETableError);
}

TEST(TableCursor, StopIndexOrdersByTrainThenStopNumber) {
  TMemTable stops;
  stops.LoadFromText(StopText());
  EXPECT_EQ(StopKeys(stops)[0], "K10#2");  // text order until an index is current
  stops.SetIndexName("SIDNo");
  EXPECT_EQ(stops.IndexName(), "SIDNo");
  // Bytes order "1043" < "D1" < "K10"; stop numbers numerically (2 < 10).
  EXPECT_EQ(StopKeys(stops),
            (std::vector<std::string>{"1043#1", "1043#2", "D1#1", "D1#2", "K10#1", "K10#2", "K10#10"}));
  stops.SetIndexName("");
  EXPECT_EQ(StopKeys(stops)[0], "K10#2");
  EXPECT_THROW(stops.SetIndexName("Nope"), ETableError);
}

TEST(TableCursor, UniqueIndexRefusesAKeyTwice) {
  TMemTable stops;
  stops.LoadFromText(StopText() + Row({"D1", "廊坊", "2", "07:20", "07:22", "20", "60", "", "", "", ""}));
  EXPECT_THROW(stops.SetIndexName("SIDNo"), ETableError);
  EXPECT_EQ(stops.IndexName(), "");  // the text order stays current
  EXPECT_EQ(StopKeys(stops)[0], "K10#2");
  // A key repeated under an index that is not unique is fine.
  stops.SetIndexName("SStation");
  EXPECT_EQ(stops.IndexName(), "SStation");
  // Text already in order with a repeated key is caught as well.
  TMemTable sorted;
  sorted.LoadFromText(Preamble(ColumnDef("ID", "WideString", 35, 35), IndexDef("SID", "ID", true)) + Row({"ID"}) +
                      Row({"D1"}) + Row({"G1"}) + Row({"G1"}));
  EXPECT_THROW(sorted.SetIndexName("SID"), ETableError);
}

TEST(TableCursor, LocateByTrainLandsOnItsFirstStop) {
  TMemTable stops;
  stops.LoadFromText(StopText());
  stops.SetIndexName("sidno");  // index names ignore letter case too
  const TField station = stops.FieldByName("Station");
  const TField no = stops.FieldByName("S_No");
  ASSERT_TRUE(stops.Locate("ID", "K10"));
  EXPECT_EQ(no.AsInteger(), 1);
  EXPECT_EQ(station.AsString(), "重庆");
  EXPECT_FALSE(stops.Eof());
  EXPECT_FALSE(stops.Bof());
  stops.Next();
  EXPECT_EQ(station.AsString(), "成都");
  stops.Next();
  EXPECT_EQ(station.AsString(), "绵阳");
  stops.Next();
  EXPECT_TRUE(stops.Eof());
  ASSERT_TRUE(stops.Locate("ID", "1043"));
  EXPECT_EQ(stops.RecNo(), 0);
  EXPECT_EQ(stops.FieldByName("P3").AsString(), "");
}

TEST(TableCursor, LocateComparesExactly) {
  TMemTable list;
  list.LoadFromText(TrainListText());
  list.SetIndexName("SID");
  const TField id = list.FieldByName("ID");
  ASSERT_TRUE(list.Locate("ID", "G1"));
  const int at = list.RecNo();
  EXPECT_FALSE(list.Locate("ID", "G1 "));   // trailing blank
  EXPECT_FALSE(list.Locate("ID", "g1"));    // letter case
  EXPECT_FALSE(list.Locate("ID", "G"));     // no partial match
  EXPECT_FALSE(list.Locate("ID", "T100"));  // prefix of "T100A"
  EXPECT_FALSE(list.Locate("ID", ""));
  EXPECT_FALSE(list.Locate("ID", "ZZZ"));  // past the last key
  EXPECT_FALSE(list.Locate("ID", "0"));    // before the first key
  EXPECT_EQ(list.RecNo(), at);             // a failed Locate does not move
  ASSERT_TRUE(list.Locate("ID", "T100A"));
  EXPECT_EQ(id.AsString(), "T100A");
  EXPECT_THROW(list.Locate("Nope", "G1"), ETableError);
}

TEST(TableCursor, LocateOnNonLeadingColumnFindsFirstInCurrentOrder) {
  TMemTable list;
  list.LoadFromText(TrainListText());
  list.SetIndexName("SID");
  ASSERT_TRUE(list.Locate("StartStation", "北京南"));
  EXPECT_EQ(list.FieldByName("ID").AsString(), "C2001");
  ASSERT_TRUE(list.Locate("endStation", "天津"));
  EXPECT_EQ(list.FieldByName("ID").AsString(), "C2001");
  EXPECT_FALSE(list.Locate("endStation", "天"));
  // The same look-up through an index that leads with the column.
  list.SetIndexName("SstartStation");
  ASSERT_TRUE(list.Locate("startstation", "北京南"));
  EXPECT_EQ(list.FieldByName("ID").AsString(), "C2001");  // stable: text order among equals
  list.Next();
  EXPECT_EQ(list.FieldByName("ID").AsString(), "G1");
}

TEST(TableCursor, LocateOnIntegerLeadingColumn) {
  const std::string text = Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Gp", "Integer", 0, 10),
                                    IndexDef("SGp", "Gp", false)) +
                           Row({"Station", "Gp"}) + Row({"武昌", "7"}) + Row({"无号", ""}) + Row({"北京", "1"}) +
                           Row({"汉口", "7"}) + Row({"负", "-3"}) + Row({"零", "0"});
  TMemTable groups;
  groups.LoadFromText(text);
  groups.SetIndexName("SGp");
  EXPECT_EQ(Walk(groups, "Station"), (std::vector<std::string>{"无号", "负", "零", "北京", "武昌", "汉口"}));
  const TField station = groups.FieldByName("Station");
  ASSERT_TRUE(groups.Locate("Gp", "7"));
  EXPECT_EQ(station.AsString(), "武昌");
  ASSERT_TRUE(groups.Locate("Gp", "0"));
  EXPECT_EQ(station.AsString(), "零");  // zero is not the null value
  ASSERT_TRUE(groups.Locate("Gp", ""));
  EXPECT_EQ(station.AsString(), "无号");
  ASSERT_TRUE(groups.Locate("Gp", "-3"));
  EXPECT_FALSE(groups.Locate("Gp", "07"));
  EXPECT_FALSE(groups.Locate("Gp", "7 "));
  EXPECT_FALSE(groups.Locate("Gp", "2"));
  EXPECT_FALSE(groups.Locate("Gp", "99999999999"));
}

TEST(TableCursor, TextOrderIsByUnsignedBytes) {
  TMemTable groups;
  groups.LoadFromText(Preamble(ColumnDef("Station", "WideString", 20, 20), IndexDef("S", "Station", true)) +
                      Row({"Station"}) + Row({"北京"}) + Row({"Z1"}) + Row({"1043"}) + Row({"a"}) + Row({"阿城"}));
  groups.SetIndexName("S");
  // GBK lead bytes (0xB0 and up) sort after every ASCII character.
  EXPECT_EQ(Walk(groups, "Station"), (std::vector<std::string>{"1043", "Z1", "a", "阿城", "北京"}));
  EXPECT_TRUE(groups.Locate("Station", "阿城"));
  EXPECT_TRUE(groups.Locate("Station", "北京"));
  EXPECT_TRUE(groups.Locate("Station", "1043"));
}

TEST(TableCursor, MovedTableKeepsItsRecords) {
  TMemTable list;
  list.LoadFromText(TrainListText());
  list.SetIndexName("SID");
  TMemTable moved(std::move(list));
  ASSERT_TRUE(moved.Locate("ID", "K10"));
  EXPECT_EQ(moved.FieldByName("endStation").AsString(), "绵阳");
  // The moved-from table behaves as an empty one.
  EXPECT_EQ(list.RecordCount(), 0);  // NOLINT(bugprone-use-after-move)
  EXPECT_TRUE(list.Eof());
  list.Next();
  EXPECT_THROW(list.FieldByName("ID"), ETableError);
}

}  // namespace
}  // namespace vormek
