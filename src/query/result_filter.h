#pragma once
// The four filter boxes under the result grid and the test they make of one
// result row, by the kind of query that produced the rows.
#include <string_view>

#include "rules/UPub_Center.h"

namespace vormek {

// The kind of query whose rows the grid holds: none yet, station to station
// (and transfer legs), train number, all trains of one station.
enum class TQueryMode : int { None = 0, Direct = 1, TrainNumber = 2, Station = 3 };

struct TFilterBoxes {
  bool CBSF = false;  // 始发车
  bool CBZD = false;  // 终到车
  bool CBJQ = false;  // 精确站名
  bool CBDC = false;  // 仅动车
};

struct TFilterContext {
  TQueryMode QueryMode = TQueryMode::None;
  std::string_view EnteredFrom;
  std::string_view EnteredTo;
  std::string_view TransferStation;
  // ComboCZ's text as it is now (read afresh at every filtering); blanks and
  // control characters around it do not count.
  std::string_view StationBox;
  TFilterBoxes Boxes;
};

bool PassesFilters(const TPub_GridResult& r, const TFilterContext& f);

// The filter as it stands after a query: the typed names and the transfer
// station come from the records; the views point into center.
TFilterContext FilterContextOf(const TPub_Center& center, TQueryMode queryMode, std::string_view stationBox,
                               TFilterBoxes boxes);

}  // namespace vormek
