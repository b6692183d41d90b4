#include "query/graph_trains.h"

#include <optional>

#include "query/connections.h"
#include "query/stop_positions.h"
#include "query/table_columns.h"

namespace vormek {

namespace {

// The stop of a run that a result row names: by its number and station,
// else (a record written by another query) by its station alone.
int FindStop(const TMemTable& KMTrain, const TStopColumns& c, int first, int last, const TStopFields& stop) {
  for (int pos = first; pos <= last; ++pos) {
    if (KMTrain.IntegerAt(pos, c.S_No) == stop.S_No && KMTrain.ValueAt(pos, c.Station) == stop.Station) return pos;
  }
  for (int pos = first; pos <= last; ++pos) {
    if (KMTrain.ValueAt(pos, c.Station) == stop.Station) return pos;
  }
  return -1;
}

std::vector<TGraphStop> SectionStops(const TMemTable& KMTrain, const TStopColumns& c, int boarding, int alighting) {
  std::vector<TGraphStop> stops;
  const std::int32_t startKm = KMTrain.IntegerAt(boarding, c.Distance);
  std::int32_t clock = ClockMinutes(KMTrain.ValueAt(boarding, c.D_Time));
  if (clock < 0) clock = ClockMinutes(KMTrain.ValueAt(boarding, c.A_Time));
  if (clock < 0) return stops;
  std::int32_t minute = clock;
  // Clock times only: each one later than the last by less than a day, so
  // the minutes rise through midnight as the train runs on.
  const auto advanceTo = [&](std::int32_t next) {
    minute += (next - clock + kMinutesPerDay) % kMinutesPerDay;
    clock = next;
    return minute;
  };
  stops.push_back({std::string(KMTrain.ValueAt(boarding, c.Station)), 0, minute, minute});
  for (int pos = boarding + 1; pos <= alighting; ++pos) {
    std::int32_t arrive = ClockMinutes(KMTrain.ValueAt(pos, c.A_Time));
    std::int32_t depart = ClockMinutes(KMTrain.ValueAt(pos, c.D_Time));
    if (arrive < 0) arrive = depart;
    if (depart < 0 || pos == alighting) depart = arrive;
    // A stop without a time is passed over; the section needs its end.
    if (arrive < 0) {
      if (pos == alighting) return {};
      continue;
    }
    TGraphStop& s = stops.emplace_back();
    s.Station = KMTrain.ValueAt(pos, c.Station);
    s.Km = KMTrain.IntegerAt(pos, c.Distance) - startKm;
    s.Arrive = advanceTo(arrive);
    s.Depart = advanceTo(depart);
  }
  return stops;
}

}  // namespace

std::vector<TGraphTrain> GraphTrainsOf(const TTimetable& tt, const std::vector<TPub_GridResult>& rows) {
  std::vector<TGraphTrain> trains;
  trains.reserve(rows.size());
  const TMemTable& KMTrain = tt.KMTrain;
  std::optional<TStopColumns> columns;
  if (KMTrain.ColumnCount() != 0) {
    RequireIndex(tt);
    columns.emplace(KMTrain);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TPub_GridResult& r = rows[i];
    TGraphTrain& t = trains.emplace_back();
    t.ID = r.ID;
    t.Class = GraphClassOf(r.ID);
    t.Row = static_cast<int>(i);
    if (!columns) continue;
    const TStopColumns& c = *columns;
    const std::int32_t train = FindTrain(tt, r.ID);
    if (train < 0) continue;
    const TTrainRun& run = tt.Index.Trains[static_cast<std::size_t>(train)];
    const int boarding = FindStop(KMTrain, c, static_cast<int>(run.First), static_cast<int>(run.Last), r.FZ);
    if (boarding < 0) continue;
    const int alighting = FindStop(KMTrain, c, boarding + 1, static_cast<int>(run.Last), r.DZ);
    if (alighting < 0) continue;
    t.Stops = SectionStops(KMTrain, c, boarding, alighting);
  }
  return trains;
}

}  // namespace vormek
