#pragma once
// One item becomes one buffer: read N, inflate straight into exactly N bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/item_set.h"

namespace vormek {

// The longest content a stream of this many bytes may claim: deflate's
// best ratio (about 1032:1), and never more than 1 GiB.
std::uint64_t MaxInflatedLength(std::size_t storedStreamBytes);

// Throws EItemError on a short length prefix, a damaged stream, a stream that
// yields more or fewer than N bytes, or one that does not end at the item's
// end, or a length beyond MaxInflatedLength. The inflater is released on
// every path.
std::string InflateItem(std::span<const unsigned char> stored);

// Open + InflateItem.
std::string DecompressItem(const TItemSet& items, std::string_view name);

}  // namespace vormek
