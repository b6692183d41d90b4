#pragma once
// The ranges of the values the rules compute with. A table whose numbers lie
// outside them is damaged (no real timetable comes near them), and letting it
// in would make the sums of the queries overflow.
#include "data/mem_table.h"

namespace vormek {

inline constexpr int kMaxStopNo = 999;
inline constexpr int kMaxDistanceKm = 20000;
inline constexpr int kMaxElapsedHours = 9999;
inline constexpr int kMaxElapsedMinutes = kMaxElapsedHours * 60 + 59;
inline constexpr int kMaxFareYuan = 100000;

// Each refuses the table with ETableFormatError naming the line of the first
// value out of range. They read records in text order whatever the current
// index, and only what setting an index leaves alone, so they may run while
// another thread sets the table's index.

// KMList: Distance 0..20000 km, A_Time and D_Time clock times (H:MM, up to
// 23:59) or empty, R_Date an elapsed time up to 9999:59, every fare amount of
// P1..P4 up to 100000.
void CheckTrainListRanges(const TMemTable& KMList);

// KMTrain: the same, S_No 1..999, and a train's distance never decreasing
// from one stop to the next.
void CheckStopTableRanges(const TMemTable& KMTrain);

// What a load of the texts makes sure of by the way it reads them, checked
// of an image from disk, which may hold anything: every value is whole GBK
// characters, and the text of an integer column is the plain form of the
// number the queries compute with (empty for 0 as a null).
void CheckImageValues(const TMemTable& table);

// Only the integer columns of the two (Distance; S_No), which the queries add
// and subtract as they stand: cheap, as no text is parsed. Enough to keep the
// queries' sums from overflowing; the texts they parse with checked readers.
void CheckTrainListNumbers(const TMemTable& KMList);
void CheckStopTableNumbers(const TMemTable& KMTrain);

}  // namespace vormek
