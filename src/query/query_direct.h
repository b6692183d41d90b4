#pragma once
// Station-to-station query: every train calling at a departure-side station
// and later at an arrival-side station.
#include <string_view>

#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Resolves both boxes (FromSelection, ToSelection) and rebuilds GridResults,
// one row per train in stop-table order. The boarding stop is the train's
// first departure-side stop, the alighting stop its last arrival-side stop
// after it.
void QueryDirect(TTimetable& timetable, TPub_Center& center, std::string_view comboFZ,
                 std::string_view comboDZ);

}  // namespace vormek
