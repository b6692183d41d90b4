#include "stations/station_selection.h"

#include "stations/station_text.h"

namespace vormek {

void FillSelection(TMemTable& KMSM, std::string_view boxText, TPub_FZStruct& selection) {
  selection.Entered = std::string(TrimBlanksAndControls(boxText));
  selection.Group.clear();
  selection.Gp = 0;
  if (KMSM.ColumnCount() == 0 || selection.Entered.empty()) return;
  if (!KMSM.Locate("Station", selection.Entered)) return;
  const TField gpField = KMSM.FieldByName("Gp");
  const std::int32_t gp = gpField.AsInteger();
  const int station = KMSM.FieldByName("Station").Column();
  const int count = KMSM.RecordCount();
  for (int i = 0; i < count; ++i) {
    if (KMSM.IntegerAt(i, gpField.Column()) == gp) selection.Group.emplace_back(KMSM.ValueAt(i, station));
  }
  selection.Gp = gp;
}

void SelectDeparture(TMemTable& KMSM, TPub_Center& center, std::string_view comboFZ) {
  FillSelection(KMSM, comboFZ, center.FromSelection);
}

void SelectArrival(TMemTable& KMSM, TPub_Center& center, std::string_view comboDZ) {
  FillSelection(KMSM, comboDZ, center.ToSelection);
}

void SelectTimetableStation(TMemTable& KMSM, TPub_Center& center, std::string_view comboCZ) {
  FillSelection(KMSM, comboCZ, center.FromSelection);
  center.ToSelection.Entered = center.FromSelection.Entered;
}

bool ApplyPairExactMode(TPub_Center& center) {
  if (center.FromSelection.Gp != center.ToSelection.Gp) return false;
  center.FromSelection.Group.clear();
  center.ToSelection.Group.clear();
  return true;
}

bool ApplyTimetableExactMode(TPub_Center& center) {
  if (center.FromSelection.Gp != 0) return false;
  center.FromSelection.Group.clear();
  return true;
}

bool IsSelectedStation(const TPub_Center& center, std::string_view name, bool exact, int side) {
  const TPub_FZStruct& s = side == SideDeparture ? center.FromSelection : center.ToSelection;
  if (exact || s.Group.empty()) return name == s.Entered;
  for (const std::string& g : s.Group) {
    if (name == g) return true;
  }
  return false;
}

TStationMatcher::TStationMatcher(const TPub_FZStruct& selection, bool exact) {
  if (exact || selection.Group.empty()) {
    names_.emplace_back(selection.Entered);
  } else {
    names_.assign(selection.Group.begin(), selection.Group.end());
  }
  for (std::string_view n : names_) keys_.push_back(KeyOf(n));
}

}  // namespace vormek
