#pragma once
// Shortest distances over the line network, to tell a train that takes the
// long way round from one that follows the direct line.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "network.h"
#include "sources.h"
#include "train_builder.h"

namespace vormek::builder {

// A route may be this much longer than the shortest way between its ends
// before it counts as a detour.
constexpr double kDetourFactor = 1.3;

class ShortestDistances {
 public:
  explicit ShortestDistances(const Network& network);
  // Km of the shortest way between two stations; nullopt when no lines join them.
  std::optional<int> Between(const std::string& from, const std::string& to);

 private:
  std::map<std::string, int> index_;
  std::vector<std::vector<std::pair<int, int>>> edges_;  // neighbour, km
  std::map<int, std::vector<int>> fromSource_;           // computed on demand
};

// Refuses the outward train of a pattern whose route is more than
// kDetourFactor times the shortest way, unless the pattern marks it real.
void CheckDetour(const TrainPattern& pattern, const BuiltTrain& outward, ShortestDistances& distances,
                 Diagnostics& diagnostics);

}  // namespace vormek::builder
