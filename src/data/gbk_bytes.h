#pragma once
// Byte-level shape of GBK text, shared by the table reader and the codec.
#include <cstddef>
#include <string_view>

namespace vormek::gbk {

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
inline bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Length of the character starting at text[i]: 1 for ASCII, 2 for a whole
// double-byte character, 0 when the bytes there are not a GBK character.
inline std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (b < 0x80) return 1;
  if (!IsLeadByte(b) || i + 1 >= text.size()) return 0;
  return IsTrailByte(static_cast<unsigned char>(text[i + 1])) ? 2 : 0;
}

}  // namespace vormek::gbk
