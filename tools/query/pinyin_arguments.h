#pragma once
// --pinyin: a station argument of letters only ("beijingxi", "bjx") stands
// for the station it names, so that the query runs without typing Chinese.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_options.h"
#include "cli_text.h"
#include "data/item_set.h"
#include "data/timetable.h"
#include "stations/full_pinyin.h"

namespace vormek::cli {

struct TPinyinResolution {
  std::string Station;                  // GBK; empty when not resolved
  std::vector<std::string> Candidates;  // the stations the letters may mean
};

// The candidates are the stations whose short code or full pinyin equals the
// letters (any letter case); when there are none, the list the station box
// shows for them. One candidate, or candidates all of one city group, resolve
// to the first of them. Letters that match nothing resolve to nothing and
// have no candidates.
TPinyinResolution ResolveLetters(TTimetable& tt, const TFullPinyin& pinyin, std::string_view letters);

// Rewrites the station arguments (FROM TO, STATION, --via, --board) that are
// letters only. One that names stations of several cities is refused: the
// candidates go to err and the result is the input-refused status. A station
// argument naming no station becomes a name no station has, which the query's
// input check refuses as a station that does not exist ("发站不存在。").
std::optional<int> ResolvePinyinArguments(TOptions& o, TTimetable& tt, const TFullPinyin& pinyin,
                                          const TTextCodec& codec, std::ostream& err);

// The spellings of the timetable in use: SQP.txt in the --tables folder, or
// the item SQP of the program; none when absent. Throws when damaged.
TFullPinyin LoadSpellings(const std::string& tablesDir, const TItemSet* items);

}  // namespace vormek::cli
