#include "query/stop_list.h"

#include <charconv>

#include "query/stop_positions.h"
#include "query/table_columns.h"
#include "rules/UPub_Center.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

int ReadInt(std::string_view text) {
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return 0;
  return value;
}

}  // namespace

std::string DayText(int day) { return day == 1 ? std::string("当天") : "第" + std::to_string(day) + "天"; }

bool TStopList::InSection(int row) const {
  if (row < 0 || row >= Grid.RowCount()) return false;
  const std::string& no = Grid.Cell(0, row);
  if (no.empty()) return false;
  const int n = ReadInt(no);
  return SectionFirst <= n && n <= SectionLast;
}

TStopListRequest StopListRequestOf(const TPub_GridResult& r) {
  return {r.ID, r.FZ.Station, std::to_string(r.Stops), std::to_string(r.QJ_Distance), r.QJ_R_Date};
}

std::optional<TStopList> BuildStopList(const TTimetable& tt, const TStopListRequest& req) {
  if (req.TrainID.empty() || tt.KMTrain.ColumnCount() == 0) return std::nullopt;
  RequireIndex(tt);
  const std::int32_t train = FindTrain(tt, req.TrainID);
  if (train < 0) return std::nullopt;
  const TMemTable& KMTrain = tt.KMTrain;
  const TStopColumns c(KMTrain);
  const int stopsInSection = ReadInt(req.Stops);

  TStopList list;
  const TTrainRun& run = tt.Index.Trains[static_cast<std::size_t>(train)];
  int pos = static_cast<int>(run.First);
  const int end = static_cast<int>(run.Last) + 1;
  std::string prev(KMTrain.ValueAt(pos, c.D_Time));
  int day = 1;
  bool found = false;
  int last = pos;
  for (; pos < end; ++pos) {
    last = pos;
    ++list.FilledRows;
    if (list.Grid.RowCount() < list.FilledRows) list.Grid.SetRowCount(list.FilledRows);
    const std::string_view arrival = KMTrain.ValueAt(pos, c.A_Time);
    if (!arrival.empty()) {
      // Only arrivals are compared: a clock that went back passed midnight.
      if (prev > arrival) ++day;
      prev = arrival;
    }
    // One step per stop until the boarding station is met (a loop here
    // would never end at a stop of another station).
    if (!found) {
      if (KMTrain.ValueAt(pos, c.Station) == req.BoardingStation) {
        list.SectionFirst = KMTrain.IntegerAt(pos, c.S_No);
        found = true;
      } else {
        ++list.SectionFirst;
      }
      // The count comes from a cell's text: saturate rather than wrap.
      list.SectionLast = ClampToInt32(std::int64_t{list.SectionFirst} + stopsInSection);
    }
    std::vector<std::string>& row = list.Grid.Row(list.FilledRows - 1);
    row[0] = std::to_string(KMTrain.IntegerAt(pos, c.S_No));
    row[1] = KMTrain.ValueAt(pos, c.Station);
    row[2] = std::to_string(KMTrain.IntegerAt(pos, c.Distance));
    row[3] = arrival;
    row[4] = KMTrain.ValueAt(pos, c.D_Time);
    row[5] = DayText(day);
    row[6] = KMTrain.ValueAt(pos, c.R_Date);
    if (!row[6].empty() && row[6].back() == ':') row[6] += '0';
    if (list.FilledRows > 1) {
      const std::vector<std::string>& before = list.Grid.Row(list.FilledRows - 2);
      row[7] = LegSpeed(before[2], row[2], before[6], row[6]);
    }
  }
  const std::string km = std::to_string(KMTrain.IntegerAt(last, c.Distance));
  const std::string_view runTime = KMTrain.ValueAt(last, c.R_Date);
  list.LabQC = "全程：" + km + "km" + "/历时" + std::string(runTime) + "/速度" + AverageSpeed(km, runTime) + "km/h";
  list.LabQJ = "区间：" + std::string(req.SectionKm) + "km" + "/历时" + std::string(req.SectionTime) + "/速度" +
               AverageSpeed(req.SectionKm, req.SectionTime) + "km/h";
  return list;
}

}  // namespace vormek
