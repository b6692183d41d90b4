#include "cli_option_table.h"

#include <charconv>

namespace vormek::cli {

bool ReadWholeNumber(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

std::string ReadTablesFolder(std::string& into, const std::string& value) {
  into = value;
  if (into.empty()) return "--tables needs a folder";
  return {};
}

}  // namespace vormek::cli
