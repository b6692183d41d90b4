// Arbitrary bytes as a stored item: either EItemError or exactly N bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/errors.h"
#include "data/inflate_item.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const std::string out = vormek::InflateItem(std::span<const unsigned char>(data, size));
    const std::uint32_t n = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
                            (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    if (out.size() != n) __builtin_trap();
  } catch (const vormek::EItemError&) {
  }
  return 0;
}
