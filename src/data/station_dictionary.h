#pragma once
// One small integer per station name, shared by every table of a timetable,
// so that scans compare numbers and keep the names only for display.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vormek {

using TStationId = std::uint32_t;
inline constexpr TStationId kNoStation = 0xFFFFFFFFu;

class TStationDictionary {
 public:
  TStationDictionary() = default;
  TStationDictionary(TStationDictionary&& other) noexcept;
  TStationDictionary& operator=(TStationDictionary&& other) noexcept;
  TStationDictionary(const TStationDictionary&) = delete;
  TStationDictionary& operator=(const TStationDictionary&) = delete;

  // The id of the name, given a new one the first time it is met.
  TStationId Add(std::string_view name);
  // Room for this many names without rehashing, for a dictionary whose size
  // is known ahead.
  void Reserve(std::size_t names) { ids_.reserve(names); }
  // kNoStation for a name no table holds.
  TStationId Find(std::string_view name) const;
  // The name exactly as the tables spell it.
  const std::string& Name(TStationId id) const { return names_[id]; }
  std::size_t Size() const { return names_.size(); }

 private:
  // A deque never moves its strings, so the map's keys can view them.
  std::deque<std::string> names_;
  std::unordered_map<std::string_view, TStationId> ids_;
};

}  // namespace vormek
