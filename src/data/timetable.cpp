#include "data/timetable.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "data/ascii_case.h"
#include "data/errors.h"
#include "data/inflate_item.h"
#include "data/table_ranges.h"

namespace vormek {

namespace {

void NoRangeCheck(const TMemTable&) {}

}  // namespace

std::string ETimetableSourceError::Describe(const std::vector<TFileFailure>& failures) {
  std::string text;
  for (const TFileFailure& failure : failures) {
    if (!text.empty()) text += "; ";
    text += failure.File + ": " + failure.Reason;
  }
  return text;
}

const std::array<TTimetableTable, 4> kTimetableTables = {{
    {"SPY.txt", "SPY", &TTimetable::KMPy, "", {"Station", "Shortcode"}, NoRangeCheck},
    {"SLIST.txt",
     "SList",
     &TTimetable::KMList,
     "SID",
     {"ID", "NType", "startStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"},
     CheckTrainListRanges},
    {"SM.txt", "SM", &TTimetable::KMSM, "SStation", {"Station", "Gp"}, NoRangeCheck},
    {"STRAIN.txt",
     "STrain",
     &TTimetable::KMTrain,
     "SIDNo",
     {"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"},
     CheckStopTableRanges},
}};

const TTimetableTable& PinyinTable() { return kTimetableTables[0]; }
const TTimetableTable& TrainListTable() { return kTimetableTables[1]; }
const TTimetableTable& GroupTable() { return kTimetableTables[2]; }
const TTimetableTable& StopTable() { return kTimetableTables[3]; }

namespace {

// Every column a query reads is there.
void CheckColumns(const TMemTable& table, const TTimetableTable& kind) {
  for (const char* column : kind.Columns) table.FieldByName(column);
}

void CheckRecords(const TMemTable& table) {
  if (table.RecordCount() == 0) throw ETableError("no records");
}

// Loads one table: the text, its columns, its ranges (while still in text
// order, so that a refusal can name the line), its current order, and that
// it holds records.
void LoadText(std::string text, TMemTable& table, const TTimetableTable& kind) {
  try {
    table.LoadFromOwnedText(std::move(text));
    CheckColumns(table, kind);
    kind.CheckRanges(table);
    table.SetIndexName(kind.Index);
    CheckRecords(table);
  } catch (...) {
    table = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
  }
}

}  // namespace

void CheckLoadedTimetable(const TTimetable& timetable) {
  for (const TTimetableTable& kind : kTimetableTables) {
    const TMemTable& table = timetable.*kind.Table;
    try {
      CheckColumns(table, kind);
      kind.CheckRanges(table);
      const auto& indexes = table.Indexes();
      if (!kind.Index.empty() && std::none_of(indexes.begin(), indexes.end(), [&](const TIndexDef& index) {
            return EqualsIgnoringAsciiCase(index.name, kind.Index);
          }))
        throw ETableError("no index named \"" + std::string(kind.Index) + "\"");
      CheckRecords(table);
    } catch (const ETableFormatError& e) {
      throw ETimetableSourceError(std::string(kind.File), e.what(), e.line());
    } catch (const EVormekError& e) {
      throw ETimetableSourceError(std::string(kind.File), e.what());
    }
  }
}

namespace {

void LoadStep(const TItemSet& items, TMemTable& table, const TTimetableTable& kind) {
  try {
    // The inflated buffer becomes the table's storage: no second copy.
    LoadText(DecompressItem(items, kind.Item), table, kind);
  } catch (...) {
    table = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
  }
}

// The error of the step that loads a table, naming it (its file or item).
[[noreturn]] void RethrowNaming(std::string_view name) {
  try {
    throw;
  } catch (const ETimetableSourceError&) {
    throw;
  } catch (const ETableFormatError& e) {
    throw ETimetableSourceError(std::string(name), e.what(), e.line());
  } catch (const EVormekError& e) {
    throw ETimetableSourceError(std::string(name), e.what());
  }
}

// One job on another thread; Join waits and rethrows what the job threw. Where
// no thread can be started the job runs at once on this one.
class TBackground {
 public:
  explicit TBackground(std::function<void()> job) : job_(std::move(job)) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      Run();
    }
  }
  ~TBackground() {
    if (thread_.joinable()) thread_.join();
  }
  TBackground(const TBackground&) = delete;
  TBackground& operator=(const TBackground&) = delete;
  void Join() {
    if (thread_.joinable()) thread_.join();
    if (error_) std::rethrow_exception(error_);
  }

 private:
  void Run() {
    try {
      job_();
    } catch (...) {
      error_ = std::current_exception();
    }
  }
  std::function<void()> job_;
  std::exception_ptr error_;
  std::thread thread_;
};

// The name a failed step's error gives its table: its item or its file.
using TNameOf = std::string_view (*)(const TTimetableTable&);
using TTextOf = std::function<std::string(const TTimetableTable&)>;

// The four tables from their texts (textOf may be called on two threads at
// once, for different tables). The stop table is most of the work of a
// load, so it is split over two threads: its text is read while this thread
// loads the other three, then its ranges are checked while this thread sets
// its index and builds the timetable's index. A failure is the one a load in
// the loaders' order would meet first (the other tables', then the range
// check's, then the index's), together with the other tables' whose text
// is at fault, and leaves the tables as that load would: the
// stop table is taken only once the others stand.
void LoadFour(const TTextOf& textOf, TNameOf nameOf, TTimetable& tt) {
  const TTimetableTable& stopKind = StopTable();
  TMemTable stops;
  {
    TBackground reading([&] {
      try {
        stops.LoadFromOwnedText(textOf(stopKind));
        CheckColumns(stops, stopKind);
      } catch (...) {
        RethrowNaming(nameOf(stopKind));
      }
    });
    // On failure the reading is waited for and dropped. The tables after a
    // failed one are still read, apart, so that the error names every table
    // whose text is at fault, not only the first.
    std::vector<TFileFailure> failures;
    const auto note = [&failures](std::string_view name) {
      try {
        RethrowNaming(name);
      } catch (const ETimetableSourceError& e) {
        failures.insert(failures.end(), e.Failures().begin(), e.Failures().end());
      }
    };
    for (const TTimetableTable& kind : kTimetableTables) {
      if (&kind == &stopKind) continue;
      try {
        TMemTable apart;
        LoadText(textOf(kind), failures.empty() ? tt.*kind.Table : apart, kind);
      } catch (...) {
        note(nameOf(kind));
      }
    }
    try {
      reading.Join();
    } catch (...) {
      // The stop table is touched only where the load in turn would reach it.
      if (failures.empty()) tt.KMTrain = TMemTable();
      note(nameOf(stopKind));
    }
    if (!failures.empty()) throw ETimetableSourceError(std::move(failures));
  }
  tt.KMTrain = std::move(stops);
  try {
    TBackground checking([&] { stopKind.CheckRanges(tt.KMTrain); });
    std::exception_ptr indexError;
    TTimetableIndex index;
    try {
      tt.KMTrain.SetIndexName(stopKind.Index);
      CheckRecords(tt.KMTrain);
      index = BuildTimetableIndex(tt);
    } catch (...) {
      indexError = std::current_exception();
    }
    checking.Join();
    if (indexError) std::rethrow_exception(indexError);
    tt.Index = std::move(index);
  } catch (...) {
    tt.KMTrain = TMemTable();  // a failed step leaves no half-usable table behind
    RethrowNaming(nameOf(stopKind));
  }
}

std::string_view ItemOf(const TTimetableTable& kind) { return kind.Item; }
std::string_view FileOf(const TTimetableTable& kind) { return kind.File; }

}  // namespace

void LoadPinyinTable(const TItemSet& items, TMemTable& KMPy) { LoadStep(items, KMPy, PinyinTable()); }
void LoadTrainList(const TItemSet& items, TMemTable& KMList) { LoadStep(items, KMList, TrainListTable()); }
void LoadGroupTable(const TItemSet& items, TMemTable& KMSM) { LoadStep(items, KMSM, GroupTable()); }
void LoadStopTable(const TItemSet& items, TMemTable& KMTrain) { LoadStep(items, KMTrain, StopTable()); }

void LoadTimetable(const TItemSet& items, TTimetable& timetable) {
  LoadFour([&items](const TTimetableTable& kind) { return DecompressItem(items, kind.Item); }, ItemOf, timetable);
}

void LoadTimetableFromTexts(TTimetableTexts texts, TTimetable& timetable) {
  std::string* const textOf[] = {&texts.SPY, &texts.SLIST, &texts.SM, &texts.STRAIN};
  LoadFour(
      [&](const TTimetableTable& kind) {
        return std::move(*textOf[static_cast<std::size_t>(&kind - kTimetableTables.data())]);
      },
      FileOf, timetable);
}

}  // namespace vormek
