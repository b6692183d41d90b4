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

TPub_FZStruct ResolveSelection(const TTimetable& tt, std::string_view boxText) {
  TPub_FZStruct selection;
  selection.Entered = std::string(TrimBlanksAndControls(boxText));
  const TMemTable& groups = tt.KMSM;
  if (groups.ColumnCount() == 0 || selection.Entered.empty()) return selection;
  const TStationId id = tt.Index.Stations.Find(selection.Entered);
  if (id == kNoStation || id >= tt.Index.GroupRecord.size()) return selection;
  const std::int32_t record = tt.Index.GroupRecord[id];
  if (record < 0) return selection;
  const int gpCol = groups.FieldByName("Gp").Column();
  const std::int32_t gp = groups.IntegerAt(record, gpCol);
  const int count = groups.RecordCount();
  for (int i = 0; i < count; ++i) {
    if (groups.IntegerAt(i, gpCol) == gp) selection.Group.push_back(tt.Index.Stations.Name(tt.Index.GroupStation[i]));
  }
  selection.Gp = gp;
  return selection;
}

bool PairExactMode(TPub_FZStruct& from, TPub_DZStruct& to) {
  if (from.Gp != to.Gp) return false;
  from.Group.clear();
  to.Group.clear();
  return true;
}

std::vector<TStationId> SelectedStations(const TPub_FZStruct& selection, bool exact,
                                         const TStationDictionary& stations) {
  std::vector<TStationId> ids;
  auto add = [&](std::string_view name) {
    const TStationId id = stations.Find(name);
    if (id != kNoStation) ids.push_back(id);
  };
  if (exact || selection.Group.empty()) {
    add(selection.Entered);
  } else {
    for (const std::string& name : selection.Group) add(name);
  }
  return ids;
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

bool ApplyPairExactMode(TPub_Center& center) { return PairExactMode(center.FromSelection, center.ToSelection); }

bool ApplyTimetableExactMode(TPub_Center& center) {
  if (center.FromSelection.Gp != 0) return false;
  center.FromSelection.Group.clear();
  return true;
}

bool IsSelectedStation(const TPub_Center& center, std::string_view name, bool exact, TStationSide side) {
  const TPub_FZStruct& s = side == TStationSide::Departure ? center.FromSelection : center.ToSelection;
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
