#pragma once
// The lines a command prints: a header, then one line per row, each field
// the tables' GBK text, in one of three forms:
// - csv: comma-separated values (csv_line.h), LF after each line;
// - table: columns aligned for a terminal, counting East Asian wide
//   characters as two columns; written once every row is known;
// - json: one JSON object per row, keyed by the header's names (a name that
//   repeats gets "_2", "_3", ...), every value a string. Always UTF-8, as
//   JSON is, whatever the terminal's code.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli_text.h"

namespace vormek::cli {

enum class TOutputFormat { Csv, Table, Json };

class TRowWriter {
 public:
  TRowWriter(const TTextCodec& codec, std::ostream& out, TOutputFormat format = TOutputFormat::Csv)
      : codec_(codec), out_(out), format_(format) {}

  void Header(const std::vector<std::string>& names);
  void Row(const std::vector<std::string>& fields);
  // Writes what the form holds back (the table); after the last row.
  void Finish();

 private:
  struct TCell {
    std::string Text;  // as the terminal gets it
    int Width = 0;
  };
  void Csv(const std::vector<std::string>& fields);
  void Keep(const std::vector<std::string>& fields);

  const TTextCodec& codec_;
  std::ostream& out_;
  TOutputFormat format_;
  std::vector<std::vector<TCell>> table_;
  std::vector<std::string> keys_;  // JSON: the header's names, quoted
};

// A JSON string literal of UTF-8 text: quotes, backslashes and control
// characters escaped.
std::string JsonString(std::string_view utf8);

}  // namespace vormek::cli
