// A folder's kept image is used exactly while the folder's four files are the
// ones it was made from; a stale, damaged or unwritable cache is passed over
// and the tables come from the texts, the same as without a cache.
#include "data/timetable_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/table_text_folder.h"
#include "data/timetable_source.h"
#include "query/direct_and_station_fixture.h"
#include "support/table_text.h"
#include "support/timetable_compare.h"
#include "support/timetable_walk.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;

class TimetableCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vormek-cache-test-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(tables_);
    const fixture::Tables t = fixture::NorthWestTables();
    Write("SPY.txt", fixture::PinyinText({{"西安", "XA"}, {"宝鸡", "BJ"}, {"北京", "BJP"}}));
    Write("SLIST.txt", fixture::ListText(t.trains));
    Write("SM.txt", fixture::GroupText(t.groups));
    Write("STRAIN.txt", fixture::StopText(t.trains));
  }
  void TearDown() override { fs::remove_all(root_); }

  // Written a while ago, all at one time, unless told otherwise: a file that has just changed
  // may change again within its time stamp, and is never kept.
  void Write(const std::string& name, const std::string& text, bool settled = true) {
    std::ofstream(tables_ / name, std::ios::binary | std::ios::trunc) << text;
    if (!settled) return;
    const struct timespec aMinuteAgo = {aMinuteBeforeSetUp_, 0};
    const struct timespec times[2] = {aMinuteAgo, aMinuteAgo};
    ASSERT_EQ(::utimensat(AT_FDCWD, (tables_ / name).c_str(), times, 0), 0);
  }
  // ctime cannot be set back; the files' change times must age instead.
  static void LetChangesSettle() { ::sleep(2); }

  TCacheUse Load(TTimetable& tt, const fs::path& cache) {
    TCacheUse use = TCacheUse::Passed;
    tt = LoadTimetableFolder(tables_, cache, &use).Take();
    return use;
  }

  void ExpectAsFromTheTexts(const TTimetable& tt) {
    TTimetable texts;
    LoadTimetableFromDirectory(tables_, texts);
    testing::ExpectSameTimetable(texts, tt);
  }

  const std::time_t aMinuteBeforeSetUp_ = std::time(nullptr) - 60;
  fs::path root_;
  fs::path tables_ = fs::temp_directory_path() / ("vormek-cache-test-" + std::to_string(::getpid())) / "tables";
  fs::path cache_ = fs::temp_directory_path() / ("vormek-cache-test-" + std::to_string(::getpid())) / "cache";
};

TEST_F(TimetableCacheTest, TheImageServesWhileTheFilesAreTheSameAndIsMadeAgainWhenNot) {
  // Images of nine other folders, and parts left by writers that died: the
  // newest eight images stay, and parts go once an hour old.
  fs::create_directories(cache_);
  auto writeAged = [this](const std::string& name, std::time_t age) {
    std::ofstream(cache_ / name) << "x";
    const struct timespec then = {std::time(nullptr) - age, 0};
    const struct timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, (cache_ / name).c_str(), times, 0), 0);
  };
  for (int i = 0; i < 9; ++i) writeAged("tables-" + std::to_string(i) + ".image", 100 + i);
  writeAged("tables-0.image.77.part", 7200);
  writeAged("tables-1.image.78.part", 60);
  LetChangesSettle();
  {
    TTimetable tt;
    EXPECT_EQ(Load(tt, cache_), TCacheUse::Written);
    ExpectAsFromTheTexts(tt);
  }
  for (const char* gone : {"tables-7.image", "tables-8.image", "tables-0.image.77.part"})
    EXPECT_FALSE(fs::exists(cache_ / gone)) << gone;
  for (const char* kept : {"tables-0.image", "tables-6.image", "tables-1.image.78.part"})
    EXPECT_TRUE(fs::exists(cache_ / kept)) << kept;
  for (const char* dummy : {"tables-0.image", "tables-1.image", "tables-2.image", "tables-3.image", "tables-4.image",
                            "tables-5.image", "tables-6.image", "tables-1.image.78.part"})
    fs::remove(cache_ / dummy);
  TTimetable kept;
  EXPECT_EQ(Load(kept, cache_), TCacheUse::Opened);
  ExpectAsFromTheTexts(kept);
  TTimetable before;
  LoadTimetableFromDirectory(tables_, before);

  // The same size, an older time stamp: only the inode's change time tells.
  std::string stops = fixture::StopText(fixture::NorthWestTables().trains);
  stops.replace(stops.find("23:34"), 5, "23:35");
  Write("STRAIN.txt", stops);
  LetChangesSettle();
  {
    TTimetable tt;
    EXPECT_EQ(Load(tt, cache_), TCacheUse::Written);
    ExpectAsFromTheTexts(tt);
  }
  // The image opened before still reads as it did: it was replaced, not
  // written over.
  testing::ExpectSameTimetable(before, kept);

  // A damaged image is passed over and made again.
  const fs::path image = *fs::directory_iterator(cache_);
  {
    std::fstream f(image, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(fs::file_size(image) / 2));
    f.put('\x5a');
  }
  TTimetable again;
  EXPECT_EQ(Load(again, cache_), TCacheUse::Written);
  ExpectAsFromTheTexts(again);
  EXPECT_EQ(Load(again, cache_), TCacheUse::Opened);
}

TEST_F(TimetableCacheTest, NothingIsKeptOfFilesJustChangedOrWhereNothingCanBeWritten) {
  Write("SM.txt", fixture::GroupText({{"北京", 1}}), false);
  TTimetable tt;
  EXPECT_EQ(Load(tt, cache_), TCacheUse::Passed);
  ExpectAsFromTheTexts(tt);
  EXPECT_FALSE(fs::exists(cache_));

  LetChangesSettle();
  std::ofstream(root_ / "a file") << "where the cache folder should be";
  EXPECT_EQ(Load(tt, root_ / "a file"), TCacheUse::Passed);
  ExpectAsFromTheTexts(tt);
  EXPECT_EQ(Load(tt, fs::path()), TCacheUse::Passed);

  // A folder that does not load fails as it does without a cache.
  fs::remove(tables_ / "SM.txt");
  EXPECT_THROW(Load(tt, cache_), ETimetableSourceError);
}

// Real folders hold tables of megabytes, whose arrays go to the image file
// straight from where they lie instead of through the gathering buffer: the
// image so written opens as the tables it was written from.
TEST_F(TimetableCacheTest, AnImageOfLargeTablesIsWrittenWhole) {
  std::string stops = testing::StopTablePreamble();
  std::string list = testing::TrainListPreamble();
  for (int train = 0; train < 3000; ++train) {
    const std::string id = "K" + std::to_string(train);
    stops += testing::Row({id, "西安", "1", "", "06:00", "0", "0", "", "", "", ""}) +
             testing::Row({id, "宝鸡", "2", "08:00", "", "2:0", "173", "27", "-", "63/66/69", "93/97"});
    list += testing::Row({id, "6", "西安", "宝鸡", "06:00", "08:00", "2:0", "173", "27", "-", "63/66/69", "93/97"});
  }
  ASSERT_GT(stops.size(), std::size_t{4} << 16) << "the stop table's text alone must pass the gathering size";
  Write("STRAIN.txt", stops);
  Write("SLIST.txt", list);
  LetChangesSettle();
  TTimetable written;
  ASSERT_EQ(Load(written, cache_), TCacheUse::Written);
  TTimetable opened;
  ASSERT_EQ(Load(opened, cache_), TCacheUse::Opened);
  ExpectAsFromTheTexts(opened);
  EXPECT_EQ(opened.KMTrain.RecordCount(), 6000);
}

// An image kept of a folder serves only while the files are those it was
// made from: a file that no longer loads is refused, naming it, although an
// image of the folder is there.
TEST_F(TimetableCacheTest, AKeptImageNeverStandsForFilesThatDoNotLoad) {
  LetChangesSettle();
  TTimetable tt;
  EXPECT_EQ(Load(tt, cache_), TCacheUse::Written);
  Write("SPY.txt", fixture::PinyinText({}));
  LetChangesSettle();
  const TTimetableLoad load = LoadTimetableFolder(tables_, cache_);
  ASSERT_FALSE(load.Ok());
  EXPECT_EQ(load.Error().File(), "SPY.txt");
  EXPECT_EQ(load.Error().Reason(), "no records");
}

// Only a cache folder and images of this user's own, that nobody else may
// write, are used, as ssh treats its files: another user could otherwise
// plant an edited image with its checksum made to match. The folder is made
// for this user alone.
TEST_F(TimetableCacheTest, ACacheOthersCouldWriteIsNeitherReadNorWritten) {
  LetChangesSettle();
  TTimetable tt;
  EXPECT_EQ(Load(tt, cache_), TCacheUse::Written);
  EXPECT_EQ(fs::status(cache_).permissions() & fs::perms::all, fs::perms::owner_all);
  const fs::path image = *fs::directory_iterator(cache_);
  EXPECT_EQ(fs::status(image).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  // An image others may write is passed over, and one of this user's own
  // takes its place.
  fs::permissions(image, fs::perms::others_write, fs::perm_options::add);
  EXPECT_EQ(Load(tt, cache_), TCacheUse::Written);
  ExpectAsFromTheTexts(tt);
  EXPECT_EQ(Load(tt, cache_), TCacheUse::Opened);

  // A folder others may write is neither read nor written, and the user
  // hears why.
  auto loadDistrusted = [&](const std::string& why) {
    TCacheUse use = TCacheUse::Opened;
    std::string distrust;
    tt = LoadTimetableFolder(tables_, cache_, &use, TImageHold::Map, &distrust).Take();
    EXPECT_EQ(use, TCacheUse::Distrusted);
    EXPECT_NE(distrust.find(why), std::string::npos) << distrust;
    ExpectAsFromTheTexts(tt);
  };
  fs::permissions(cache_, fs::perms::group_write, fs::perm_options::add);
  loadDistrusted("may be written by other users");
  fs::remove(image);
  loadDistrusted("may be written by other users");
  EXPECT_TRUE(fs::is_empty(cache_));

  // A folder another user owns (only the superuser can hand one over).
  fs::permissions(cache_, fs::perms::owner_all, fs::perm_options::replace);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(cache_.c_str(), 65534, 65534), 0);
    loadDistrusted("belongs to another user");
    EXPECT_TRUE(fs::is_empty(cache_));
  }
}

// A window holds a copy of its own of a kept image: another program cutting
// the file short cannot pull the tables from under it, as it would from a
// mapping (SIGBUS).
TEST_F(TimetableCacheTest, ACopiedImageOutlivesItsFileCutShort) {
  LetChangesSettle();
  TTimetable tt;
  ASSERT_EQ(Load(tt, cache_), TCacheUse::Written);
  TCacheUse use = TCacheUse::Passed;
  tt = LoadTimetableFolder(tables_, cache_, &use, TImageHold::Copy).Take();
  ASSERT_EQ(use, TCacheUse::Opened);
  ASSERT_EQ(::truncate(fs::directory_iterator(cache_)->path().c_str(), 0), 0);
  EXPECT_GT(testing::ReadEverything(tt), 0u);
  ExpectAsFromTheTexts(tt);
}

// The part being written has a name nobody can guess or take first: a link
// planted where a part could be expected leaves its target alone and goes.
// Old images go once the cache holds more than a gigabyte.
TEST_F(TimetableCacheTest, PlantedPartsAndBytesBeyondTheCapGo) {
  LetChangesSettle();
  TTimetable tt;
  ASSERT_EQ(Load(tt, cache_), TCacheUse::Written);
  const fs::path image = *fs::directory_iterator(cache_);
  fs::remove(image);
  std::ofstream(root_ / "victim") << "mine";
  for (const std::string& part :
       {image.string() + "." + std::to_string(::getpid()) + ".part", image.string() + ".planted.part"})
    fs::create_symlink(root_ / "victim", part);
  // Two old images of 600 MB (sparse: no disk is taken).
  for (const auto& [name, age] : {std::pair{"tables-a.image", 100}, std::pair{"tables-b.image", 200}}) {
    std::ofstream(cache_ / name) << "x";
    ASSERT_EQ(::truncate((cache_ / name).c_str(), off_t{600} << 20), 0);
    const struct timespec then = {std::time(nullptr) - age, 0};
    const struct timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, (cache_ / name).c_str(), times, 0), 0);
  }
  ASSERT_EQ(Load(tt, cache_), TCacheUse::Written);
  std::ifstream victim(root_ / "victim");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "mine");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(cache_)) left.push_back(entry.path().filename().string());
  std::vector<std::string> kept = {image.filename().string(), "tables-a.image"};
  std::sort(left.begin(), left.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(left, kept);
}

}  // namespace
}  // namespace vormek
