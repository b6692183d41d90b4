#pragma once
// The four timetable tables and the steps that load them.
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "data/item_set.h"
#include "data/mem_table.h"
#include "data/timetable_index.h"

namespace vormek {

struct TTimetable {
  TMemTable KMList;   // trains, current index SID
  TMemTable KMTrain;  // stops, current index SIDNo
  TMemTable KMSM;     // city groups, current index SStation
  TMemTable KMPy;     // stations with pinyin short codes, text order
  // Derived from the four once all are loaded; the queries read it.
  TTimetableIndex Index;
};

// One of the four tables: where it comes from and what a load asks of it.
struct TTimetableTable {
  std::string_view File;  // in a folder of table texts: "SPY.txt"
  std::string_view Item;  // among the items built into the program: "SPY"
  TMemTable TTimetable::*Table;
  std::string_view Index;  // the current index once loaded; "" for text order
  // The columns the queries read: a table without one of them is refused.
  std::initializer_list<const char*> Columns;
  void (*CheckRanges)(const TMemTable&);
};

// The four, in the loaders' order: pinyin, train list, groups, stops.
extern const std::array<TTimetableTable, 4> kTimetableTables;
const TTimetableTable& PinyinTable();
const TTimetableTable& TrainListTable();
const TTimetableTable& GroupTable();
const TTimetableTable& StopTable();

// One file or item at fault, and why.
struct TFileFailure {
  std::string File;
  std::string Reason;
  int Line = 0;
};

// A load that failed: the file or item at fault (as TTimetableTable names it,
// or the path of a file that stands for it), and why. Line is the table
// text's line at fault, 0 when none is. Where several files failed at once
// (a folder lacking more than one), Failures() lists each; File(), Reason()
// and Line() are the first's.
class ETimetableSourceError : public EVormekError {
 public:
  ETimetableSourceError(std::string file, const std::string& reason, int line = 0)
      : ETimetableSourceError(std::vector<TFileFailure>{{std::move(file), reason, line}}) {}
  // failures must not be empty.
  explicit ETimetableSourceError(std::vector<TFileFailure> failures)
      : EVormekError(Describe(failures)), failures_(std::move(failures)) {}
  const std::string& File() const { return failures_.front().File; }
  const std::string& Reason() const { return failures_.front().Reason; }
  int Line() const { return failures_.front().Line; }
  const std::vector<TFileFailure>& Failures() const { return failures_; }

 private:
  // "SPY.txt: missing; SM.txt: missing"
  static std::string Describe(const std::vector<TFileFailure>& failures);
  std::vector<TFileFailure> failures_;
};

// One load step each: decompress the item, load the text, check that it
// holds the columns the queries read and their values lie in range, set the
// current index, and check that it holds records. Each throws (EItemError,
// ETableFormatError, or ETableError for a missing column, a unique index
// holding a key twice or no records), releases all it used and then leaves
// its table empty.
void LoadPinyinTable(const TItemSet& items, TMemTable& KMPy);   // "SPY"
void LoadTrainList(const TItemSet& items, TMemTable& KMList);   // "SList"
void LoadGroupTable(const TItemSet& items, TMemTable& KMSM);    // "SM"
void LoadStopTable(const TItemSet& items, TMemTable& KMTrain);  // "STrain"

// All four, then the index. The stop table is loaded on a second thread
// beside the other three; a failure is reported, and leaves the tables, as a
// load of the four in the loaders' order would. Throws ETimetableSourceError
// naming the item at fault.
void LoadTimetable(const TItemSet& items, TTimetable& timetable);

// The four table texts, as a folder or a generator holds them.
struct TTimetableTexts {
  std::string SPY, SLIST, SM, STRAIN;
};

// Every check the load steps make of a table once read (the columns the
// queries read, the ranges, the current index, records), for tables that
// did not come from their texts: an image read from disk. Throws
// ETimetableSourceError naming the file the table stands for.
void CheckLoadedTimetable(const TTimetable& timetable);

// The same steps from the texts, the same way. Throws ETimetableSourceError
// naming the file at fault.
void LoadTimetableFromTexts(TTimetableTexts texts, TTimetable& timetable);

}  // namespace vormek
