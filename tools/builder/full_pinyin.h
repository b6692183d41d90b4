#pragma once
// Full-pinyin spellings of the stations (pinyin/*.txt): "<station> <spelling>",
// the spelling in lower-case ASCII letters, syllables joined. Several authors
// add files side by side, so gaps and strays do not stop the build.
#include <string>
#include <vector>

#include "diagnostics.h"
#include "network.h"
#include "source_lines.h"

namespace vormek::builder {

struct PinyinRow {
  std::string station;   // GBK
  std::string spelling;  // "chongqingbei"
};

constexpr int kSpellingChars = 40;

// One row per station of the network that has a spelling, by station name
// (byte order). Files are read in the order given (sorted by name); the first
// spelling of a station counts. A malformed line is an error; a spelling of a
// station the network does not know is ignored; a station without one is a
// warning.
std::vector<PinyinRow> FullPinyinRows(const std::vector<SourceFile>& files, const Network& network,
                                      Diagnostics& diagnostics);

}  // namespace vormek::builder
