#include "data/table_loaders.h"

#include <exception>
#include <new>

#include "data/errors.h"

namespace vormek {

namespace {

void Notify(const std::function<void()>& callback) {
  if (callback) callback();
}

// The second loader to complete its tables derives the index from all four
// and announces that all are in.
void CountDone(TLoadState& state) {
  if (state.ThreadsDone.fetch_add(1, std::memory_order_acq_rel) != 1) return;
  state.Tables.Index = BuildTimetableIndex(state.Tables);
  state.IndexBuilt.store(true, std::memory_order_release);
  Notify(state.Callbacks.AllLoaded);
}

// What went wrong in the step that loads this item, told to the window.
void ReportFailure(const TLoadState& state, const char* item) {
  TLoadFailure failure;
  failure.Item = item;
  try {
    throw;
  } catch (const ETableFormatError& e) {
    failure.Kind = TLoadFailureKind::BadTableText;
    failure.Line = e.line();
    failure.Detail = e.what();
  } catch (const ETableError& e) {
    failure.Kind = TLoadFailureKind::BadIndex;
    failure.Detail = e.what();
  } catch (const EItemError& e) {
    failure.Kind = state.Items.Contains(item) ? TLoadFailureKind::DamagedItem : TLoadFailureKind::MissingItem;
    failure.Detail = e.what();
  } catch (const std::bad_alloc&) {
    failure.Kind = TLoadFailureKind::OutOfMemory;
    failure.Detail = "out of memory";
  } catch (const std::exception& e) {
    failure.Detail = e.what();
  }
  if (state.Callbacks.LoadFailed) state.Callbacks.LoadFailed(failure);
}

}  // namespace

TLoadState::TLoadState(const TItemSet& items, TLoaderCallbacks callbacks)
    : Items(items), Callbacks(std::move(callbacks)) {}

TThreadLoad::TThreadLoad(TLoadState& state, TExecute execute) : thread_(execute, std::ref(state)) {}
TThreadLoad::~TThreadLoad() { Join(); }
void TThreadLoad::Join() {
  if (thread_.joinable()) thread_.join();
}

void TThreadLoad::LoadSmallTables(TLoadState& state) {
  const char* item = "SPY";
  try {
    state.GroupTableLoaded.store(false, std::memory_order_release);
    LoadPinyinTable(state.Items, state.Tables.KMPy);
    if (state.Callbacks.WithPinyin) state.Callbacks.WithPinyin(state.Items);
    state.PinyinLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.PinyinLoaded);
    if (state.Cancelled.load(std::memory_order_acquire)) return;
    item = "SList";
    LoadTrainList(state.Items, state.Tables.KMList);
    if (state.Cancelled.load(std::memory_order_acquire)) return;
    item = "SM";
    LoadGroupTable(state.Items, state.Tables.KMSM);
    state.GroupTableLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.GroupTableLoaded);
    CountDone(state);
  } catch (const std::exception&) {
    // A missing or damaged item: the controls of these tables stay disabled.
    ReportFailure(state, item);
  }
}

void TThreadLoad::LoadStopTable(TLoadState& state) {
  try {
    state.StopTableLoaded.store(false, std::memory_order_release);
    vormek::LoadStopTable(state.Items, state.Tables.KMTrain);
    state.StopTableLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.StopTableLoaded);
    CountDone(state);
  } catch (const std::exception&) {
    // As above: the query buttons stay disabled.
    ReportFailure(state, "STrain");
  }
}

TTableLoaders::TTableLoaders(const TItemSet& items, TLoaderCallbacks callbacks)
    : state_(std::make_unique<TLoadState>(items, std::move(callbacks))),
      stops_(*state_, &TThreadLoad::LoadStopTable),
      small_(*state_, &TThreadLoad::LoadSmallTables) {}

TTableLoaders::~TTableLoaders() {
  state_->Cancelled.store(true, std::memory_order_release);
  Wait();
}

void TTableLoaders::Wait() {
  stops_.Join();
  small_.Join();
}

void TTableLoaders::ReplaceTables(TTimetable tables) {
  Wait();
  state_->Tables = std::move(tables);
  state_->PinyinLoaded.store(true, std::memory_order_release);
  state_->GroupTableLoaded.store(true, std::memory_order_release);
  state_->StopTableLoaded.store(true, std::memory_order_release);
  state_->IndexBuilt.store(true, std::memory_order_release);
}

}  // namespace vormek
