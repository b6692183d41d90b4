#include "sources.h"

#include <cctype>
#include <charconv>
#include <regex>
#include <string_view>

#include "gbk_convert.h"
#include "train_numbers.h"

namespace vormek::builder {
namespace {

constexpr int kStationNameChars = 20;

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseReal(std::string_view text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "-", or amounts in yuan (whole or with one decimal) joined by "/".
bool IsFareText(std::string_view text) {
  if (text == "-") return true;
  static const std::regex kAmounts("[0-9]{1,5}(\\.[0-9])?(/[0-9]{1,5}(\\.[0-9])?){0,2}");
  return text.size() <= 20 && std::regex_match(text.begin(), text.end(), kAmounts);
}

bool IsShortCode(std::string_view code) {
  if (code.empty() || code.size() > 5) return false;
  for (char c : code) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

// Reports a station name too long for its column; true when it fits.
bool CheckName(const std::string& name, const Place& at, Diagnostics& diagnostics) {
  if (GbkLength(name) <= kStationNameChars) return true;
  diagnostics.Add(at.file, at.line, "station name '" + ToUtf8(name) + "' is longer than 20 characters");
  return false;
}

void ParseStations(const SourceFile& file, Sources& out, Diagnostics& diagnostics) {
  for (const SourceLine& line : SplitLines(file, diagnostics)) {
    Place at{file.name, line.number};
    const auto& w = line.words;
    if (w.size() < 2 || w.size() > 3 || (w.size() == 3 && w[2] != "unlisted")) {
      diagnostics.Add(at.file, at.line, "a station line is '<name> <SHORTCODE> [unlisted]'");
      continue;
    }
    if (!IsShortCode(w[1])) {
      diagnostics.Add(at.file, at.line, "short code '" + w[1] + "' is not 1 to 5 upper-case letters");
      continue;
    }
    if (!CheckName(w[0], at, diagnostics)) continue;
    out.stations.push_back({w[0], w[1], w.size() == 3, at});
  }
}

void ParseGroups(const SourceFile& file, Sources& out, Diagnostics& diagnostics) {
  for (const SourceLine& line : SplitLines(file, diagnostics)) {
    Place at{file.name, line.number};
    const auto& w = line.words;
    auto number = ParseInt(w[0]);
    if (!number || *number <= 0) {
      diagnostics.Add(at.file, at.line, "a group line starts with a positive group number");
      continue;
    }
    if (w.size() < 2 || w.size() > 6) {
      diagnostics.Add(at.file, at.line, "a city group has 1 to 5 stations");
      continue;
    }
    out.groups.push_back({*number, std::vector<std::string>(w.begin() + 1, w.end()), at});
  }
}

void ParseLines(const SourceFile& file, Sources& out, Diagnostics& diagnostics) {
  LineDef* current = nullptr;
  for (const SourceLine& line : SplitLines(file, diagnostics)) {
    Place at{file.name, line.number};
    const auto& w = line.words;
    if (w[0] == "line" && w.size() == 2) {
      out.lines.push_back({w[1], 0, 0, 0, {}, at});
      current = &out.lines.back();
      continue;
    }
    if (!current) {
      diagnostics.Add(at.file, at.line, "a line file starts with 'line <name>'");
      return;
    }
    if (w[0] == "speed" && w.size() == 2) {
      auto speed = ParseInt(w[1]);
      if (!speed || *speed < 20 || *speed > 400) {
        diagnostics.Add(at.file, at.line, "speed is a whole number of km/h from 20 to 400");
      } else {
        current->speed = *speed;
      }
      continue;
    }
    if (w[0] == "fare" && w.size() == 3) {
      auto second = ParseReal(w[1]), first = ParseReal(w[2]);
      if (!second || !first || *second < 0.05 || *first < *second || *first > 2) {
        diagnostics.Add(at.file, at.line, "fare is two rates in yuan per km, second class then first, from 0.05 to 2");
      } else {
        current->secondClassPerKm = *second;
        current->firstClassPerKm = *first;
      }
      continue;
    }
    auto km = ParseInt(w[0]);
    if (!km || w.size() != 2) {
      diagnostics.Add(at.file, at.line, "a kilometre post is '<km> <station>'");
      continue;
    }
    if (!current->posts.empty() && *km <= current->posts.back().km) {
      diagnostics.Add(at.file, at.line, "distance going down: km must increase strictly along a line");
      continue;
    }
    if (!CheckName(w[1], at, diagnostics)) continue;
    current->posts.push_back({*km, w[1], line.number});
  }
}

class PatternReader {
 public:
  PatternReader(const SourceLine& line, Place at, Diagnostics& diagnostics)
      : words_(line.words), at_(std::move(at)), diagnostics_(diagnostics) {}

  std::optional<TrainPattern> Read() {
    TrainPattern p;
    p.at = at_;
    if (words_.size() < 2) return Fail("an entry starts with 'train <numbers>'");
    std::string error;
    auto numbers = ExpandNumbers(words_[1], error);
    if (!numbers) return Fail(error);
    p.numbers = *numbers;
    pos_ = 2;
    while (pos_ < words_.size()) {
      const std::string key = words_[pos_++];
      if (!ReadKey(key, p)) return std::nullopt;
    }
    if (p.type == 0) return Fail("'type' is missing");
    if (p.route.empty()) return Fail("'route' is missing");
    // A fixed departure at the start station is the departure.
    for (const FixedTime& fix : p.fixes) {
      if (p.departure < 0 && fix.station == p.route.front() && !fix.arrival) p.departure = *fix.departure;
    }
    if (p.departure < 0) return Fail("'dep' is missing: a missing time");
    if (p.numbers.size() > 1 && p.interval <= 0) return Fail("a series needs 'every <minutes>'");
    // Only G, D and C trains ran at fixed intervals; the others each had
    // their own times and stops, and expresses called by station, not by count.
    if (words_[1].find("..") != std::string::npos && RunsOnItsOwn(p.numbers.front())) {
      return Fail("a series (..) is for G, D and C trains; write each K, T, Z or numbered train as its own entry");
    }
    if (p.stopMode == StopMode::Every && IsClassicExpress(p.numbers.front())) {
      return Fail("'stops every:N' is not for K, T and Z trains; name their stops");
    }
    return p;
  }

 private:
  bool HasValue() const { return pos_ < words_.size(); }
  std::string Next() { return words_[pos_++]; }

  std::nullopt_t Fail(const std::string& message) {
    diagnostics_.Add(at_.file, at_.line, message);
    return std::nullopt;
  }

  bool Bad(const std::string& message) {
    Fail(message);
    return false;
  }

  std::optional<int> Clock(const std::string& key) {
    if (!HasValue()) return Fail("'" + key + "' needs a time HH:MM");
    auto minute = ParseClock(Next());
    if (!minute) return Fail("'" + key + "' needs a time HH:MM");
    return minute;
  }

  std::optional<int> Number(const std::string& key, int min, int max) {
    if (!HasValue()) return Fail("'" + key + "' needs a number");
    auto value = ParseInt(Next());
    if (!value || *value < min || *value > max) {
      return Fail("'" + key + "' takes a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return value;
  }

  using KeyReader = bool (PatternReader::*)(const std::string& key, TrainPattern& p);
  struct Keyword {
    std::string_view name;
    KeyReader read;
  };

  static const Keyword* FindKeyword(std::string_view word) {
    for (const Keyword& keyword : kKeywords) {
      if (keyword.name == word) return &keyword;
    }
    return nullptr;
  }

  static bool IsKeyword(const std::string& word) { return FindKeyword(word) != nullptr; }

  bool ReadKey(const std::string& key, TrainPattern& p) {
    const Keyword* keyword = FindKeyword(key);
    if (keyword == nullptr) return Bad("unknown keyword '" + ToUtf8(key) + "'");
    return (this->*keyword->read)(key, p);
  }

  bool ReadType(const std::string& key, TrainPattern& p) {
    auto type = Number(key, 1, 11);
    if (!type) return false;
    p.type = *type;
    return true;
  }

  bool ReadRoute(const std::string&, TrainPattern& p) {
    while (HasValue() && !IsKeyword(words_[pos_])) p.route.push_back(Next());
    if (p.route.size() < 3 || p.route.size() % 2 == 0) {
      return Bad("'route' is station, line, station [, line, station ...]");
    }
    return true;
  }

  bool ReadStops(const std::string&, TrainPattern& p) {
    if (!HasValue()) return Bad("'stops' needs all, major, every:N or a list");
    std::string value = Next();
    if (value == "all") {
      p.stopMode = StopMode::All;
    } else if (value == "major") {
      p.stopMode = StopMode::Major;
    } else if (value.starts_with("every:")) {
      auto n = ParseInt(std::string_view(value).substr(6));
      if (!n || *n < 1) return Bad("'stops every:N' needs N of 1 or more");
      p.stopMode = StopMode::Every;
      p.every = *n;
    } else {
      p.stopMode = StopMode::List;
      p.stopList = SplitList(value);
    }
    return true;
  }

  bool ReadAddOrSkip(const std::string& key, TrainPattern& p) {
    if (!HasValue()) return Bad("'" + key + "' needs a list of stations");
    auto list = SplitList(Next());
    auto& target = key == "add" ? p.add : p.skip;
    target.insert(target.end(), list.begin(), list.end());
    return true;
  }

  bool ReadDeparture(const std::string& key, TrainPattern& p) {
    auto minute = Clock(key);
    if (!minute) return false;
    p.departure = *minute;
    return true;
  }

  bool ReadEvery(const std::string& key, TrainPattern& p) {
    auto interval = Number(key, 1, 1440);
    if (!interval) return false;
    p.interval = *interval;
    return true;
  }

  bool ReadBack(const std::string& key, TrainPattern& p) {
    auto minute = Clock(key);
    if (!minute) return false;
    p.backDeparture = *minute;
    if (HasValue() && !IsKeyword(words_[pos_])) {
      std::string error;
      auto numbers = ExpandNumbers(Next(), error);
      if (!numbers) return Bad(error);
      p.backNumbers = *numbers;
    }
    return true;
  }

  bool ReadSpeed(const std::string& key, TrainPattern& p) {
    auto speed = Number(key, 20, 400);
    if (!speed) return false;
    p.speed = speed;
    return true;
  }

  bool ReadDwell(const std::string& key, TrainPattern& p) {
    auto dwell = Number(key, 0, 600);
    if (!dwell) return false;
    p.dwell = dwell;
    return true;
  }

  bool ReadFix(const std::string&, TrainPattern& p) {
    if (pos_ + 3 > words_.size()) return Bad("'fix' is station, arrival, departure");
    FixedTime fix;
    fix.station = Next();
    for (std::optional<int>* slot : {&fix.arrival, &fix.departure}) {
      std::string value = Next();
      if (value == "-") continue;
      *slot = ParseClock(value);
      if (!*slot) return Bad("'fix' times are HH:MM or -");
    }
    if (!fix.arrival && !fix.departure) return Bad("'fix' needs at least one time");
    p.fixes.push_back(fix);
    return true;
  }

  bool ReadFares(const std::string&, TrainPattern& p) {
    if (pos_ + 4 > words_.size()) return Bad("'fares' needs four fare texts");
    std::array<std::string, 4> fares;
    for (auto& fare : fares) {
      fare = Next();
      if (!IsFareText(fare)) return Bad("fare '" + fare + "' is not '-' or amounts like 143, 3.5, 280/291/303");
    }
    p.fares = fares;
    return true;
  }

  bool ReadFactor(const std::string&, TrainPattern& p) {
    auto factor = HasValue() ? ParseReal(Next()) : std::nullopt;
    if (!factor || *factor < 0.5 || *factor > 3) return Bad("'factor' is a number from 0.5 to 3");
    p.factor = factor;
    return true;
  }

  // yes or no, else the keyword's own complaint.
  std::optional<bool> YesOrNo(const std::string& key) {
    std::string value = HasValue() ? Next() : "";
    if (value != "yes" && value != "no") {
      Fail("'" + key + "' is yes or no");
      return std::nullopt;
    }
    return value == "yes";
  }

  bool ReadSleepers(const std::string& key, TrainPattern& p) {
    auto yes = YesOrNo(key);
    if (!yes) return false;
    p.sleepers = *yes;
    return true;
  }

  bool ReadDetour(const std::string& key, TrainPattern& p) {
    auto yes = YesOrNo(key);
    if (!yes) return false;
    p.detour = *yes;
    return true;
  }

  bool ReadListTo(const std::string&, TrainPattern& p) {
    if (!HasValue()) return Bad("'listto' needs a station");
    p.listTo = Next();
    return true;
  }

  // Every keyword of an entry and what reads its values; a word found here
  // also ends an open list of values (route, back).
  static constexpr Keyword kKeywords[] = {
      {"type", &PatternReader::ReadType},      {"route", &PatternReader::ReadRoute},
      {"stops", &PatternReader::ReadStops},    {"add", &PatternReader::ReadAddOrSkip},
      {"skip", &PatternReader::ReadAddOrSkip}, {"dep", &PatternReader::ReadDeparture},
      {"every", &PatternReader::ReadEvery},    {"back", &PatternReader::ReadBack},
      {"speed", &PatternReader::ReadSpeed},    {"dwell", &PatternReader::ReadDwell},
      {"fix", &PatternReader::ReadFix},        {"fares", &PatternReader::ReadFares},
      {"factor", &PatternReader::ReadFactor},  {"sleepers", &PatternReader::ReadSleepers},
      {"listto", &PatternReader::ReadListTo},  {"detour", &PatternReader::ReadDetour},
  };

  const std::vector<std::string>& words_;
  Place at_;
  Diagnostics& diagnostics_;
  std::size_t pos_ = 0;
};

void ParseTrains(const SourceFile& file, Sources& out, Diagnostics& diagnostics) {
  for (const SourceLine& line : JoinContinuations(SplitLines(file, diagnostics))) {
    Place at{file.name, line.number};
    if (line.words[0] != "train") {
      diagnostics.Add(at.file, at.line, "an entry starts with 'train' at the start of a line");
      continue;
    }
    if (auto pattern = PatternReader(line, at, diagnostics).Read()) {
      out.trains.push_back(std::move(*pattern));
    }
  }
}

}  // namespace

std::optional<int> ParseClock(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  for (int i : {0, 1, 3, 4}) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  }
  int hours = (text[0] - '0') * 10 + (text[1] - '0');
  int minutes = (text[3] - '0') * 10 + (text[4] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 60 + minutes;
}

Sources ParseSources(const SourceTree& tree, Diagnostics& diagnostics) {
  Sources out;
  for (const auto& file : tree.stations) ParseStations(file, out, diagnostics);
  for (const auto& file : tree.groups) ParseGroups(file, out, diagnostics);
  for (const auto& file : tree.lines) ParseLines(file, out, diagnostics);
  for (const auto& file : tree.trains) ParseTrains(file, out, diagnostics);
  return out;
}

}  // namespace vormek::builder
