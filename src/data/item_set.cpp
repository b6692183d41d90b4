#include "data/item_set.h"

#include <utility>

#include "data/errors.h"

namespace vormek {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

TItemSet::TItemSet(std::vector<TEmbeddedItem> items) : items_(std::move(items)) {}

std::span<const unsigned char> TItemSet::Open(std::string_view name) const {
  for (const TEmbeddedItem& item : items_) {
    if (item.name != nullptr && SameNameIgnoringCase(item.name, name)) return {item.data, item.size};
  }
  throw EItemError("no item named \"" + std::string(name) + "\"");
}

bool TItemSet::Contains(std::string_view name) const {
  for (const TEmbeddedItem& item : items_) {
    if (item.name != nullptr && SameNameIgnoringCase(item.name, name)) return true;
  }
  return false;
}

}  // namespace vormek
