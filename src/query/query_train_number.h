#pragma once
// Train number query: the whole run of every train whose number is the typed
// number, or whose combined number ("1112/1113") begins with it.
#include <cstdint>
#include <string_view>

#include "data/timetable.h"
#include "query/query_results.h"
#include "rules/UPub_Center.h"

namespace vormek {

// The typed text is trimmed and a..z upper-cased.
TTrainNumberResult QueryTrainNumber(const TTimetable& timetable, const TTrainNumberRequest& request);

// The same, kept in the window's state (GridResults; both typed names
// emptied).
void QueryTrainNumber(const TTimetable& timetable, TPub_Center& center, std::string_view ecc);

// Stop number of the train's terminal (its first stop without a departure
// time); 1 when the stop table does not hold the number.
std::int32_t TerminalStopNo(const TTimetable& timetable, std::string_view id);

// Whether a train list ID answers the typed key: the key is one or more
// whole numbers of the ID's "/"-joined numbers, from any of them ("1113" and
// "1112/1113" find "1112/1113"; "111" does not).
bool TrainNumberMatches(std::string_view id, std::string_view key);

}  // namespace vormek
