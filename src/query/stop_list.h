#pragma once
// The train detail window's content: one row per stop with the day of the
// journey and leg speeds, the queried section, and the two summary lines.
#include <optional>
#include <string>
#include <string_view>

#include "data/timetable.h"
#include "output/string_grid.h"
#include "rules/UPub_Center.h"

namespace vormek {

inline constexpr int kStopColumns = 8;  // 站序,车站,里程,到时,发时,天数,历时,时速
inline constexpr int kStopGridRows = 20;

// What the window shows of the chosen result: the train, where the section
// starts and how long it is, as the result grid writes them.
struct TStopListRequest {
  std::string TrainID;          // column 0
  std::string BoardingStation;  // column 4
  std::string Stops;            // column 8
  std::string SectionKm;        // column 9
  std::string SectionTime;      // column 10
};

// The request for a result record.
TStopListRequest StopListRequestOf(const TPub_GridResult& record);

struct TStopList {
  TStringGrid Grid{kStopColumns, kStopGridRows};
  int FilledRows = 0;
  int SectionFirst = 0;  // S_No of the boarding stop
  int SectionLast = 0;   // S_No of the alighting stop
  std::string LabQC;     // 全程：…km/历时…/速度…km/h
  std::string LabQJ;     // 区间：…km/历时…/速度…km/h

  // Whether a grid row belongs to the queried section (drawn blue).
  bool InSection(int row) const;
};

// nullopt when the stop table does not hold the train number.
std::optional<TStopList> BuildStopList(const TTimetable& timetable, const TStopListRequest& request);

// "当天" for day 1, otherwise "第N天".
std::string DayText(int day);

}  // namespace vormek
