// The two loader threads, without any window: order of the announcements,
// silent failures, and closing while they still run. Also built under the
// thread sanitizer.
#include "data/table_loaders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/test_timetable.h"

namespace vormek {
namespace {

std::string Same(std::string text) { return text; }

// Records the announcements in order and lets a test wait for them.
class TRecorder {
 public:
  TLoaderCallbacks Callbacks() {
    TLoaderCallbacks c;
    c.PinyinLoaded = [this] { Note("pinyin"); };
    c.GroupTableLoaded = [this] { Note("group"); };
    c.StopTableLoaded = [this] { Note("stop"); };
    c.AllLoaded = [this] { Note("all"); };
    return c;
  }
  std::vector<std::string> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }
  int Count(const std::string& what) {
    int n = 0;
    for (const std::string& e : Events()) n += e == what ? 1 : 0;
    return n;
  }

 private:
  void Note(const char* what) {
    std::lock_guard lock(mutex_);
    events_.emplace_back(what);
  }
  std::mutex mutex_;
  std::vector<std::string> events_;
};

int IndexOf(const std::vector<std::string>& events, const std::string& what) {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i] == what) return static_cast<int>(i);
  return -1;
}

TEST(LoaderThreads, LoadAllTablesAndAnnounceEachOnceInOrder) {
  const test::TTestItems items = test::TinyTimetableItems(Same);
  for (int run = 0; run < 10; ++run) {
    TRecorder recorder;
    TTableLoaders loaders(items.Items(), recorder.Callbacks());
    loaders.Wait();
    const std::vector<std::string> events = recorder.Events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_LT(IndexOf(events, "pinyin"), IndexOf(events, "group"));
    // Queries may run only once every table is in, whichever thread ends last.
    EXPECT_EQ(events.back(), "all");
    EXPECT_TRUE(loaders.PinyinLoaded());
    EXPECT_TRUE(loaders.GroupTableLoaded());
    EXPECT_TRUE(loaders.StopTableLoaded());
    EXPECT_TRUE(loaders.AllLoaded());
    EXPECT_EQ(loaders.Tables().KMPy.RecordCount(), 11);
    EXPECT_EQ(loaders.Tables().KMList.RecordCount(), 5);
    EXPECT_EQ(loaders.Tables().KMSM.RecordCount(), 5);
    EXPECT_EQ(loaders.Tables().KMTrain.RecordCount(), 13);
    EXPECT_EQ(loaders.Tables().KMList.IndexName(), "SID");
    EXPECT_EQ(loaders.Tables().KMSM.IndexName(), "SStation");
    EXPECT_EQ(loaders.Tables().KMTrain.IndexName(), "SIDNo");
  }
}

TEST(LoaderThreads, MissingStopTableKeepsQueriesOffButStationsWork) {
  const test::TTestItems items = test::TinyTimetableItems(Same, {"STrain"});
  TRecorder recorder;
  TTableLoaders loaders(items.Items(), recorder.Callbacks());
  loaders.Wait();
  EXPECT_EQ(recorder.Count("pinyin"), 1);
  EXPECT_EQ(recorder.Count("group"), 1);
  EXPECT_EQ(recorder.Count("stop"), 0);
  EXPECT_EQ(recorder.Count("all"), 0);
  EXPECT_TRUE(loaders.PinyinLoaded());
  EXPECT_FALSE(loaders.StopTableLoaded());
  EXPECT_FALSE(loaders.AllLoaded());
}

TEST(LoaderThreads, DamagedItemEndsOnlyItsOwnThread) {
  {
    const test::TTestItems items = test::TinyTimetableItems(Same, {}, {"SPY"});
    TRecorder recorder;
    TTableLoaders loaders(items.Items(), recorder.Callbacks());
    loaders.Wait();
    EXPECT_EQ(recorder.Events(), std::vector<std::string>{"stop"});
    EXPECT_FALSE(loaders.PinyinLoaded());
    EXPECT_FALSE(loaders.GroupTableLoaded());
    EXPECT_TRUE(loaders.StopTableLoaded());
  }
  {
    // The pinyin table is in, the steps after the damaged one never run.
    const test::TTestItems items = test::TinyTimetableItems(Same, {}, {"SList"});
    TRecorder recorder;
    TTableLoaders loaders(items.Items(), recorder.Callbacks());
    loaders.Wait();
    EXPECT_EQ(recorder.Count("pinyin"), 1);
    EXPECT_EQ(recorder.Count("group"), 0);
    EXPECT_EQ(recorder.Count("all"), 0);
    EXPECT_EQ(loaders.Tables().KMSM.RecordCount(), 0);
  }
}

TEST(LoaderThreads, NoItemsAtAllAnnounceNothing) {
  const TItemSet none;
  TRecorder recorder;
  TTableLoaders loaders(none, recorder.Callbacks());
  loaders.Wait();
  EXPECT_TRUE(recorder.Events().empty());
  EXPECT_FALSE(loaders.PinyinLoaded());
  EXPECT_FALSE(loaders.StopTableLoaded());
}

TEST(LoaderThreads, ReaderThatSeesTheFlagSeesTheWholeTable) {
  const test::TTestItems items = test::TinyTimetableItems(Same);
  TTableLoaders loaders(items.Items(), {});
  // Another thread polls the flags the way the window does, then reads.
  std::thread reader([&loaders] {
    while (!loaders.AllLoaded()) std::this_thread::yield();
    TMemTable& stops = loaders.Tables().KMTrain;
    int n = 0;
    for (int i = 0; i < stops.RecordCount(); ++i) n += stops.ValueAt(i, 0).empty() ? 0 : 1;
    EXPECT_EQ(n, 13);
    EXPECT_EQ(loaders.Tables().KMPy.RecordCount(), 11);
  });
  reader.join();
}

TEST(LoaderThreads, DestroyingWhileTheyRunWaitsAndCallsNothingAfterwards) {
  std::optional<test::TTestItems> shared = test::SharedTimetableItems();
  const test::TTestItems tiny = test::TinyTimetableItems(Same);
  const TItemSet& items = shared ? shared->Items() : tiny.Items();
  for (int run = 0; run < 3; ++run) {
    auto calls = std::make_shared<std::atomic<int>>(0);
    {
      TLoaderCallbacks c;
      c.PinyinLoaded = [calls] { calls->fetch_add(1); };
      c.GroupTableLoaded = [calls] { calls->fetch_add(1); };
      c.StopTableLoaded = [calls] { calls->fetch_add(1); };
      c.AllLoaded = [calls] { calls->fetch_add(1); };
      TTableLoaders loaders(items, std::move(c));
      // Closed at once: the destructor waits for both threads.
    }
    const int after = calls->load();
    for (int i = 0; i < 10000; ++i) std::this_thread::yield();
    EXPECT_EQ(calls->load(), after);
    EXPECT_LE(after, 4);
  }
}

}  // namespace
}  // namespace vormek
