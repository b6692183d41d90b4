#pragma once
// The timetables the benchmarks run on: the built-in one, the national 2019
// tables (read at run time when present) and a timetable made N times larger
// in memory by renumbering every train of one of them.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/item_set.h"
#include "data/timetable.h"

namespace vormek::bench {

// The four table texts (GBK, table text format).
struct TTableTexts {
  std::string Spy, SList, Sm, STrain;
};

// The national 2019 tables, or nullopt when their folder is absent.
std::optional<TTableTexts> NationalTexts();
// The built-in tables, inflated from the program's items.
TTableTexts BuiltinTexts();

// Every train and its stops `factor` times: copy k > 0 of train "G1" is
// "G1-k". Stations, groups and pinyin stay as they are.
TTableTexts ScaleTexts(const TTableTexts& texts, int factor);

// The texts as the program's items (4-byte length and a zlib stream each).
class TPackedTables {
 public:
  explicit TPackedTables(const TTableTexts& texts);
  const TItemSet& Items() const { return items_; }

 private:
  std::vector<std::vector<unsigned char>> stored_;
  TItemSet items_;
};

// Loaded through the program's own loader.
std::unique_ptr<TTimetable> LoadTexts(const TTableTexts& texts);

// The stations a typed name stands for: its city group, or the name alone
// (exact mode, or not in any group).
std::vector<std::string> CityStations(const TTimetable& timetable, const std::string& name, bool exact);
// The group number of a station, 0 when it is in no group.
int GroupOf(const TTimetable& timetable, const std::string& name);

}  // namespace vormek::bench
