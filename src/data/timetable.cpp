#include "data/timetable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "data/errors.h"
#include "data/inflate_item.h"
#include "data/table_ranges.h"

namespace vormek {

namespace {

using TRangeCheck = void (*)(const TMemTable&);

void NoRangeCheck(const TMemTable&) {}

// Loads one table: the text, its ranges (while still in text order, so that
// a refusal can name the line), then its current order.
void LoadText(std::string text, TMemTable& table, std::string_view index, TRangeCheck check) {
  try {
    table.LoadFromOwnedText(std::move(text));
    check(table);
    table.SetIndexName(index);
  } catch (...) {
    table = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
  }
}

void LoadStep(const TItemSet& items, std::string_view item, TMemTable& table, std::string_view index,
              TRangeCheck check) {
  try {
    // The inflated buffer becomes the table's storage: no second copy.
    LoadText(DecompressItem(items, item), table, index, check);
  } catch (...) {
    table = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
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

// The stop table is most of the work of a load, so it is split over two
// threads: its text is read while this thread loads the other three, then
// its ranges are checked while this thread sets its index and builds the
// timetable's index. A failure is the one a load in the loaders' order would
// meet first (the other tables', then the range check's, then the index's),
// and leaves the tables as that load would: the stop table is taken only once
// the others stand.
void LoadStopsBesideTheRest(const std::function<void(TMemTable&)>& readStops, const std::function<void()>& loadOthers,
                            TTimetable& tt) {
  TMemTable stops;
  {
    TBackground reading([&] { readStops(stops); });
    loadOthers();  // on failure the reading is waited for and dropped
    try {
      reading.Join();
    } catch (...) {
      tt.KMTrain = TMemTable();
      throw;
    }
  }
  tt.KMTrain = std::move(stops);
  try {
    TBackground checking([&] { CheckStopTableRanges(tt.KMTrain); });
    std::exception_ptr indexError;
    TTimetableIndex index;
    try {
      tt.KMTrain.SetIndexName("SIDNo");
      index = BuildTimetableIndex(tt);
    } catch (...) {
      indexError = std::current_exception();
    }
    checking.Join();
    if (indexError) std::rethrow_exception(indexError);
    tt.Index = std::move(index);
  } catch (...) {
    tt.KMTrain = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
  }
}

[[noreturn]] void CannotRead(const std::filesystem::path& path, const std::string& reason) {
  throw EItemError("cannot read " + path.string() + ": " + reason);
}

}  // namespace

// The size is checked before anything is read, and the read stops at that
// size: a file that is huge, not a plain file, or still growing costs no
// more than the limit.
std::string ReadTableText(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) CannotRead(path, std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) CannotRead(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) CannotRead(path, "not a regular file");
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > kMaxTableTextBytes)
    CannotRead(path, std::to_string(size) + " bytes, more than a table text may have (" +
                         std::to_string(kMaxTableTextBytes) + ")");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) CannotRead(path, std::strerror(errno));
    if (got == 0) break;  // shrank while read: the table text says what is missing
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

void LoadPinyinTable(const TItemSet& items, TMemTable& KMPy) { LoadStep(items, "SPY", KMPy, "", NoRangeCheck); }
void LoadTrainList(const TItemSet& items, TMemTable& KMList) {
  LoadStep(items, "SList", KMList, "SID", CheckTrainListRanges);
}
void LoadGroupTable(const TItemSet& items, TMemTable& KMSM) { LoadStep(items, "SM", KMSM, "SStation", NoRangeCheck); }
void LoadStopTable(const TItemSet& items, TMemTable& KMTrain) {
  LoadStep(items, "STrain", KMTrain, "SIDNo", CheckStopTableRanges);
}

void LoadTimetable(const TItemSet& items, TTimetable& timetable) {
  LoadStopsBesideTheRest([&items](TMemTable& stops) { stops.LoadFromOwnedText(DecompressItem(items, "STrain")); },
                         [&] {
                           LoadPinyinTable(items, timetable.KMPy);
                           LoadTrainList(items, timetable.KMList);
                           LoadGroupTable(items, timetable.KMSM);
                         },
                         timetable);
}

void LoadTimetableFromTexts(TTimetableTexts texts, TTimetable& timetable) {
  LoadStopsBesideTheRest([&texts](TMemTable& stops) { stops.LoadFromOwnedText(std::move(texts.STRAIN)); },
                         [&] {
                           LoadText(std::move(texts.SPY), timetable.KMPy, "", NoRangeCheck);
                           LoadText(std::move(texts.SLIST), timetable.KMList, "SID", CheckTrainListRanges);
                           LoadText(std::move(texts.SM), timetable.KMSM, "SStation", NoRangeCheck);
                         },
                         timetable);
}

void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable) {
  // Read all four first, so that a missing file leaves no table half loaded.
  TTimetableTexts texts;
  texts.SPY = ReadTableText(dir / "SPY.txt");
  texts.SLIST = ReadTableText(dir / "SLIST.txt");
  texts.SM = ReadTableText(dir / "SM.txt");
  texts.STRAIN = ReadTableText(dir / "STRAIN.txt");
  LoadTimetableFromTexts(std::move(texts), timetable);
}

}  // namespace vormek
