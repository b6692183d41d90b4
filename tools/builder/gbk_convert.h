#pragma once
// The builder reads UTF-8 sources and writes GBK tables; these are the only
// two conversions it needs.
#include <optional>
#include <string>
#include <string_view>

namespace vormek::builder {

// nullopt when the text is not valid UTF-8 or holds a character GBK lacks.
std::optional<std::string> ToGbk(std::string_view utf8);

// For messages: GBK back to UTF-8 (bytes that do not convert become '?').
std::string ToUtf8(std::string_view gbk);

// Number of characters in a GBK text (a lead byte above 0x80 starts a pair).
int GbkLength(std::string_view gbk);

}  // namespace vormek::builder
