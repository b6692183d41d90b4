#include "timetable_measure.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "rules/UPub_Center.h"

namespace vormek::measure {
namespace {

constexpr int kDay = 24 * 60;

int ClockMinutes(std::string_view clock) {
  if (clock.size() != 5 || clock[2] != ':') return -1;
  return ((clock[0] - '0') * 10 + (clock[1] - '0')) * 60 + (clock[3] - '0') * 10 + (clock[4] - '0');
}

std::vector<Run> ReadRuns(const TTimetable& t) {
  const TMemTable& list = t.KMList;
  std::map<std::string, int, std::less<>> startClock;
  const int listId = list.FieldByName("ID").Column(), listDeparture = list.FieldByName("A_Time").Column();
  for (int i = 0; i < list.RecordCount(); ++i) {
    startClock.emplace(std::string(list.ValueAt(i, listId)), ClockMinutes(list.ValueAt(i, listDeparture)));
  }
  const TMemTable& stops = t.KMTrain;
  const int id = stops.FieldByName("ID").Column(), station = stops.FieldByName("Station").Column();
  const int arrival = stops.FieldByName("A_Time").Column(), departure = stops.FieldByName("D_Time").Column();
  const int elapsed = stops.FieldByName("R_Date").Column();
  std::vector<Run> runs;
  for (int i = 0; i < stops.RecordCount(); ++i) {
    std::string_view number = stops.ValueAt(i, id);
    if (runs.empty() || runs.back().id != number) {
      Run& run = runs.emplace_back();
      run.id = std::string(number);
      auto it = startClock.find(number);
      run.startClock = it != startClock.end() ? it->second : ClockMinutes(stops.ValueAt(i, departure));
    }
    Call call;
    call.station = std::string(stops.ValueAt(i, station));
    const int at = ClockMinutes(stops.ValueAt(i, arrival)), leave = ClockMinutes(stops.ValueAt(i, departure));
    const int reached = DurationToMinutes(stops.ValueAt(i, elapsed));
    if (at >= 0) call.arrival = reached;
    if (leave >= 0) call.departure = at >= 0 ? reached + ((leave - at) % kDay + kDay) % kDay : reached;
    runs.back().calls.push_back(std::move(call));
  }
  return runs;
}

}  // namespace

Network::Network(const TTimetable& tables) : runs_(ReadRuns(tables)) {
  const TMemTable& groups = tables.KMSM;
  const int station = groups.FieldByName("Station").Column(), group = groups.FieldByName("Gp").Column();
  for (int i = 0; i < groups.RecordCount(); ++i) {
    std::string name(groups.ValueAt(i, station));
    groupOf_[name] = groups.IntegerAt(i, group);
    stations_[CityOf(name)].push_back(name);
  }
  for (const Run& run : runs_) {
    std::set<std::string> cities;
    for (const Call& call : run.calls) {
      std::string city = CityOf(call.station);
      ++stationTrains_[call.station];
      std::vector<std::string>& members = stations_[city];
      if (std::find(members.begin(), members.end(), call.station) == members.end()) members.push_back(call.station);
      cities.insert(city);
    }
    for (const std::string& city : cities) ++trainsAt_[city];
  }
}

std::string Network::CityOf(const std::string& station) const {
  auto it = groupOf_.find(station);
  return it == groupOf_.end() ? station : "#" + std::to_string(it->second);
}

const std::vector<std::string>& Network::StationsOf(const std::string& city) const {
  static const std::vector<std::string> none;
  auto it = stations_.find(city);
  return it == stations_.end() ? none : it->second;
}

std::string Network::NameOf(const std::string& city) const {
  std::string best;
  for (const std::string& s : StationsOf(city)) {
    auto trains = [&](const std::string& name) {
      auto it = stationTrains_.find(name);
      return it == stationTrains_.end() ? 0 : it->second;
    };
    if (best.empty() || s.size() < best.size() ||
        (s.size() == best.size() && (trains(s) > trains(best) || (trains(s) == trains(best) && s < best)))) {
      best = s;
    }
  }
  return best.empty() ? city : best;
}

int Network::TrainsAt(const std::string& city) const {
  auto it = trainsAt_.find(city);
  return it == trainsAt_.end() ? 0 : it->second;
}

std::vector<std::string> Network::CitiesByTrains() const {
  std::vector<std::string> cities;
  for (const auto& [city, trains] : trainsAt_) cities.push_back(city);
  std::stable_sort(cities.begin(), cities.end(),
                   [&](const std::string& a, const std::string& b) { return TrainsAt(a) > TrainsAt(b); });
  return cities;
}

std::string LetterOf(const std::string& id) {
  if (id.empty()) return "other digits";
  const unsigned char first = static_cast<unsigned char>(id[0]);
  if (std::isalpha(first)) return std::string(1, static_cast<char>(std::toupper(first)));
  std::size_t end = 0;
  while (end < id.size() && std::isdigit(static_cast<unsigned char>(id[end]))) ++end;
  if (end != 4) return "other digits";
  const int number = std::stoi(id.substr(0, 4));
  if (number >= 1000 && number <= 5999) return "1000-5999";
  if (number >= 6000 && number <= 7999) return "6000-7999";
  return "other digits";
}

bool IsClassic(const std::string& id) {
  const std::string letter = LetterOf(id);
  return letter != "G" && letter != "D" && letter != "C";
}

std::map<std::string, int> CountByLetter(const Network& network) {
  std::map<std::string, int> counts;
  for (const Run& run : network.Runs()) ++counts[LetterOf(run.id)];
  return counts;
}

std::pair<int, int> NightDepartures(const Network& network) {
  int night = 0, all = 0;
  for (const Run& run : network.Runs()) {
    const std::string letter = LetterOf(run.id);
    if (letter != "K" && letter != "T" && letter != "Z") continue;
    ++all;
    if (run.startClock >= 30 && run.startClock < 5 * 60) ++night;
  }
  return {night, all};
}

Coverage ClassicCoverage(const Network& reference, const Network& model, int top) {
  Coverage out;
  std::vector<std::string> busiest = reference.CitiesByTrains();
  if (static_cast<int>(busiest.size()) > top) busiest.resize(static_cast<std::size_t>(top));
  const int n = static_cast<int>(busiest.size());
  // Station name -> the busiest cities it stands for, in each timetable.
  std::map<std::string, std::set<int>> inReference, inModel;
  for (int c = 0; c < n; ++c) {
    out.cities.push_back(reference.NameOf(busiest[c]));
    std::set<std::string> modelCities;
    for (const std::string& station : reference.StationsOf(busiest[c])) {
      inReference[station].insert(c);
      if (!model.StationsOf(model.CityOf(station)).empty()) modelCities.insert(model.CityOf(station));
    }
    if (modelCities.empty()) out.unmatched.push_back(out.cities.back());
    for (const std::string& city : modelCities) {
      for (const std::string& station : model.StationsOf(city)) inModel[station].insert(c);
    }
  }
  auto joinedBy = [n](const Network& network, const std::map<std::string, std::set<int>>& cityOf) {
    std::vector<std::vector<bool>> joined(static_cast<std::size_t>(n), std::vector<bool>(static_cast<std::size_t>(n)));
    for (const Run& run : network.Runs()) {
      if (!IsClassic(run.id)) continue;
      std::set<int> called;
      for (const Call& call : run.calls) {
        auto it = cityOf.find(call.station);
        if (it != cityOf.end()) called.insert(it->second.begin(), it->second.end());
      }
      for (int a : called) {
        for (int b : called) joined[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = true;
      }
    }
    return joined;
  };
  const auto ref = joinedBy(reference, inReference), mod = joinedBy(model, inModel);
  for (std::size_t a = 0; a < busiest.size(); ++a) {
    for (std::size_t b = a + 1; b < busiest.size(); ++b) {
      if (!ref[a][b]) continue;
      ++out.pairs;
      if (mod[a][b]) {
        ++out.joined;
      } else {
        out.uncovered.push_back({out.cities[a], out.cities[b]});
      }
    }
  }
  return out;
}

std::vector<PairCount> LargestPairs(const Network& network, int count) {
  std::map<std::pair<std::string, std::string>, int> trains;
  for (const Run& run : network.Runs()) {
    std::set<std::string> cities;
    for (const Call& call : run.calls) cities.insert(network.CityOf(call.station));
    for (auto a = cities.begin(); a != cities.end(); ++a) {
      for (auto b = std::next(a); b != cities.end(); ++b) ++trains[{*a, *b}];
    }
  }
  std::vector<PairCount> pairs;
  for (const auto& [cities, n] : trains) {
    pairs.push_back({{network.NameOf(cities.first), network.NameOf(cities.second)}, n});
  }
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const PairCount& a, const PairCount& b) { return a.trains > b.trains; });
  if (static_cast<int>(pairs.size()) > count) pairs.resize(static_cast<std::size_t>(count));
  return pairs;
}

Journey Trains(const Network& network, const std::string& from, const std::string& to) {
  Journey out;
  const std::string fromCity = network.CityOf(from), toCity = network.CityOf(to);
  for (const Run& run : network.Runs()) {
    const std::vector<Call>& calls = run.calls;
    std::size_t board = 0;
    while (board < calls.size() && (network.CityOf(calls[board].station) != fromCity || calls[board].departure < 0)) {
      ++board;
    }
    int alight = -1;
    for (std::size_t i = board + 1; i < calls.size(); ++i) {
      if (network.CityOf(calls[i].station) == toCity) alight = static_cast<int>(i);
    }
    if (board >= calls.size() || alight < 0) continue;
    ++out.trainsByLetter[LetterOf(run.id)];
    const int minutes = calls[static_cast<std::size_t>(alight)].arrival - calls[board].departure;
    if (out.fastest < 0 || minutes < out.fastest) {
      out.fastest = minutes;
      out.fastestId = run.id;
    }
  }
  return out;
}

}  // namespace vormek::measure
