#include "query/query_train_number.h"

#include "query/table_columns.h"
#include "stations/station_text.h"

namespace vormek {

bool TrainNumberMatches(std::string_view id, std::string_view key) {
  if (id == key) return true;
  return id.size() > key.size() && id.compare(0, key.size(), key) == 0 && id[key.size()] == '/';
}

std::int32_t TerminalStopNo(TMemTable& KMTrain, std::string_view id) {
  if (!KMTrain.Locate("ID", id)) return 1;
  const TStopColumns c(KMTrain);
  const int count = KMTrain.RecordCount();
  int pos = KMTrain.RecNo();
  // Bounded to this train: a run whose last stop still has a departure time
  // ends at its last stop rather than at the next train's terminal.
  while (pos + 1 < count && !KMTrain.ValueAt(pos, c.D_Time).empty() &&
         KMTrain.ValueAt(pos + 1, c.ID) == id) {
    ++pos;
  }
  return KMTrain.IntegerAt(pos, c.S_No);
}

void QueryTrainNumber(TTimetable& tt, TPub_Center& center, std::string_view ecc) {
  center.GridResults.clear();
  center.FromSelection.Entered.clear();
  center.ToSelection.Entered.clear();
  const std::string key = UpperAscii(TrimBlanksAndControls(ecc));
  if (key.empty()) return;
  const TMemTable& list = tt.KMList;
  const TTrainColumns c(list);
  const int count = list.RecordCount();
  for (int pos = 0; pos < count; ++pos) {
    const std::string_view id = list.ValueAt(pos, c.ID);
    if (!TrainNumberMatches(id, key)) continue;
    TPub_GridResult& r = center.GridResults.emplace_back();
    CopyTrainFields(list, c, pos, r);
    BoardAtOrigin(list, c, pos, r);
    r.DZ_Station = r.EndStation;
    r.DZ_S_No = TerminalStopNo(tt.KMTrain, r.ID);
    r.DZ_A_Time = list.ValueAt(pos, c.D_Time);  // the list's D_Time is the terminal's arrival
    r.DZ_R_Date = r.QC_R_Date;
    r.DZ_Distance = r.QC_Distance;
    r.DZ_P1 = r.QC_P1;
    r.DZ_P2 = r.QC_P2;
    r.DZ_P3 = r.QC_P3;
    r.DZ_P4 = r.QC_P4;
    r.Stops = r.DZ_S_No - 1;
    r.QJ_Distance = r.QC_Distance;
    r.QJ_R_Date = r.QC_R_Date;  // as stored, not in the HH:MM form
    r.QJ_P1 = r.QC_P1;
    r.QJ_P2 = r.QC_P2;
    r.QJ_P3 = r.QC_P3;
    r.QJ_P4 = r.QC_P4;
  }
}

}  // namespace vormek
