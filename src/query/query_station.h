#pragma once
// Station timetable query: every train calling at the station (or its city),
// from there to the train's terminal, or from the origin for trains ending
// there.
#include <string_view>

#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Resolves ComboCZ (SelectTimetableStation) and rebuilds GridResults, one row
// per train at its first selected stop, in stop-table order.
void QueryStation(TTimetable& timetable, TPub_Center& center, std::string_view comboCZ);

}  // namespace vormek
