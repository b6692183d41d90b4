#pragma once
// A folder of the four table texts (SPY.txt, SLIST.txt, SM.txt and
// STRAIN.txt, GBK, table text format "251") as a timetable source.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/timetable_source.h"

namespace vormek {

class TTableTextFolder : public TTimetableSource {
 public:
  std::string_view Name() const override { return "table texts"; }
  // Any folder: one that lacks a file is refused naming it.
  bool Applicable(const std::filesystem::path& dir) const override;
  // All four files are read before any is parsed, each through
  // ReadTableText; then they load as LoadTimetableFromTexts loads them.
  TTimetableLoad Load(const std::filesystem::path& dir) const override;
  std::vector<std::string> Files() const override;
};

// A table text read whole. The size is checked before anything is read, and
// the read stops at that size: a file that is huge, not a plain file, or
// still growing costs no more than kMaxTableTextBytes. Throws EItemError
// saying why ("missing", "not a regular file", ...), without the path.
std::string ReadTableText(const std::filesystem::path& path);

// The folder's timetable, read by TTableTextFolder without any cache. Throws
// ETimetableSourceError naming the file at fault; the timetable is untouched
// then.
void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable);

}  // namespace vormek
