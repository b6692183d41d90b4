#pragma once
// The train detail window's content: one row per stop with the day of the
// journey and leg speeds, the queried section, and the two summary lines.
#include <optional>
#include <string>
#include <string_view>

#include "data/mem_table.h"
#include "output/string_grid.h"

namespace vormek {

inline constexpr int kStopColumns = 8;   // 站序,车站,里程,到时,发时,天数,历时,时速
inline constexpr int kStopGridRows = 20;

// The cells of the chosen result row that the window reads.
struct TStopListRequest {
  std::string_view TrainID;          // column 0
  std::string_view BoardingStation;  // column 4
  std::string_view Stops;            // column 8
  std::string_view SectionKm;        // column 9
  std::string_view SectionTime;      // column 10
};

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

// nullopt when the stop table does not hold the train number. Moves
// KMTrain's cursor.
std::optional<TStopList> BuildStopList(TMemTable& KMTrain, const TStopListRequest& request);

// "当天" for day 1, otherwise "第N天".
std::string DayText(int day);

}  // namespace vormek
