#include "query/journeys.h"

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

#include "stations/station_selection.h"

namespace vormek {

namespace {

constexpr std::int32_t kNever = std::numeric_limits<std::int32_t>::max() / 4;
constexpr int kMaxRides = kMaxJourneyChanges + 1;

// The first daily run of a departure at clock that leaves at ready or later.
std::int32_t NextDaily(std::int32_t clock, std::int32_t ready) {
  if (ready <= clock) return clock;
  return clock + (ready - clock + kMinutesPerDay - 1) / kMinutesPerDay * kMinutesPerDay;
}

enum : std::uint8_t { kFromSide = 1, kToSide = 2 };

// How a station was reached with some number of rides: the last ride, and
// the station where the ride before it ended (-1: the ride started the
// journey). K is the ride's run: the absolute minute its train would have
// left its origin, so that a stop's time is K plus its elapsed minutes.
struct TLabel {
  std::int32_t board = -1;
  std::int32_t alight = -1;
  std::int32_t k = 0;
  std::int32_t previous = -1;
  std::int32_t rides = 0;
};

struct TBoardPoint {
  std::int32_t train;
  std::int32_t pos;
  std::int32_t k;
  std::int32_t previous;  // where the ride before ended; -1 at the origin
};

}  // namespace

std::string JourneyOptionsProblem(const TJourneyOptions& o) {
  auto clock = [](std::int32_t t) { return t >= 0 && t < kMinutesPerDay; };
  if (!clock(o.DepartFrom) || !clock(o.DepartUntil)) return "departure times must lie within one day (00:00-23:59)";
  if (o.DepartUntil < o.DepartFrom) return "the departure window ends before it starts";
  if (o.MaxChanges < 0 || o.MaxChanges > kMaxJourneyChanges) return "at most 2 changes";
  if (o.MinChange < 0 || o.MinChange > kMinutesPerDay || o.CityChange < 0 || o.CityChange > kMinutesPerDay)
    return "change times must lie between 0 and 1440 minutes";
  return {};
}

// One query's search over the index's stop arrays.
class TJourneySearch {
 public:
  TJourneySearch(const TJourneyPlanner& planner, const TJourneyOptions& options)
      : p_(planner), x_(planner.Index()), o_(options), rides_(options.MaxChanges + 1) {
    const std::size_t stations = x_.stationNames_.size();
    side_.assign(stations, 0);
    best_.assign(static_cast<std::size_t>(rides_) * stations, kNever);
    labels_.assign(static_cast<std::size_t>(rides_) * stations, TLabel{});
    markedIn_.assign(static_cast<std::size_t>(rides_) * stations, -1);
    readyIn_.assign(stations, -1);
    ready_.assign(stations, kNever);
    readyFrom_.assign(stations, -1);
    const std::size_t stops = x_.stops_.size();
    boardIn_.assign(stops, -1);
    boardK_.assign(stops, kNever);
    boardFrom_.assign(stops, -1);
    const std::size_t trains = x_.trainFirst_.size() - 1;
    trainIn_.assign(trains, -1);
    trainStart_.assign(trains, 0);
    trainMinK_.assign(trains, kNever);
    lastK_.assign(static_cast<std::size_t>(rides_) * (trains + 1), kNever);
    lastStart_.assign(static_cast<std::size_t>(rides_) * (trains + 1), 0);
    target_.fill(kNever);
  }

  std::vector<TJourney> Run(const std::vector<std::int32_t>& fromIds, const std::vector<std::int32_t>& toIds) {
    for (const std::int32_t s : fromIds) side_[Sz(s)] |= kFromSide;
    for (const std::int32_t s : toIds) side_[Sz(s)] |= kToSide;

    // Every departure in the window, latest first.
    std::vector<TBoardPoint> origins;
    for (const std::int32_t s : fromIds) {
      for (const std::int32_t pos : x_.StopsAt(s)) {
        const auto& stop = Stop(pos);
        if (!Boardable(pos) || stop.depClock < o_.DepartFrom || stop.depClock > o_.DepartUntil) continue;
        origins.push_back({stop.train, pos, stop.depClock - stop.depElapsed, -1});
      }
    }
    std::sort(origins.begin(), origins.end(), [&](const TBoardPoint& a, const TBoardPoint& b) {
      return std::tie(Stop(b.pos).depClock, a.train, a.pos) < std::tie(Stop(a.pos).depClock, b.train, b.pos);
    });
    std::vector<TBoardPoint> points;
    for (std::size_t i = 0; i < origins.size();) {
      const std::int32_t tau = Stop(origins[i].pos).depClock;
      points.clear();
      for (; i < origins.size() && Stop(origins[i].pos).depClock == tau; ++i) points.push_back(origins[i]);
      ++iteration_;
      for (int round = 1; round <= rides_; ++round) {
        if (round > 1) CollectBoardings(round, points);
        if (points.empty()) break;
        ScanTrains(round, points);
        points.clear();
      }
    }
    return Pareto(std::move(found_));
  }

 private:
  static std::size_t Sz(std::int32_t v) { return static_cast<std::size_t>(v); }
  std::size_t At(int round, std::int32_t station) const {
    return static_cast<std::size_t>(round - 1) * x_.stationNames_.size() + Sz(station);
  }
  const TConnectionIndex::Stop& Stop(std::int32_t pos) const { return x_.stops_[Sz(pos)]; }
  bool Boardable(std::int32_t pos) const {
    return Stop(pos).depClock >= 0 && pos + 1 < x_.trainFirst_[Sz(Stop(pos).train) + 1];
  }

  // The boardings of a round: at each station reached in the round before,
  // and at the other stations of its city, once the change time has passed.
  void CollectBoardings(int round, std::vector<TBoardPoint>& points) {
    touched_.clear();
    for (const std::int32_t s : marked_) {
      const std::int32_t arrival = best_[At(round - 1, s)];
      for (const std::int32_t* m = p_.MatesBegin(s); m != p_.MatesEnd(s); ++m) {
        if (side_[Sz(*m)] != 0) continue;
        const std::int32_t ready = arrival + (*m == s ? o_.MinChange : o_.CityChange);
        if (readyIn_[Sz(*m)] != iteration_ * kMaxRides + round) {
          readyIn_[Sz(*m)] = iteration_ * kMaxRides + round;
          ready_[Sz(*m)] = kNever;
          touched_.push_back(*m);
        }
        if (ready < ready_[Sz(*m)]) {
          ready_[Sz(*m)] = ready;
          readyFrom_[Sz(*m)] = s;
        }
      }
    }
    for (const std::int32_t m : touched_) {
      for (const std::int32_t pos : x_.StopsAt(m)) {
        if (!Boardable(pos)) continue;
        const auto& stop = Stop(pos);
        points.push_back(
            {stop.train, pos, NextDaily(stop.depClock, ready_[Sz(m)]) - stop.depElapsed, readyFrom_[Sz(m)]});
      }
    }
  }

  // Each train once, from its first boarding on: at every later stop the
  // earliest run among the boardings before it arrives. The boardings are
  // laid on the stops they board at (stamped with the round, so nothing is
  // cleared), and each train remembers its first, instead of being sorted.
  void ScanTrains(int round, const std::vector<TBoardPoint>& points) {
    const int stamp = iteration_ * kMaxRides + round;
    trains_.clear();
    for (const TBoardPoint& p : points) {
      const std::size_t pos = Sz(p.pos);
      if (boardIn_[pos] != stamp || p.k < boardK_[pos]) {
        boardIn_[pos] = stamp;
        boardK_[pos] = p.k;
        boardFrom_[pos] = p.previous;
      }
      const std::size_t train = Sz(p.train);
      if (trainIn_[train] != stamp) {
        trainIn_[train] = stamp;
        trainStart_[train] = p.pos;
        trainMinK_[train] = p.k;
        trains_.push_back(p.train);
      } else {
        trainStart_[train] = std::min(trainStart_[train], p.pos);
        trainMinK_[train] = std::min(trainMinK_[train], p.k);
      }
    }
    marked_.clear();
    for (const std::int32_t train : trains_) {
      // A run no earlier, boarded no earlier along the train, than one this
      // round scanned before (for a later departure) arrives nowhere sooner
      // than the labels that scan left: the train is passed over.
      const std::size_t last = static_cast<std::size_t>(round - 1) * x_.trainFirst_.size() + Sz(train);
      if (trainMinK_[Sz(train)] >= lastK_[last] && trainStart_[Sz(train)] >= lastStart_[last]) continue;
      const std::int32_t end = x_.trainFirst_[Sz(train) + 1];
      std::int32_t runK = kNever;
      std::int32_t board = -1;
      std::int32_t previous = -1;
      for (std::int32_t pos = trainStart_[Sz(train)]; pos < end; ++pos) {
        if (board >= 0) Arrive(round, pos, runK, board, previous);
        if (boardIn_[Sz(pos)] == stamp && boardK_[Sz(pos)] < runK) {
          runK = boardK_[Sz(pos)];
          board = pos;
          previous = boardFrom_[Sz(pos)];
        }
      }
      lastK_[last] = boardK_[Sz(trainStart_[Sz(train)])];
      lastStart_[last] = trainStart_[Sz(train)];
    }
  }

  // A stop reached: a journey when it is TO's, else a station to change at
  // in the next round, unless it cannot beat what reaches TO already with
  // one ride more.
  void Arrive(int round, std::int32_t pos, std::int32_t runK, std::int32_t board, std::int32_t previous) {
    const auto& stop = Stop(pos);
    if (stop.arrClock < 0) return;
    const std::int32_t arrival = runK + stop.arrElapsed;
    const std::uint8_t side = side_[Sz(stop.station)];
    if ((side & kToSide) != 0) {
      if (arrival >= target_[Sz(round - 1)]) return;
      for (int r = round; r <= rides_; ++r) target_[Sz(r - 1)] = std::min(target_[Sz(r - 1)], arrival);
      Record(TLabel{board, pos, runK, previous, round});
      return;
    }
    if (side != 0 || round == rides_ || arrival >= target_[Sz(round)] || arrival >= best_[At(round, stop.station)])
      return;
    const TLabel label{board, pos, runK, previous, round};
    for (int r = round; r <= rides_; ++r) {
      if (arrival < best_[At(r, stop.station)]) {
        best_[At(r, stop.station)] = arrival;
        labels_[At(r, stop.station)] = label;
      }
    }
    if (markedIn_[At(round, stop.station)] != iteration_) {
      markedIn_[At(round, stop.station)] = iteration_;
      marked_.push_back(stop.station);
    }
  }

  // The journey ending in last, its rides read back through the labels.
  void Record(const TLabel& last) {
    TJourney journey;
    for (TLabel label = last;; label = labels_[At(label.rides - 1, label.previous)]) {
      TJourneyRide& ride = journey.Rides.emplace_back();
      ride.Boarding = label.board;
      ride.Alighting = label.alight;
      ride.Depart = label.k + Stop(label.board).depElapsed;
      ride.Arrive = label.k + Stop(label.alight).arrElapsed;
      journey.Distance += Stop(label.alight).km - Stop(label.board).km;
      if (label.previous < 0) break;
    }
    std::reverse(journey.Rides.begin(), journey.Rides.end());
    for (std::size_t r = 1; r < journey.Rides.size(); ++r)
      journey.Rides[r].Wait = journey.Rides[r].Depart - journey.Rides[r - 1].Arrive;
    found_.push_back(std::move(journey));
  }

  // What no other journey beats, sorted; equal ones once.
  static std::vector<TJourney> Pareto(std::vector<TJourney> all) {
    std::sort(all.begin(), all.end(), [](const TJourney& a, const TJourney& b) {
      return std::make_tuple(-a.Depart(), a.Arrive(), a.Changes()) <
             std::make_tuple(-b.Depart(), b.Arrive(), b.Changes());
    });
    // Latest departures first: one is kept when everything departing no
    // earlier arrives later, or as early with more changes.
    std::vector<TJourney> kept;
    std::int32_t bestArrival[kMaxRides] = {kNever, kNever, kNever};
    for (TJourney& j : all) {
      const int c = j.Changes();
      if (j.Arrive() >= bestArrival[c]) continue;
      for (int r = c; r < kMaxRides; ++r) bestArrival[r] = std::min(bestArrival[r], j.Arrive());
      kept.push_back(std::move(j));
    }
    std::sort(kept.begin(), kept.end(), [](const TJourney& a, const TJourney& b) {
      return std::make_tuple(a.Depart(), a.Arrive(), a.Changes()) <
             std::make_tuple(b.Depart(), b.Arrive(), b.Changes());
    });
    return kept;
  }

  const TJourneyPlanner& p_;
  const TConnectionIndex& x_;
  const TJourneyOptions& o_;
  const int rides_;
  std::vector<std::uint8_t> side_;
  std::vector<std::int32_t> best_;  // earliest arrival with at most r rides, per round and station
  std::vector<TLabel> labels_;
  std::vector<int> markedIn_;
  std::vector<std::int32_t> marked_;
  std::vector<int> readyIn_;
  std::vector<std::int32_t> ready_;
  std::vector<std::int32_t> readyFrom_;
  std::vector<std::int32_t> touched_;
  std::vector<int> boardIn_;  // per stop: the round its boarding was laid
  std::vector<std::int32_t> boardK_;
  std::vector<std::int32_t> boardFrom_;
  std::vector<int> trainIn_;  // per train: the round it was touched
  std::vector<std::int32_t> trainStart_;
  std::vector<std::int32_t> trainMinK_;
  // Per round and train, the run and first boarding of its last scan.
  std::vector<std::int32_t> lastK_;
  std::vector<std::int32_t> lastStart_;
  std::vector<std::int32_t> trains_;
  std::array<std::int32_t, kMaxRides> target_{};
  std::vector<TJourney> found_;
  int iteration_ = 0;
};

TJourneyPlanner::TJourneyPlanner(const TConnectionIndex& index, const TTimetable& tt) : index_(index) {
  const std::size_t stations = static_cast<std::size_t>(index.StationCount());
  // Each station's group number, -1 when it is in none.
  std::vector<std::int32_t> group(stations, -1);
  const TMemTable& groups = tt.KMSM;
  if (groups.ColumnCount() > 0) {
    const int station = groups.FieldByName("Station").Column();
    const int gp = groups.FieldByName("Gp").Column();
    for (int r = 0; r < groups.RecordCount(); ++r) {
      const int id = index.StationId(groups.ValueOfRecord(r, station));
      if (id >= 0) group[static_cast<std::size_t>(id)] = groups.IntegerOfRecord(r, gp);
    }
  }
  std::vector<std::int32_t> order(stations);
  for (std::size_t s = 0; s < stations; ++s) order[s] = static_cast<std::int32_t>(s);
  std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    return group[static_cast<std::size_t>(a)] < group[static_cast<std::size_t>(b)];
  });
  mateStart_.assign(stations + 1, 0);
  std::vector<std::pair<std::size_t, std::size_t>> span(stations);  // each station's run in order
  for (std::size_t i = 0; i < stations;) {
    std::size_t j = i + 1;
    const std::int32_t g = group[static_cast<std::size_t>(order[i])];
    while (g >= 0 && j < stations && group[static_cast<std::size_t>(order[j])] == g) ++j;
    for (std::size_t k = i; k < j; ++k) span[static_cast<std::size_t>(order[k])] = {i, j};
    i = j;
  }
  for (std::size_t s = 0; s < stations; ++s) {
    mateStart_[s + 1] = mateStart_[s] + static_cast<std::int32_t>(span[s].second - span[s].first);
    for (std::size_t k = span[s].first; k < span[s].second; ++k) mates_.push_back(order[k]);
  }
}

const std::int32_t* TJourneyPlanner::MatesBegin(std::int32_t s) const {
  return mates_.data() + mateStart_[static_cast<std::size_t>(s)];
}

const std::int32_t* TJourneyPlanner::MatesEnd(std::int32_t s) const {
  return mates_.data() + mateStart_[static_cast<std::size_t>(s) + 1];
}

std::vector<TJourney> TJourneyPlanner::Plan(const std::vector<std::int32_t>& fromIds,
                                            const std::vector<std::int32_t>& toIds,
                                            const TJourneyOptions& options) const {
  if (fromIds.empty() || toIds.empty()) return {};
  return TJourneySearch(*this, options).Run(fromIds, toIds);
}

TJourneySides JourneySides(const TConnectionIndex& index, const TTimetable& tt, std::string_view from,
                           std::string_view to) {
  TPub_FZStruct fromSel = ResolveSelection(tt, from);
  TPub_FZStruct toSel = ResolveSelection(tt, to);
  const bool exact = PairExactMode(fromSel, toSel);
  return {SideStationIds(index, fromSel, exact), SideStationIds(index, toSel, exact)};
}

}  // namespace vormek
