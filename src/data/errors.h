#pragma once
// Errors of the timetable store. Every failure to read an embedded item or a
// table text ends the loading step with one of these; nothing is shown here.
#include <stdexcept>
#include <string>

namespace vormek {

class EVormekError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A missing item, a short length prefix, a damaged or mis-sized zlib stream.
class EItemError : public EVormekError {
 public:
  using EVormekError::EVormekError;
};

// Malformed table text. line() is 1-based; the message names it as well.
class ETableFormatError : public EVormekError {
 public:
  ETableFormatError(int line, const std::string& what)
      : EVormekError("line " + std::to_string(line) + ": " + what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Misuse of a loaded table: an unknown column or index name.
class ETableError : public EVormekError {
 public:
  using EVormekError::EVormekError;
};

// A text that had to be a number and is not (elapsed times in the tables).
class EConvertError : public EVormekError {
 public:
  using EVormekError::EVormekError;
};

}  // namespace vormek
