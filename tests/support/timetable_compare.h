#pragma once
// Whether two loaded timetables read the same everywhere: every definition,
// every value of every table in its current order and in text order, the
// cursors, and every array of the index. Reports the first difference of
// each table, not thousands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/timetable.h"

namespace vormek::testing {

inline ::testing::AssertionResult SameTable(const TMemTable& a, const TMemTable& b) {
  if (a.ColumnCount() != b.ColumnCount() || a.RecordCount() != b.RecordCount())
    return ::testing::AssertionFailure() << "shape " << a.ColumnCount() << "x" << a.RecordCount() << " against "
                                         << b.ColumnCount() << "x" << b.RecordCount();
  for (int c = 0; c < a.ColumnCount(); ++c) {
    const TColumnDef& x = a.Columns()[static_cast<std::size_t>(c)];
    const TColumnDef& y = b.Columns()[static_cast<std::size_t>(c)];
    if (x.name != y.name || x.type != y.type || x.size != y.size)
      return ::testing::AssertionFailure() << "column " << c << " differs";
  }
  if (a.Indexes().size() != b.Indexes().size()) return ::testing::AssertionFailure() << "index count differs";
  for (std::size_t i = 0; i < a.Indexes().size(); ++i) {
    const TIndexDef& x = a.Indexes()[i];
    const TIndexDef& y = b.Indexes()[i];
    if (x.name != y.name || x.columns != y.columns || x.unique != y.unique)
      return ::testing::AssertionFailure() << "index " << i << " differs";
  }
  if (a.IndexName() != b.IndexName() || a.RecNo() != b.RecNo() || a.Eof() != b.Eof() || a.Bof() != b.Bof())
    return ::testing::AssertionFailure() << "current order or cursor differs";
  for (int p = 0; p < a.RecordCount(); ++p)
    for (int c = 0; c < a.ColumnCount(); ++c)
      if (a.ValueAt(p, c) != b.ValueAt(p, c) || a.IntegerAt(p, c) != b.IntegerAt(p, c) ||
          a.ValueOfRecord(p, c) != b.ValueOfRecord(p, c) || a.IntegerOfRecord(p, c) != b.IntegerOfRecord(p, c))
        return ::testing::AssertionFailure() << "position " << p << ", column " << c << ": \"" << a.ValueAt(p, c)
                                             << "\" against \"" << b.ValueAt(p, c) << "\"";
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameIndex(const TTimetableIndex& a, const TTimetableIndex& b) {
  if (a.Stations.Size() != b.Stations.Size()) return ::testing::AssertionFailure() << "station count differs";
  for (TStationId s = 0; s < a.Stations.Size(); ++s)
    if (a.Stations.Name(s) != b.Stations.Name(s) || b.Stations.Find(a.Stations.Name(s)) != s)
      return ::testing::AssertionFailure() << "station " << s << " differs";
  auto same = [](const auto& x, const auto& y) {
    return std::vector(x.begin(), x.end()) == std::vector(y.begin(), y.end());
  };
  auto sameRuns = [](const auto& x, const auto& y) {
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x[i].First != y[i].First || x[i].Last != y[i].Last || x[i].Terminal != y[i].Terminal ||
          x[i].ListPos != y[i].ListPos)
        return false;
    return true;
  };
  const struct {
    const char* name;
    bool equal;
  } arrays[] = {
      {"StopStation", same(a.StopStation, b.StopStation)},
      {"StopTrain", same(a.StopTrain, b.StopTrain)},
      {"Trains", sameRuns(a.Trains, b.Trains)},
      {"TrainsById", same(a.TrainsById, b.TrainsById)},
      {"StationStart", same(a.StationStart, b.StationStart)},
      {"StationStops", same(a.StationStops, b.StationStops)},
      {"ListTrain", same(a.ListTrain, b.ListTrain)},
      {"ListStart", same(a.ListStart, b.ListStart)},
      {"ListEnd", same(a.ListEnd, b.ListEnd)},
      {"GroupStation", same(a.GroupStation, b.GroupStation)},
      {"GroupRecord", same(a.GroupRecord, b.GroupRecord)},
      {"PinyinStation", same(a.PinyinStation, b.PinyinStation)},
  };
  for (const auto& array : arrays)
    if (!array.equal) return ::testing::AssertionFailure() << array.name << " differs";
  return ::testing::AssertionSuccess();
}

inline void ExpectSameTimetable(const TTimetable& a, const TTimetable& b) {
  EXPECT_TRUE(SameTable(a.KMList, b.KMList)) << "train list";
  EXPECT_TRUE(SameTable(a.KMTrain, b.KMTrain)) << "stops";
  EXPECT_TRUE(SameTable(a.KMSM, b.KMSM)) << "groups";
  EXPECT_TRUE(SameTable(a.KMPy, b.KMPy)) << "pinyin";
  EXPECT_TRUE(SameIndex(a.Index, b.Index));
}

}  // namespace vormek::testing
