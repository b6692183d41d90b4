#include "row_writer.h"

#include <ostream>

#include "output/csv_line.h"

namespace vormek::cli {

void TRowWriter::Header(const std::vector<std::string>& names) { Line(names); }

void TRowWriter::Row(const std::vector<std::string>& fields) { Line(fields); }

void TRowWriter::Line(const std::vector<std::string>& fields) {
  std::string line;
  AppendCsvLine(line, fields, "\n");
  out_ << codec_.Output(line);
}

}  // namespace vormek::cli
