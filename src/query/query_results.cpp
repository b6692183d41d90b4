#include "query/query_results.h"

#include <utility>

namespace vormek {

void StoreResult(TPub_Center& center, TDirectResult&& result) {
  center.FromSelection = std::move(result.FromSelection);
  center.ToSelection = std::move(result.ToSelection);
  center.GridResults = std::move(result.Rows);
}

void StoreResult(TPub_Center& center, TStationResult&& result) {
  // Only the arrival side's typed name follows; the rest of it stays.
  center.ToSelection.Entered = result.Selection.Entered;
  center.FromSelection = std::move(result.Selection);
  center.GridResults = std::move(result.Rows);
}

void StoreResult(TPub_Center& center, TTrainNumberResult&& result) {
  center.FromSelection.Entered.clear();
  center.ToSelection.Entered.clear();
  center.GridResults = std::move(result.Rows);
}

void StoreResult(TPub_Center& center, TTransferResult&& result) {
  center.FromSelection = std::move(result.FromSelection);
  center.ToSelection = std::move(result.ToSelection);
  center.LegOneResults = std::move(result.FirstLegs);
  center.LegTwoResults = std::move(result.SecondLegs);
  center.TransferRows = std::move(result.Rows);
  center.GridResults.clear();
}

void StoreResult(TPub_Center& center, const TTransferPick& pick, std::vector<TPub_GridResult>&& rows) {
  center.TransferStation = pick.Station;
  center.GridResults = std::move(rows);
}

}  // namespace vormek
