#pragma once
// Station timetable query: every train calling at the station (or its city),
// from there to the train's terminal, or from the origin for trains ending
// there.
#include <string_view>

#include "data/timetable.h"
#include "query/query_results.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Resolves the name (exact when it is in no city group) and finds one row per
// train at its first selected stop, in stop-table order.
TStationResult QueryStation(const TTimetable& timetable, const TFareTables& fares, const TStationRequest& request);

// The same, kept in the window's state (FromSelection, ToSelection's typed
// name, GridResults).
void QueryStation(const TTimetable& timetable, TPub_Center& center, std::string_view comboCZ);

}  // namespace vormek
