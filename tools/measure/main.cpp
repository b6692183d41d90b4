// vormek-measure <source folder> [<reference tables folder>]: builds the
// timetable from its sources (data/timetable) and prints how it reads: trains
// by letter, series and generated stops left, night departures, the largest
// city pairs and a traveller's journeys; with a reference folder (the
// national 2019 tables), also the classic coverage of its busiest cities.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "data/gbk_codec.h"
#include "data/table_text_folder.h"
#include "timetable_builder.h"
#include "timetable_measure.h"

namespace {

using namespace vormek;
using namespace vormek::measure;

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk); }

std::string Percent(int part, int whole) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
  return text;
}

std::string Elapsed(int minutes) {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::string Letters(const std::map<std::string, int>& counts) {
  // Multiple units, then the classic letters fastest first, then the rest.
  static const char* const kOrder[] = {"G", "D", "C", "Z", "T", "K", "1000-5999", "6000-7999"};
  std::ostringstream out;
  std::map<std::string, int> rest = counts;
  const char* sep = "";
  for (const char* letter : kOrder) {
    auto it = rest.find(letter);
    if (it == rest.end()) continue;
    out << sep << it->first << " " << it->second;
    sep = ", ";
    rest.erase(it);
  }
  for (const auto& [letter, n] : rest) {
    out << sep << letter << " " << n;
    sep = ", ";
  }
  return out.str();
}

// Entries of the sources that still generate trains: ranges, and stops
// picked by 'every:N', by the letter of their first number.
void PrintSeries(const builder::SourceTree& tree) {
  builder::Diagnostics ignored;
  builder::Sources sources = builder::ParseSources(tree, ignored);
  std::map<std::string, int> ranges, rangeTrains, every;
  int rangeEntries = 0, trains = 0, everyEntries = 0;
  for (const builder::TrainPattern& p : sources.trains) {
    const std::string letter = LetterOf(p.numbers.front());
    if (p.numbers.size() > 1) {
      ++rangeEntries;
      ++ranges[letter];
      rangeTrains[letter] += static_cast<int>(p.numbers.size());
      trains += static_cast<int>(p.numbers.size());
    }
    if (p.stopMode == builder::StopMode::Every) {
      ++everyEntries;
      ++every[letter];
    }
  }
  std::cout << "Entries with a range (..): " << rangeEntries << " holding " << trains << " outward trains\n"
            << "  entries by letter: " << Letters(ranges) << "\n"
            << "  outward trains by letter: " << Letters(rangeTrains) << "\n"
            << "Entries choosing stops by every:N: " << everyEntries << " (" << Letters(every) << ")\n";
}

void PrintJourneys(const Network& model, const Network* reference) {
  static const char* const kJourneys[][2] = {
      {"北京", "广州"}, {"上海", "成都"}, {"哈尔滨", "上海"}, {"西安", "重庆"}, {"昆明", "南宁"},
      {"北京", "上海"}, {"北京", "西安"}, {"上海", "广州"},   {"成都", "昆明"}, {"兰州", "乌鲁木齐"},
  };
  std::cout << "Journeys (trains by letter, fastest):\n";
  auto line = [](const Journey& j) {
    std::ostringstream out;
    int all = 0;
    for (const auto& [letter, n] : j.trainsByLetter) all += n;
    out << all << " trains";
    if (all > 0) out << " (" << Letters(j.trainsByLetter) << "), fastest " << Elapsed(j.fastest) << " " << j.fastestId;
    return out.str();
  };
  for (const auto& [from, to] : kJourneys) {
    std::cout << "  " << Utf8(from) << "-" << Utf8(to) << ": " << line(Trains(model, from, to)) << "\n";
    if (reference) std::cout << "      2019: " << line(Trains(*reference, from, to)) << "\n";
  }
}

void PrintCoverage(const Network& model, const Network& reference) {
  const Coverage c = ClassicCoverage(reference, model, 50);
  std::cout << "Classic coverage: " << c.joined << " of " << c.pairs << " pairs (" << Percent(c.joined, c.pairs)
            << ")\n"
            << "  The 50 cities with most trains calling in the reference tables (a city is a group of its\n"
            << "  group table, or a station in none); a reference city stands for every city of the built-in\n"
            << "  timetable that holds one of its station names. Pairs joined by a direct train not numbered\n"
            << "  G, D or C in the reference, and of those the pairs a built-in such train joins too.\n"
            << "  cities:";
  for (const std::string& city : c.cities) std::cout << " " << Utf8(city);
  std::cout << "\n  not in the built-in timetable:";
  for (const std::string& city : c.unmatched) std::cout << " " << Utf8(city);
  std::cout << "\n  pairs not joined (" << c.uncovered.size() << "):";
  for (std::size_t i = 0; i < c.uncovered.size(); ++i) {
    std::cout << (i % 8 == 0 ? "\n    " : "  ") << Utf8(c.uncovered[i].first) << "-" << Utf8(c.uncovered[i].second);
  }
  std::cout << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: vormek-measure <source folder> [<reference tables folder>]\n";
    return 2;
  }
  try {
    const builder::SourceTree tree = builder::ReadSourceTree(argv[1]);
    builder::Diagnostics diagnostics;
    auto tables = builder::BuildTimetable(tree, diagnostics);
    if (!tables) {
      std::cerr << diagnostics.Text();
      return 1;
    }
    TTimetable built;
    LoadTimetableFromTexts({tables->spy, tables->slist, tables->sm, tables->strain}, built);
    const Network model(built);

    TTimetable national;
    const bool withReference = argc == 3 && std::filesystem::is_directory(argv[2]);
    if (argc == 3 && !withReference) std::cout << "No reference tables at " << argv[2] << ": comparisons skipped\n";
    if (withReference) LoadTimetableFromDirectory(argv[2], national);
    const Network reference(national);

    std::cout << "Built-in timetable: " << model.Runs().size() << " trains, " << diagnostics.Warnings().size()
              << " builder warnings\n"
              << "Trains by letter: " << Letters(CountByLetter(model)) << "\n";
    PrintSeries(tree);
    auto [night, all] = NightDepartures(model);
    std::cout << "K, T and Z trains leaving their origin 00:30-05:00: " << night << " of " << all << " ("
              << Percent(night, all) << ")\n";
    if (withReference) {
      auto [refNight, refAll] = NightDepartures(reference);
      std::cout << "  2019: " << refNight << " of " << refAll << " (" << Percent(refNight, refAll) << ")\n";
      PrintCoverage(model, reference);
    }
    std::cout << "Largest city pairs (trains calling at both):\n";
    for (const PairCount& p : LargestPairs(model, 10)) {
      std::cout << "  " << Utf8(p.cities.first) << "-" << Utf8(p.cities.second) << " " << p.trains << "\n";
    }
    PrintJourneys(model, withReference ? &reference : nullptr);
  } catch (const std::exception& e) {
    std::cerr << "vormek-measure: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
