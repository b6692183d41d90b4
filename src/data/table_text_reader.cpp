#include "data/table_text_reader.h"

#include "data/gbk_bytes.h"

namespace vormek {

bool TTableTextReader::ReadLine() {
  fields_.clear();
  trailingComma_ = false;
  if (pos_ >= size_) return false;
  ++line_;
  for (;;) {
    if (data_[pos_] != '"') {
      if (data_[pos_] == '\r' || data_[pos_] == '\n') Fail(fields_.empty() ? "empty line" : "bare CR or LF");
      Fail("field does not start with a quote");
    }
    ++pos_;
    TRawField field;
    field.begin = pos_;
    for (;;) {
      if (pos_ >= size_) Fail("unterminated quote");
      const auto b = static_cast<unsigned char>(data_[pos_]);
      if (b == '"') {
        if (pos_ + 1 < size_ && data_[pos_ + 1] == '"') {
          field.escaped = true;
          pos_ += 2;
          ++field.chars;
          continue;
        }
        break;
      }
      if (b < 0x80) {
        // Values never span lines, so a line break here means the quote is
        // never closed on this line.
        if (b == '\r' || b == '\n') Fail("unterminated quote");
        ++pos_;
        ++field.chars;
        continue;
      }
      if (!gbk::IsLeadByte(b) || pos_ + 1 >= size_ ||
          !gbk::IsTrailByte(static_cast<unsigned char>(data_[pos_ + 1])))
        Fail("bytes that are not a whole GBK character");
      pos_ += 2;
      ++field.chars;
    }
    field.length = pos_ - field.begin;
    ++pos_;  // closing quote
    fields_.push_back(field);
    if (pos_ >= size_) Fail("last line does not end in CR LF");
    if (data_[pos_] == ',') {
      ++pos_;
      if (pos_ >= size_) Fail("last line does not end in CR LF");
      if (data_[pos_] != '\r' && data_[pos_] != '\n') continue;  // next field
      trailingComma_ = true;
    }
    if (data_[pos_] == '\r') {
      if (pos_ + 1 < size_ && data_[pos_ + 1] == '\n') {
        pos_ += 2;
        return true;
      }
      Fail(pos_ + 1 >= size_ ? "last line does not end in CR LF" : "bare CR or LF");
    }
    if (data_[pos_] == '\n') Fail("bare CR or LF");
    Fail("junk after closing quote");
  }
}

std::string_view TTableTextReader::Text(TRawField& field) {
  char* begin = data_ + field.begin;
  if (field.escaped) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < field.length; ++in) {
      begin[out++] = begin[in];
      if (begin[in] == '"') ++in;  // the second quote of a pair
    }
    field.length = out;
    field.escaped = false;
  }
  return {begin, field.length};
}

}  // namespace vormek
