#pragma once
// The two loader threads that fill the timetable after start-up, without any
// window: one reads the pinyin table, the train list and the group table; the
// other the stop table. The tables live in the shared state, which outlives
// both threads: destroying TTableLoaders waits for them.
//
// Callbacks run on the loader threads; whoever changes controls from them
// must hand the change to its own thread. Every flag is published (release)
// before its callback runs, so a reader that sees the callback's effect and
// loads the flag (acquire) sees the complete table.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "data/item_set.h"
#include "data/timetable.h"

namespace vormek {

// Why a load step ended; the window turns it into its own words.
enum class TLoadFailureKind {
  MissingItem,   // the item is not in the set
  DamagedItem,   // a bad length prefix or a damaged, short or long stream
  BadTableText,  // malformed table text (Line says where)
  BadIndex,      // a unique index holds a key twice, or names no column
  OutOfMemory,
  Other,
};

struct TLoadFailure {
  std::string Item;  // the item of the failed step: "SPY", "SList", "SM" or "STrain"
  TLoadFailureKind Kind = TLoadFailureKind::Other;
  int Line = 0;        // for BadTableText
  std::string Detail;  // the error's own text (ASCII)
};

struct TLoaderCallbacks {
  // Runs on the pinyin table's thread once the table is in, before
  // PinyinLoaded: whatever else the station boxes need from the items (the
  // full-pinyin spellings). What it stores is published with PinyinLoaded.
  std::function<void(const TItemSet&)> WithPinyin;
  std::function<void()> PinyinLoaded;      // station boxes may be enabled
  std::function<void()> GroupTableLoaded;  // KMPy, KMList and KMSM complete
  std::function<void()> StopTableLoaded;   // KMTrain complete
  std::function<void()> AllLoaded;         // every table and the index complete: queries may run
  // A step failed; its thread ends after this call and announces nothing more.
  std::function<void(const TLoadFailure&)> LoadFailed;
};

struct TLoadState {
  TLoadState(const TItemSet& items, TLoaderCallbacks callbacks);

  const TItemSet& Items;
  TLoaderCallbacks Callbacks;
  TTimetable Tables;
  std::atomic<bool> PinyinLoaded{false};
  std::atomic<bool> GroupTableLoaded{false};
  std::atomic<bool> StopTableLoaded{false};
  std::atomic<int> ThreadsDone{0};      // counts loaders that completed their tables
  std::atomic<bool> IndexBuilt{false};  // Tables.Index derived from all four
  std::atomic<bool> Cancelled{false};
};

// One loader thread, running its step.
class TThreadLoad {
 public:
  using TExecute = void (*)(TLoadState& state);
  TThreadLoad(TLoadState& state, TExecute execute);
  ~TThreadLoad();
  void Join();

  // The two steps. KMPy (and WithPinyin), then KMList, then KMSM; a failing
  // table ends the step after reporting it through LoadFailed.
  static void LoadSmallTables(TLoadState& state);
  // KMTrain.
  static void LoadStopTable(TLoadState& state);

 private:
  std::thread thread_;
};

class TTableLoaders {
 public:
  // Starts the stop table's thread, then the other one. items must outlive
  // this object.
  TTableLoaders(const TItemSet& items, TLoaderCallbacks callbacks);
  // Asks the small tables' thread to stop after its current table and waits
  // for both.
  ~TTableLoaders();
  TTableLoaders(const TTableLoaders&) = delete;
  TTableLoaders& operator=(const TTableLoaders&) = delete;

  void Wait();  // both threads finished

  // Another timetable in place of the loaded one: waits for both threads,
  // then takes the tables and marks them all loaded. Window thread only.
  void ReplaceTables(TTimetable tables);

  // Read only after the matching flag is true; the queries only after
  // AllLoaded.
  TTimetable& Tables() { return state_->Tables; }

  bool PinyinLoaded() const { return state_->PinyinLoaded.load(std::memory_order_acquire); }
  bool GroupTableLoaded() const { return state_->GroupTableLoaded.load(std::memory_order_acquire); }
  bool StopTableLoaded() const { return state_->StopTableLoaded.load(std::memory_order_acquire); }
  bool AllLoaded() const { return state_->IndexBuilt.load(std::memory_order_acquire); }

 private:
  std::unique_ptr<TLoadState> state_;  // declared first: destroyed after the threads
  TThreadLoad stops_;
  TThreadLoad small_;
};

}  // namespace vormek
