#pragma once
// The four timetable tables and the steps that load them.
#include <filesystem>
#include <string>

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

// One load step each: decompress the item, load the text, set the current
// index. Each throws (EItemError, ETableFormatError, or ETableError for a
// unique index holding a key twice), releases all it used and then leaves its
// table empty.
void LoadPinyinTable(const TItemSet& items, TMemTable& KMPy);   // "SPY"
void LoadTrainList(const TItemSet& items, TMemTable& KMList);   // "SList"
void LoadGroupTable(const TItemSet& items, TMemTable& KMSM);    // "SM"
void LoadStopTable(const TItemSet& items, TMemTable& KMTrain);  // "STrain"

// All four, then the index. The stop table is loaded on a second thread
// beside the other three; a failure is reported, and leaves the tables, as a
// load of the four in the loaders' order would.
void LoadTimetable(const TItemSet& items, TTimetable& timetable);

// The four table texts, as a folder or a generator holds them.
struct TTimetableTexts {
  std::string SPY, SLIST, SM, STRAIN;
};

// The same steps from the texts, the same way.
void LoadTimetableFromTexts(TTimetableTexts texts, TTimetable& timetable);

// A table text read whole. The size is checked before anything is read, and
// the read stops at that size: a file that is huge, not a plain file, or
// still growing costs no more than kMaxTableTextBytes. Throws EItemError
// naming the path and why.
std::string ReadTableText(const std::filesystem::path& path);

// The same from a folder holding SLIST.txt, STRAIN.txt, SM.txt and SPY.txt.
// A file larger than kMaxTableTextBytes, or one that is not a regular file,
// is refused before it is read; a file that cannot be read says why.
void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable);

}  // namespace vormek
