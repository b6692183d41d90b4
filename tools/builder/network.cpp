#include "network.h"

#include <algorithm>
#include <set>

#include "gbk_convert.h"

namespace vormek::builder {

bool Network::IsMajor(const std::string& station) const {
  auto it = stations.find(station);
  return it != stations.end() && (it->second.group != 0 || it->second.lineCount >= 2);
}

Network BuildNetwork(const Sources& sources, Diagnostics& diagnostics) {
  Network net;
  std::vector<const StationDef*> firstSeen;
  for (const StationDef& s : sources.stations) {
    auto [it, added] = net.stations.try_emplace(s.name, StationInfo{s.code, s.unlisted, 0, 0});
    if (added) {
      firstSeen.push_back(&s);
    } else if (it->second.code != s.code) {
      diagnostics.Add(
          s.at.file, s.at.line,
          "station " + ToUtf8(s.name) + " has two different short codes (" + it->second.code + " and " + s.code + ")");
    } else {
      it->second.unlisted = it->second.unlisted || s.unlisted;
    }
  }
  // Stable sort by the first letter: within a letter the authored order stands.
  std::stable_sort(firstSeen.begin(), firstSeen.end(),
                   [](const StationDef* a, const StationDef* b) { return a->code[0] < b->code[0]; });
  for (const StationDef* s : firstSeen) {
    if (!net.stations.at(s->name).unlisted) net.pinyinOrder.push_back(s->name);
  }

  std::set<int> numbers;
  for (const GroupDef& g : sources.groups) {
    if (!numbers.insert(g.number).second) {
      diagnostics.Add(g.at.file, g.at.line, "group number " + std::to_string(g.number) + " is used twice");
    }
    if (g.stations.size() > 5) {
      diagnostics.Add(g.at.file, g.at.line, "a group with more than 5 stations");
    }
    for (const std::string& name : g.stations) {
      auto it = net.stations.find(name);
      if (it == net.stations.end()) {
        diagnostics.Add(g.at.file, g.at.line, "unknown station " + ToUtf8(name));
      } else if (it->second.group != 0) {
        diagnostics.Add(g.at.file, g.at.line, "station " + ToUtf8(name) + " is in two groups");
      } else {
        it->second.group = g.number;
        net.groupRows.emplace_back(name, g.number);
      }
    }
  }
  std::sort(net.groupRows.begin(), net.groupRows.end());

  for (const LineDef& line : sources.lines) {
    if (!net.lines.emplace(line.name, &line).second) {
      diagnostics.Add(line.at.file, line.at.line, "line name " + ToUtf8(line.name) + " is used twice");
    }
    if (line.speed == 0) diagnostics.Add(line.at.file, line.at.line, "line without 'speed'");
    if (line.posts.size() < 2) diagnostics.Add(line.at.file, line.at.line, "a line needs 2 or more stations");
    std::set<std::string> seen;
    for (const LinePost& post : line.posts) {
      auto it = net.stations.find(post.station);
      if (it == net.stations.end()) {
        diagnostics.Add(line.at.file, post.sourceLine, "unknown station " + ToUtf8(post.station));
        continue;
      }
      if (!seen.insert(post.station).second) {
        diagnostics.Add(line.at.file, post.sourceLine, "station " + ToUtf8(post.station) + " is twice on the line");
        continue;
      }
      ++it->second.lineCount;
    }
  }
  return net;
}

}  // namespace vormek::builder
