#include "train_builder.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "gbk_convert.h"
#include "train_numbers.h"

namespace vormek::builder {
namespace {

constexpr int kDay = 24 * 60;

struct RoutePoint {
  std::string station;
  int km = 0;
  int segmentSpeed = 0;                         // line speed of the stretch from the previous point
  double secondClassPerKm = kSecondClassPerKm;  // G and C fares on that stretch
  double firstClassPerKm = kFirstClassPerKm;
  bool stop = false;
};

class PatternBuilder {
 public:
  PatternBuilder(const Network& network, const TrainPattern& pattern, Diagnostics& diagnostics)
      : net_(network), p_(pattern), diagnostics_(diagnostics) {}

  std::vector<BuiltTrain> Build() {
    std::vector<BuiltTrain> trains;
    if (!ResolveRoute() || !ChooseStops()) return trains;
    std::vector<std::string> backNumbers = p_.backNumbers;
    if (p_.backDeparture && backNumbers.empty()) {
      for (const std::string& number : p_.numbers) {
        auto partner = PartnerNumber(number);
        if (!partner) {
          Fail("no partner number for " + number + "; give 'back HH:MM <numbers>'");
          return trains;
        }
        backNumbers.push_back(*partner);
      }
    }
    if (p_.backDeparture && backNumbers.size() != p_.numbers.size()) {
      Fail("'back' gives " + std::to_string(backNumbers.size()) + " numbers for " + std::to_string(p_.numbers.size()) +
           " trains");
      return trains;
    }
    std::vector<RoutePoint> reversed = Reversed();
    for (std::size_t n = 0; n < p_.numbers.size(); ++n) {
      int offset = static_cast<int>(n) * p_.interval;
      if (auto train = Schedule(p_.numbers[n], points_, (p_.departure + offset) % kDay, true)) {
        trains.push_back(std::move(*train));
      }
      if (p_.backDeparture) {
        if (auto train = Schedule(backNumbers[n], reversed, (*p_.backDeparture + offset) % kDay, false)) {
          trains.push_back(std::move(*train));
        }
      }
    }
    return trains;
  }

 private:
  // Reports a problem of this pattern; returns false for the callers' convenience.
  bool Fail(const std::string& message) {
    diagnostics_.Add(p_.at.file, p_.at.line, message);
    return false;
  }

  bool ResolveRoute() {
    for (std::size_t i = 1; i + 1 < p_.route.size(); i += 2) {
      const std::string& from = p_.route[i - 1];
      const std::string& lineName = p_.route[i];
      const std::string& to = p_.route[i + 1];
      auto line = net_.lines.find(lineName);
      if (line == net_.lines.end()) return Fail("unknown line " + ToUtf8(lineName));
      const auto& posts = line->second->posts;
      auto find = [&](const std::string& s) {
        return std::find_if(posts.begin(), posts.end(), [&](const LinePost& lp) { return lp.station == s; });
      };
      auto a = find(from), b = find(to);
      for (auto [it, name] : {std::pair{a, &from}, std::pair{b, &to}}) {
        if (it == posts.end()) {
          if (!net_.stations.count(*name)) return Fail("unknown station " + ToUtf8(*name));
          return Fail("station " + ToUtf8(*name) + " is not on line " + ToUtf8(lineName));
        }
      }
      if (a == b) return Fail("the route stands still at " + ToUtf8(from));
      int step = a < b ? 1 : -1;
      int base = points_.empty() ? 0 : points_.back().km;
      for (auto it = a;; it += step) {
        if (it != a || points_.empty()) {
          const LineDef& def = *line->second;
          RoutePoint point{it->station, base + std::abs(it->km - a->km), def.speed};
          if (def.secondClassPerKm > 0) {
            point.secondClassPerKm = def.secondClassPerKm;
            point.firstClassPerKm = def.firstClassPerKm;
          }
          points_.push_back(point);
        }
        if (it == b) break;
      }
    }
    std::set<std::string> seen;
    for (const RoutePoint& point : points_) {
      if (!seen.insert(point.station).second) {
        return Fail("the train calls twice at station " + ToUtf8(point.station));
      }
    }
    return true;
  }

  bool OnRoute(const std::string& station) const {
    return std::any_of(points_.begin(), points_.end(), [&](const RoutePoint& r) { return r.station == station; });
  }

  bool MarkList(const std::vector<std::string>& list, bool value, const char* what) {
    for (const std::string& station : list) {
      if (!OnRoute(station)) {
        return Fail(std::string(what) + " station " + ToUtf8(station) + " is not on the route");
      }
      for (RoutePoint& r : points_) {
        if (r.station == station) r.stop = value;
      }
    }
    return true;
  }

  bool ChooseStops() {
    for (std::size_t i = 0; i < points_.size(); ++i) {
      RoutePoint& r = points_[i];
      switch (p_.stopMode) {
        case StopMode::All: r.stop = true; break;
        case StopMode::Major: r.stop = net_.IsMajor(r.station); break;
        case StopMode::Every: r.stop = i % static_cast<std::size_t>(p_.every) == 0 || net_.IsMajor(r.station); break;
        case StopMode::List: r.stop = false; break;
      }
    }
    if (!MarkList(p_.stopList, true, "stop") || !MarkList(p_.add, true, "added") ||
        !MarkList(p_.skip, false, "skipped")) {
      return false;
    }
    points_.front().stop = points_.back().stop = true;
    for (const FixedTime& fix : p_.fixes) {
      auto it =
          std::find_if(points_.begin(), points_.end(), [&](const RoutePoint& r) { return r.station == fix.station; });
      if (it == points_.end() || !it->stop)
        return Fail("fixed time at " + ToUtf8(fix.station) + ", which is not a stop");
    }
    return true;
  }

  std::vector<RoutePoint> Reversed() const {
    std::vector<RoutePoint> out(points_.rbegin(), points_.rend());
    int total = points_.back().km;
    for (std::size_t i = 0; i < out.size(); ++i) {
      out[i].km = total - out[i].km;
      const RoutePoint& segment = points_[points_.size() - (i == 0 ? 1 : i)];
      out[i].segmentSpeed = i == 0 ? 0 : segment.segmentSpeed;
      out[i].secondClassPerKm = segment.secondClassPerKm;
      out[i].firstClassPerKm = segment.firstClassPerKm;
    }
    return out;
  }

  double RunningSpeed(int lineSpeed) const {
    double cap = std::min(p_.speed.value_or(TypeSpeed(p_.type)), lineSpeed);
    // Starting, braking and slower stretches keep the average below the top speed.
    return cap * (p_.type <= 3 ? 0.88 : 0.78);
  }

  int Dwell(const std::string& station) const {
    if (p_.dwell) return *p_.dwell;
    auto it = net_.stations.find(station);  // unknown ones are reported elsewhere
    bool big = it != net_.stations.end() && it->second.group != 0;
    switch (p_.type) {
      case 1:
      case 2:
      case 3: return big ? 3 : 2;
      case 4:
      case 5: return big ? 8 : 4;
      case 6:
      case 7: return big ? 10 : 4;
      case 8:
      case 9: return big ? 10 : 3;
      default: return big ? 5 : 2;
    }
  }

  // The elapsed minute showing the given clock time that lies nearest to
  // `wanted` and not before `earliest`.
  static int AtClock(int startClock, int clock, int earliest, int wanted) {
    int first = earliest + (((clock - startClock - earliest) % kDay) + kDay) % kDay;
    int days = std::max(0, static_cast<int>(std::lround(static_cast<double>(wanted - first) / kDay)));
    return first + days * kDay;
  }

  const FixedTime* FixAt(const std::string& station, bool outward) const {
    if (!outward) return nullptr;
    for (const FixedTime& fix : p_.fixes) {
      if (fix.station == station) return &fix;
    }
    return nullptr;
  }

  std::optional<BuiltTrain> Schedule(const std::string& id, const std::vector<RoutePoint>& points, int startClock,
                                     bool outward) {
    BuiltTrain train;
    train.id = id;
    train.type = p_.type;
    train.at = p_.at;
    if (const FixedTime* fix = FixAt(points.front().station, outward)) {
      if (fix->arrival) {
        Fail("the start station has no arrival time");
        return std::nullopt;
      }
      startClock = *fix->departure;
    }
    train.startClock = startClock;
    train.stops.push_back({points.front().station, 0, -1, 0, {}});
    double running = 0;
    int lastDeparture = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
      running += (points[i].km - points[i - 1].km) / RunningSpeed(points[i].segmentSpeed) * 60.0;
      if (!points[i].stop) continue;
      bool last = i + 1 == points.size();
      int allowance = p_.type <= 3 ? 2 : 3;
      BuiltStop stop{points[i].station, points[i].km, 0, -1, {}};
      stop.arrival = lastDeparture + std::max(1, static_cast<int>(std::ceil(running)) + allowance);
      running = 0;
      const FixedTime* fix = FixAt(stop.station, outward);
      if (fix && fix->arrival) stop.arrival = AtClock(startClock, *fix->arrival, lastDeparture + 1, stop.arrival);
      if (!last) {
        stop.departure = stop.arrival + Dwell(stop.station);
        if (fix && fix->departure) stop.departure = AtClock(startClock, *fix->departure, stop.arrival, stop.departure);
        lastDeparture = stop.departure;
      } else if (fix && fix->departure) {
        Fail("the end station has no departure time");
        return std::nullopt;
      }
      train.stops.push_back(stop);
    }
    PriceStops(train, points, outward);
    train.listEnd = static_cast<int>(train.stops.size()) - 1;
    if (outward && p_.listTo) {
      auto it = std::find_if(train.stops.begin(), train.stops.end() - 1,
                             [&](const BuiltStop& s) { return s.station == *p_.listTo; });
      if (it == train.stops.begin() || it == train.stops.end() - 1) {
        Fail("'listto' names " + ToUtf8(*p_.listTo) + ", which is not an intermediate stop");
        return std::nullopt;
      }
      train.listEnd = static_cast<int>(it - train.stops.begin());
    }
    return train;
  }

  void PriceStops(BuiltTrain& train, const std::vector<RoutePoint>& points, bool outward) const {
    int total = train.stops.back().km;
    ClassicTerms terms;
    terms.type = p_.type;
    terms.factor = p_.factor.value_or(DefaultFactor(p_.type, total));
    terms.airConditioned = IsAirConditioned(p_.type);
    terms.sleepers = p_.sleepers.value_or(total >= 500);
    bool perKilometreD = !train.id.empty() && (train.id[0] == 'D' || train.id[0] == 'd');
    // G and C fares add up line by line, each line at its own rate.
    double secondClass = 0, firstClass = 0;
    std::size_t point = 0;
    for (std::size_t i = 1; i < train.stops.size(); ++i) {
      int km = train.stops[i].km;
      while (point + 1 < points.size() && points[point].station != train.stops[i].station) {
        ++point;
        int stretch = points[point].km - points[point - 1].km;
        secondClass += stretch * points[point].secondClassPerKm;
        firstClass += stretch * points[point].firstClassPerKm;
      }
      if (p_.type > 3) {
        train.stops[i].fares = ClassicFares(km, terms);
      } else {
        train.stops[i].fares = perKilometreD ? EmuFares(km, true) : HighSpeedFares(secondClass, firstClass);
      }
    }
    if (outward && p_.fares) train.stops.back().fares = *p_.fares;
  }

  const Network& net_;
  const TrainPattern& p_;
  Diagnostics& diagnostics_;
  std::vector<RoutePoint> points_;
};

}  // namespace

int TypeSpeed(int type) {
  static constexpr int kSpeeds[] = {0, 250, 300, 200, 160, 140, 120, 120, 100, 100, 80, 80};
  return type >= 1 && type <= 11 ? kSpeeds[type] : 80;
}

std::vector<BuiltTrain> BuildTrains(const Network& network, const TrainPattern& pattern, Diagnostics& diagnostics) {
  return PatternBuilder(network, pattern, diagnostics).Build();
}

}  // namespace vormek::builder
