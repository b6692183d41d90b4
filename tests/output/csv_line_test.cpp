#include "output/csv_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/csv_reader.h"

namespace vormek {
namespace {

// Random rows of fields made of the pieces that matter to the format: the
// four bytes that force quotes, blanks, letters and a GBK character whose
// trail byte is a letter (0xB1 0x41) or above 0x7F.
std::vector<std::vector<std::string>> RandomRows(std::mt19937& random, int count) {
  static const std::vector<std::string> pieces{",", "\"", "\r", "\n",       "\r\n",    " ",
                                               "a", "Z",  "0",  "\xb1\x41", "\xb1\xb1"};
  std::uniform_int_distribution<int> fieldCount(1, 8), pieceCount(0, 5);
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
  std::vector<std::vector<std::string>> rows(count);
  for (auto& row : rows) {
    row.resize(fieldCount(random));
    for (std::string& field : row)
      for (int n = pieceCount(random); n > 0; --n) field += pieces[piece(random)];
  }
  return rows;
}

TEST(CsvLine, EveryRowReadsBackAsItsFieldsAndPlainFieldsStayAsTheyAre) {
  std::mt19937 random(20120505);
  for (const std::string_view lineEnd : {"\n", "\r\n"}) {
    const auto rows = RandomRows(random, 2000);
    std::string text;
    for (const auto& row : rows) AppendCsvLine(text, row, lineEnd);
    const auto back = testing::ReadCsv(text, lineEnd);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(*back == rows);

    for (const auto& row : rows) {
      std::string joined, line;
      bool plain = true;
      for (std::size_t i = 0; i < row.size(); ++i) {
        joined += (i > 0 ? "," : "") + row[i];
        plain = plain && row[i].find_first_of(",\"\r\n") == std::string::npos;
      }
      AppendCsvLine(line, row, lineEnd);
      if (plain) {
        EXPECT_EQ(line, joined + std::string(lineEnd));
      }
    }
  }
}

}  // namespace
}  // namespace vormek
