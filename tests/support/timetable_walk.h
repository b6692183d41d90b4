#pragma once
// Follows every value of the tables and every position and station the index
// holds into them, as the queries do, so that a sanitizer sees any read that
// goes astray (the image tests and the image fuzz target). Returns a sum of
// what it read, so that nothing is left out as unused.
#include <cstddef>
#include <cstdint>

#include "data/timetable.h"

namespace vormek::testing {

inline std::size_t ReadEverything(const TTimetable& tt) {
  std::size_t bytes = 0;
  for (const TMemTable* t : {&tt.KMList, &tt.KMTrain, &tt.KMSM, &tt.KMPy})
    for (int p = 0; p < t->RecordCount(); ++p)
      for (int c = 0; c < t->ColumnCount(); ++c) bytes += t->ValueAt(p, c).size() + (t->IntegerAt(p, c) & 1);
  const TTimetableIndex& ix = tt.Index;
  for (TStationId s = 0; s < ix.Stations.Size(); ++s)
    for (const std::uint32_t pos : ix.StopsAt(s)) bytes += tt.KMTrain.ValueAt(static_cast<int>(pos), 0).size();
  for (const TTrainRun& run : ix.Trains) {
    for (std::uint32_t pos = run.First; pos <= run.Last; ++pos) bytes += ix.StopStation[pos] + ix.StopTrain[pos];
    if (run.ListPos >= 0) bytes += tt.KMList.ValueAt(run.ListPos, 0).size();
  }
  for (const std::uint32_t t : ix.TrainsById) bytes += ix.Trains[t].First;
  for (std::size_t l = 0; l < ix.ListTrain.size(); ++l)
    bytes += (ix.ListTrain[l] >= 0 ? ix.Trains[static_cast<std::size_t>(ix.ListTrain[l])].Last : 0) +
             ix.Stations.Name(ix.ListStart[l]).size() + ix.Stations.Name(ix.ListEnd[l]).size();
  for (const std::int32_t g : ix.GroupRecord)
    if (g >= 0) bytes += ix.GroupStation[static_cast<std::size_t>(g)];
  for (const TStationId s : ix.PinyinStation) bytes += ix.Stations.Name(s).size();
  return bytes;
}

}  // namespace vormek::testing
