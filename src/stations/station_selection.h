#pragma once
// Resolution of a typed station name to the stations of its city group, and
// the membership test every query asks of every stop.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/mem_table.h"
#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Which selection a stop is tested against: FromSelection or ToSelection.
enum class TStationSide : int { Departure = 1, Arrival = 2 };

// Fills one selection from a box's text: Entered is the text trimmed of blanks
// and control characters, Group the KMSM stations sharing its Gp (in KMSM's
// current order), Gp that number or 0. KMSM's cursor is moved.
void FillSelection(TMemTable& KMSM, std::string_view boxText, TPub_FZStruct& selection);

// The same on a loaded timetable without moving any cursor: the selection a
// box's text resolves to.
TPub_FZStruct ResolveSelection(const TTimetable& timetable, std::string_view boxText);
// Exact mode of a station pair on the selections themselves (see
// ApplyPairExactMode).
bool PairExactMode(TPub_FZStruct& from, TPub_DZStruct& to);
// The stations a side matches, as ids; names no table holds match no stop.
std::vector<TStationId> SelectedStations(const TPub_FZStruct& selection, bool exact,
                                         const TStationDictionary& stations);

void SelectDeparture(TMemTable& KMSM, TPub_Center& center, std::string_view comboFZ);
void SelectArrival(TMemTable& KMSM, TPub_Center& center, std::string_view comboDZ);
// Fills FromSelection and copies the trimmed name into ToSelection.Entered.
void SelectTimetableStation(TMemTable& KMSM, TPub_Center& center, std::string_view comboCZ);

// Exact mode of the station-to-station and transfer queries: true when both
// sides share a group number (the same city, or both in none); both Groups
// are then emptied.
bool ApplyPairExactMode(TPub_Center& center);
// Exact mode of the station query: true when the station is in no group.
bool ApplyTimetableExactMode(TPub_Center& center);

bool IsSelectedStation(const TPub_Center& center, std::string_view name, bool exact, TStationSide side);

// The same test with the names resolved once, for the stop-table scans: a
// name is compared only when its length and first two bytes agree.
class TStationMatcher {
 public:
  TStationMatcher(const TPub_FZStruct& selection, bool exact);
  bool Contains(std::string_view name) const {
    const std::uint32_t key = KeyOf(name);
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (keys_[i] == key && names_[i] == name) return true;
    }
    return false;
  }

 private:
  static std::uint32_t KeyOf(std::string_view name) {
    const auto n = static_cast<std::uint32_t>(name.size());
    const std::uint32_t b0 = n > 0 ? static_cast<unsigned char>(name[0]) : 0u;
    const std::uint32_t b1 = n > 1 ? static_cast<unsigned char>(name[1]) : 0u;
    return (n << 16) | (b0 << 8) | b1;
  }
  std::vector<std::string_view> names_;
  std::vector<std::uint32_t> keys_;
};

}  // namespace vormek
