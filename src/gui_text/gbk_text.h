#pragma once
// The one crossing between the core's GBK bytes and Qt's QString.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace vormek {

// Invalid GBK bytes show as U+FFFD.
QString FromGbk(std::string_view gbk);

// nullopt when the text holds a character GBK cannot encode.
std::optional<std::string> ToGbk(const QString& text);

}  // namespace vormek

namespace vormek {

// For lookups of what a user typed: characters GBK cannot encode become
// "&#xHEX;", which no station name or train number holds, so such a text is
// simply not found (and two different ones stay different).
std::string ToGbkForLookup(const QString& text);

// The text without leading and trailing blanks and control characters.
QString TrimBlanksAndControls(const QString& text);

}  // namespace vormek
