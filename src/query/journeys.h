#pragma once
// Journeys of one to three train rides between two city groups, for every
// departure in a window of the day: the Pareto set over a later departure,
// an earlier arrival (counting days) and fewer changes.
//
// A ride boards a train at one of its stops and leaves it at a later stop.
// The next ride boards at the same station no earlier than the minimum
// change time after the arrival, or at another station of the same city
// group no earlier than the city change time; it takes the first daily run
// of its train that leaves by then, so a wait may cross midnight and lies
// between the change time and a day more. A change at a station of FROM's
// or TO's own group is a detour, not a journey.
//
// The search runs in rounds over trains, as the public journey planners do:
// departures at the origin from the latest to the earliest, each round one
// ride more, labels kept from later departures (an earlier departure counts
// only where it arrives earlier), and nothing kept that cannot beat what
// already reaches TO. Its memory grows with the stations, not with the
// candidates it examines.
#include <cstdint>
#include <string>
#include <vector>

#include "query/connections.h"

namespace vormek {

inline constexpr int kDefaultCityChange = 90;  // minutes
inline constexpr int kMaxJourneyChanges = 2;

struct TJourneyOptions {
  std::int32_t DepartFrom = 0;                    // clock minutes at the origin
  std::int32_t DepartUntil = kMinutesPerDay - 1;  // inclusive
  int MaxChanges = kMaxJourneyChanges;            // 0 .. 2
  int MinChange = kDefaultMinChange;              // at one station
  int CityChange = kDefaultCityChange;            // between two stations of a group
};

// Why the options cannot be searched with (a window that ends before it
// starts, a clock outside the day, changes outside 0..2, change times
// outside 0..1440); empty when they can.
std::string JourneyOptionsProblem(const TJourneyOptions& options);

struct TJourneyRide {
  std::int32_t Boarding = 0;  // stop positions in the stop table
  std::int32_t Alighting = 0;
  std::int32_t Depart = 0;  // minutes after midnight of the departure day
  std::int32_t Arrive = 0;
  std::int32_t Wait = 0;  // minutes waited before boarding; 0 for the first ride
};

struct TJourney {
  std::vector<TJourneyRide> Rides;
  std::int32_t Distance = 0;  // km, the rides' sections added up
  std::int32_t Depart() const { return Rides.front().Depart; }
  std::int32_t Arrive() const { return Rides.back().Arrive; }
  int Changes() const { return static_cast<int>(Rides.size()) - 1; }
};

// The station groups beside the stop arrays: for each station the stations
// of its city (itself alone when it has none).
class TJourneyPlanner {
 public:
  // Both must outlive the planner; the timetable's index must be current.
  TJourneyPlanner(const TConnectionIndex& index, const TTimetable& timetable);

  // The journeys from a station of fromIds to one of toIds, sorted by
  // departure, then arrival, then changes; equal ones listed once. The
  // options must be sound (JourneyOptionsProblem empty).
  std::vector<TJourney> Plan(const std::vector<std::int32_t>& fromIds, const std::vector<std::int32_t>& toIds,
                             const TJourneyOptions& options) const;

  const TConnectionIndex& Index() const { return index_; }
  // The stations of a station's city group, itself included.
  const std::int32_t* MatesBegin(std::int32_t station) const;
  const std::int32_t* MatesEnd(std::int32_t station) const;

 private:
  const TConnectionIndex& index_;
  std::vector<std::int32_t> mateStart_;  // mates of s: mates_[mateStart_[s] .. mateStart_[s+1])
  std::vector<std::int32_t> mates_;
};

// The side stations of two typed names as the direct query takes them (each
// its whole city group, or only the names when both are of one group).
struct TJourneySides {
  std::vector<std::int32_t> From, To;
};
TJourneySides JourneySides(const TConnectionIndex& index, const TTimetable& timetable, std::string_view from,
                           std::string_view to);

}  // namespace vormek
