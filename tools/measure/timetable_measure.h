#pragma once
// Figures that tell how much a timetable reads like the real network, and
// how the built-in one compares with another (the national 2019 tables):
// trains by letter, night departures, the city pairs classic trains join,
// and the trains of a few journeys. Names are GBK, as in the tables.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/timetable.h"

namespace vormek::measure {

struct Call {
  std::string station;
  int arrival = -1;    // minutes after the origin's departure; -1 at the origin
  int departure = -1;  // -1 at the terminal
};

struct Run {
  std::string id;
  int startClock = 0;  // minute of the day the origin is left
  std::vector<Call> calls;
};

// A city is a group of the group table, or a station in no group. A key
// names it: "#<group number>" for a group, the station's name otherwise.
class Network {
 public:
  explicit Network(const TTimetable& tables);

  const std::vector<Run>& Runs() const { return runs_; }
  std::string CityOf(const std::string& station) const;
  // Every station of a city this timetable knows (group members, called
  // stations).
  const std::vector<std::string>& StationsOf(const std::string& city) const;
  // The shortest station name of the city, the busiest of those.
  std::string NameOf(const std::string& city) const;
  // Trains calling at the city, each counted once.
  int TrainsAt(const std::string& city) const;
  // Cities by trains calling, most first (ties by key).
  std::vector<std::string> CitiesByTrains() const;

 private:
  std::vector<Run> runs_;
  std::map<std::string, int> groupOf_;
  std::map<std::string, std::vector<std::string>> stations_;
  std::map<std::string, int> trainsAt_;       // by city
  std::map<std::string, int> stationTrains_;  // by station
};

// "G", "D", "C", "Z", "T", "K", other letters as written, "1000-5999" and
// "6000-7999" for numbered trains, "other digits" for the rest; the first
// number of a combined one counts.
std::string LetterOf(const std::string& id);
// Not a G, D or C multiple unit.
bool IsClassic(const std::string& id);

std::map<std::string, int> CountByLetter(const Network& network);

// K, T and Z trains leaving their origin from 00:30 up to 05:00, of all K, T
// and Z trains.
std::pair<int, int> NightDepartures(const Network& network);

using CityPair = std::pair<std::string, std::string>;  // city names

struct Coverage {
  std::vector<std::string> cities;     // the reference's busiest, by name
  std::vector<std::string> unmatched;  // of those, not found in the model
  int pairs = 0;                       // joined by a direct classic train in the reference
  int joined = 0;                      // of those, joined in the model too
  std::vector<CityPair> uncovered;     // the rest
};

// The busiest `top` cities of the reference; a reference city is the
// model's cities holding any of its station names. A pair is joined when a
// classic train calls at both, in either order.
Coverage ClassicCoverage(const Network& reference, const Network& model, int top);

struct PairCount {
  CityPair cities;
  int trains = 0;
};

// City pairs by the trains calling at both, most first.
std::vector<PairCount> LargestPairs(const Network& network, int count);

struct Journey {
  std::map<std::string, int> trainsByLetter;
  int fastest = -1;  // minutes from boarding to alighting; -1 without a train
  std::string fastestId;
};

// Trains from the city of one station to that of another, boarding at the
// first stop in the first city and alighting at the last in the second
// after it, as the station-to-station query picks them.
Journey Trains(const Network& network, const std::string& from, const std::string& to);

}  // namespace vormek::measure
