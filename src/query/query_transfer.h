#pragma once
// Transfer query: the stations where a train from the departure side meets a
// train to the arrival side, and the legs through the station the user picks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/timetable.h"
#include "output/string_grid.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"
#include "stations/station_selection.h"

namespace vormek {

// Every train's first departure-side stop, with one leg to each later stop,
// trains in stop-table order.
void CollectFirstLegs(const TMemTable& KMTrain, const TStationMatcher& departure,
                      std::vector<TPub_GridResult>& legs);

// Every train's last arrival-side stop, with one leg from each earlier stop;
// trains in reverse stop-table order, legs in descending stop order.
void CollectSecondLegs(const TMemTable& KMTrain, const TStationMatcher& arrival,
                       std::vector<TPub_GridResult>& legs);

// TransferRows from the two leg arrays: one row per station a first leg
// reaches, in the order first met; first-leg values from the first leg
// there, second-leg values from the last second leg boarding there.
void BuildTransferRows(TPub_Center& center);

// Steps of the query up to the window: resolves both boxes, collects both
// legs and builds TransferRows. GridResults is emptied.
void QueryTransfer(TTimetable& timetable, TPub_Center& center, std::string_view comboFZ,
                   std::string_view comboDZ);

// The transfer-station window's nine columns, as its grid shows them.
inline constexpr int kTransferColumns = 9;
inline constexpr int kTransferGridRows = 20;

// The rows the window lists (Count2 > 0, not a typed station), in
// TransferRows order, written into a grid of at least 20 rows. Returns the
// number listed (StationCount).
int FillTransferGrid(const TPub_Center& center, TStringGrid& grid);

// The window as it opens: the listed rows sorted by 中转站 ascending (one
// click on its header, so the state shows "↑" there), or an empty list with
// no header marked. Returns StationCount.
int OpenTransferList(const TPub_Center& center, TStringGrid& grid, TSortState& sort);

// "两地共有<N>个中转站供选择:" and the note under the list.
std::string TransferWindowCaption(int stationCount);
inline constexpr const char* kTransferNote = "中转换乘牵涉因素较多，请综合各种因素进行换乘站选择。";

// Replaces GridResults by the count1 first legs alighting at the station and
// the count2 second legs boarding there; sets TransferStation.
void BuildTransferResults(TTimetable& timetable, TPub_Center& center, std::string_view name,
                          std::int32_t count1, std::int32_t count2);

}  // namespace vormek
