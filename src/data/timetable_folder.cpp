#include "data/timetable_folder.h"

#include <initializer_list>
#include <system_error>

#include "data/ascii_case.h"
#include "data/mem_table.h"
#include "data/table_ranges.h"
#include "data/timetable_cache.h"
#include "data/timetable_index.h"

namespace vormek {

namespace {

std::string ReadFile(const std::filesystem::path& path, const std::string& name) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw ETimetableFolderError(name, "missing");
  try {
    return ReadTableText(path);
  } catch (const EItemError& e) {
    throw ETimetableFolderError(name, e.what());
  }
}

void NoRangeCheck(const TMemTable&) {}

// What each file must hold for the queries.
struct TFolderTable {
  const char* file;
  TMemTable TTimetable::*table;
  std::string_view index;
  std::initializer_list<const char*> columns;
  void (*checkRanges)(const TMemTable&);
};

const TFolderTable kFolderTables[] = {
    {"SPY.txt", &TTimetable::KMPy, "", {"Station", "Shortcode"}, NoRangeCheck},
    {"SLIST.txt",
     &TTimetable::KMList,
     "SID",
     {"ID", "NType", "startStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"},
     CheckTrainListRanges},
    {"SM.txt", &TTimetable::KMSM, "SStation", {"Station", "Gp"}, NoRangeCheck},
    {"STRAIN.txt",
     &TTimetable::KMTrain,
     "SIDNo",
     {"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"},
     CheckStopTableRanges},
};

// One table: read, parse, check its numbers (still in text order, so a
// refusal names the line), set the index, and make sure every column a query
// reads is there.
void LoadTable(const std::filesystem::path& dir, const TFolderTable& t, TTimetable& tt) {
  TMemTable& table = tt.*t.table;
  std::string text = ReadFile(dir / t.file, t.file);
  try {
    table.LoadFromOwnedText(std::move(text));
    for (const char* column : t.columns) table.FieldByName(column);
    t.checkRanges(table);
    table.SetIndexName(t.index);
  } catch (const EVormekError& e) {
    throw ETimetableFolderError(t.file, e.what());
  }
  if (table.RecordCount() == 0) throw ETimetableFolderError(t.file, "no records");
}

// A kept image was made from the same files, but perhaps by the command line,
// which asks less of a folder: it serves only if the window would take the
// files too.
bool HoldsWhatTheWindowNeeds(const TTimetable& tt) {
  for (const TFolderTable& t : kFolderTables) {
    const TMemTable& table = tt.*t.table;
    if (table.RecordCount() == 0 || !EqualsIgnoringAsciiCase(table.IndexName(), t.index)) return false;
    for (const char* column : t.columns) {
      try {
        table.FieldByName(column);
      } catch (const ETableError&) {
        return false;
      }
    }
  }
  return IndexMatches(tt);
}

}  // namespace

TTimetable LoadTimetableFolder(const std::filesystem::path& dir, const std::filesystem::path& cacheDir) {
  const TKeptImage kept(dir, cacheDir);
  TTimetable tt;
  if (kept.Open(tt) && HoldsWhatTheWindowNeeds(tt)) return tt;
  tt = TTimetable();
  for (const TFolderTable& t : kFolderTables) LoadTable(dir, t, tt);
  tt.Index = BuildTimetableIndex(tt);
  kept.Keep(tt);
  return tt;
}

}  // namespace vormek
