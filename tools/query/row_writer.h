#pragma once
// The lines a command prints: a header, then one line per row, each field
// the tables' GBK text. Written as comma-separated values (csv_line.h, LF
// after each line), converted for the terminal.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli_text.h"

namespace vormek::cli {

class TRowWriter {
 public:
  TRowWriter(const TTextCodec& codec, std::ostream& out) : codec_(codec), out_(out) {}

  void Header(const std::vector<std::string>& names);
  void Row(const std::vector<std::string>& fields);

 private:
  void Line(const std::vector<std::string>& fields);

  const TTextCodec& codec_;
  std::ostream& out_;
};

}  // namespace vormek::cli
