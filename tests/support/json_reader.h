#pragma once
// Reads one JSON object whose values are all strings, as RFC 8259 defines
// its text, independently of the program's writer: the members in order,
// escapes decoded (\u to UTF-8, BMP only).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vormek::testing {

using TJsonMembers = std::vector<std::pair<std::string, std::string>>;

namespace detail {

inline void AppendUtf8(std::string& out, unsigned c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

inline std::optional<std::string> ReadString(std::string_view text, std::size_t& i) {
  if (i >= text.size() || text[i] != '"') return std::nullopt;
  std::string out;
  for (++i; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      ++i;
      return out;
    }
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;  // must be escaped
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '/': out += '/'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        if (i + 4 >= text.size()) return std::nullopt;
        const unsigned code = std::stoul(std::string(text.substr(i + 1, 4)), nullptr, 16);
        AppendUtf8(out, code);
        i += 4;
        break;
      }
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace detail

// The members of the object that is the whole text, or nothing when it is
// not one (or holds other values than strings).
inline std::optional<TJsonMembers> ReadJsonObject(std::string_view text) {
  TJsonMembers members;
  std::size_t i = 0;
  if (text.empty() || text[i++] != '{') return std::nullopt;
  if (i < text.size() && text[i] == '}') return i + 1 == text.size() ? std::optional(members) : std::nullopt;
  for (;;) {
    auto key = detail::ReadString(text, i);
    if (!key || i >= text.size() || text[i++] != ':') return std::nullopt;
    auto value = detail::ReadString(text, i);
    if (!value || i >= text.size()) return std::nullopt;
    members.emplace_back(std::move(*key), std::move(*value));
    const char next = text[i++];
    if (next == '}') return i == text.size() ? std::optional(members) : std::nullopt;
    if (next != ',') return std::nullopt;
  }
}

}  // namespace vormek::testing
