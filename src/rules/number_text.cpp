#include "rules/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vormek {

namespace {

// from_chars takes no leading '+'; the tables never write one, but a
// hand-edited table might.
std::string_view DropPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  return text;
}

}  // namespace

std::optional<std::int64_t> ReadInteger(std::string_view text) {
  text = DropPlus(text);
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::int32_t IntegerOrZero(std::string_view text) {
  auto value = ReadInteger(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max())
    return 0;
  return static_cast<std::int32_t>(*value);
}

std::optional<double> ReadDecimal(std::string_view text) {
  text = DropPlus(text);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  // "inf" and "nan" read as numbers for from_chars; a fare never is one.
  auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

double DecimalOrZero(std::string_view text) { return ReadDecimal(text).value_or(0.0); }

std::string FormatAmount(double value) {
  char buffer[512];  // room for any double in fixed notation
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  std::string text(buffer, ptr);
  if (text == "-0") text = "0";
  return text;
}

std::int32_t ClampToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace vormek
