// A timetable image opens as the very tables and index it was written from,
// and no damaged image is let in or read outside its bytes.
#include "data/timetable_image.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "data/errors.h"
#include "data/table_text_folder.h"
#include "query/direct_and_station_fixture.h"
#include "support/table_text.h"
#include "support/timetable_compare.h"
#include "support/timetable_walk.h"

namespace vormek {
namespace {

// A copy of the bytes on a 16-byte boundary, as a mapping would give them.
std::shared_ptr<std::byte> Aligned(const std::string& bytes, std::size_t offset = 0) {
  const std::size_t room = (bytes.size() + offset + 15) / 16 * 16 + 16;
  auto* raw = static_cast<std::byte*>(std::aligned_alloc(16, room));
  std::memcpy(raw + offset, bytes.data(), bytes.size());
  return {raw, [](std::byte* p) { std::free(p); }};
}

std::span<const std::byte> Span(const std::shared_ptr<std::byte>& bytes, std::size_t size, std::size_t offset = 0) {
  return {bytes.get() + offset, size};
}

TTimetable FixtureTimetable() {
  TTimetable tt;
  fixture::Load(fixture::NorthWestTables(), tt);
  // A current order that is not the text order, so that an order array is
  // carried too; and a cursor somewhere in the middle.
  tt.KMPy.SetIndexName("PyIndex");
  tt.KMTrain.Locate("Station", "宝鸡");
  return tt;
}

// A whole timetable is opened as one from disk; tables no load could give
// (some empty, a single one) only as one built into the program, which is
// trusted, and are refused as one from disk.
void ExpectRoundTrip(const TTimetable& tt, TImageChecksum checksum = TImageChecksum::Verify) {
  const std::string image = WriteTimetableImage(tt, "stamp: the test's tables");
  const auto bytes = Aligned(image);
  EXPECT_EQ(TimetableImageStamp(Span(bytes, image.size())), "stamp: the test's tables");
  TTimetable opened;
  if (checksum == TImageChecksum::Skip) {
    EXPECT_THROW(OpenTimetableImage(Span(bytes, image.size()), bytes, TImageChecksum::Verify, opened), EItemError);
  }
  OpenTimetableImage(Span(bytes, image.size()), bytes, checksum, opened);
  testing::ExpectSameTimetable(tt, opened);
  EXPECT_EQ(IndexMatches(opened), IndexMatches(tt));
  // The opened tables keep the image alive, and move with it.
  const TTimetable moved = std::move(opened);
  EXPECT_EQ(testing::ReadEverything(moved), testing::ReadEverything(tt));
}

TEST(TimetableImage, OpensAsTheTablesItWasWrittenFrom) {
  {
    SCOPED_TRACE("the north-west fixture");
    ExpectRoundTrip(FixtureTimetable());
  }
  {
    SCOPED_TRACE("empty tables and no index");
    ExpectRoundTrip(TTimetable(), TImageChecksum::Skip);
  }
  const std::filesystem::path national = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (std::filesystem::exists(national / "STRAIN.txt")) {
    SCOPED_TRACE("the national tables");
    TTimetable tt;
    LoadTimetableFromDirectory(national, tt);
    ExpectRoundTrip(tt);
  }
}

TEST(TimetableImage, AnImageOfAnotherKindOrCutShortIsRefused) {
  const std::string image = WriteTimetableImage(FixtureTimetable(), "");
  auto refused = [](std::string bytes, std::size_t size, std::size_t offset = 0) {
    const auto aligned = Aligned(bytes, offset);
    TTimetable tt;
    tt.KMSM.LoadFromText(fixture::GroupText({{"北京", 1}}));
    try {
      OpenTimetableImage(Span(aligned, size, offset), nullptr, TImageChecksum::Verify, tt);
    } catch (const EItemError& e) {
      EXPECT_EQ(tt.KMSM.RecordCount(), 1) << "a refused image leaves the tables as they were";
      return std::string(e.what());
    }
    return std::string("opened");
  };
  for (std::size_t size = 0; size < image.size(); size += 1 + size / 16)
    EXPECT_NE(refused(image, size), "opened") << "cut to " << size;
  EXPECT_NE(refused(image, image.size(), 8).find("not aligned"), std::string::npos);
  const struct {
    std::size_t at;
    const char* why;
  } header[] = {{0, "not a timetable image"}, {8, "another format"},  {16, "another kind of machine"},
                {24, "not as long"},          {40, "another format"}, {200, "checksum"}};
  for (const auto& h : header) {
    std::string damaged = image;
    damaged[h.at] ^= 0x10;
    EXPECT_NE(refused(damaged, damaged.size()).find(h.why), std::string::npos) << "byte " << h.at;
  }
}

// The queries add and subtract stop numbers and distances as they stand. An
// image carries them apart from the texts a load checked, so one from disk
// whose numbers a load would refuse (written here from tables loaded without
// the range checks) is refused, though its checksum matches. One built into
// the program is trusted to come from loaded tables.
TEST(TimetableImage, NumbersALoadWouldRefuseAreRefused) {
  const struct {
    const char* what;
    std::function<void(fixture::Tables&)> change;
    bool listOnly;    // only the train list is loaded from the changed tables
    const char* why;  // empty: the image opens
  } cases[] = {
      {"sane tables", [](fixture::Tables&) {}, false, ""},
      {"a stop two thousand million km before the origin",
       [](fixture::Tables& t) { t.trains[0].stops[1].km = INT32_MIN + 2187; }, false, "outside 0..20000"},
      {"a stop past 20000 km", [](fixture::Tables& t) { t.trains[1].stops.back().km = 20001; }, false,
       "outside 0..20000"},
      {"a train list distance past 20000 km, the stops sane",
       [](fixture::Tables& t) { t.trains[2].stops.back().km = 20001; }, true, "outside 0..20000"},
      {"a thousandth stop",
       [](fixture::Tables& t) {
         std::vector<fixture::Stop>& stops = t.trains[0].stops;
         while (stops.size() < 1000) stops.insert(stops.end() - 1, fixture::Stop(stops[stops.size() - 2]));
       },
       false, "S_No \"1000\" outside 1..999"},
      // Forged texts that would print as a negative section, a clock that
      // is none, a negative journey time or fare.
      {"a stop 35 km before the stop before",
       [](fixture::Tables& t) { t.trains[0].stops[3].km = t.trains[0].stops[2].km - 35; }, false, "less than the"},
      {"an arrival at 99:99", [](fixture::Tables& t) { t.trains[0].stops[1].a = "99:99"; }, false,
       "A_Time \"99:99\" is not a clock time"},
      {"a departure at ab:cd", [](fixture::Tables& t) { t.trains[1].stops[0].d = "ab:cd"; }, false,
       "\"ab:cd\" is not a clock time"},
      {"a journey of -08:51", [](fixture::Tables& t) { t.trains[0].stops.back().r = "-08:51"; }, false,
       "is not an elapsed time"},
      {"a fare of -9", [](fixture::Tables& t) { t.trains[0].stops.back().p1 = "-9"; }, false, "is not a fare"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fixture::Tables changed = fixture::NorthWestTables();
    c.change(changed);
    TTimetable written;
    fixture::Load(c.listOnly ? fixture::NorthWestTables() : changed, written);
    if (c.listOnly) {
      written.KMList.LoadFromText(fixture::ListText(changed.trains));
      written.KMList.SetIndexName("SID");
      written.Index = BuildTimetableIndex(written);
    }
    const std::string image = WriteTimetableImage(written, "");
    const auto bytes = Aligned(image);
    TTimetable tt;
    std::string refusal;
    try {
      OpenTimetableImage(Span(bytes, image.size()), bytes, TImageChecksum::Verify, tt);
    } catch (const EItemError& e) {
      refusal = e.what();
    }
    if (std::string(c.why).empty())
      EXPECT_EQ(refusal, "");
    else
      EXPECT_NE(refusal.find(c.why), std::string::npos) << refusal;
    EXPECT_NO_THROW(OpenTimetableImage(Span(bytes, image.size()), bytes, TImageChecksum::Skip, tt));
  }
}

// Any byte of an image changed and its checksum made to match again: the
// image is refused or, where the change lies in a value's text or keeps every
// position in range, opens; reading everything it holds then stays inside it
// (a sanitized build checks that).
TEST(TimetableImage, NoChangedByteMakesAReadGoAstray) {
  const std::string image = WriteTimetableImage(FixtureTimetable(), "");
  std::mt19937 random(2012);
  int opened = 0;
  int refused = 0;
  for (std::size_t at = 48; at < image.size(); ++at) {
    for (const unsigned flip : {1u, 0x80u, static_cast<unsigned>(1 + random() % 255)}) {
      std::string damaged = image;
      damaged[at] = static_cast<char>(damaged[at] ^ flip);
      const auto bytes = Aligned(damaged);
      TTimetable tt;
      try {
        OpenTimetableImage(Span(bytes, damaged.size()), bytes, TImageChecksum::Skip, tt);
      } catch (const EItemError&) {
        ++refused;
        continue;
      }
      ++opened;
      try {
        testing::ReadEverything(tt);
      } catch (const ETableError&) {
        // A bounds-checked read may refuse; it must not stray.
      }
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(opened, 0);
}

// The table as a text of format "251", as a folder would hold it.
std::string TextOf(const TMemTable& t) {
  static const char* const kTypes[] = {"WideString", "SmallInt", "Integer"};
  std::string columns;
  std::vector<std::string> header;
  for (const TColumnDef& c : t.Columns()) {
    columns += testing::ColumnDef(c.name, kTypes[static_cast<int>(c.type)], c.size, c.size == 0 ? 10 : c.size);
    header.push_back(c.name);
  }
  std::string indexes;
  for (const TIndexDef& index : t.Indexes()) {
    std::string names;
    for (const int c : index.columns)
      names += (names.empty() ? "" : ";") + t.Columns()[static_cast<std::size_t>(c)].name;
    indexes += testing::IndexDef(index.name, names, index.unique);
  }
  std::string text = testing::Preamble(columns, indexes) + testing::Row(header);
  for (int r = 0; r < t.RecordCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < t.ColumnCount(); ++c) row.emplace_back(t.ValueOfRecord(r, c));
    text += testing::Row(row);
  }
  return text;
}

// Whatever an image from disk holds, its checksum made to match: it is
// refused, or its tables are ones a folder of texts could hold, so that a
// query prints nothing a load of the texts could not have printed (no
// negative section, no "99:99", no broken character). Every byte of the
// tables changed in turn, written back as texts and loaded with every check.
TEST(TimetableImage, AForgedImageShowsOnlyWhatTextsCouldHold) {
  const std::string image = WriteTimetableImage(FixtureTimetable(), "");
  std::mt19937 random(2012);
  int opened = 0;
  int refused = 0;
  for (std::size_t at = 48; at < image.size(); ++at) {
    std::string forged = image;
    forged[at] = static_cast<char>(forged[at] ^ static_cast<char>(1 + random() % 255));
    const std::uint64_t resealed = libdeflate_crc32(0, forged.data() + 48, forged.size() - 48);
    std::memcpy(forged.data() + 32, &resealed, sizeof resealed);
    const auto bytes = Aligned(forged);
    TTimetable tt;
    try {
      OpenTimetableImage(Span(bytes, forged.size()), bytes, TImageChecksum::Verify, tt);
    } catch (const EItemError&) {
      ++refused;
      continue;
    }
    ++opened;
    TTimetable texts;
    try {
      LoadTimetableFromTexts({TextOf(tt.KMPy), TextOf(tt.KMList), TextOf(tt.KMSM), TextOf(tt.KMTrain)}, texts);
    } catch (const EVormekError& e) {
      ADD_FAILURE() << "byte " << at << " changed: the image opens, but its tables as texts do not load: " << e.what();
      continue;
    }
    for (const auto& [loaded, held] : {std::pair{&texts.KMList, &tt.KMList}, std::pair{&texts.KMTrain, &tt.KMTrain},
                                       std::pair{&texts.KMSM, &tt.KMSM}, std::pair{&texts.KMPy, &tt.KMPy}})
      EXPECT_EQ(TextOf(*loaded), TextOf(*held)) << "byte " << at;
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(opened, 0);
}

// A table with a record whose values take more than 255 bytes (kept apart,
// in the wide arrays) and a current order that is a permutation: every byte
// changed in turn, each check of those arrays catches a damage of its own,
// and nothing a changed image holds is read outside it.
TEST(TimetableImage, DamagedWideRecordsAndOrdersAreRefused) {
  TTimetable tt;
  tt.KMPy.LoadFromText(testing::Preamble(testing::ColumnDef("Station", "WideString", 20, 20) +
                                             testing::ColumnDef("Shortcode", "WideString", 10, 10) +
                                             testing::ColumnDef("Note", "WideString", 400, 400),
                                         testing::IndexDef("PyIndex", "Shortcode", false)) +
                       testing::Row({"Station", "Shortcode", "Note"}) + testing::Row({"西安", "XA", ""}) +
                       testing::Row({"宝鸡", "BJ", std::string(300, 'n')}) + testing::Row({"北京", "BJP", "n"}));
  tt.KMPy.SetIndexName("PyIndex");
  ExpectRoundTrip(tt, TImageChecksum::Skip);
  const std::string image = WriteTimetableImage(tt, "");
  std::set<std::string> reasons;
  for (std::size_t at = 48; at < image.size(); ++at) {
    for (const unsigned flip : {1u, 2u, 0x80u}) {
      std::string damaged = image;
      damaged[at] = static_cast<char>(damaged[at] ^ flip);
      const auto bytes = Aligned(damaged);
      TTimetable opened;
      try {
        OpenTimetableImage(Span(bytes, damaged.size()), bytes, TImageChecksum::Skip, opened);
      } catch (const EItemError& e) {
        reasons.insert(e.what());
        continue;
      }
      try {
        testing::ReadEverything(opened);
      } catch (const ETableError&) {
      }
    }
  }
  for (const char* check : {"a record names a missing wide record", "a value lies outside the table text",
                            "a table's order does not name each record once", "a record's values overlap"}) {
    bool seen = false;
    for (const std::string& reason : reasons) seen = seen || reason.find(check) != std::string::npos;
    EXPECT_TRUE(seen) << "no damage was refused with \"" << check << "\"";
  }
}

}  // namespace
}  // namespace vormek
