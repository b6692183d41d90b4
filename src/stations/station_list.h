#pragma once
// The drop-down list of a station box filled from typed pinyin initials.
#include <string>
#include <string_view>
#include <vector>

#include "data/mem_table.h"

namespace vormek {

// Every station of KMPy whose Shortcode starts with the typed letters (upper-
// cased), in KMPy's text order. Reads by position; the cursor is not moved.
std::vector<std::string> MatchShortCode(const TMemTable& KMPy, std::string_view letters);

// A list with fewer than 8 items is padded with empty items up to 9.
void PadStationList(std::vector<std::string>& items);

// The list shown for a box's text: the matches, padded.
std::vector<std::string> FillStationList(const TMemTable& KMPy, std::string_view letters);

// What the change handling does to a box's list for its trimmed text: fill it
// from the short code, clear it to empty items, or leave it alone (a name).
enum class TListAction { Fill, ClearToEmpty, Keep };
TListAction StationListAction(std::string_view trimmedText);

}  // namespace vormek
