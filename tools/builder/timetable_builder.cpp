#include "timetable_builder.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "gbk_convert.h"
#include "network.h"
#include "route_detours.h"

namespace vormek::builder {
namespace {

constexpr int kMaxStops = 62;
constexpr int kTrainNumberChars = 35;

std::vector<SourceFile> ReadFolder(const std::filesystem::path& root, const char* folder) {
  std::vector<SourceFile> files;
  std::filesystem::path dir = root / folder;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    files.push_back({std::string(folder) + "/" + entry.path().filename().string(), text.str()});
  }
  std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  return files;
}

}  // namespace

SourceTree ReadSourceTree(const std::filesystem::path& root) {
  return {ReadFolder(root, "stations"), ReadFolder(root, "groups"), ReadFolder(root, "lines"),
          ReadFolder(root, "trains"), ReadFolder(root, "pinyin")};
}

void CheckTrains(const std::vector<BuiltTrain>& trains, const Network& network, Diagnostics& diagnostics) {
  std::map<std::string, const BuiltTrain*> byNumber;
  for (const BuiltTrain& t : trains) {
    auto report = [&](const std::string& message) {
      diagnostics.Add(t.at.file, t.at.line, "train " + ToUtf8(t.id) + ": " + message);
    };
    auto [it, added] = byNumber.emplace(t.id, &t);
    if (!added) {
      report("duplicate train number (also at " + it->second->at.file + ":" + std::to_string(it->second->at.line) +
             ")");
    }
    if (GbkLength(t.id) > kTrainNumberChars) report("train number longer than 35 characters");
    int count = static_cast<int>(t.stops.size());
    if (count < 2 || count > kMaxStops) {
      report("a train with fewer than 2 or more than 62 stops (" + std::to_string(count) + ")");
      continue;
    }
    std::set<std::string> seen;
    for (int i = 0; i < count; ++i) {
      const BuiltStop& s = t.stops[i];
      if (!network.stations.count(s.station)) report("unknown station " + ToUtf8(s.station));
      if (!seen.insert(s.station).second) report("calls twice at station " + ToUtf8(s.station));
      bool first = i == 0, last = i == count - 1;
      if ((first && s.arrival >= 0) || (!first && s.arrival < 0) || (last && s.departure >= 0) ||
          (!last && s.departure < 0)) {
        report("a missing time at stop " + std::to_string(i + 1));
      }
      if (i > 0) {
        const BuiltStop& prev = t.stops[i - 1];
        if (s.km < prev.km) report("distance going down at stop " + std::to_string(i + 1));
        if (s.arrival <= prev.departure) report("running time going down at stop " + std::to_string(i + 1));
      }
      if (!last && s.departure >= 0 && s.departure < s.arrival) {
        report("departs before it arrives at stop " + std::to_string(i + 1));
      }
    }
  }
}

std::optional<TableTexts> BuildTimetable(const SourceTree& tree, Diagnostics& diagnostics) {
  Sources sources = ParseSources(tree, diagnostics);
  Network network = BuildNetwork(sources, diagnostics);
  std::vector<PinyinRow> spellings = FullPinyinRows(tree.pinyin, network, diagnostics);
  std::vector<BuiltTrain> trains;
  ShortestDistances distances(network);
  for (const TrainPattern& pattern : sources.trains) {
    auto built = BuildTrains(network, pattern, diagnostics);
    if (!built.empty()) CheckDetour(pattern, built.front(), distances, diagnostics);
    std::move(built.begin(), built.end(), std::back_inserter(trains));
  }
  CheckTrains(trains, network, diagnostics);
  diagnostics.Sort();
  if (!diagnostics.Empty()) return std::nullopt;
  TableTexts tables = WriteTables(network, std::move(trains));
  tables.sqp = FullPinyinTableText(spellings);
  return tables;
}

void WriteTableFiles(const TableTexts& tables, const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  for (auto [name, text] :
       {std::pair{"SLIST.txt", &tables.slist}, std::pair{"STRAIN.txt", &tables.strain}, std::pair{"SM.txt", &tables.sm},
        std::pair{"SPY.txt", &tables.spy}, std::pair{"SQP.txt", &tables.sqp}}) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(text->data(), static_cast<std::streamsize>(text->size()));
    if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
  }
}

}  // namespace vormek::builder
