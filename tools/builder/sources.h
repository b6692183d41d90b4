#pragma once
// The authored timetable as read from its files: stations, city groups,
// lines with kilometre posts, and train patterns. All names are GBK.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "source_lines.h"

namespace vormek::builder {

struct Place {
  std::string file;
  int line = 0;
};

struct StationDef {
  std::string name;
  std::string code;
  bool unlisted = false;
  Place at;
};

struct GroupDef {
  int number = 0;
  std::vector<std::string> stations;
  Place at;
};

struct LinePost {
  int km = 0;
  std::string station;
  int sourceLine = 0;
};

struct LineDef {
  std::string name;
  int speed = 0;
  // G and C fares on this line, yuan per km of second and first class;
  // 0: the general rate.
  double secondClassPerKm = 0;
  double firstClassPerKm = 0;
  std::vector<LinePost> posts;
  Place at;
};

enum class StopMode { All, Major, Every, List };

struct FixedTime {
  std::string station;
  std::optional<int> arrival;  // minute of the day
  std::optional<int> departure;
};

struct TrainPattern {
  Place at;
  std::vector<std::string> numbers;  // outward trains, in series order
  int type = 0;
  std::vector<std::string> route;  // station, line, station, line, station...
  StopMode stopMode = StopMode::All;
  int every = 0;
  std::vector<std::string> stopList, add, skip;
  int departure = -1;  // minute of the day
  int interval = 0;
  std::optional<int> backDeparture;
  std::vector<std::string> backNumbers;  // empty: partners of numbers
  std::optional<int> speed, dwell;
  std::vector<FixedTime> fixes;
  std::optional<std::array<std::string, 4>> fares;
  std::optional<double> factor;
  std::optional<bool> sleepers;
  std::optional<std::string> listTo;
  bool detour = false;  // the route really went the long way round
};

struct Sources {
  std::vector<StationDef> stations;  // in file order (files sorted by name)
  std::vector<GroupDef> groups;
  std::vector<LineDef> lines;
  std::vector<TrainPattern> trains;
};

struct SourceTree {
  std::vector<SourceFile> stations, groups, lines, trains;
  std::vector<SourceFile> pinyin;  // full-pinyin spellings
};

// Parses every file; problems of form go to diagnostics, the rest is kept.
Sources ParseSources(const SourceTree& tree, Diagnostics& diagnostics);

// "HH:MM" -> minute of the day.
std::optional<int> ParseClock(std::string_view text);

}  // namespace vormek::builder
