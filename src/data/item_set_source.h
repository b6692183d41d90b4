#pragma once
// The four tables among the items built into the program, as a timetable
// source: the timetable of the empty path.
#include <filesystem>
#include <string_view>

#include "data/item_set.h"
#include "data/timetable_source.h"

namespace vormek {

class TItemSetSource : public TTimetableSource {
 public:
  // items outlives this object.
  explicit TItemSetSource(const TItemSet& items) : items_(items) {}
  std::string_view Name() const override { return "built-in items"; }
  bool Applicable(const std::filesystem::path& dir) const override { return dir.empty(); }
  // As LoadTimetable loads them; an error names the item at fault.
  TTimetableLoad Load(const std::filesystem::path& dir) const override;

 private:
  const TItemSet& items_;
};

}  // namespace vormek
