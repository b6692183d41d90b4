#include "app/table_loaders.h"

#include <exception>

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

}  // namespace

TLoadState::TLoadState(const TItemSet& items, TLoaderCallbacks callbacks)
    : Items(items), Callbacks(std::move(callbacks)) {}

TThreadLoad::TThreadLoad(TLoadState& state) : thread_(&TThreadLoad::Execute, std::ref(state)) {}
TThreadLoad::~TThreadLoad() { Join(); }
void TThreadLoad::Join() {
  if (thread_.joinable()) thread_.join();
}

void TThreadLoad::Execute(TLoadState& state) {
  try {
    state.GroupTableLoaded.store(false, std::memory_order_release);
    LoadPinyinTable(state.Items, state.Tables.KMPy);
    state.PinyinLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.PinyinLoaded);
    if (state.Cancelled.load(std::memory_order_acquire)) return;
    LoadTrainList(state.Items, state.Tables.KMList);
    if (state.Cancelled.load(std::memory_order_acquire)) return;
    LoadGroupTable(state.Items, state.Tables.KMSM);
    state.GroupTableLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.GroupTableLoaded);
    CountDone(state);
  } catch (const std::exception&) {
    // A missing or damaged item: the controls of these tables stay disabled.
  }
}

TThreadLoad1::TThreadLoad1(TLoadState& state) : thread_(&TThreadLoad1::Execute, std::ref(state)) {}
TThreadLoad1::~TThreadLoad1() { Join(); }
void TThreadLoad1::Join() {
  if (thread_.joinable()) thread_.join();
}

void TThreadLoad1::Execute(TLoadState& state) {
  try {
    state.StopTableLoaded.store(false, std::memory_order_release);
    LoadStopTable(state.Items, state.Tables.KMTrain);
    state.StopTableLoaded.store(true, std::memory_order_release);
    Notify(state.Callbacks.StopTableLoaded);
    CountDone(state);
  } catch (const std::exception&) {
    // As above: the query buttons stay disabled.
  }
}

TTableLoaders::TTableLoaders(const TItemSet& items, TLoaderCallbacks callbacks)
    : state_(std::make_unique<TLoadState>(items, std::move(callbacks))),
      load1_(*state_),
      load_(*state_) {}

TTableLoaders::~TTableLoaders() {
  state_->Cancelled.store(true, std::memory_order_release);
  Wait();
}

void TTableLoaders::Wait() {
  load1_.Join();
  load_.Join();
}

}  // namespace vormek
