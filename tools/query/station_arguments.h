#pragma once
// Station arguments as users type them: a whole name as it stands; letters
// as initials ("bjx") or full pinyin ("beijingxi"); the beginning of a name
// ("北"). The window's station box lists stations for the last two, and the
// program takes the first station of that list.
#include <functional>
#include <iosfwd>
#include <string>

#include "cli_options.h"
#include "cli_text.h"
#include "data/item_set.h"
#include "data/timetable.h"
#include "stations/full_pinyin.h"

namespace vormek::cli {

// Rewrites the station arguments (FROM TO, STATION, --via, --board) that the
// box would list stations for into the first of them; when there are several
// they go to err, the one taken first. Letters in FROM, TO or STATION that
// name no station become a name no station has, which the query's input
// check refuses as a station that does not exist ("发站不存在。"); as letters
// it would take them for a box left empty. The spellings are loaded only
// when an argument needs them; loading them may throw.
void ResolveStationArguments(TOptions& o, TTimetable& tt, const std::function<TFullPinyin()>& loadSpellings,
                             const TTextCodec& codec, std::ostream& err);

// stations [PREFIX]: the names the box lists for PREFIX, or every name
// without one, one per line in the terminal's code; what shell completion
// offers. Returns the exit status.
int ListStations(const TOptions& o, TTimetable& tt, const std::function<TFullPinyin()>& loadSpellings,
                 const TTextCodec& codec, std::ostream& out);

// The spellings of the timetable in use: SQP.txt in the --tables folder, or
// the item SQP of the program; none when absent. Throws when damaged.
TFullPinyin LoadSpellings(const std::string& tablesDir, const TItemSet* items);

}  // namespace vormek::cli
