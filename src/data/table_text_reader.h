#pragma once
// Splits table text of format "251" into lines of quoted fields. Works on a
// mutable copy of the text: a field holding doubled quotes is unescaped in
// place, so every value can stay a view into that one buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/errors.h"

namespace vormek {

struct TRawField {
  std::size_t begin = 0;   // offset of the first byte inside the quotes
  std::size_t length = 0;  // bytes inside the quotes (before unescaping)
  std::size_t chars = 0;   // characters after unescaping, GBK pairs counted once
  bool escaped = false;    // holds a doubled quote
};

class TTableTextReader {
 public:
  TTableTextReader(char* data, std::size_t size) : data_(data), size_(size) {}
  // Reads only the lines of [begin, end), which must start a line, counting
  // them from linesBefore + 1; offsets stay those of the whole text.
  TTableTextReader(char* data, std::size_t begin, std::size_t end, int linesBefore)
      : data_(data), size_(end), pos_(begin), line_(linesBefore) {}

  // Reads the next line into Fields(). False at the end of the text. Throws
  // ETableFormatError for a line that is not a list of quoted fields ending
  // in CR LF, that holds bytes that are not whole GBK characters, or that
  // has more fields than the limit.
  bool ReadLine();

  // A line of a million empty fields must fail at the limit, not after its
  // field list has grown to ten times the text.
  void LimitFields(std::size_t maxFields) { maxFields_ = maxFields; }

  const std::vector<TRawField>& Fields() const { return fields_; }
  std::vector<TRawField>& MutableFields() { return fields_; }
  bool TrailingComma() const { return trailingComma_; }
  int Line() const { return line_; }
  bool AtEnd() const { return pos_ >= size_; }
  std::size_t Position() const { return pos_; }

  // The field's text with doubled quotes made single (rewrites the buffer the
  // first time; later calls see the same text).
  std::string_view Text(TRawField& field) {
    if (field.escaped) Unescape(field);
    return {data_ + field.begin, field.length};
  }

  [[noreturn]] void Fail(const std::string& what) const { throw ETableFormatError(line_, what); }

 private:
  void Unescape(TRawField& field);

  char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  int line_ = 0;
  bool trailingComma_ = false;
  std::size_t maxFields_ = SIZE_MAX;
  std::vector<TRawField> fields_;
};

}  // namespace vormek
