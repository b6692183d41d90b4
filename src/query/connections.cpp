#include "query/connections.h"

#include <algorithm>

#include "data/table_ranges.h"
#include "query/table_columns.h"
#include "rules/number_text.h"
#include "stations/station_selection.h"

namespace vormek {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One feasible pair at its first feasible transfer stop.
struct TCandidate {
  std::int32_t total;
  std::int32_t departure;  // clock at FROM
  std::int32_t train1;
  std::int32_t train2;
  std::int32_t boarding1;  // stop positions
  std::int32_t alighting1;
  std::int32_t boarding2;
  std::int32_t alighting2;
  std::int32_t wait;
};

bool Before(const TCandidate& a, const TCandidate& b) {
  if (a.total != b.total) return a.total < b.total;
  if (a.departure != b.departure) return a.departure < b.departure;
  if (a.train1 != b.train1) return a.train1 < b.train1;
  return a.train2 < b.train2;
}

// A second leg waiting at a transfer station.
struct TSecondLeg {
  std::int32_t train;
  std::int32_t depClock;
  std::int32_t ride;  // minutes from leaving X to arriving on the arrival side
  std::int32_t boarding;
  std::int32_t alighting;
};

}  // namespace

TPub_GridResult RideRecord(TTimetable& tt, const TStopColumns& sc, const TTrainColumns& tc, const TFareTables& fares,
                           std::int32_t boarding, std::int32_t alighting) {
  TPub_GridResult r;
  CopyBoardingStop(tt.KMTrain, sc, boarding, r);
  CopyAlightingStop(tt.KMTrain, sc, alighting, r);
  const std::string_view id = tt.KMTrain.ValueAt(boarding, sc.ID);
  const int listPos = LocateTrain(tt.KMList, id);
  if (listPos >= 0)
    CopyTrainFields(tt.KMList, tc, listPos, r);
  else
    r.ID = id;
  FinishSection(fares, r);
  return r;
}

namespace {

std::string SumOfHardSeats(const TPub_GridResult& a, const TPub_GridResult& b) {
  const double fa = ParseFare(a.QJ_P1, 0);
  const double fb = ParseFare(b.QJ_P1, 0);
  if (fa <= 0 || fb <= 0) return "-";
  return FormatAmount(fa + fb);
}

}  // namespace

std::vector<std::int32_t> SideStationIds(const TConnectionIndex& index, const TPub_FZStruct& selection, bool exact) {
  std::vector<std::int32_t> ids;
  auto add = [&](std::string_view name) {
    const int id = index.StationId(name);
    if (id >= 0) ids.push_back(id);
  };
  if (exact || selection.Group.empty()) {
    add(selection.Entered);
  } else {
    for (const std::string& name : selection.Group) add(name);
  }
  return ids;
}

std::int32_t ClockMinutes(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon - 1 != 2) return -1;
  std::int32_t h = 0;
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsDigit(text[i])) return -1;
    h = h * 10 + (text[i] - '0');
  }
  if (!IsDigit(text[colon + 1]) || !IsDigit(text[colon + 2])) return -1;
  const std::int32_t m = (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
  if (h > 23 || m > 59) return -1;
  return h * 60 + m;
}

std::int32_t ConnectionWait(std::int32_t arrClock, std::int32_t depClock, int minChange) {
  if (arrClock < 0 || depClock < 0) return -1;
  std::int32_t wait = ((depClock - arrClock) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
  if (wait < minChange) wait += kMinutesPerDay;  // tomorrow's run of the second train
  return wait <= kMinutesPerDay ? wait : -1;
}

TConnectionIndex::TConnectionIndex(const TTimetable& tt) {
  const TMemTable& t = tt.KMTrain;
  if (t.ColumnCount() == 0) {
    trainFirst_.push_back(0);
    stationStopStart_.push_back(0);
    return;
  }
  const TStopColumns c(t);
  const int count = t.RecordCount();
  stops_.resize(static_cast<std::size_t>(count));
  std::string_view previousTrain;
  for (int pos = 0; pos < count; ++pos) {
    Stop& s = stops_[static_cast<std::size_t>(pos)];
    const std::string_view train = t.ValueAt(pos, c.ID);
    if (pos == 0 || train != previousTrain) trainFirst_.push_back(pos);
    previousTrain = train;
    s.train = static_cast<std::int32_t>(trainFirst_.size()) - 1;

    const std::string_view name = t.ValueAt(pos, c.Station);
    const auto [it, added] = stationIds_.try_emplace(name, static_cast<std::int32_t>(stationNames_.size()));
    if (added) stationNames_.push_back(name);
    s.station = it->second;

    s.arrClock = ClockMinutes(t.ValueAt(pos, c.A_Time));
    s.depClock = ClockMinutes(t.ValueAt(pos, c.D_Time));
    // A load refuses longer times, but an image's texts come unchecked: held
    // to the load's range, no ride, wait or total made of them overflows.
    s.arrElapsed = std::clamp(DurationToMinutes(t.ValueAt(pos, c.R_Date)), 0, kMaxElapsedMinutes);
    // The elapsed time counts to the arrival; the stop's dwell comes on top.
    const std::int32_t dwell =
        (s.arrClock >= 0 && s.depClock >= 0) ? (s.depClock - s.arrClock + kMinutesPerDay) % kMinutesPerDay : 0;
    s.depElapsed = s.arrElapsed + dwell;
    s.km = t.IntegerAt(pos, c.Distance);
  }
  trainFirst_.push_back(count);

  // Stops grouped by station, each group in table order.
  stationStopStart_.assign(stationNames_.size() + 1, 0);
  for (const Stop& s : stops_) ++stationStopStart_[static_cast<std::size_t>(s.station) + 1];
  for (std::size_t i = 1; i < stationStopStart_.size(); ++i) stationStopStart_[i] += stationStopStart_[i - 1];
  stationStops_.resize(stops_.size());
  std::vector<std::int32_t> fill(stationStopStart_.begin(), stationStopStart_.end() - 1);
  for (int pos = 0; pos < count; ++pos)
    stationStops_[static_cast<std::size_t>(
        fill[static_cast<std::size_t>(stops_[static_cast<std::size_t>(pos)].station)]++)] = pos;
}

int TConnectionIndex::StationId(std::string_view name) const {
  const auto it = stationIds_.find(name);
  return it == stationIds_.end() ? -1 : it->second;
}

// The search itself, with the index's arrays at hand.
class TConnectionSearch {
 public:
  TConnectionSearch(const TConnectionIndex& index, int minChange) : x_(index), minChange_(minChange) {}

  // Hands each feasible pair to keep, in no particular order.
  template <typename Keep>
  void Run(const std::vector<std::int32_t>& fromIds, const std::vector<std::int32_t>& toIds, Keep&& keep) {
    const std::size_t stations = x_.stationNames_.size();
    const std::size_t trains = x_.trainFirst_.size() - 1;
    enum : std::uint8_t { kFrom = 1, kTo = 2 };
    std::vector<std::uint8_t> side(stations, 0);
    for (std::int32_t s : fromIds) side[static_cast<std::size_t>(s)] |= kFrom;
    for (std::int32_t s : toIds) side[static_cast<std::size_t>(s)] |= kTo;

    // Each train's first departure-side stop and last arrival-side stop.
    std::vector<std::int32_t> boarding(trains, -1), alighting(trains, -1);
    std::vector<std::int32_t> firstTrains, secondTrains;
    for (std::int32_t s : fromIds) {
      for (std::int32_t pos : x_.StopsAt(s)) {
        const auto t = static_cast<std::size_t>(x_.stops_[static_cast<std::size_t>(pos)].train);
        if (boarding[t] < 0) firstTrains.push_back(static_cast<std::int32_t>(t));
        if (boarding[t] < 0 || pos < boarding[t]) boarding[t] = pos;
      }
    }
    for (std::int32_t s : toIds) {
      for (std::int32_t pos : x_.StopsAt(s)) {
        const auto t = static_cast<std::size_t>(x_.stops_[static_cast<std::size_t>(pos)].train);
        if (alighting[t] < 0) secondTrains.push_back(static_cast<std::int32_t>(t));
        alighting[t] = std::max(alighting[t], pos);
      }
    }
    std::sort(firstTrains.begin(), firstTrains.end());
    std::sort(secondTrains.begin(), secondTrains.end());

    // Second legs by transfer station (a station of neither side).
    std::vector<std::int32_t> start(stations + 1, 0);
    for (std::int32_t t : secondTrains) {
      for (std::int32_t pos = x_.trainFirst_[static_cast<std::size_t>(t)]; pos < alighting[static_cast<std::size_t>(t)];
           ++pos) {
        const auto s = static_cast<std::size_t>(x_.stops_[static_cast<std::size_t>(pos)].station);
        if (side[s] == 0) ++start[s + 1];
      }
    }
    for (std::size_t i = 1; i <= stations; ++i) start[i] += start[i - 1];
    std::vector<TSecondLeg> legs(static_cast<std::size_t>(start[stations]));
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (std::int32_t t : secondTrains) {
      const std::int32_t q = alighting[static_cast<std::size_t>(t)];
      const std::int32_t arrival = x_.stops_[static_cast<std::size_t>(q)].arrElapsed;
      for (std::int32_t pos = x_.trainFirst_[static_cast<std::size_t>(t)]; pos < q; ++pos) {
        const auto& stop = x_.stops_[static_cast<std::size_t>(pos)];
        const auto s = static_cast<std::size_t>(stop.station);
        if (side[s] != 0) continue;
        legs[static_cast<std::size_t>(fill[s]++)] = TSecondLeg{t, stop.depClock, arrival - stop.depElapsed, pos, q};
      }
    }

    // The join: along each first train, the first feasible stop per second train.
    std::vector<std::int32_t> pairedWith(trains, -1);
    for (std::int32_t t1 : firstTrains) {
      const std::int32_t b = boarding[static_cast<std::size_t>(t1)];
      const auto& board = x_.stops_[static_cast<std::size_t>(b)];
      const std::int32_t end = x_.trainFirst_[static_cast<std::size_t>(t1) + 1];
      for (std::int32_t pos = b + 1; pos < end; ++pos) {
        const auto& stop = x_.stops_[static_cast<std::size_t>(pos)];
        const auto s = static_cast<std::size_t>(stop.station);
        if (side[s] != 0 || stop.arrClock < 0) continue;
        const std::int32_t ride1 = stop.arrElapsed - board.depElapsed;
        for (std::int32_t i = start[s]; i < start[s + 1]; ++i) {
          const TSecondLeg& leg = legs[static_cast<std::size_t>(i)];
          if (leg.train == t1 || pairedWith[static_cast<std::size_t>(leg.train)] == t1) continue;
          const std::int32_t wait = ConnectionWait(stop.arrClock, leg.depClock, minChange_);
          if (wait < 0) continue;
          pairedWith[static_cast<std::size_t>(leg.train)] = t1;
          keep(TCandidate{ride1 + wait + leg.ride, board.depClock, t1, leg.train, b, pos, leg.boarding, leg.alighting,
                          wait});
        }
      }
    }
  }

 private:
  const TConnectionIndex& x_;
  int minChange_;
};

std::vector<TConnection> FindConnections(const TConnectionIndex& index, TTimetable& tt, const TPub_FZStruct& from,
                                         const TPub_FZStruct& to, bool exact, const TConnectionOptions& options,
                                         const TFareTables& fares, std::size_t* total) {
  std::vector<TConnection> result;
  if (total != nullptr) *total = 0;
  if (options.MaxCount <= 0 || index.TrainCount() == 0) return result;
  // Only the best MaxCount are kept while the search runs (a heap whose top
  // is the worst kept), so that time and memory grow with the timetable,
  // not with the square of it; the rest are only counted.
  const auto most = static_cast<std::size_t>(options.MaxCount);
  std::vector<TCandidate> found;
  std::size_t count = 0;
  TConnectionSearch(index, options.MinChange)
      .Run(SideStationIds(index, from, exact), SideStationIds(index, to, exact), [&](const TCandidate& c) {
        ++count;
        if (found.size() < most) {
          found.push_back(c);
          std::push_heap(found.begin(), found.end(), Before);
        } else if (Before(c, found.front())) {
          std::pop_heap(found.begin(), found.end(), Before);
          found.back() = c;
          std::push_heap(found.begin(), found.end(), Before);
        }
      });
  std::sort_heap(found.begin(), found.end(), Before);
  if (total != nullptr) *total = count;

  const TStopColumns sc(tt.KMTrain);
  const TTrainColumns tc(tt.KMList);
  result.reserve(found.size());
  for (const TCandidate& c : found) {
    TConnection& conn = result.emplace_back();
    conn.First = RideRecord(tt, sc, tc, fares, c.boarding1, c.alighting1);
    conn.Second = RideRecord(tt, sc, tc, fares, c.boarding2, c.alighting2);
    conn.WaitMinutes = c.wait;
    conn.TotalMinutes = c.total;
    conn.TotalDistance = conn.First.QJ_Distance + conn.Second.QJ_Distance;
    conn.HardSeatFare = SumOfHardSeats(conn.First, conn.Second);
  }
  return result;
}

std::vector<TConnection> FindConnections(const TConnectionIndex& index, TTimetable& tt, std::string_view from,
                                         std::string_view to, const TConnectionOptions& options,
                                         const TFareTables& fares, std::size_t* total) {
  TPub_FZStruct fromSel, toSel;
  FillSelection(tt.KMSM, from, fromSel);
  FillSelection(tt.KMSM, to, toSel);
  const bool exact = fromSel.Gp == toSel.Gp;
  return FindConnections(index, tt, fromSel, toSel, exact, options, fares, total);
}

}  // namespace vormek
