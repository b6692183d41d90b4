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
      if (network.stations.count(line.words[0])) spelling.try_emplace(line.words[0], line.words[1]);
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
