#include "display_width.h"

#include <iterator>

namespace vormek::cli {

namespace {

struct TRange {
  char32_t First, Last;
};

// The ranges of East Asian Width W and F that timetable text can hold.
constexpr TRange kWide[] = {
    {0x1100, 0x115F}, {0x231A, 0x231B}, {0x2329, 0x232A},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

// Combining marks, drawn over the character before them.
constexpr TRange kZero[] = {{0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}};

bool In(const TRange* begin, const TRange* end, char32_t c) {
  for (const TRange* r = begin; r != end; ++r)
    if (c >= r->First && c <= r->Last) return true;
  return false;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < utf8.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    if (In(std::begin(kZero), std::end(kZero), c)) continue;
    width += In(std::begin(kWide), std::end(kWide), c) ? 2 : 1;
  }
  return width;
}

}  // namespace vormek::cli
