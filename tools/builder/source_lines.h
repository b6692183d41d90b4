#pragma once
// Splits one authored file into lines of words: comments and blank lines
// dropped, every word converted to GBK.
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.h"

namespace vormek::builder {

struct SourceFile {
  std::string name;  // relative path, used in messages
  std::string text;  // UTF-8 bytes
};

struct SourceLine {
  int number = 0;
  bool continued = false;          // began with a space or tab
  std::vector<std::string> words;  // GBK
};

// A line holding a character GBK cannot encode is reported and left out.
std::vector<SourceLine> SplitLines(const SourceFile& file, Diagnostics& diagnostics);

// Joins continuation lines to the entry line above them (train patterns).
std::vector<SourceLine> JoinContinuations(std::vector<SourceLine> lines);

// Comma-separated list, empty parts dropped.
std::vector<std::string> SplitList(std::string_view text);

}  // namespace vormek::builder
