#pragma once
// Turns one train pattern into its trains: the route over its lines, the
// stops, the times and the fares, for the outward trains and their returns.
#include <optional>
#include <string>
#include <vector>

#include "network.h"
#include "pricing.h"
#include "sources.h"

namespace vormek::builder {

struct BuiltStop {
  std::string station;
  int km = 0;
  int arrival = -1;    // minutes since the start's departure; -1 at the start
  int departure = -1;  // -1 at the end
  FareTexts fares;     // empty texts at the start
};

struct BuiltTrain {
  std::string id;
  int type = 0;
  int startClock = 0;  // minute of the day of the start's departure
  std::vector<BuiltStop> stops;
  int listEnd = -1;  // stop the train list record ends at (normally the last)
  Place at;
};

// Problems are reported and the affected trains left out.
std::vector<BuiltTrain> BuildTrains(const Network& network, const TrainPattern& pattern, Diagnostics& diagnostics);

// Running speed by type before the line's cap (G 300 ... 普客 80).
int TypeSpeed(int type);

}  // namespace vormek::builder
