#pragma once
// Reads comma-separated text back as RFC 4180 defines it, independently of
// the program's writer: quoted fields may hold commas, line breaks and
// doubled quotes. Each record ends at the given line end outside quotes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vormek::testing {

using TCsvRecord = std::vector<std::string>;

// The records of the text, or nothing when it is not well formed (a quote
// inside an unquoted field, text after a closing quote, an open quote at the
// end, a last record without its line end).
inline std::optional<std::vector<TCsvRecord>> ReadCsv(std::string_view text, std::string_view lineEnd) {
  std::vector<TCsvRecord> records;
  TCsvRecord record;
  std::string field;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) return std::nullopt;
        if (text[i] != '"') {
          field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      if (i < text.size() && text[i] != ',' && text.substr(i, lineEnd.size()) != lineEnd) return std::nullopt;
    } else {
      while (i < text.size() && text[i] != ',' && text.substr(i, lineEnd.size()) != lineEnd) {
        if (text[i] == '"') return std::nullopt;
        field += text[i++];
      }
    }
    if (i >= text.size()) return std::nullopt;
    record.push_back(std::move(field));
    field.clear();
    if (text[i] == ',') {
      ++i;
    } else {
      i += lineEnd.size();
      records.push_back(std::move(record));
      record.clear();
    }
  }
  return records;
}

}  // namespace vormek::testing
