#pragma once
// The drop-down list of a station box filled from typed pinyin initials.
#include <string>
#include <string_view>
#include <vector>

#include "data/mem_table.h"
#include "stations/full_pinyin.h"

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

// The stations a text may stand for, best first, each once: short code
// starting with the letters (MatchShortCode's list, unchanged), then full
// pinyin starting with them (any letter case), then the name starting with
// the text's bytes. Each part keeps KMPy's text order.
std::vector<std::string> MatchStation(const TMemTable& KMPy, const TFullPinyin& pinyin, std::string_view text);

// What the change handling does to a box's list. Without spellings (no SQP
// item) exactly StationListAction with FillStationList. With them, letters
// fill the list from MatchStation, and a text holding Chinese that begins
// some names but is no whole name lists those names; a whole name (typed or
// picked from the list) and a text that begins no name leave the list alone.
struct TStationListUpdate {
  TListAction Action = TListAction::Keep;
  std::vector<std::string> Items;  // Fill only: the list, padded
};
TStationListUpdate UpdateStationList(const TMemTable& KMPy, const TFullPinyin* pinyin, std::string_view trimmedText);

// The station a text typed outside the window stands for, taken as the
// window's box would list it. Letters are initials or full pinyin: the
// stations whose short code or spelling they are in full, else every station
// the box lists for them. A text holding Chinese that begins names but is no
// whole name stands for the names the box lists. Either way the first
// station is taken. A whole name, and a text the box lists nothing for,
// stand for nothing here: the caller keeps the text as typed.
struct TStationPick {
  std::string Station;                  // empty: nothing picked
  std::vector<std::string> Candidates;  // what it may stand for, Station first
};
TStationPick PickStation(const TMemTable& KMPy, const TFullPinyin& pinyin, std::string_view trimmedText);

}  // namespace vormek
