#include "source_lines.h"

#include "gbk_convert.h"

namespace vormek::builder {
namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

std::vector<SourceLine> SplitLines(const SourceFile& file, Diagnostics& diagnostics) {
  std::vector<SourceLine> lines;
  std::string_view text = file.text;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    ++number;
    std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (std::size_t hash = raw.find('#'); hash != std::string_view::npos) raw = raw.substr(0, hash);
    std::optional<std::string> gbk = ToGbk(raw);
    if (!gbk) {
      diagnostics.Add(file.name, number, "a character GBK cannot encode (or bytes that are not UTF-8)");
      continue;
    }
    SourceLine line;
    line.number = number;
    line.continued = !raw.empty() && (raw[0] == ' ' || raw[0] == '\t');
    line.words = Words(*gbk);
    if (!line.words.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<SourceLine> JoinContinuations(std::vector<SourceLine> lines) {
  std::vector<SourceLine> joined;
  for (SourceLine& line : lines) {
    if (line.continued && !joined.empty()) {
      auto& words = joined.back().words;
      words.insert(words.end(), line.words.begin(), line.words.end());
    } else {
      joined.push_back(std::move(line));
    }
  }
  return joined;
}

std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> parts;
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string_view part = text.substr(0, comma);
    if (!part.empty()) parts.emplace_back(part);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return parts;
}

}  // namespace vormek::builder
