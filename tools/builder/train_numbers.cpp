#include "train_numbers.h"

#include <cctype>
#include <charconv>

namespace vormek::builder {
namespace {

struct NumberParts {
  std::string prefix;
  long digits = 0;
  int width = 0;  // digit count; kept only when written with a leading zero
  std::string suffix;
};

bool IsAsciiAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::optional<NumberParts> Split(std::string_view text) {
  NumberParts parts;
  std::size_t i = 0;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
  parts.prefix = std::string(text.substr(0, i));
  std::size_t start = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i == start || i - start > 9) return std::nullopt;
  std::from_chars(text.data() + start, text.data() + i, parts.digits);
  parts.width = text[start] == '0' ? static_cast<int>(i - start) : 0;
  parts.suffix = std::string(text.substr(i));
  for (char c : parts.suffix) {
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return parts;
}

std::string Join(const NumberParts& parts, long digits) {
  std::string text = std::to_string(digits);
  if (static_cast<int>(text.size()) < parts.width) text.insert(0, parts.width - text.size(), '0');
  return parts.prefix + text + parts.suffix;
}

bool PlainNumber(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsAsciiAlnum(c) && c != '/') return false;
  }
  return text.front() != '/' && text.back() != '/' && text.find("//") == std::string_view::npos;
}

}  // namespace

std::optional<std::vector<std::string>> ExpandNumbers(std::string_view word, std::string& error) {
  std::size_t dots = word.find("..");
  if (dots == std::string_view::npos) {
    if (!PlainNumber(word)) {
      error = "a train number is letters and digits, several joined by '/'";
      return std::nullopt;
    }
    return std::vector<std::string>{std::string(word)};
  }
  auto first = Split(word.substr(0, dots));
  auto last = Split(word.substr(dots + 2));
  if (!first || !last || first->prefix != last->prefix || first->suffix != last->suffix) {
    error = "a series is <first>..<last> with the same letters in front";
    return std::nullopt;
  }
  if (first->digits > last->digits || (last->digits - first->digits) % 2 != 0) {
    error = "a series runs upwards from one number to another of the same parity";
    return std::nullopt;
  }
  std::vector<std::string> numbers;
  for (long n = first->digits; n <= last->digits; n += 2) numbers.push_back(Join(*first, n));
  return numbers;
}

std::optional<std::string> PartnerNumber(std::string_view id) {
  std::string out;
  while (true) {
    std::size_t slash = id.find('/');
    auto parts = Split(id.substr(0, slash));
    if (!parts || parts->digits == 0) return std::nullopt;
    out += Join(*parts, parts->digits % 2 == 1 ? parts->digits + 1 : parts->digits - 1);
    if (slash == std::string_view::npos) break;
    out += '/';
    id.remove_prefix(slash + 1);
  }
  return out;
}

bool IsClassicExpress(std::string_view id) { return !id.empty() && (id[0] == 'K' || id[0] == 'T' || id[0] == 'Z'); }

bool RunsOnItsOwn(std::string_view id) { return IsClassicExpress(id) || (!id.empty() && id[0] >= '0' && id[0] <= '9'); }

}  // namespace vormek::builder
