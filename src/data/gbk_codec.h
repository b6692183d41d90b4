#pragma once
// The one place where text crosses between the tables' GBK bytes and the
// UTF-8 of terminals and Qt.
#include <optional>
#include <string>
#include <string_view>

namespace vormek {

// Bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// nullopt when the text holds a character GBK cannot encode (an emoji, say)
// or is not valid UTF-8.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// True when the bytes are a sequence of whole GBK characters (no lead byte cut
// off at the end, no invalid pair).
bool IsWholeGbk(std::string_view gbk);

}  // namespace vormek
