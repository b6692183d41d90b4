#include "data/table_text_reader.h"

#include <array>
#include <cstdint>
#include <string>

#include "data/gbk_bytes.h"

namespace vormek {

namespace {

constexpr std::uint8_t kPlain = 0;
constexpr std::uint8_t kSpecial = 1;

// Bytes a value's scan must look at: the quote, line breaks and every byte of
// a double-byte character.
constexpr std::array<std::uint8_t, 256> kByteClass = [] {
  std::array<std::uint8_t, 256> table{};
  table['"'] = kSpecial;
  table['\r'] = kSpecial;
  table['\n'] = kSpecial;
  for (int b = 0x80; b < 0x100; ++b) table[static_cast<std::size_t>(b)] = kSpecial;
  return table;
}();

}  // namespace

bool TTableTextReader::ReadLine() {
  // Locals, not members: the compiler cannot keep members in registers
  // across the stores into fields_.
  const char* const data = data_;
  const std::size_t size = size_;
  std::size_t pos = pos_;
  fields_.clear();
  trailingComma_ = false;
  if (pos >= size) return false;
  ++line_;
  for (;;) {
    if (data[pos] != '"') {
      if (data[pos] == '\r' || data[pos] == '\n') Fail(fields_.empty() ? "empty line" : "bare CR or LF");
      Fail("field does not start with a quote");
    }
    ++pos;
    TRawField field;
    field.begin = pos;
    for (;;) {
      // Most bytes are plain ASCII: skip a run of them in one tight loop.
      const std::size_t run = pos;
      while (pos < size && kByteClass[static_cast<unsigned char>(data[pos])] == kPlain) ++pos;
      field.chars += pos - run;
      if (pos >= size) Fail("unterminated quote");
      const auto b = static_cast<unsigned char>(data[pos]);
      if (b == '"') {
        if (pos + 1 < size && data[pos + 1] == '"') {
          field.escaped = true;
          pos += 2;
          ++field.chars;
          continue;
        }
        break;
      }
      // Values never span lines, so a line break here means the quote is
      // never closed on this line.
      if (b == '\r' || b == '\n') Fail("unterminated quote");
      if (!gbk::IsLeadByte(b) || pos + 1 >= size || !gbk::IsTrailByte(static_cast<unsigned char>(data[pos + 1])))
        Fail("bytes that are not a whole GBK character");
      pos += 2;
      ++field.chars;
    }
    field.length = pos - field.begin;
    ++pos;  // closing quote
    if (fields_.size() >= maxFields_) Fail("more than " + std::to_string(maxFields_) + " fields");
    fields_.push_back(field);
    if (pos >= size) Fail("last line does not end in CR LF");
    if (data[pos] == ',') {
      ++pos;
      if (pos >= size) Fail("last line does not end in CR LF");
      if (data[pos] != '\r' && data[pos] != '\n') continue;  // next field
      trailingComma_ = true;
    }
    if (data[pos] == '\r') {
      if (pos + 1 < size && data[pos + 1] == '\n') {
        pos_ = pos + 2;
        return true;
      }
      Fail(pos + 1 >= size ? "last line does not end in CR LF" : "bare CR or LF");
    }
    if (data[pos] == '\n') Fail("bare CR or LF");
    Fail("junk after closing quote");
  }
}

void TTableTextReader::Unescape(TRawField& field) {
  char* begin = data_ + field.begin;
  std::size_t out = 0;
  for (std::size_t in = 0; in < field.length; ++in) {
    begin[out++] = begin[in];
    if (begin[in] == '"') ++in;  // the second quote of a pair
  }
  field.length = out;
  field.escaped = false;
}

}  // namespace vormek
