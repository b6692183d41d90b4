#pragma once
// Journeys as lines: one per journey, with the columns of the journey list
// (出发, 到达, 历时, 换乘次数, 车次, 换乘站, 里程, 参考票价), or one per ride.
// Times are "HH:MM"; an arrival on a later day than the departure carries
// "+N" (01:19+2), a duration runs past 24 hours (30:46).
#include <string>
#include <vector>

#include "query/journeys.h"

namespace vormek {

inline constexpr int kJourneyColumns = 8;
inline constexpr int kJourneyRideColumns = 7;

// The column names (GBK).
std::vector<std::string> JourneyHeader();
// 序号 (the journey's number), 车次, 发站, 发时, 到站, 到时, 等候.
std::vector<std::string> JourneyRideHeader();

// A clock of the departure day's minutes, with "+N" past its midnight.
std::string DayClock(std::int32_t minutes);

// Each journey's rides as result rows of their own (train, section, fares).
// Moves KMList's cursor.
std::vector<TPub_GridResult> JourneyRideRecords(TTimetable& timetable, const TFareTables& fares,
                                                const TJourney& journey);

// The journey's line from its rides' records: 车次 joined by "→", the change
// stations by "、" (a change between two stations of a city as "A→B"), the
// fare the sum of each ride's lowest class ("-" when a ride sells none).
std::vector<std::string> JourneyRow(const TJourney& journey, const std::vector<TPub_GridResult>& rides);
// Its rides' lines; number counts the journeys from 1.
std::vector<std::vector<std::string>> JourneyRideRows(int number, const TJourney& journey,
                                                      const std::vector<TPub_GridResult>& rides);

}  // namespace vormek
