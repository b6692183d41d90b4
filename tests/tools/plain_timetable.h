#pragma once
// The stop table read plainly, train by train, for the enumerations the
// connection and journey searches are checked against: none of the searches'
// own arrays or indexes.
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "data/timetable.h"
#include "rules/UPub_Center.h"

namespace vormek {

inline int Clock(const std::string& text) {
  int h = 0, m = 0;
  if (std::sscanf(text.c_str(), "%d:%d", &h, &m) != 2) return -1;
  return h * 60 + m;
}

struct PlainStop {
  int station = 0;  // index into the names
  int arr = -1, dep = -1, elapsed = 0, km = 0;
};

struct PlainTrain {
  std::string id;
  std::vector<PlainStop> stops;
};

struct PlainTimetable {
  std::vector<PlainTrain> trains;
  std::vector<std::string> names;
};

inline PlainTimetable ReadTrains(const TMemTable& t) {
  PlainTimetable plain;
  std::map<std::string, int> ids;
  auto& trains = plain.trains;
  auto col = [&](const char* name) { return t.FieldByName(name).Column(); };
  const int id = col("ID"), st = col("Station"), a = col("A_Time"), d = col("D_Time"), r = col("R_Date"),
            km = col("Distance");
  for (int i = 0; i < t.RecordCount(); ++i) {
    if (trains.empty() || trains.back().id != t.ValueAt(i, id)) trains.push_back({std::string(t.ValueAt(i, id)), {}});
    PlainStop s;
    const auto [it, added] = ids.emplace(std::string(t.ValueAt(i, st)), static_cast<int>(plain.names.size()));
    if (added) plain.names.push_back(it->first);
    s.station = it->second;
    s.arr = Clock(std::string(t.ValueAt(i, a)));
    s.dep = Clock(std::string(t.ValueAt(i, d)));
    s.elapsed = DurationToMinutes(t.ValueAt(i, r));
    s.km = t.IntegerAt(i, km);
    trains.back().stops.push_back(s);
  }
  return plain;
}

// Minutes from the origin's departure to leaving this stop.
inline int LeaveElapsed(const PlainStop& s) {
  if (s.arr < 0 || s.dep < 0) return s.elapsed;
  int dwell = s.dep - s.arr;
  while (dwell < 0) dwell += 1440;
  return s.elapsed + dwell;
}

// Pairs of stations with trains, weighted by calls: busy stations come up
// more often.
inline std::vector<std::pair<std::string, std::string>> RandomPairs(const TTimetable& tt, int count,
                                                                    std::mt19937& random) {
  const TMemTable& stops = tt.KMTrain;
  const int st = stops.FieldByName("Station").Column();
  std::uniform_int_distribution<int> pick(0, stops.RecordCount() - 1);
  std::vector<std::pair<std::string, std::string>> pairs;
  while (static_cast<int>(pairs.size()) < count) {
    std::string a(stops.ValueAt(pick(random), st)), b(stops.ValueAt(pick(random), st));
    if (a != b) pairs.emplace_back(a, b);
  }
  return pairs;
}

}  // namespace vormek
