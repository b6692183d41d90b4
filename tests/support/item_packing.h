#pragma once
// The one item packer of the tests: content as the program stores it, a
// 4-byte little-endian length and then one zlib stream.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace vormek::testing {

// The bare zlib stream of content.
inline std::vector<unsigned char> ZlibStream(std::string_view content, int level = Z_BEST_COMPRESSION) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::vector<unsigned char> out(size);
  if (compress2(out.data(), &size, reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()),
                level) != Z_OK) {
    throw std::runtime_error("zlib could not compress the test content");
  }
  out.resize(size);
  return out;
}

// An item of any stream under any stated length, true or not.
inline std::vector<unsigned char> ItemWithLength(std::uint32_t length, const std::vector<unsigned char>& stream) {
  std::vector<unsigned char> item(4 + stream.size());
  for (std::size_t i = 0; i < 4; ++i) item[i] = static_cast<unsigned char>(length >> (8 * i));
  std::copy(stream.begin(), stream.end(), item.begin() + 4);
  return item;
}

inline std::vector<unsigned char> PackItem(std::string_view content, int level = Z_BEST_COMPRESSION) {
  return ItemWithLength(static_cast<std::uint32_t>(content.size()), ZlibStream(content, level));
}

}  // namespace vormek::testing
