// vormek-query's table and JSON forms, fed random rows and read back: JSON
// objects give the fields under the header's names, and every table column
// starts at the same terminal column on every line.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/gbk_codec.h"
#include "row_writer.h"
#include "support/json_reader.h"

namespace vormek {
namespace {

using cli::TOutputFormat;
using cli::TRowWriter;
using cli::TTextCodec;
using Rows = std::vector<std::vector<std::string>>;

// This file's narrow literals are GBK, as the tables' text is.
Rows RandomRows(std::mt19937& random, const std::vector<std::string>& pieces, std::size_t columns) {
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1), length(0, 4), count(1, 30);
  Rows rows(count(random), std::vector<std::string>(columns));
  for (auto& row : rows)
    for (std::string& field : row)
      for (std::size_t n = length(random); n > 0; --n) field += pieces[piece(random)];
  return rows;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(QueryRowWriter, JsonObjectsReadBackAsTheFieldsUnderTheHeadersNames) {
  std::mt19937 random(1461);
  const std::vector<std::string> pieces{"\"", "\\", "\n", "\r", "\t", "\x01", "\x1f", "/", "a", "北", "京", ",", " "};
  for (int round = 0; round < 200; ++round) {
    const std::vector<std::string> header{"车次", "到时", "发站", "到时", "到时"};
    const Rows rows = RandomRows(random, pieces, header.size());
    for (const bool gbk : {false, true}) {
      const TTextCodec codec(gbk);
      std::ostringstream out;
      TRowWriter writer(codec, out, TOutputFormat::Json);
      writer.Header(header);
      for (const auto& row : rows) writer.Row(row);
      writer.Finish();
      const auto lines = Lines(out.str());
      ASSERT_EQ(lines.size(), rows.size());
      for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto object = testing::ReadJsonObject(lines[r]);
        ASSERT_TRUE(object.has_value()) << lines[r];
        ASSERT_EQ(object->size(), header.size());
        std::set<std::string> keys;
        for (std::size_t c = 0; c < header.size(); ++c) {
          const auto& [key, value] = (*object)[c];
          EXPECT_TRUE(keys.insert(key).second) << "keys are unique: " << key;
          EXPECT_EQ(key.substr(0, GbkToUtf8(header[c]).size()), GbkToUtf8(header[c]));
          EXPECT_EQ(value, GbkToUtf8(rows[r][c])) << "UTF-8 whatever the terminal's code";
        }
      }
    }
  }
}

// Terminal columns of UTF-8 text made of ASCII and CJK only.
int Columns(std::string_view utf8) {
  int columns = 0;
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) columns += 1;
    if (b >= 0xE0) columns += 2;  // the lead byte of a 3-byte CJK character
  }
  return columns;
}

TEST(QueryRowWriter, TableColumnsStartAtOneTerminalColumnOnEveryLine) {
  std::mt19937 random(2012);
  const std::vector<std::string> pieces{"a", "1", "-", "北", "京", "：", "/"};
  for (int round = 0; round < 200; ++round) {
    const Rows rows = RandomRows(random, pieces, 6);
    const TTextCodec codec(false);
    std::ostringstream out;
    TRowWriter writer(codec, out, TOutputFormat::Table);
    for (const auto& row : rows) writer.Row(row);
    writer.Finish();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), rows.size());
    std::vector<int> start(6, -1);  // of each column, once a line shows it
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::size_t at = 0;
      for (std::size_t c = 0; c < 6; ++c) {
        const std::string field = GbkToUtf8(rows[r][c]);
        if (field.empty()) continue;
        const std::size_t found = lines[r].find_first_not_of(' ', at);
        ASSERT_EQ(lines[r].compare(found, field.size(), field), 0) << "only blanks before a field:\n" << lines[r];
        at = found + field.size();
        const int column = Columns(lines[r].substr(0, found));
        if (start[c] < 0) start[c] = column;
        EXPECT_EQ(column, start[c]) << "column " << c << " of\n" << out.str();
      }
    }
  }
}

}  // namespace
}  // namespace vormek
