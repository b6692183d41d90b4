#pragma once
// One item becomes one buffer: read N, inflate straight into exactly N bytes.
#include <span>
#include <string>
#include <string_view>

#include "data/item_set.h"

namespace vormek {

// Throws EItemError on a short length prefix, a damaged stream, a stream that
// yields more or fewer than N bytes, or one that does not end at the item's
// end. Every zlib state is released on every path.
std::string InflateItem(std::span<const unsigned char> stored);

// Open + InflateItem.
std::string DecompressItem(const TItemSet& items, std::string_view name);

}  // namespace vormek
