#include "full_pinyin.h"

#include <algorithm>
#include <map>

#include "gbk_convert.h"

namespace vormek::builder {
namespace {

bool IsSpelling(const std::string& text) {
  return !text.empty() && text.size() <= static_cast<std::size_t>(kSpellingChars) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// 堡 reads pu in most station names (柴沟堡 chaigoupu) but bao or bu in
// some (河西堡 hexibao, 吴堡 wubu): its short code's last letter must follow
// the spelling. Empty when they agree.
std::string CodeAgainstSpelling(const std::string& station, const std::string& code, const std::string& spelling) {
  if (!station.ends_with("堡") || code.empty()) return {};
  const char initial = spelling.ends_with("pu")                                  ? 'P'
                       : (spelling.ends_with("bao") || spelling.ends_with("bu")) ? 'B'
                                                                                 : 0;
  if (initial == 0 || code.back() == initial) return {};
  return "station " + ToUtf8(station) + ": short code " + code + " does not end in " + initial + " as its spelling " +
         spelling + " reads";
}

}  // namespace

std::vector<PinyinRow> FullPinyinRows(const std::vector<SourceFile>& files, const Network& network,
                                      Diagnostics& diagnostics) {
  std::map<std::string, std::string> spelling;
  for (const SourceFile& file : files) {
    for (const SourceLine& line : SplitLines(file, diagnostics)) {
      if (line.words.size() != 2 || !IsSpelling(line.words[1])) {
        diagnostics.Add(file.name, line.number,
                        "expected '<station> <full pinyin>' in lower-case letters a-z, at most 40");
        continue;
      }
      const auto station = network.stations.find(line.words[0]);
      if (station == network.stations.end() || !spelling.try_emplace(line.words[0], line.words[1]).second) continue;
      const std::string disagreement = CodeAgainstSpelling(line.words[0], station->second.code, line.words[1]);
      if (!disagreement.empty()) diagnostics.Warn(file.name, line.number, disagreement);
    }
  }
  std::vector<PinyinRow> rows;
  for (const auto& [station, info] : network.stations) {
    auto it = spelling.find(station);
    if (it == spelling.end()) {
      diagnostics.Warn("pinyin", 0, "station " + ToUtf8(station) + " has no full-pinyin spelling");
      continue;
    }
    rows.push_back({station, it->second});
  }
  return rows;
}

}  // namespace vormek::builder
