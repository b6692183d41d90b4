#include "route_detours.h"

#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>

#include "gbk_convert.h"

namespace vormek::builder {
namespace {

constexpr int kUnreached = std::numeric_limits<int>::max();

}  // namespace

ShortestDistances::ShortestDistances(const Network& network) {
  for (const auto& entry : network.stations) {
    index_.emplace(entry.first, static_cast<int>(index_.size()));
  }
  edges_.resize(index_.size());
  for (const auto& [name, line] : network.lines) {
    for (std::size_t i = 1; i < line->posts.size(); ++i) {
      auto a = index_.find(line->posts[i - 1].station), b = index_.find(line->posts[i].station);
      if (a == index_.end() || b == index_.end()) continue;  // unknown stations are reported elsewhere
      int km = std::abs(line->posts[i].km - line->posts[i - 1].km);
      edges_[a->second].emplace_back(b->second, km);
      edges_[b->second].emplace_back(a->second, km);
    }
  }
}

std::optional<int> ShortestDistances::Between(const std::string& from, const std::string& to) {
  auto a = index_.find(from), b = index_.find(to);
  if (a == index_.end() || b == index_.end()) return std::nullopt;
  auto cached = fromSource_.find(a->second);
  if (cached == fromSource_.end()) {
    std::vector<int> dist(edges_.size(), kUnreached);
    using Item = std::pair<int, int>;  // km, station
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    dist[a->second] = 0;
    queue.emplace(0, a->second);
    while (!queue.empty()) {
      auto [km, at] = queue.top();
      queue.pop();
      if (km > dist[at]) continue;
      for (auto [next, step] : edges_[at]) {
        if (km + step < dist[next]) {
          dist[next] = km + step;
          queue.emplace(dist[next], next);
        }
      }
    }
    cached = fromSource_.emplace(a->second, std::move(dist)).first;
  }
  int km = cached->second[b->second];
  if (km == kUnreached) return std::nullopt;
  return km;
}

void CheckDetour(const TrainPattern& pattern, const BuiltTrain& outward, ShortestDistances& distances,
                 Diagnostics& diagnostics) {
  if (pattern.detour || outward.stops.size() < 2) return;
  const std::string& from = outward.stops.front().station;
  const std::string& to = outward.stops.back().station;
  int route = outward.stops.back().km;
  auto shortest = distances.Between(from, to);
  if (!shortest || route <= kDetourFactor * *shortest) return;
  diagnostics.Add(pattern.at.file, pattern.at.line,
                  "train " + ToUtf8(outward.id) + ": the route runs " + std::to_string(route) + " km from " +
                      ToUtf8(from) + " to " + ToUtf8(to) + ", more than 1.3 times the shortest way (" +
                      std::to_string(*shortest) + " km); mark a real detour with 'detour yes'");
}

}  // namespace vormek::builder
