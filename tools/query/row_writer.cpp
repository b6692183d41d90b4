#include "row_writer.h"

#include <algorithm>
#include <map>
#include <ostream>

#include "data/gbk_codec.h"
#include "display_width.h"
#include "output/csv_line.h"

namespace vormek::cli {

void TRowWriter::Header(const std::vector<std::string>& names) {
  if (format_ == TOutputFormat::Csv) return Csv(names);
  if (format_ == TOutputFormat::Table) return Keep(names);
  std::map<std::string, int> seen;
  keys_.clear();
  for (const std::string& name : names) {
    std::string key = GbkToUtf8(name);
    if (const int n = ++seen[key]; n > 1) key += "_" + std::to_string(n);
    keys_.push_back(JsonString(key));
  }
}

void TRowWriter::Row(const std::vector<std::string>& fields) {
  if (format_ == TOutputFormat::Csv) return Csv(fields);
  if (format_ == TOutputFormat::Table) return Keep(fields);
  std::string object = "{";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) object += ',';
    object += (i < keys_.size() ? keys_[i] : JsonString(std::to_string(i))) + ':' + JsonString(GbkToUtf8(fields[i]));
  }
  out_ << object << "}\n";
}

void TRowWriter::Finish() {
  std::vector<int> widths;
  for (const auto& row : table_) {
    if (widths.size() < row.size()) widths.resize(row.size());
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].Width);
  }
  for (const auto& row : table_) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) line.append(2, ' ');
      line += row[c].Text;
      if (c + 1 < row.size()) line.append(static_cast<std::size_t>(widths[c] - row[c].Width), ' ');
    }
    // An empty last column leaves blanks that no one sees.
    line.erase(line.find_last_not_of(' ') + 1);
    out_ << line << '\n';
  }
  table_.clear();
}

void TRowWriter::Csv(const std::vector<std::string>& fields) {
  std::string line;
  AppendCsvLine(line, fields, "\n");
  out_ << codec_.Output(line);
}

void TRowWriter::Keep(const std::vector<std::string>& fields) {
  std::vector<TCell> row;
  for (const std::string& field : fields) row.push_back({codec_.Output(field), DisplayWidth(GbkToUtf8(field))});
  table_.push_back(std::move(row));
}

std::string JsonString(std::string_view utf8) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (b < 0x20) {
          out += "\\u00";
          out += kHex[b >> 4];
          out += kHex[b & 15];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace vormek::cli
