#include "data/item_set.h"

#include <utility>

#include "data/ascii_case.h"
#include "data/errors.h"

namespace vormek {

TItemSet::TItemSet(std::vector<TEmbeddedItem> items) : items_(std::move(items)) {}

std::span<const unsigned char> TItemSet::Open(std::string_view name) const {
  for (const TEmbeddedItem& item : items_) {
    if (item.name != nullptr && EqualsIgnoringAsciiCase(item.name, name)) return {item.data, item.size};
  }
  throw EItemError("no item named \"" + std::string(name) + "\"");
}

bool TItemSet::Contains(std::string_view name) const {
  for (const TEmbeddedItem& item : items_) {
    if (item.name != nullptr && EqualsIgnoringAsciiCase(item.name, name)) return true;
  }
  return false;
}

}  // namespace vormek
