#pragma once
// Transfer query: the stations where a train from the departure side meets a
// train to the arrival side, and the legs through the station the user picks.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/timetable.h"
#include "output/string_grid.h"
#include "query/query_results.h"
#include "query/sort_state.h"
#include "rules/UPub_Center.h"

namespace vormek {

// Resolves both names and collects both sides' legs as stop positions:
// every train's first departure-side stop with one leg to each later stop
// (trains in stop-table order), and every train's last arrival-side stop with
// one leg from each earlier stop (trains in reverse order, boarding stops
// descending). One transfer row per station a first leg reaches, in the order
// met: first-leg values from the first leg there, second-leg values from the
// last second leg boarding there.
TTransferResult QueryTransfer(const TTimetable& timetable, const TStationPairRequest& request);

// The same, kept in the window's state (selections, legs, TransferRows;
// GridResults emptied).
void QueryTransfer(const TTimetable& timetable, TPub_Center& center, std::string_view comboFZ,
                   std::string_view comboDZ);

// The full records of the chosen station's legs: the first Count1 first legs
// alighting there, then second legs boarding there up to Count1 + Count2
// records in all; records no leg fills stay empty.
std::vector<TPub_GridResult> TransferLegResults(const TTimetable& timetable, const TFareTables& fares,
                                                const std::vector<TTransferLeg>& firstLegs,
                                                const std::vector<TTransferLeg>& secondLegs, const TTransferPick& pick);

// A leg completed as the direct query fills a record (empty when its train
// has no train list record).
TPub_GridResult TransferLegRecord(const TTimetable& timetable, const TFareTables& fares, const TTransferLeg& leg);

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

// The station a row of the window's list stands for, read from its transfer
// row; nullopt for a row without one.
std::optional<TTransferPick> TransferPickOfRow(const TPub_Center& center, const TStringGrid& grid, int row);

// The texts of the transfer window, GBK: its title "两地共有<N>个中转站供选择:",
// the note under the list and the captions of the list's columns. Kept in
// the .cpp so that every includer gets the same bytes.
std::string TransferWindowCaption(int stationCount);
std::string_view TransferNote();
const std::array<std::string_view, kTransferColumns>& TransferColumnCaptions();

// Replaces GridResults by the count1 first legs alighting at the station and
// the count2 second legs boarding there; sets TransferStation.
void BuildTransferResults(const TTimetable& timetable, TPub_Center& center, std::string_view name, std::int32_t count1,
                          std::int32_t count2);

}  // namespace vormek
