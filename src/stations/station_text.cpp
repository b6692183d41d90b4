#include "stations/station_text.h"

namespace vormek {

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsBlankOrControl(unsigned char c) { return c <= ' ' || c == 127; }

}  // namespace

bool IsAllLetters(std::string_view text) {
  if (text.empty()) return false;
  for (unsigned char c : text) {
    if (!IsAsciiLetter(c)) return false;
  }
  return true;
}

std::string_view TrimBlanksAndControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(static_cast<unsigned char>(text[begin]))) ++begin;
  // A GBK trail byte is never below 0x40, so trimming from the end cannot
  // split a character.
  while (end > begin && IsBlankOrControl(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < out.size()) {
      ++i;  // skip the trail byte of a double-byte character
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace vormek
