// The four load steps, from items and from a folder of table texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/gbk_codec.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "support/item_packing.h"
#include "support/table_text.h"

namespace vormek {
namespace {

using testing::ColumnDef;
using testing::IndexDef;
using testing::PackItem;
using testing::Preamble;
using testing::Row;

std::string PinyinText() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Shortcode", "WideString", 10, 10),
                  IndexDef("PyIndex", "ShortCode", false) + IndexDef("StationIndex", "Station", false)) +
         Row({"Station", "Shortcode"}) + Row({"北京西", "BJX"}) + Row({"北京", "BJ"});
}

std::string ListText() {
  return testing::TrainListPreamble() +
         Row({"Z1", "1", "北京", "上海", "19:00", "07:00", "12:0", "1463", "", "", "", ""}) +
         Row({"D1", "1", "北京西", "保定", "08:00", "09:00", "1:0", "150", "", "", "", ""});
}

std::string GroupText() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Gp", "Integer", 0, 10),
                  IndexDef("SStation", "Station", true) + IndexDef("SGp", "Gp", false)) +
         Row({"Station", "Gp"}) + Row({"北京西", "1"}) + Row({"北京", "1"});
}

std::string StopText() {
  return testing::StopTablePreamble() + Row({"Z1", "上海", "2", "07:00", "", "12:0", "1463", "", "", "", ""}) +
         Row({"D1", "北京西", "1", "", "08:00", "0", "0", "", "", "", ""}) +
         Row({"Z1", "北京", "1", "", "19:00", "0", "0", "", "", "", ""}) +
         Row({"D1", "保定", "2", "09:00", "", "1:0", "150", "", "", "", ""});
}

struct TStoredItems {
  std::vector<std::vector<unsigned char>> blobs;
  TItemSet items;
};

TStoredItems MakeItems(const std::string& spy, const std::string& slist, const std::string& sm,
                       const std::string& strain) {
  TStoredItems stored;
  stored.blobs = {PackItem(spy), PackItem(slist), PackItem(sm), PackItem(strain)};
  const char* names[] = {"SPY", "SLIST", "SM", "STRAIN"};
  std::vector<TEmbeddedItem> items;
  for (std::size_t i = 0; i < 4; ++i) items.push_back({names[i], stored.blobs[i].data(), stored.blobs[i].size()});
  stored.items = TItemSet(std::move(items));
  return stored;
}

TEST(TimetableLoad, EachStepSetsItsCurrentIndex) {
  const TStoredItems stored = MakeItems(PinyinText(), ListText(), GroupText(), StopText());
  TTimetable t;
  LoadTimetable(stored.items, t);
  EXPECT_EQ(t.KMPy.IndexName(), "");
  EXPECT_EQ(t.KMList.IndexName(), "SID");
  EXPECT_EQ(t.KMSM.IndexName(), "SStation");
  EXPECT_EQ(t.KMTrain.IndexName(), "SIDNo");
  t.KMPy.First();
  EXPECT_EQ(t.KMPy.FieldByName("Station").AsString(), "北京西");  // text order kept
  t.KMList.First();
  EXPECT_EQ(t.KMList.FieldByName("ID").AsString(), "D1");
  t.KMSM.First();
  EXPECT_EQ(t.KMSM.FieldByName("Station").AsString(), "北京");
  ASSERT_TRUE(t.KMTrain.Locate("ID", "Z1"));
  EXPECT_EQ(t.KMTrain.FieldByName("Station").AsString(), "北京");
}

TEST(TimetableLoad, FailedStepThrowsAndLeavesItsTableEmpty) {
  TStoredItems stored = MakeItems(PinyinText(), ListText(), GroupText(), StopText() + "\"Z1\",\r\n");
  TTimetable t;
  LoadPinyinTable(stored.items, t.KMPy);
  EXPECT_THROW(LoadStopTable(stored.items, t.KMTrain), ETableFormatError);
  EXPECT_EQ(t.KMTrain.RecordCount(), 0);
  EXPECT_EQ(t.KMPy.RecordCount(), 2);  // the other steps are not touched

  // A stop listed twice under the unique SIDNo index.
  const TStoredItems twice = MakeItems(PinyinText(), ListText(), GroupText(),
                                       StopText() + Row({"Z1", "天津", "2", "", "", "", "", "", "", "", ""}));
  t.KMTrain.LoadFromText(StopText());
  EXPECT_THROW(LoadStopTable(twice.items, t.KMTrain), ETableError);
  EXPECT_EQ(t.KMTrain.RecordCount(), 0);
  EXPECT_EQ(t.KMTrain.ColumnCount(), 0);

  stored.blobs[2].back() ^= 0xFF;  // damage the checksum of SM
  EXPECT_THROW(LoadGroupTable(stored.items, t.KMSM), EItemError);
  EXPECT_THROW(LoadTrainList(TItemSet(), t.KMList), EItemError);
}

// The stop table loads beside the other three; whatever is damaged, a load
// fails as one in the loaders' order would: with the first damaged table's
// error, the tables before it loaded, the stop table empty once its step was
// reached and untouched before that, and the old index kept.
TEST(TimetableLoad, WholeLoadFailsAsTheLoadersInTurnWould) {
  const std::string badRow = "\"Z1\",\r\n";
  const std::string farStop = Row({"Z1", "天津", "3", "", "", "", "30000", "", "", "", ""});
  const std::string twice = Row({"Z1", "天津", "2", "", "", "", "", "", "", "", ""});
  struct Case {
    const char* name;
    std::string spy, slist, sm, strain;
    int failedStep;  // 0 SPY .. 3 STrain
    const char* message;
  } cases[] = {
      {"pinyin and stops damaged", PinyinText() + badRow, ListText(), GroupText(), StopText() + badRow, 0,
       "for 2 columns"},
      {"group table and stops damaged", PinyinText(), ListText(), GroupText() + badRow, StopText() + farStop, 2,
       "for 2 columns"},
      {"a stop out of range and one twice", PinyinText(), ListText(), GroupText(), StopText() + twice + farStop, 3,
       "30000"},
      {"a stop twice", PinyinText(), ListText(), GroupText(), StopText() + twice, 3, "has a key twice"},
      {"stops cut short", PinyinText(), ListText(), GroupText(), StopText() + badRow, 3, "for 11 columns"},
  };
  for (const Case& c : cases) {
    for (const bool fromItems : {true, false}) {
      const TStoredItems stored = MakeItems(c.spy, c.slist, c.sm, c.strain);
      TTimetable t;
      t.KMTrain.LoadFromText(StopText() + Row({"K9", "上海", "1", "", "", "", "", "", "", "", ""}));
      t.Index.ListTrain = std::vector<std::int32_t>{7};  // stands for the index of an earlier load
      std::string message;
      try {
        if (fromItems)
          LoadTimetable(stored.items, t);
        else
          LoadTimetableFromTexts({c.spy, c.slist, c.sm, c.strain}, t);
      } catch (const EVormekError& e) {
        message = e.what();
      }
      SCOPED_TRACE(std::string(c.name) + (fromItems ? ", from items" : ", from texts"));
      EXPECT_NE(message.find(c.message), std::string::npos) << "[" << message << "]";
      // A stop text that does not read is named beside the table that failed
      // first.
      if (c.failedStep == 0) {
        EXPECT_NE(message.find(fromItems ? "; STrain: " : "; STRAIN.txt: "), std::string::npos) << message;
      }
      const TMemTable* tables[] = {&t.KMPy, &t.KMList, &t.KMSM};
      for (int step = 0; step < 3; ++step)
        EXPECT_EQ(tables[step]->RecordCount() > 0, step < c.failedStep) << "step " << step;
      EXPECT_EQ(t.KMTrain.RecordCount(), c.failedStep == 3 ? 0 : 5);
      EXPECT_EQ(std::vector<std::int32_t>(t.Index.ListTrain.begin(), t.Index.ListTrain.end()),
                std::vector<std::int32_t>{7});
    }
  }
}

TEST(TimetableLoad, FromFolderReadsTheFourFiles) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "vormek_timetable_load_test";
  std::filesystem::create_directories(dir);
  auto write = [&dir](const char* name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  };
  write("SPY.txt", PinyinText());
  write("SLIST.txt", ListText());
  write("SM.txt", GroupText());
  std::filesystem::remove(dir / "STRAIN.txt");
  TTimetable t;
  EXPECT_THROW(LoadTimetableFromDirectory(dir, t), ETimetableSourceError);
  EXPECT_EQ(t.KMPy.RecordCount(), 0) << "nothing is loaded before every file is read";
  write("STRAIN.txt", StopText());
  LoadTimetableFromDirectory(dir, t);
  EXPECT_EQ(t.KMTrain.RecordCount(), 4);
  EXPECT_EQ(t.KMTrain.IndexName(), "SIDNo");
  std::filesystem::remove_all(dir);
}

// The national 2019 tables, when the shared folder is present.
class NationalTimetable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
    if (!std::filesystem::exists(dir / "STRAIN.txt")) return;
    timetable_ = new TTimetable;
    LoadTimetableFromDirectory(dir, *timetable_);
  }
  static void TearDownTestSuite() {
    delete timetable_;
    timetable_ = nullptr;
  }
  void SetUp() override {
    if (timetable_ == nullptr) GTEST_SKIP() << "national tables not present";
  }
  static TTimetable* timetable_;
};

TTimetable* NationalTimetable::timetable_ = nullptr;

TEST_F(NationalTimetable, RowCountsAndColumns) {
  TTimetable& t = *timetable_;
  EXPECT_EQ(t.KMList.RecordCount(), 7342);
  EXPECT_EQ(t.KMTrain.RecordCount(), 66958);
  EXPECT_EQ(t.KMSM.RecordCount(), 369);
  EXPECT_EQ(t.KMPy.RecordCount(), 4012);
  EXPECT_EQ(t.KMList.ColumnCount(), 12);
  EXPECT_EQ(t.KMTrain.ColumnCount(), 11);
  EXPECT_EQ(t.KMSM.ColumnCount(), 2);
  EXPECT_EQ(t.KMPy.ColumnCount(), 2);
  EXPECT_EQ(t.KMList.FieldByName("startStation").FieldName(), "StartStation");
  EXPECT_EQ(t.KMPy.Indexes()[0].columns, std::vector<int>{t.KMPy.FieldByName("Shortcode").Column()});
}

TEST_F(NationalTimetable, StopsOfEveryTrainAreTogetherAndNumberedFromOne) {
  TTimetable& t = *timetable_;
  const TField id = t.KMTrain.FieldByName("ID");
  const TField no = t.KMTrain.FieldByName("S_No");
  const TField arrive = t.KMTrain.FieldByName("A_Time");
  std::string previous;
  int expected = 1;
  int trains = 0;
  int broken = 0;
  for (t.KMTrain.First(); !t.KMTrain.Eof(); t.KMTrain.Next()) {
    if (id.AsString() != previous) {
      previous = std::string(id.AsString());
      expected = 1;
      ++trains;
      if (!t.KMList.Locate("ID", previous)) ++broken;
      if (!arrive.AsString().empty()) ++broken;
    }
    if (no.AsInteger() != expected++) ++broken;
  }
  EXPECT_EQ(broken, 0);
  EXPECT_EQ(trains, t.KMList.RecordCount());
}

TEST_F(NationalTimetable, LocateFindsTrainsStationsAndFirstStops) {
  TTimetable& t = *timetable_;
  ASSERT_TRUE(t.KMList.Locate("ID", "D5221/D5224/D5253"));
  ASSERT_TRUE(t.KMTrain.Locate("ID", "1133"));
  EXPECT_EQ(t.KMTrain.FieldByName("S_No").AsInteger(), 1);
  EXPECT_EQ(t.KMTrain.FieldByName("Station").AsString(), "北京西");
  EXPECT_EQ(t.KMTrain.FieldByName("R_Date").AsString(), "0");
  EXPECT_FALSE(t.KMList.Locate("ID", "1133 "));
  // The Beijing group: 北京, 北京东, 北京南, 北京西 share one number.
  ASSERT_TRUE(t.KMSM.Locate("Station", "北京"));
  const std::int32_t group = t.KMSM.FieldByName("Gp").AsInteger();
  int members = 0;
  for (t.KMSM.First(); !t.KMSM.Eof(); t.KMSM.Next())
    if (t.KMSM.FieldByName("Gp").AsInteger() == group) ++members;
  EXPECT_EQ(members, 4);
  ASSERT_TRUE(t.KMPy.Locate("Station", "阿拉山口"));
  EXPECT_EQ(t.KMPy.FieldByName("Shortcode").AsString(), "ALSK");
}

TEST_F(NationalTimetable, EveryValueSurvivesTheTripThroughUtf8) {
  TTimetable& t = *timetable_;
  int lost = 0;
  for (TMemTable* table : {&t.KMList, &t.KMTrain, &t.KMSM, &t.KMPy}) {
    for (int p = 0; p < table->RecordCount(); ++p) {
      for (int c = 0; c < table->ColumnCount(); ++c) {
        const std::string_view v = table->ValueAt(p, c);
        if (Utf8ToGbk(GbkToUtf8(v)) != std::optional<std::string>(std::string(v))) ++lost;
      }
    }
  }
  EXPECT_EQ(lost, 0);
}

}  // namespace
}  // namespace vormek
