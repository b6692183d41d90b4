#pragma once
// What the station boxes hold: typed names, pasted text, pinyin short codes.
// All text is GBK bytes.
#include <string>
#include <string_view>

namespace vormek {

// True when the text is not empty and holds only ASCII letters, i.e. the box
// still holds a short code rather than a station name.
bool IsAllLetters(std::string_view text);

// The text without leading and trailing blanks and control characters
// (bytes 0..32 and 127); bytes inside the text are kept.
std::string_view TrimBlanksAndControls(std::string_view text);

// ASCII letters a..z turned into A..Z; every other byte unchanged. The trail
// byte of a double-byte GBK character is skipped, even in the letter range.
std::string UpperAscii(std::string_view text);

}  // namespace vormek
