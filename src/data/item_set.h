#pragma once
// The set of named items the program carries inside itself. Each item is a
// 4-byte little-endian length N followed by one zlib stream whose output is
// exactly N bytes.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace vormek {

struct TEmbeddedItem {
  const char* name;           // as stored, e.g. "STRAIN"
  const unsigned char* data;  // stored bytes: length prefix + zlib stream
  std::size_t size;
};

class TItemSet {
 public:
  TItemSet() = default;
  explicit TItemSet(std::vector<TEmbeddedItem> items);

  // Stored bytes of the item; the name is matched without regard to ASCII
  // letter case ("STrain" finds "STRAIN"). Throws EItemError when missing.
  std::span<const unsigned char> Open(std::string_view name) const;
  bool Contains(std::string_view name) const;
  const std::vector<TEmbeddedItem>& Items() const { return items_; }

 private:
  std::vector<TEmbeddedItem> items_;
};

}  // namespace vormek
