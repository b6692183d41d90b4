#pragma once
// Station-to-station query: every train calling at a departure-side station
// and later at an arrival-side station.
#include <string_view>

#include "data/timetable.h"
#include "query/query_results.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Resolves both names to their selections and finds one row per train, in
// stop-table order. The boarding stop is the train's first departure-side
// stop, the alighting stop its last arrival-side stop after it.
TDirectResult QueryDirect(const TTimetable& timetable, const TFareTables& fares, const TStationPairRequest& request);

// The same, kept in the window's state (FromSelection, ToSelection,
// GridResults).
void QueryDirect(const TTimetable& timetable, TPub_Center& center, std::string_view comboFZ, std::string_view comboDZ);

}  // namespace vormek
