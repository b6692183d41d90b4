#pragma once
// The queries run on a fuzzed timetable as the window runs them: the query,
// its results shown and filtered, a header or two clicked, a row's stop list
// opened and both grids exported; for a transfer, a station picked from the
// transfer list and its legs shown; connections found and shown as the
// plan command's rows.
#include <fuzzer/FuzzedDataProvider.h>

#include <string_view>

#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek::fuzz {

enum class TFuzzQuery { Direct, TrainNumber, Station, Transfer, Connections };

// Traps, so that the fuzzer reports the input, when a result breaks a rule
// every timetable keeps.
inline void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// from names the station (or the train number) asked for; to the arrival
// station of a direct, transfer or connections query. in picks the clicks,
// the rows and the minimum change time.
void RunFuzzQuery(FuzzedDataProvider& in, TTimetable& tt, TPub_Center& center, TFuzzQuery query, std::string_view from,
                  std::string_view to);

}  // namespace vormek::fuzz
