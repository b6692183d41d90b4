#include "data/timetable_folder.h"
#include "data/table_ranges.h"
#include "data/mem_table.h"
#include "data/timetable_index.h"

#include <initializer_list>
#include <system_error>

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

// One table: read, parse, check its numbers (still in text order, so a
// refusal names the line), set the index, and make sure every column a query
// reads is there.
void LoadTable(const std::filesystem::path& dir, const std::string& name, std::string_view index,
               std::initializer_list<const char*> columns, TMemTable& table,
               void (*checkRanges)(const TMemTable&) = NoRangeCheck) {
  std::string text = ReadFile(dir / name, name);
  try {
    table.LoadFromOwnedText(std::move(text));
    for (const char* column : columns) table.FieldByName(column);
    checkRanges(table);
    table.SetIndexName(index);
  } catch (const EVormekError& e) {
    throw ETimetableFolderError(name, e.what());
  }
  if (table.RecordCount() == 0) throw ETimetableFolderError(name, "no records");
}

}  // namespace

TTimetable LoadTimetableFolder(const std::filesystem::path& dir) {
  TTimetable tt;
  LoadTable(dir, "SPY.txt", "", {"Station", "Shortcode"}, tt.KMPy);
  LoadTable(dir, "SLIST.txt", "SID",
            {"ID", "NType", "startStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2",
             "P3", "P4"},
            tt.KMList, CheckTrainListRanges);
  LoadTable(dir, "SM.txt", "SStation", {"Station", "Gp"}, tt.KMSM);
  LoadTable(dir, "STRAIN.txt", "SIDNo",
            {"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"}, tt.KMTrain,
            CheckStopTableRanges);
  tt.Index = BuildTimetableIndex(tt);
  return tt;
}

}  // namespace vormek
