#include "query/query_train_number.h"

#include "query/stop_positions.h"
#include "query/table_columns.h"
#include "stations/station_text.h"

namespace vormek {

namespace {

std::int32_t TerminalStopNoOf(const TTimetable& tt, std::int32_t train) {
  if (train < 0) return 1;
  const std::uint32_t terminal = tt.Index.Trains[static_cast<std::size_t>(train)].Terminal;
  return tt.KMTrain.IntegerAt(static_cast<int>(terminal), tt.KMTrain.FieldByName("S_No").Column());
}

}  // namespace

bool TrainNumberMatches(std::string_view id, std::string_view key) {
  if (key.empty()) return false;
  // The key must be whole numbers of the combined one, from any of them:
  // a train that changes its number on the way runs under each.
  for (std::size_t start = 0; start < id.size();) {
    const std::string_view rest = id.substr(start);
    if (rest.size() >= key.size() && rest.compare(0, key.size(), key) == 0 &&
        (rest.size() == key.size() || rest[key.size()] == '/'))
      return true;
    const std::size_t slash = id.find('/', start);
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return false;
}

std::int32_t TerminalStopNo(const TTimetable& tt, std::string_view id) {
  RequireIndex(tt);
  return TerminalStopNoOf(tt, FindTrain(tt, id));
}

TTrainNumberResult QueryTrainNumber(const TTimetable& tt, const TTrainNumberRequest& request) {
  RequireIndex(tt);
  TTrainNumberResult result;
  const std::string key = UpperAscii(TrimBlanksAndControls(request.Number));
  if (key.empty()) return result;
  const TMemTable& list = tt.KMList;
  const TTrainColumns c(list);
  const int count = list.RecordCount();
  for (int pos = 0; pos < count; ++pos) {
    const std::string_view id = list.ValueAt(pos, c.ID);
    if (!TrainNumberMatches(id, key)) continue;
    TPub_GridResult& r = result.Rows.emplace_back();
    CopyTrainFields(list, c, pos, r);
    BoardAtOrigin(list, c, pos, r);
    r.DZ.Station = r.EndStation;
    r.DZ.S_No = TerminalStopNoOf(tt, tt.Index.ListTrain[static_cast<std::size_t>(pos)]);
    r.DZ.Time = list.ValueAt(pos, c.D_Time);  // the list's D_Time is the terminal's arrival
    r.DZ.R_Date = r.QC_R_Date;
    r.DZ.Distance = r.QC_Distance;
    r.DZ.P1 = r.QC_P1;
    r.DZ.P2 = r.QC_P2;
    r.DZ.P3 = r.QC_P3;
    r.DZ.P4 = r.QC_P4;
    r.Stops = r.DZ.S_No - 1;
    r.QJ_Distance = r.QC_Distance;
    r.QJ_R_Date = r.QC_R_Date;  // as stored, not in the HH:MM form
    r.QJ_P1 = r.QC_P1;
    r.QJ_P2 = r.QC_P2;
    r.QJ_P3 = r.QC_P3;
    r.QJ_P4 = r.QC_P4;
  }
  return result;
}

void QueryTrainNumber(const TTimetable& tt, TPub_Center& center, std::string_view ecc) {
  StoreResult(center, QueryTrainNumber(tt, TTrainNumberRequest{std::string(ecc)}));
}

}  // namespace vormek
