#include "data/station_dictionary.h"

#include <utility>

namespace vormek {

// Moving a deque keeps its elements where they are, so the views stay valid.
TStationDictionary::TStationDictionary(TStationDictionary&& other) noexcept
    : names_(std::move(other.names_)), ids_(std::move(other.ids_)) {}

TStationDictionary& TStationDictionary::operator=(TStationDictionary&& other) noexcept {
  names_ = std::move(other.names_);
  ids_ = std::move(other.ids_);
  return *this;
}

TStationId TStationDictionary::Add(std::string_view name) {
  const auto found = ids_.find(name);
  if (found != ids_.end()) return found->second;
  const auto id = static_cast<TStationId>(names_.size());
  const std::string& stored = names_.emplace_back(name);
  ids_.emplace(std::string_view(stored), id);
  return id;
}

TStationId TStationDictionary::Find(std::string_view name) const {
  const auto found = ids_.find(name);
  return found == ids_.end() ? kNoStation : found->second;
}

}  // namespace vormek
