#pragma once
// The checked station, group and line data every train pattern refers to.
#include <map>
#include <string>
#include <vector>

#include "sources.h"

namespace vormek::builder {

struct StationInfo {
  std::string code;
  bool unlisted = false;
  int lineCount = 0;  // lines through it: 2 or more make a junction
  int group = 0;      // 0: in no group
};

struct Network {
  std::map<std::string, StationInfo> stations;
  std::vector<std::string> pinyinOrder;  // the pinyin table, unlisted left out
  std::map<std::string, const LineDef*> lines;
  std::vector<std::pair<std::string, int>> groupRows;  // station, group; by station

  bool IsMajor(const std::string& station) const;
};

// Checks stations (one short code each), groups (1 to 5 stations, unique
// numbers, a station in one group), lines (known stations, unique names,
// a speed). Sources must outlive the network.
Network BuildNetwork(const Sources& sources, Diagnostics& diagnostics);

}  // namespace vormek::builder
